// Window titles: choosing the property, decoding it by its type.
#include "x11titles.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <vector>

namespace platform::x11 {

namespace {

constexpr uint8_t kEscape = 0x1B;
constexpr uint8_t kControlSequenceIntroducer = 0x9B;

// COMPOUND_TEXT through Xlib, which knows the character sets it switches between. Xlib's converters depend on
// the locale; where they fail, the text before the first control sequence is decoded, which COMPOUND_TEXT starts
// in ISO 8859-1.
std::string compoundTextTitle(const X11Connection &connection, std::span<const uint8_t> bytes)
{
    std::vector<unsigned char> buffer(bytes.begin(), bytes.end());
    buffer.push_back(0);
    XTextProperty property {
        buffer.data(), connection.atoms().compoundText, 8, static_cast<unsigned long>(bytes.size())};
    char **list = nullptr;
    int count = 0;
    Display *display = connection.textDisplay();
    const int status = display != nullptr ? Xutf8TextPropertyToTextList(display, &property, &list, &count) : Success;
    std::string title;
    if (display != nullptr && status >= Success && list != nullptr && count > 0 && list[0] != nullptr) {
        const std::string_view text(list[0]);
        title = titleFromUtf8(std::span(reinterpret_cast<const uint8_t *>(text.data()), text.size()), kMaxTitleBytes);
    } else {
        qCDebug(lcX11) << "cannot convert COMPOUND_TEXT in this locale, status" << status;
        const auto end = std::find_if(bytes.begin(), bytes.end(),
            [](uint8_t byte) { return byte == kEscape || byte == kControlSequenceIntroducer; });
        title = titleFromLatin1(std::span(bytes.begin(), end), kMaxTitleBytes);
    }
    if (list != nullptr) {
        XFreeStringList(list);
    }
    return title;
}

} // namespace

QString netWmNameTitle(const X11Connection &connection, const PropertyValue &netWmName)
{
    if (netWmName.type != connection.atoms().utf8String || netWmName.format != 8) {
        return {};
    }
    return QString::fromStdString(titleFromUtf8(netWmName.bytes, kMaxTitleBytes));
}

QString wmNameTitle(const X11Connection &connection, const PropertyValue &wmName)
{
    const Atoms &atoms = connection.atoms();
    std::string title;
    if (wmName.format != 8) {
        return {};
    }
    if (wmName.type == XCB_ATOM_STRING || wmName.type == atoms.cString) {
        title = titleFromLatin1(wmName.bytes, kMaxTitleBytes);
    } else if (wmName.type == atoms.utf8String) {
        title = titleFromUtf8(wmName.bytes, kMaxTitleBytes);
    } else if (wmName.type == atoms.compoundText) {
        title = compoundTextTitle(connection, wmName.bytes);
    }
    return QString::fromStdString(title);
}

} // namespace platform::x11
