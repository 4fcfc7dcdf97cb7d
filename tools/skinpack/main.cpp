// skinpack: builds, lists and unpacks skin packages.
//   skinpack pack <folder> <file>            description (*.ini) and bitmaps (*.bmp) of a folder
//   skinpack list <file>                     every entry's name and size
//   skinpack extract <file> <name> <out>     one entry, written to <out>
#include "packagewriter.h"
#include "skin/format/lzh.h"
#include "skin/format/skinreader.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>

namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;

int usage()
{
    std::cerr << "usage: skinpack pack <folder> <file>\n"
                 "       skinpack list <file>\n"
                 "       skinpack extract <file> <name> <out>\n";
    return kUsage;
}

int failure(const std::string &message)
{
    std::cerr << "skinpack: " << message << '\n';
    return kFailure;
}

std::optional<std::vector<uint8_t>> readFile(const std::string &path, std::string *error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        *error = "cannot open " + path;
        return std::nullopt;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        *error = "cannot read " + path;
        return std::nullopt;
    }
    return bytes;
}

bool writeFile(const std::string &path, std::span<const uint8_t> bytes, std::string *error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

// Opens a package file; on failure sets *error to a message naming the file.
bool openPackage(const std::string &path, TSkinReader &reader, std::string *error)
{
    const std::optional<std::vector<uint8_t>> package = readFile(path, error);
    if (!package) {
        return false;
    }
    try {
        if (!reader.open(*package)) {
            *error = path + ": " + reader.errorText();
            return false;
        }
    } catch (const ElzhException &e) {
        *error = path + ": " + e.what();
        return false;
    }
    return true;
}

int pack(const std::string &folder, const std::string &file)
{
    std::string error;
    const std::vector<skinpack::PackageEntry> entries = skinpack::readSkinFolder(folder, &error);
    if (!error.empty()) {
        return failure(error);
    }
    error = skinpack::entriesProblem(entries);
    if (!error.empty()) {
        return failure(folder + ": " + error);
    }
    const std::vector<uint8_t> image = skinpack::unpackedImage(entries);
    const std::vector<uint8_t> package = skinpack::compressImage(image);
    if (!writeFile(file, package, &error)) {
        return failure(error);
    }
    std::cout << "packed " << entries.size() << " entries: " << image.size() << " bytes into " << package.size()
              << '\n';
    return 0;
}

int list(const std::string &file)
{
    TSkinReader reader;
    std::string error;
    if (!openPackage(file, reader, &error)) {
        return failure(error);
    }
    size_t width = 0;
    for (const std::string &name : reader.names()) {
        width = std::max(width, name.size());
    }
    for (size_t i = 0; i < reader.names().size(); ++i) {
        const std::string &name = reader.names()[i];
        std::cout << name << std::string(width - name.size() + 2, ' ') << reader.sizes()[i] << '\n';
    }
    return 0;
}

int extract(const std::string &file, const std::string &name, const std::string &out)
{
    TSkinReader reader;
    std::string error;
    if (!openPackage(file, reader, &error)) {
        return failure(error);
    }
    const std::vector<std::string> &names = reader.names();
    if (std::find(names.begin(), names.end(), TSkinReader::lowerName(name)) == names.end()) {
        return failure(file + " has no entry named " + name);
    }
    if (!writeFile(out, reader.extract(name), &error)) {
        return failure(error);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "pack") {
        return pack(args[1], args[2]);
    }
    if (args.size() == 2 && args[0] == "list") {
        return list(args[1]);
    }
    if (args.size() == 4 && args[0] == "extract") {
        return extract(args[1], args[2], args[3]);
    }
    return usage();
}
