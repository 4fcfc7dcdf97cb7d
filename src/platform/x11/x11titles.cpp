// Window titles: choosing the property, decoding it by its type.
#include "x11titles.h"

#include <algorithm>

namespace platform::x11 {

namespace {

constexpr uint8_t kEscape = 0x1B;
constexpr uint8_t kControlSequenceIntroducer = 0x9B;

// COMPOUND_TEXT through Xlib, which knows the character sets it switches between. Xlib's converters depend on
// the locale; where they fail, the text before the first control sequence is decoded, which COMPOUND_TEXT starts
// in ISO 8859-1.
std::string compoundTextTitle(const X11Connection &connection, std::span<const uint8_t> bytes)
{
    if (const std::optional<std::string> text = connection.compoundTextToUtf8(bytes)) {
        return titleFromUtf8(std::span(reinterpret_cast<const uint8_t *>(text->data()), text->size()), kMaxTitleBytes);
    }
    const auto end = std::find_if(
        bytes.begin(), bytes.end(), [](uint8_t byte) { return byte == kEscape || byte == kControlSequenceIntroducer; });
    return titleFromLatin1(std::span(bytes.begin(), end), kMaxTitleBytes);
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
