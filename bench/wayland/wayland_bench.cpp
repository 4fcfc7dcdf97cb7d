// Benchmark of --apply on a Wayland compositor, run inside its test session (run-wayland-bench): Qt client windows
// (framewright-waylandclient) are placed by the framewright program, and a window counts as landed once the
// session's own backend reads it at the target. (a) one entry, one window: from process start until the window has
// landed (goal: under 100 ms); (b) one entry matching 20 windows: from process start until all have landed (goal:
// under 1 s). Each run alternates between two entries on the second monitor, so that every run moves and resizes.
// Prints one markdown row per measurement: the compositor (FRAMEWRIGHT_COMPOSITOR), the median, the worst run.
#include "platform/sessionwindowsystem.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 11;
constexpr int kManyWindows = 20;
constexpr int kLandingDeadlineMs = 10000;

// Two entries for the single window and two for the many, each pair on the second monitor, in pixels from its
// top-left and its bottom-right corner (the compositors' test sessions give their second monitors different sizes).
const QByteArray kSettings = "[General]\nPresetCount=4\nPreset1=One A\nPreset2=One B\nPreset3=Many A\nPreset4=Many B\n"
                             "[One A]\nTitle=Bench single\nScreenIndex=1\nHorzValue=100\nHorzPx=1\nVertValue=80\n"
                             "VertPx=1\nWidthValue=800\nWidthPx=1\nHeightValue=600\nHeightPx=1\n"
                             "[One B]\nTitle=Bench single\nScreenIndex=1\nHorzIndex=2\nVertIndex=2\nWidthValue=640\n"
                             "WidthPx=1\nHeightValue=512\nHeightPx=1\n"
                             "[Many A]\nTitle=Bench many\nScreenIndex=1\nHorzValue=10\nHorzPx=1\nVertValue=10\n"
                             "VertPx=1\nWidthValue=500\nWidthPx=1\nHeightValue=400\nHeightPx=1\n"
                             "[Many B]\nTitle=Bench many\nScreenIndex=1\nHorzIndex=2\nVertIndex=2\nWidthValue=600\n"
                             "WidthPx=1\nHeightValue=450\nHeightPx=1\n";

struct Targets
{
    QRect one[2];
    QRect many[2];
};

