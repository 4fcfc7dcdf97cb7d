// Start-up (the main window's construction: the settings file read, the saved list filled and selected) and exit
// (its destruction: every entry written back, the file saved) for generated settings files of 10k, 20k and 50k
// entries with Selected=1 on each. Prints the median of a few runs per size and the ratios to the 10k times; the
// times are linear when doubling the entries at most doubles them again (ratio 20k/10k at most 2.2). Times are
// the process's CPU time.
// Usage: bench_settingsfile [runs]   (QT_QPA_PLATFORM=offscreen is set when no platform is given)
#include "cputime.h"
#include "fakewindowsystem.h"
#include "mainwnd.h"
#include "recordingmessageboxes.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

namespace {

QByteArray generatedSettings(int entries)
{
    QByteArray general = "[General]\nActiveList=1\nFocus=0\nPresetCount=" + QByteArray::number(entries) + "\n";
    QByteArray sections;
    for (int n = 1; n <= entries; ++n) {
        const QByteArray name = "Entry number " + QByteArray::number(n);
        general += "Preset" + QByteArray::number(n) + "=" + name + "\n";
        sections += "\n[" + name + "]\nTitle=Window title " + QByteArray::number(n)
            + "\nRegex=0\nScreenIndex=0\nHorzIndex=1\nHorzValue=" + QByteArray::number(n % 100)
            + "\nHorzPx=0\nVertIndex=1\nVertValue=0\nVertPx=0\nWidthValue=50\nWidthPx=0\nHeightValue=50\n"
              "HeightPx=0\nMaximized=0\nSelected=1\n";
    }
    return general + sections;
}

struct Times
{
    double startupMs = 0;
    double exitMs = 0;
};

Times measure(const QByteArray &settings)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KTZ.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(settings) != settings.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    file.close();

    FakeWindowSystem windowSystem;
    RecordingMessageBoxes messageBoxes;
    MainWndServices services;
    services.windowSystem = &windowSystem;
    services.messageBoxes = &messageBoxes;
    services.settingsPath = path;
    services.openUrl = [](const QUrl &) { return true; };
    services.noSkin = true;

    double start = cpuMs();
    auto window = std::make_unique<TMainWnd>(services);
    Times times;
    times.startupMs = cpuMs() - start;
    window->move(window->pos() + QPoint(1, 0)); // a changed position: the exit saves the whole file
    start = cpuMs();
    window.reset();
    times.exitMs = cpuMs() - start;
    if (!messageBoxes.errors.isEmpty()) {
        std::fprintf(stderr, "error box: %s\n", qPrintable(messageBoxes.errors.front()));
        std::exit(1);
    }
    return times;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    std::printf("%8s %8s %12s %12s %14s %14s\n", "entries", "file MiB", "start-up ms", "exit ms", "start-up ratio",
        "exit ratio");
    Times base;
    bool linear = true;
    for (const int entries : {10000, 20000, 50000}) {
        const QByteArray settings = generatedSettings(entries);
        std::vector<double> startups;
        std::vector<double> exits;
        for (int run = 0; run < runs; ++run) {
            const Times times = measure(settings);
            startups.push_back(times.startupMs);
            exits.push_back(times.exitMs);
        }
        const Times typical {median(startups), median(exits)};
        if (entries == 10000) {
            base = typical;
        }
        const double startupRatio = typical.startupMs / base.startupMs;
        const double exitRatio = typical.exitMs / base.exitMs;
        // Each doubling may cost at most kLinearDoublingRatio: the bound for k times the entries is that to the
        // power log2(k).
        const double bound = std::pow(kLinearDoublingRatio, std::log2(entries / 10000.0));
        linear = linear && startupRatio <= bound && exitRatio <= bound;
        std::printf("%8d %8.1f %12.1f %12.1f %14.2f %14.2f\n", entries, settings.size() / 1048576.0, typical.startupMs,
            typical.exitMs, startupRatio, exitRatio);
    }
    std::printf("%s\n",
        linear ? "linear: every ratio within 2.2 per doubling of the entries"
               : "NOT LINEAR: a ratio exceeds 2.2 per doubling of the entries");
    return linear ? 0 : 1;
}
