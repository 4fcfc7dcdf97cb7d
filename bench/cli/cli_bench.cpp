// Benchmark of the command line on the x11-session harness (run-cli-bench), with one test-client window:
// (a) `framewright --apply ENTRY` from process start until the window has landed, against `wmctrl -i -r ID -e
// 0,x,y,w,h` asked for the same outer rectangle (goal: at most 1.5x wmctrl's time, ours pixel-exact), and the CPU time
// each process takes, which a loaded machine hardly changes; (b) --watch:
// from a window's map request to its landing (goal: under 50 ms); (c) the CPU --watch uses while nothing happens
// for 10 s (goal: 0 clock ticks).
#include "rawx.h"
#include "testclient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kApplyRuns = 21;
constexpr int kWatchRuns = 15;
constexpr int kIdleSeconds = 10;
constexpr int kLandingDeadlineMs = 5000;

// Two entries on the side monitor (1280 x 1024 at 1920, 0) that every run alternates between, so that each moves
// and resizes the window; and one that --watch applies.
const QByteArray kSettings = "[General]\nPresetCount=3\nPreset1=A\nPreset2=B\nPreset3=Watched\n"
                             "[A]\nTitle=Bench target\nScreenIndex=1\nHorzValue=100\nHorzPx=1\nVertValue=80\n"
                             "VertPx=1\nWidthValue=800\nWidthPx=1\nHeightValue=600\nHeightPx=1\n"
                             "[B]\nTitle=Bench target\nScreenIndex=1\nHorzIndex=2\nVertIndex=2\nHorzPx=1\nVertPx=1\n"
                             "WidthValue=50\nHeightValue=50\n"
                             "[Watched]\nTitle=^Watched bench window\nRegex=1\nHorzIndex=1\nVertIndex=1\n"
                             "WidthValue=640\nWidthPx=1\nHeightValue=480\nHeightPx=1\n";
const QRect kTargets[] = {QRect(1920 + 100, 80, 800, 600), QRect(1920 + 640, 512, 640, 512)};
const QRect kWatchedTarget((1920 - 640) / 2, (1080 - 480) / 2, 640, 480);

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Polls raw X until the window's outer rectangle is `target`; false at the deadline.
bool waitForLanding(RawX &raw, quint32 window, const QRect &target)
{
    const QDeadlineTimer deadline(kLandingDeadlineMs);
    while (raw.outerFromExtents(window).value_or(QRect()) != target) {
        if (deadline.hasExpired()) {
            return false;
        }
    }
    return true;
}

// The CPU time (user and system) of the children that have ended, in milliseconds.
double childrenCpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Runs a program to its end with its output discarded; its exit status, or -1. Adds the CPU time it took to
// `cpuMs`: unlike the time to landing, that hardly depends on what else the machine runs.
int runQuietly(const QString &program, const QStringList &arguments, std::vector<double> &cpuMs)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    const double before = childrenCpuMs();
    process.start(program, arguments);
    const bool ended = process.waitForFinished();
    cpuMs.push_back(childrenCpuMs() - before);
    return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

long cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.value(11).toLong() + fields.value(12).toLong(); // utime + stime
}

// Waits until the window manager has taken the window (WM_STATE Normal and frame extents set).
bool waitManaged(RawX &raw, quint32 window)
{
    const QDeadlineTimer deadline(kLandingDeadlineMs);
    while (raw.wmState(window) != 1 || !raw.outerFromExtents(window)) {
        if (deadline.hasExpired()) {
            return false;
        }
    }
    return true;
}