// Where the entries put their windows on `monitor`.
Targets targetsOn(const QRect &monitor)
{
    const auto fromTopLeft = [&](int x, int y, QSize size) { return QRect(monitor.topLeft() + QPoint(x, y), size); };
    const auto atBottomRight = [&](QSize size) {
        return QRect(monitor.x() + monitor.width() - size.width(), monitor.y() + monitor.height() - size.height(),
            size.width(), size.height());
    };
    return Targets {{fromTopLeft(100, 80, QSize(800, 600)), atBottomRight(QSize(640, 512))},
        {fromTopLeft(10, 10, QSize(500, 400)), atBottomRight(QSize(600, 450))}};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The windows whose titles start with `prefix`, by their handles in the session's backend.
std::vector<platform::WindowId> windowsTitled(platform::WindowSystem &system, const QString &prefix)
{
    std::vector<platform::WindowId> found;
    for (const platform::TopLevelWindow &window : system.topLevelWindows()) {
        if (window.title.startsWith(prefix)) {
            found.push_back(window.id);
        }
    }
    return found;
}

bool landed(platform::WindowSystem &system, const std::vector<platform::WindowId> &windows, const QRect &target)
{
    return std::all_of(windows.begin(), windows.end(), [&](platform::WindowId window) {
        const auto placement = system.windowPlacement(window);
        return placement && placement->normalRect == target;
    });
}

class Bench
{
public:
    ~Bench()
    {
        m_client.kill();
        m_client.waitForFinished();
    }

    bool start()
    {
        m_system = platform::openSessionWindowSystem().windowSystem;
        if (!m_system || !m_dir.isValid()) {
            std::fprintf(stderr, "wayland_bench: no window system of the session\n");
            return false;
        }
        m_settings = m_dir.filePath("KTZ.ini");
        QFile file(m_settings);
        if (!file.open(QIODevice::WriteOnly) || file.write(kSettings) != kSettings.size()) {
            return false;
        }
        file.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "wayland");
        m_client.setProcessEnvironment(environment);
        m_client.start(QStringLiteral(FRAMEWRIGHT_WAYLANDCLIENT), {});
        return m_client.waitForStarted() && open("Bench single") && openMany();
    }

    // Applies the entries alternately; the milliseconds from process start until every window has landed.
    std::vector<double> measure(const char *entryA, const char *entryB, const QRect (&targets)[2], const QString &title)
    {
        const std::vector<platform::WindowId> windows = windowsTitled(*m_system, title);
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run) {
            const QRect &target = targets[run % 2];
            QElapsedTimer clock;
            clock.start();
            QProcess apply;
            apply.setStandardOutputFile(QProcess::nullDevice());
            apply.start(
                QStringLiteral(FRAMEWRIGHT_PROGRAM), {"--settings", m_settings, "--apply", run % 2 ? entryB : entryA});
            if (!apply.waitForFinished(kLandingDeadlineMs) || apply.exitCode() != 0) {
                std::fprintf(
                    stderr, "wayland_bench: --apply %s ended with %d\n", run % 2 ? entryB : entryA, apply.exitCode());
                return {};
            }
            const QDeadlineTimer deadline(kLandingDeadlineMs);
            while (!landed(*m_system, windows, target)) {
                if (deadline.hasExpired()) {
                    std::fprintf(stderr, "wayland_bench: the windows did not land\n");
                    return {};
                }
            }
            times.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
        return times;
    }

    std::vector<platform::Monitor> monitors() { return m_system->monitors(); }

private:
    bool open(const QString &title)
    {
        m_client.write(("open -- " + title + "\n").toUtf8());
        while (!m_client.canReadLine()) {
            if (!m_client.waitForReadyRead(kLandingDeadlineMs)) {
                return false;
            }
        }
        if (!m_client.readLine().startsWith("ok")) {
            return false;
        }
        const QDeadlineTimer deadline(kLandingDeadlineMs);
        while (windowsTitled(*m_system, title).empty()) {
            if (deadline.hasExpired()) {
                return false;
            }
        }
        return true;
    }

    bool openMany()
    {
        for (int i = 0; i < kManyWindows; ++i) {
            if (!open(QStringLiteral("Bench many %1").arg(i + 1))) {
                return false;
            }
        }
        return true;
    }

    std::unique_ptr<platform::WindowSystem> m_system;
    QTemporaryDir m_dir;
    QString m_settings;
    QProcess m_client;
};

void printRow(const char *what, const std::vector<double> &times, double goalMs)
{
    const QByteArray compositor = qgetenv("FRAMEWRIGHT_COMPOSITOR");
    if (times.empty()) {
        std::printf("| %s | %s | failed | | %.0f ms |\n", compositor.constData(), what, goalMs);
        return;
    }
    std::printf("| %s | %s | %.1f ms | %.1f ms | %.0f ms |\n", compositor.constData(), what, median(times),
        *std::max_element(times.begin(), times.end()), goalMs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    Bench bench;
    if (!bench.start()) {
        std::fprintf(stderr, "wayland_bench: the test windows could not be opened\n");
        return 1;
    }
    std::printf("| compositor | --apply | median | worst | goal |\n|---|---|---|---|---|\n");
    const std::vector<platform::Monitor> monitors = bench.monitors();
    if (monitors.size() < 2) {
        std::fprintf(stderr, "wayland_bench: the session has no second monitor\n");
        return 1;
    }
    const Targets targets = targetsOn(monitors[1].rect);
    const auto one = bench.measure("One A", "One B", targets.one, "Bench single");
    printRow("one window, start to landed", one, 100);
    const auto many = bench.measure("Many A", "Many B", targets.many, "Bench many");
    printRow("20 windows, start to all landed", many, 1000);
    return one.empty() || many.empty() ? 1 : 0;
}
