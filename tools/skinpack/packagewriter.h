// Builds skin packages: the unpacked image (version, directory, sizes, entries) and its compressed form
// (unpacked size followed by the LZH bit stream), as TSkinReader reads them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace skinpack {

struct PackageEntry
{
    std::string name; // a file name: no folders, no line breaks
    std::vector<uint8_t> bytes;
};

// Why entries cannot form a package that TSkinReader accepts (bad names, too many, too large); empty if they can.
std::string entriesProblem(const std::vector<PackageEntry> &entries);

// The unpacked image of entries that have no problem: header (version 20000, directory length, two zero
// words), directory lines ended by CR LF, sizes, data.
std::vector<uint8_t> unpackedImage(const std::vector<PackageEntry> &entries);

// The package of an unpacked image: its size as 32-bit little-endian, then the compressed image.
std::vector<uint8_t> compressImage(std::span<const uint8_t> image);

// The entries of a skin folder in a stable order: the description files (*.ini) first, then the
// bitmaps (*.bmp), each group sorted by name ignoring ASCII case; other files are left out. Sets *error and returns
// nothing when the folder cannot be read.
std::vector<PackageEntry> readSkinFolder(const std::filesystem::path &folder, std::string *error);

} // namespace skinpack
