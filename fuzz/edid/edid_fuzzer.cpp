// EDID blocks as a RandR output property delivers them: any length, any bytes.
#include "platform/edid.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string name = platform::edidMonitorName(data, size);
    if (name.size() > 13) {
        __builtin_trap(); // a descriptor holds at most 13 characters
    }
    return 0;
}
