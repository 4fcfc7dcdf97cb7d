// Reading the monitor name out of an EDID block (the display's own description of itself).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// The text of the first monitor-name descriptor (tag 0xFC) of a base EDID block, trimmed; empty when the block
// is shorter than 128 bytes, lacks the EDID header, or carries no name. Only printable ASCII is kept.
std::string edidMonitorName(const uint8_t *data, size_t size);

} // namespace platform
