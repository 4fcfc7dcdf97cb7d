// _NET_SUPPORTED as a window manager may set it, read for the frame's interactive move: any bytes, format and type.
// Input: the format, a byte choosing the type (odd: ATOM, else that number), four bytes of the atom looked for, then
// the property's bytes. An atom found must stand at a whole item.
#include "skin/frame/nativemove.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace {

constexpr uint32_t kAtomType = 4; // XCB_ATOM_ATOM

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 6) {
        return 0;
    }
    const uint8_t format = data[0];
    const uint32_t type = data[1] % 2 ? kAtomType : data[1];
    uint32_t atom = 0;
    std::memcpy(&atom, data + 2, 4);
    const std::span<const uint8_t> bytes(data + 6, size - 6);
    if (atomListHolds(bytes, type, format, atom) && (type != kAtomType || format != 32 || bytes.size() % 4 != 0)) {
        __builtin_trap(); // found in a property that is no list of atoms
    }
    return 0;
}
