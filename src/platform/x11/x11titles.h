// Window titles on X11: _NET_WM_NAME (UTF-8), else WM_NAME by its type (STRING is Latin-1, COMPOUND_TEXT goes
// through Xlib's converter, UTF8_STRING as it is), cut to kMaxTitleBytes of UTF-8 on a character boundary.
#pragma once

#include "platform/windowsystem.h"
#include "x11connection.h"
#include "x11properties.h"

#include <QString>

namespace platform::x11 {

// Read budgets, in 32-bit units. UTF-8 and Latin-1 give at least one byte of title per byte read, so one byte more
// than a title can hold is enough (see titleFromUtf8). COMPOUND_TEXT spends bytes on escape sequences and may
// need two bytes per character; its budget only bounds what a hostile client can make us read.
constexpr uint32_t kNetWmNameLongs = (kMaxTitleBytes + 1 + 3) / 4;
constexpr uint32_t kWmNameLongs = 1024;

// The title in _NET_WM_NAME (UTF8_STRING), resp. in WM_NAME; empty for an absent property or one of another type.
// Where _NET_WM_NAME gives no title, WM_NAME is the title. A title that is not valid UTF-8 gets U+FFFD for each
// ill-formed sequence; the text ends at its first NUL.
QString netWmNameTitle(const X11Connection &connection, const PropertyValue &netWmName);
QString wmNameTitle(const X11Connection &connection, const PropertyValue &wmName);

} // namespace platform::x11
