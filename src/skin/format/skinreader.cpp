// TSkinReader: unpacks a skin package and checks its header, directory and size table before any use.
// Unpacked image: version (4), directory length T (4), two unused words (8), T bytes of directory text,
// one signed 32-bit size per directory line, then the entries back to back. All little-endian.
#include "skinreader.h"

#include "lzh.h"

namespace {

constexpr size_t kHeaderBytes = 16;
constexpr size_t kSizeBytes = 4;

int32_t readInt32(std::span<const uint8_t> bytes, size_t offset)
{
    const uint32_t value = static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8
        | static_cast<uint32_t>(bytes[offset + 2]) << 16 | static_cast<uint32_t>(bytes[offset + 3]) << 24;
    return static_cast<int32_t>(value);
}

// Splits text into lines as a string list does: CR LF, a lone CR or a lone LF end a line, and a final
// line ending adds no empty line. Stops (returning false) once there would be more than maxLines.
bool splitLines(std::string_view text, size_t maxLines, std::vector<std::string> &lines)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
            ++end;
        }
        if (lines.size() == maxLines) {
            return false;
        }
        lines.emplace_back(text.substr(start, end - start));
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
    return true;
}

} // namespace

std::string TSkinReader::lowerName(std::string_view name)
{
    std::string lower(name);
    for (char &c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

void TSkinReader::reset(SkinReadError error, std::string text)
{
    m_names.clear();
    m_sizes.clear();
    m_offsets.clear();
    m_data.clear();
    m_error = error;
    m_errorText = std::move(text);
}

bool TSkinReader::fail(SkinReadError error, std::string text)
{
    reset(error, std::move(text));
    return false;
}

bool TSkinReader::open(std::span<const uint8_t> package)
{
    reset(SkinReadError::None, {});
    if (package.empty()) {
        return fail(SkinReadError::Empty, "the package is empty");
    }
    if (package.size() < kSizeBytes) {
        return fail(SkinReadError::Truncated, "the package is shorter than its 4-byte unpacked size");
    }
    const int32_t unpackedSize = readInt32(package, 0);
    if (unpackedSize < 0) {
        return fail(SkinReadError::BadUnpackedSize, "negative unpacked size " + std::to_string(unpackedSize));
    }
    if (unpackedSize > kMaxUnpackedBytes) {
        return fail(SkinReadError::TooLarge,
            "unpacked size " + std::to_string(unpackedSize) + " exceeds the limit of "
                + std::to_string(kMaxUnpackedBytes) + " bytes");
    }
    const std::vector<uint8_t> image = TLZH::decode(package.subspan(kSizeBytes), static_cast<size_t>(unpackedSize));

    if (image.size() < kHeaderBytes) {
        return fail(SkinReadError::Truncated,
            "the unpacked image has " + std::to_string(image.size()) + " bytes, fewer than its header");
    }
    const int32_t version = readInt32(image, 0);
    if (version != kFormatVersion) {
        return fail(SkinReadError::OlderVersion, "format version " + std::to_string(version) + " is not 20000");
    }
    const int32_t directoryBytes = readInt32(image, 4);
    if (directoryBytes < 0) {
        return fail(SkinReadError::BadDirectory, "negative directory length " + std::to_string(directoryBytes));
    }
    if (static_cast<size_t>(directoryBytes) > image.size() - kHeaderBytes) {
        return fail(SkinReadError::BadDirectory,
            "directory length " + std::to_string(directoryBytes) + " runs past the unpacked image");
    }
    const std::string_view directory(
        reinterpret_cast<const char *>(image.data()) + kHeaderBytes, static_cast<size_t>(directoryBytes));
    std::vector<std::string> names;
    if (!splitLines(lowerName(directory), kMaxEntries, names)) {
        return fail(
            SkinReadError::TooManyEntries, "the directory has more than " + std::to_string(kMaxEntries) + " entries");
    }

    const size_t sizeTable = kHeaderBytes + static_cast<size_t>(directoryBytes);
    const size_t sizeTableBytes = names.size() * kSizeBytes;
    if (sizeTableBytes > image.size() - sizeTable) {
        return fail(SkinReadError::BadSizes, "the size table runs past the unpacked image");
    }
    const size_t dataStart = sizeTable + sizeTableBytes;
    const size_t dataBytes = image.size() - dataStart;
    std::vector<int32_t> sizes;
    std::vector<size_t> offsets;
    sizes.reserve(names.size());
    offsets.reserve(names.size());
    size_t used = 0; // never above dataBytes, so the sum cannot overflow
    for (size_t i = 0; i < names.size(); ++i) {
        const int32_t size = readInt32(image, sizeTable + i * kSizeBytes);
        if (size < 0) {
            return fail(
                SkinReadError::BadSizes, "entry \"" + names[i] + "\" has the negative size " + std::to_string(size));
        }
        if (static_cast<size_t>(size) > dataBytes - used) {
            return fail(SkinReadError::BadSizes,
                "entry \"" + names[i] + "\" of " + std::to_string(size) + " bytes runs past the data area");
        }
        sizes.push_back(size);
        offsets.push_back(used);
        used += static_cast<size_t>(size);
    }

    m_names = std::move(names);
    m_sizes = std::move(sizes);
    m_offsets = std::move(offsets);
    m_data.assign(image.begin() + static_cast<std::ptrdiff_t>(dataStart), image.end());
    return true;
}

std::vector<uint8_t> TSkinReader::entryBytes(size_t index) const
{
    const auto begin = m_data.begin() + static_cast<std::ptrdiff_t>(m_offsets[index]);
    return {begin, begin + m_sizes[index]};
}

std::vector<uint8_t> TSkinReader::extract(std::string_view name) const
{
    const std::string wanted = lowerName(name);
    for (size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i] == wanted) {
            return entryBytes(i);
        }
    }
    return {};
}

std::vector<uint8_t> TSkinReader::extractFirstContaining(std::string_view text, std::string *name) const
{
    for (size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i].find(text) != std::string::npos) {
            if (name) {
                *name = m_names[i];
            }
            return entryBytes(i);
        }
    }
    if (name) {
        name->clear();
    }
    return {};
}
