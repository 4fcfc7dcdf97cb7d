// TQuickIni: line list, section index and first-match lookups of skin descriptions; colour triples.
#include "quickini.h"

#include <algorithm>

namespace {

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

bool isHeader(std::string_view line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n' || c == '\0';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexDigitValue(char c)
{
    if (isDigit(c)) {
        return c - '0';
    }
    const char lower = lowerAscii(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

} // namespace

void TQuickIni::load(std::string_view text)
{
    m_lines.clear();
    m_sections.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && !isLineEnd(text[end])) {
            ++end;
        }
        const std::string_view line = trimmed(text.substr(start, end - start));
        if (!line.empty() && line.front() != ';') {
            if (isHeader(line)) {
                m_sections.push_back({std::string(line), m_lines.size()});
            }
            m_lines.emplace_back(line);
        }
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
}

std::string TQuickIni::readString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    std::string header;
    header.reserve(section.size() + 2);
    header.append(1, '[').append(section).append(1, ']');
    const auto found = std::find_if(
        m_sections.begin(), m_sections.end(), [&](const Section &s) { return equalsIgnoringCase(s.header, header); });
    if (found == m_sections.end()) {
        return std::string(defaultValue);
    }
    for (size_t i = found->line + 1; i < m_lines.size() && !isHeader(m_lines[i]); ++i) {
        const std::string_view line = m_lines[i];
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        if (equalsIgnoringCase(trimmed(line.substr(0, equals)), key)) {
            const std::string_view value = trimmed(line.substr(equals + 1));
            return std::string(value.empty() ? defaultValue : value);
        }
    }
    return std::string(defaultValue);
}

int32_t TQuickIni::readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const
{
    return parseDescriptionInteger(readString(section, key, {})).value_or(defaultValue);
}

std::vector<std::string> TQuickIni::readSections() const
{
    std::vector<std::string> names;
    names.reserve(m_sections.size());
    for (const Section &s : m_sections) {
        const std::string_view header = s.header;
        names.emplace_back(trimmed(header.substr(1, header.size() - 2)));
    }
    return names;
}

std::optional<int32_t> parseDescriptionInteger(std::string_view text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::string_view digits = text.substr(2);
        if (digits.size() > 8) {
            return std::nullopt;
        }
        uint32_t value = 0;
        for (char c : digits) {
            const int digit = hexDigitValue(c);
            if (digit < 0) {
                return std::nullopt;
            }
            value = value << 4 | static_cast<uint32_t>(digit);
        }
        return static_cast<int32_t>(value);
    }
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // The magnitude may reach 2^31 only for INT32_MIN.
    constexpr int64_t kLimit = int64_t {INT32_MAX} + 1;
    int64_t magnitude = 0;
    for (char c : text) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit) {
            return std::nullopt;
        }
    }
    if (!negative && magnitude == kLimit) {
        return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

std::optional<RgbTriple> parseColourTriple(std::string_view text)
{
    text = trimmed(text);
    if (text.empty()) {
        return std::nullopt;
    }
    uint8_t numbers[3] = {0, 0, 0};
    int taken = 0;
    bool inRun = false;
    uint8_t run = 0; // low 8 bits of the run's value: (10 * v + d) mod 256 depends on v mod 256 only
    for (char c : text) {
        if (isDigit(c)) {
            run = static_cast<uint8_t>(run * 10 + (c - '0'));
            inRun = true;
        } else if (inRun) {
            if (taken < 3) {
                numbers[taken++] = run;
            }
            run = 0;
            inRun = false;
        }
    }
    if (inRun && taken == 2) {
        numbers[2] = run;
    }
    return RgbTriple {numbers[0], numbers[1], numbers[2]};
}
