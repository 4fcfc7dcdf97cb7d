// Benchmark of skin package decoding against zlib: the same unpacked image is packed with our LZHUF
// encoder and with zlib at level 9, then decoded in this process by TLZH, by TSkinReader::open (decoding
// plus directory checks and the copy of the data area) and by zlib's inflate. Prints sizes, the best of
// several timed runs, output throughput in MB/s and the ratios; the goal is TLZH at 1/8 of inflate or better.
// Usage: bench_skinformat [skin folder]; without one, skins/default, else a generated skin.
#include "packagewriter.h"
#include "skin/format/lzh.h"
#include "skin/format/skinreader.h"
#include "syntheticskin.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr double kMinSecondsPerRound = 0.2;
constexpr int kRounds = 7;

// Seconds per call, best of kRounds rounds that each repeat the call for at least kMinSecondsPerRound.
double secondsPerCall(const std::function<void()> &call)
{
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        int calls = 0;
        const auto start = std::chrono::steady_clock::now();
        double elapsed = 0;
        do {
            call();
            ++calls;
            elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        } while (elapsed < kMinSecondsPerRound);
        best = std::min(best, elapsed / calls);
    }
    return best;
}

Bytes zlibCompress(const Bytes &data)
{
    uLongf size = compressBound(data.size());
    Bytes packed(size);
    if (compress2(packed.data(), &size, data.data(), data.size(), 9) != Z_OK) {
        throw std::runtime_error("zlib compress2 failed");
    }
    packed.resize(size);
    return packed;
}

Bytes zlibInflate(const Bytes &packed, size_t size)
{
    Bytes out(size);
    z_stream stream {};
    stream.next_in = const_cast<Bytef *>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    if (inflateInit(&stream) != Z_OK || inflate(&stream, Z_FINISH) != Z_STREAM_END) {
        throw std::runtime_error("zlib inflate failed");
    }
    inflateEnd(&stream);
    return out;
}

// The unpacked image to measure and where it comes from.
Bytes loadImage(int argc, char **argv, std::string &source)
{
    const std::string path = argc > 1 ? argv[1] : std::string(FRAMEWRIGHT_SOURCE_DIR "/skins/default");
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) {
        std::string error;
        const std::vector<skinpack::PackageEntry> entries = skinpack::readSkinFolder(path, &error);
        if (error.empty() && skinpack::entriesProblem(entries).empty()) {
            source = "skin folder " + path + " (" + std::to_string(entries.size()) + " entries)";
            return skinpack::unpackedImage(entries);
        }
    }
    source = "generated skin (" + std::to_string(kSyntheticBitmaps) + " bitmaps and a description)";
    return skinpack::unpackedImage(syntheticSkin());
}

} // namespace

int main(int argc, char **argv)
{
    std::string source;
    const Bytes image = loadImage(argc, argv, source);
    const Bytes package = skinpack::compressImage(image);
    const std::span<const uint8_t> stream = std::span<const uint8_t>(package).subspan(4);
    const Bytes zlibPacked = zlibCompress(image);

    if (TLZH::decode(stream, image.size()) != image || zlibInflate(zlibPacked, image.size()) != image) {
        std::fprintf(stderr, "round trip failed\n");
        return 1;
    }
    TSkinReader reader;
    if (!reader.open(package)) {
        std::fprintf(stderr, "package rejected: %s\n", reader.errorText().c_str());
        return 1;
    }

    const double lzh = secondsPerCall([&] { TLZH::decode(stream, image.size()); });
    const double open = secondsPerCall([&] { reader.open(package); });
    const double zlib = secondsPerCall([&] { zlibInflate(zlibPacked, image.size()); });
    const auto megabytesPerSecond = [&](double seconds) { return image.size() / seconds / 1e6; };

    std::printf("input: %s\n", source.c_str());
    std::printf("unpacked %zu bytes; LZH %zu bytes (%.1f:1), zlib -9 %zu bytes (%.1f:1)\n", image.size(),
        package.size(), double(image.size()) / package.size(), zlibPacked.size(),
        double(image.size()) / zlibPacked.size());
    std::printf("%-26s %10s %10s\n", "decoder", "ms", "MB/s");
    std::printf("%-26s %10.3f %10.1f\n", "TLZH::decode", lzh * 1e3, megabytesPerSecond(lzh));
    std::printf("%-26s %10.3f %10.1f\n", "TSkinReader::open", open * 1e3, megabytesPerSecond(open));
    std::printf("%-26s %10.3f %10.1f\n", "zlib inflate", zlib * 1e3, megabytesPerSecond(zlib));
    std::printf("TLZH throughput / zlib inflate throughput: 1/%.2f (goal: 1/8 or better) %s\n", lzh / zlib,
        lzh / zlib <= 8.0 ? "met" : "NOT MET");
    return 0;
}
