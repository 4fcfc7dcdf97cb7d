// COMPOUND_TEXT to UTF-8 through Xlib, the one converter that knows the character sets such text switches between.
// Xlib is loaded (dlopen) and connected to the display only when the first such title is met: most desktops show
// none, and loading it with the program costs every command-line start about 0.2 ms, and with it libxcb, which the
// framewright program links in statically (see src/cli/CMakeLists.txt).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct _XDisplay;

namespace platform::x11 {

class XlibText
{
public:
    explicit XlibText(std::string displayName);
    ~XlibText() = default;
    XlibText(const XlibText &) = delete;
    XlibText &operator=(const XlibText &) = delete;

    // The first text of the COMPOUND_TEXT `bytes`, as UTF-8 (`compoundText` is the atom on this display); empty
    // when Xlib cannot be loaded or connected, or cannot convert the text in this locale.
    std::optional<std::string> toUtf8(std::span<const uint8_t> bytes, uint32_t compoundText);
    // Closes Xlib's display, which costs a round trip: only while the X server is there. A display not closed is
    // left to the process's end (Xlib takes a failed round trip as fatal and ends the process).
    void close();

private:
    struct Functions;
    bool open();

    std::string m_displayName;
    const Functions *m_functions = nullptr;
    ::_XDisplay *m_display = nullptr;
    bool m_tried = false;
};

} // namespace platform::x11
