// Fuzz target for TQuickIni: arbitrary bytes as a skin description. Every key of every section of the text is
// looked up and compared with a naive reading of the lines; every value is parsed as an integer and a colour.
#include "skin/format/quickini.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr size_t kMaxInputBytes = 64 * 1024;
constexpr size_t kMaxSections = 64;
constexpr size_t kMaxKeysPerSection = 64;
constexpr std::string_view kDefault = "\x01-default";

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

bool blank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string trim(std::string_view text)
{
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::string lower(std::string text)
{
    for (char &c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

bool header(const std::string &line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// The oracle: the first header equal to "[" + section + "]" ignoring case, then the first line of that
// section whose trimmed key equals key ignoring case.
std::string naiveRead(const TQuickIni &ini, const std::string &section, const std::string &key)
{
    const std::vector<std::string> &lines = ini.lines();
    const std::string wanted = lower("[" + section + "]");
    size_t i = 0;
    while (i < lines.size() && !(header(lines[i]) && lower(lines[i]) == wanted)) {
        ++i;
    }
    for (++i; i < lines.size() && !header(lines[i]); ++i) {
        const size_t equals = lines[i].find('=');
        if (equals != std::string::npos && lower(trim(lines[i].substr(0, equals))) == lower(key)) {
            const std::string value = trim(lines[i].substr(equals + 1));
            return value.empty() ? std::string(kDefault) : value;
        }
    }
    return std::string(kDefault);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > kMaxInputBytes) {
        return 0;
    }
    TQuickIni ini;
    ini.load(std::string_view(reinterpret_cast<const char *>(data), size));

    size_t headers = 0;
    for (const std::string &line : ini.lines()) {
        check(!line.empty() && line.front() != ';' && !blank(line.front()) && !blank(line.back()));
        check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        headers += header(line) ? 1 : 0;
    }
    const std::vector<std::string> sections = ini.readSections();
    check(sections.size() == headers);

    size_t sectionIndex = 0;
    for (size_t i = 0; i < ini.lines().size() && sectionIndex < kMaxSections; ++i) {
        if (!header(ini.lines()[i])) {
            continue;
        }
        const std::string &section = sections[sectionIndex++];
        size_t keys = 0;
        for (size_t j = i + 1; j < ini.lines().size() && !header(ini.lines()[j]) && keys < kMaxKeysPerSection; ++j) {
            const std::string &line = ini.lines()[j];
            const size_t equals = line.find('=');
            const std::string key = trim(line.substr(0, equals == std::string::npos ? line.size() : equals));
            ++keys;
            const std::string value = ini.readString(section, key, kDefault);
            check(value == naiveRead(ini, section, key));
            check(value == kDefault || (!value.empty() && value == trim(value)));
            const std::optional<int32_t> number = parseDescriptionInteger(value);
            check(ini.readInteger(section, key, -12345) == number.value_or(-12345));
            if (number && value.find_first_of("xX") == std::string::npos) {
                check(parseDescriptionInteger(std::to_string(*number)) == number);
            }
            check(parseColourTriple(value).has_value() == !trim(value).empty());
        }
    }
    return 0;
}
