// TSkinReader: opens a skin package (unpacked size, LZH bit stream) and hands out its entries by name.
// Every length in the package is checked before use; a package that fails a check is rejected with
// the SkinReadError that names the failure, and the reader then holds no entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Shown to the user (by the skin data component) when open() reports OlderVersion.
inline constexpr std::string_view kOlderSkinMessage = "This is Older Skin File\rPlease update to new version !";

enum class SkinReadError {
    None,
    Empty,           // the package has no bytes
    Truncated,       // fewer than 4 bytes, or the unpacked image is shorter than its 16-byte header
    BadUnpackedSize, // the unpacked size is negative
    TooLarge,        // the unpacked size exceeds kMaxUnpackedBytes
    OlderVersion,    // the format version is not 20000
    BadDirectory,    // the directory length is negative or runs past the unpacked image
    TooManyEntries,  // the directory has more than kMaxEntries lines
    BadSizes,        // the size table runs past the image, a size is negative, or the sizes exceed the data
};

class TSkinReader
{
public:
    static constexpr int32_t kFormatVersion = 20000;
    static constexpr int kMaxEntries = 1001;
    // Budget of the unpacked image, checked before anything is allocated (a real skin is about 600 KB).
    static constexpr int32_t kMaxUnpackedBytes = 64 * 1024 * 1024;

    // Decompresses and parses a whole package. Returns false when it is rejected; error() says why.
    // Any previous content is dropped first. May throw ElzhException when memory runs out.
    bool open(std::span<const uint8_t> package);

    SkinReadError error() const { return m_error; }
    std::string errorText() const { return m_errorText; } // one line for people, empty after success

    // The bytes of the first entry whose name equals name lower-cased (ASCII A-Z); empty when absent.
    std::vector<uint8_t> extract(std::string_view name) const;
    // The bytes of the first entry whose (lower-cased) name contains text, compared as given; its name
    // goes to *name when name is not null. Empty bytes and an empty name when no entry matches.
    std::vector<uint8_t> extractFirstContaining(std::string_view text, std::string *name = nullptr) const;

    const std::vector<std::string> &names() const { return m_names; } // lower-cased, directory order
    const std::vector<int32_t> &sizes() const { return m_sizes; }

    // name with ASCII A-Z lower-cased, as the directory and the requests are compared.
    static std::string lowerName(std::string_view name);

private:
    void reset(SkinReadError error, std::string text);
    bool fail(SkinReadError error, std::string text); // reset(error, text), then false
    std::vector<uint8_t> entryBytes(size_t index) const;

    std::vector<std::string> m_names;
    std::vector<int32_t> m_sizes;
    std::vector<size_t> m_offsets; // start of each entry within m_data
    std::vector<uint8_t> m_data;   // the data area: every entry back to back
    SkinReadError m_error = SkinReadError::None;
    std::string m_errorText;
};
