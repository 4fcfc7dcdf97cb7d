// Reads an integer the way profile (INI) files store them: decimal, "0x" or "$" hexadecimal.
#include "settings/profileinteger.h"

#include <cstdint>

namespace {

constexpr std::uint64_t kMaxHexMagnitude = 0xFFFFFFFFu;
constexpr std::uint64_t kMaxDecimalMagnitude = 0x80000000u; // |INT32_MIN|; the positive side is checked after the sign

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

// The magnitude of a non-empty run of digits filling all of `digits`, or nothing. Accumulation stops as soon as
// the value passes `limit`, so an arbitrarily long text cannot overflow.
std::optional<std::uint64_t> readMagnitude(QStringView digits, int base, std::uint64_t limit)
{
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const QChar c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > limit) {
            return std::nullopt;
        }
    }
    return value;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

std::optional<int> parseProfileInteger(QStringView text)
{
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        const auto magnitude = readMagnitude(text.mid(2), 16, kMaxHexMagnitude);
        if (!magnitude) {
            return std::nullopt;
        }
        return static_cast<int>(static_cast<std::uint32_t>(*magnitude));
    }

    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    if (pos < text.size() && text[pos] == u'$') {
        const auto magnitude = readMagnitude(text.mid(pos + 1), 16, kMaxHexMagnitude);
        if (!magnitude) {
            return std::nullopt;
        }
        const auto bits = static_cast<std::uint32_t>(*magnitude);
        return static_cast<int>(negative ? 0u - bits : bits);
    }
    const auto magnitude = readMagnitude(text.mid(pos), 10, kMaxDecimalMagnitude);
    if (!magnitude || (!negative && *magnitude == kMaxDecimalMagnitude)) {
        return std::nullopt;
    }
    const auto value = static_cast<std::int64_t>(*magnitude);
    return static_cast<int>(negative ? -value : value);
}
