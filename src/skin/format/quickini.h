// TQuickIni: the reader of a skin description (INI-like 8-bit text), and the parsing of colour triples.
// Lookups follow the first-match rules of skin descriptions: case-blind section headers, the first line
// of a section whose key matches wins even when its value is empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TQuickIni
{
public:
    // Replaces the content with text: lines end at CR, LF, CR LF or NUL; every line is trimmed (bytes up
    // to the blank); empty lines and lines starting with ";" are dropped. Lines that start with "[" and
    // end with "]" are section headers.
    void load(std::string_view text);

    // The value of key in section, trimmed, or defaultValue when the section or key is absent or the
    // first matching line has an empty value. The section is found by its header "[" + section + "]",
    // ignoring ASCII case (the first such header wins); keys compare ignoring ASCII case after trimming.
    std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // The value read as a decimal integer, or as hexadecimal after a "0x"/"0X" prefix; defaultValue
    // when it is absent or not a valid 32-bit integer.
    int32_t readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
    // All section names in file order, brackets removed and trimmed.
    std::vector<std::string> readSections() const;

    const std::vector<std::string> &lines() const { return m_lines; }

private:
    struct Section
    {
        std::string header; // the whole header line, brackets included
        size_t line;        // its index in m_lines
    };

    std::vector<std::string> m_lines;
    std::vector<Section> m_sections;
};

struct RgbTriple
{
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    friend bool operator==(const RgbTriple &, const RgbTriple &) = default;
};

// A colour written as three decimal numbers, red first: after trimming, every run of digits that a
// non-digit ends is the next number; the run still open at the end counts only as the third number
// when exactly two came before it. Each number keeps its low 8 bits; missing numbers are 0.
// An empty (or all-blank) text gives no colour, so the caller's default applies.
std::optional<RgbTriple> parseColourTriple(std::string_view text);

// Integer parsing of description values, shared by readInteger: optional sign and decimal digits, or
// "0x"/"0X" and at most 8 hexadecimal digits (read as the 32-bit pattern). Whole text or nothing.
std::optional<int32_t> parseDescriptionInteger(std::string_view text);
