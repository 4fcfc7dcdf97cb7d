// Skin package building: checks the entries against what TSkinReader accepts, lays out the unpacked
// image, compresses it, and gathers a skin folder's files in a stable order.
#include "packagewriter.h"

#include "lzhencoder.h"
#include "skin/format/skinreader.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

namespace skinpack {

namespace {

constexpr size_t kHeaderBytes = 16;
constexpr char kLineEnd[] = "\r\n";

void appendInt32(std::vector<uint8_t> &bytes, int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<uint8_t>(bits >> shift));
    }
}

std::string lowerExtension(const std::filesystem::path &path)
{
    return TSkinReader::lowerName(path.extension().string());
}

} // namespace

std::string entriesProblem(const std::vector<PackageEntry> &entries)
{
    if (entries.size() > static_cast<size_t>(TSkinReader::kMaxEntries)) {
        return std::to_string(entries.size()) + " entries, more than the " + std::to_string(TSkinReader::kMaxEntries)
            + " a package can hold";
    }
    std::set<std::string> seen;
    uint64_t imageBytes = kHeaderBytes;
    for (const PackageEntry &entry : entries) {
        if (entry.name.empty()) {
            return "an entry has no name";
        }
        if (entry.name.find_first_of("\r\n/\\") != std::string::npos) {
            return "entry name \"" + entry.name + "\" contains a line break or a folder separator";
        }
        if (!seen.insert(TSkinReader::lowerName(entry.name)).second) {
            return "entry name \"" + entry.name + "\" is not unique when letter case is ignored";
        }
        imageBytes += entry.name.size() + (sizeof kLineEnd - 1) + 4 + entry.bytes.size();
    }
    if (imageBytes > static_cast<uint64_t>(TSkinReader::kMaxUnpackedBytes)) {
        return "the unpacked package would have " + std::to_string(imageBytes) + " bytes, more than the limit of "
            + std::to_string(TSkinReader::kMaxUnpackedBytes);
    }
    return {};
}

std::vector<uint8_t> unpackedImage(const std::vector<PackageEntry> &entries)
{
    std::string directory;
    for (const PackageEntry &entry : entries) {
        directory += entry.name;
        directory += kLineEnd;
    }
    std::vector<uint8_t> image;
    appendInt32(image, TSkinReader::kFormatVersion);
    appendInt32(image, static_cast<int32_t>(directory.size()));
    appendInt32(image, 0);
    appendInt32(image, 0);
    image.insert(image.end(), directory.begin(), directory.end());
    for (const PackageEntry &entry : entries) {
        appendInt32(image, static_cast<int32_t>(entry.bytes.size()));
    }
    for (const PackageEntry &entry : entries) {
        image.insert(image.end(), entry.bytes.begin(), entry.bytes.end());
    }
    return image;
}

std::vector<uint8_t> compressImage(std::span<const uint8_t> image)
{
    std::vector<uint8_t> package;
    appendInt32(package, static_cast<int32_t>(image.size()));
    const std::vector<uint8_t> stream = lzhCompress(image);
    package.insert(package.end(), stream.begin(), stream.end());
    return package;
}

std::vector<PackageEntry> readSkinFolder(const std::filesystem::path &folder, std::string *error)
{
    std::error_code code;
    if (!std::filesystem::is_directory(folder, code)) {
        *error = folder.string() + " is not a folder";
        return {};
    }
    std::vector<std::filesystem::path> descriptions;
    std::vector<std::filesystem::path> bitmaps;
    for (std::filesystem::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        if (!it->is_regular_file(code)) {
            continue;
        }
        const std::string extension = lowerExtension(it->path());
        if (extension == ".ini") {
            descriptions.push_back(it->path());
        } else if (extension == ".bmp") {
            bitmaps.push_back(it->path());
        }
    }
    if (code) {
        *error = "cannot list " + folder.string() + ": " + code.message();
        return {};
    }
    if (descriptions.empty()) {
        *error = folder.string() + " has no description file (*.ini)";
        return {};
    }
    const auto byName = [](const std::filesystem::path &a, const std::filesystem::path &b) {
        const std::string nameA = a.filename().string();
        const std::string nameB = b.filename().string();
        return std::pair(TSkinReader::lowerName(nameA), nameA) < std::pair(TSkinReader::lowerName(nameB), nameB);
    };
    std::sort(descriptions.begin(), descriptions.end(), byName);
    std::sort(bitmaps.begin(), bitmaps.end(), byName);
    descriptions.insert(descriptions.end(), bitmaps.begin(), bitmaps.end());

    std::vector<PackageEntry> entries;
    for (const std::filesystem::path &path : descriptions) {
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> bytes;
        if (in.is_open()) {
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        if (!in.is_open() || in.bad()) {
            *error = "cannot read " + path.string();
            return {};
        }
        entries.push_back({path.filename().string(), std::move(bytes)});
    }
    return entries;
}

} // namespace skinpack