void applyAgainstWmctrl(RawX &raw, quint32 window, const QString &settings)
{
    // wmctrl is given the outer rectangle's position and the client size that gives that outer rectangle.
    const QRect outer = *raw.outerFromExtents(window);
    const QRect client = *raw.clientRect(window);
    const QSize frame = outer.size() - client.size();
    std::vector<double> ours, theirs, oursCpu, theirsCpu;
    int oursExact = 0;
    int theirsExact = 0;
    QElapsedTimer timer;
    for (int run = 0; run < kApplyRuns; ++run) {
        const QRect target = kTargets[run % 2];
        timer.start();
        const int status = runQuietly(QStringLiteral(FRAMEWRIGHT_PROGRAM),
            {QStringLiteral("--settings"), settings, QStringLiteral("--apply"),
                run % 2 ? QStringLiteral("B") : QStringLiteral("A")},
            oursCpu);
        const bool landed = waitForLanding(raw, window, target);
        ours.push_back(timer.nsecsElapsed() / 1e6);
        oursExact += status == 0 && landed;
        if (status != 0 || !landed) {
            const QRect at = raw.outerFromFrame(window).value_or(QRect());
            std::printf("  run %d: --apply exited with %d; the window is at %d,%d %dx%d, asked for %d,%d %dx%d\n", run,
                status, at.x(), at.y(), at.width(), at.height(), target.x(), target.y(), target.width(),
                target.height());
        }

        const QRect other = kTargets[(run + 1) % 2];
        timer.start();
        runQuietly(QStringLiteral("wmctrl"),
            {QStringLiteral("-i"), QStringLiteral("-r"), QStringLiteral("0x%1").arg(window, 0, 16),
                QStringLiteral("-e"),
                QStringLiteral("0,%1,%2,%3,%4")
                    .arg(other.x())
                    .arg(other.y())
                    .arg(other.width() - frame.width())
                    .arg(other.height() - frame.height())},
            theirsCpu);
        theirsExact += waitForLanding(raw, window, other);
        theirs.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double a = median(ours);
    const double b = median(theirs);
    std::printf("--apply, one entry and one window, start to landed: %6.2f ms (%d/%d exact)   wmctrl -e: %6.2f ms "
                "(%d/%d exact)   ratio %.2fx (goal <= 1.5x)\n",
        a, oursExact, kApplyRuns, b, theirsExact, kApplyRuns, a / b);
    const double c = median(oursCpu);
    const double d = median(theirsCpu);
    std::printf("--apply, CPU time of the process:                  %6.2f ms                wmctrl -e: %6.2f ms"
                "               ratio %.2fx\n",
        c, d, c / d);
}

void watch(RawX &raw, TestClient &client, const QString &settings)
{
    QProcess watcher;
    watcher.start(QStringLiteral(FRAMEWRIGHT_PROGRAM),
        {QStringLiteral("--settings"), settings, QStringLiteral("--watch"), QStringLiteral("Watched")});
    QByteArray errors;
    const QDeadlineTimer started(kLandingDeadlineMs);
    while (!errors.contains("watching") && !started.hasExpired()) {
        watcher.waitForReadyRead(100);
        errors += watcher.readAllStandardError();
    }
    std::vector<double> times;
    int landed = 0;
    QElapsedTimer timer;
    for (int run = 0; run < kWatchRuns; ++run) {
        timer.start();
        // "open" answers once the server has carried out the window's creation and map request.
        const quint32 window = client.openWindow(
            QByteArray("pos=40,60 size=300x200 -- Watched bench window ") + QByteArray::number(run));
        landed += window != 0 && waitForLanding(raw, window, kWatchedTarget);
        times.push_back(timer.nsecsElapsed() / 1e6);
        client.command("destroy 0x" + QByteArray::number(window, 16));
    }
    std::printf("--watch, map request to landed: median %6.2f ms, worst %6.2f ms (%d/%d landed; goal < 50 ms)\n",
        median(times), *std::max_element(times.begin(), times.end()), landed, kWatchRuns);

    // Idle: the destroyed windows' events handled first, then nothing happens for the measured time.
    QThread::msleep(500);
    const long before = cpuTicks(watcher.processId());
    QThread::sleep(kIdleSeconds);
    const long after = cpuTicks(watcher.processId());
    std::printf("--watch, idle for %d s: %ld clock ticks of CPU (goal 0; %ld ticks per second)\n", kIdleSeconds,
        after - before, sysconf(_SC_CLK_TCK));
    watcher.terminate();
    watcher.waitForFinished();
    std::printf("--watch, SIGTERM: exit status %d\n", watcher.exitCode());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    RawX raw;
    TestClient client;
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("KTZ.ini"));
    QFile file(settings);
    if (!raw.connected() || !client.start() || !file.open(QIODevice::WriteOnly) || file.write(kSettings) < 0) {
        std::fprintf(stderr, "bench_cli: no X server, test client or settings file\n");
        return 1;
    }
    file.close();
    const quint32 window = client.openWindow("pos=40,60 size=300x200 -- Bench target");
    if (window == 0 || !waitManaged(raw, window)) {
        std::fprintf(stderr, "bench_cli: the test window was not managed\n");
        return 1;
    }
    applyAgainstWmctrl(raw, window, settings);
    watch(raw, client, settings);
    return 0;
}
