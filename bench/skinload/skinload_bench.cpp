// Benchmark of loading the shipped skin: the package opened (decompression), the description read and the
// whole load (objects, images, derived images), each the median of many runs, with the unpacked throughput.
// Then the program's start-up time (median of several starts, when there is a display) and the ratio of the
// two; the goal is a skin load under a tenth of the start-up.
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "skin/format/quickini.h"
#include "skin/format/skinreader.h"
#include "skin/load/shippedskin.h"
#include "skin/load/skinloader.h"
#include "startupclock.h"

namespace {

constexpr int kLoadRuns = 200;
constexpr int kStartRuns = 7;

using Nanoseconds = std::chrono::nanoseconds;

Nanoseconds median(std::vector<Nanoseconds> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

Nanoseconds medianOf(int runs, const std::function<void()> &work)
{
    std::vector<Nanoseconds> samples;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        samples.push_back(std::chrono::steady_clock::now() - start);
    }
    return median(samples);
}

double milliseconds(Nanoseconds time)
{
    return std::chrono::duration<double, std::milli>(time).count();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QByteArray packageBytes = shippedSkinPackage();
    const std::span<const uint8_t> package(
        reinterpret_cast<const uint8_t *>(packageBytes.constData()), size_t(packageBytes.size()));
    TSkinReader probe;
    if (!probe.open(package)) {
        std::fprintf(stderr, "bench_skinload: the shipped package does not open\n");
        return 1;
    }
    // The package starts with the unpacked size, 32-bit little-endian.
    const size_t unpacked
        = size_t(package[0]) | size_t(package[1]) << 8 | size_t(package[2]) << 16 | size_t(package[3]) << 24;
    const std::vector<uint8_t> descriptionBytes = probe.extractFirstContaining(".ini");
    const std::string_view description(
        reinterpret_cast<const char *>(descriptionBytes.data()), descriptionBytes.size());

    const Nanoseconds open = medianOf(kLoadRuns, [&] {
        TSkinReader reader;
        reader.open(package);
    });
    const Nanoseconds parse = medianOf(kLoadRuns, [&] {
        TQuickIni ini;
        ini.load(description);
    });
    PlatformLook look;
    look.scrollArrowWidthPx = 16;
    const Nanoseconds load = medianOf(kLoadRuns, [&] { loadSkin(package, look); });

    std::printf("shipped skin: %zu bytes packed, %zu bytes unpacked, %zu entries\n", size_t(packageBytes.size()),
        unpacked, probe.names().size());
    std::printf("open (decompress, directory)      %8.3f ms  %7.1f MB/s unpacked\n", milliseconds(open),
        double(unpacked) / 1e6 / (milliseconds(open) / 1e3));
    std::printf("description (TQuickIni)           %8.3f ms\n", milliseconds(parse));
    std::printf("whole skin load                   %8.3f ms  %7.1f MB/s unpacked\n", milliseconds(load),
        double(unpacked) / 1e6 / (milliseconds(load) / 1e3));

#ifdef FRAMEWRIGHT_PROGRAM
    const QString program = QStringLiteral(FRAMEWRIGHT_PROGRAM);
    std::vector<Nanoseconds> starts;
    for (int i = 0; i < kStartRuns; ++i) {
        if (const std::optional<Nanoseconds> start = measureStartup(program, QStringLiteral("Framewright"))) {
            starts.push_back(*start);
        }
    }
    if (starts.empty()) {
        std::printf("program start-up: not measured (needs a display; run under tests/support/x11-session)\n");
        return 0;
    }
    const Nanoseconds startup = median(starts);
    std::printf(
        "program start-up (to a viewable main window, median of %zu) %8.1f ms\n", starts.size(), milliseconds(startup));
    const double ratio = milliseconds(load) / milliseconds(startup);
    std::printf("skin load / start-up = %.4f (goal < 0.1): %s\n", ratio, ratio < 0.1 ? "met" : "NOT met");
#else
    std::printf("program start-up: not measured (the build has no framewright program)\n");
#endif
    return 0;
}
