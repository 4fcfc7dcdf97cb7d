// Benchmark of the X11 window operations under the x11-session harness's window manager (run-windowsystem-bench):
// (a) listing the top-level windows against `wmctrl -l`, with 50 and 200 windows open; (b) placement timed until
// it returns and until the windows have landed (placementtiming.h), ending in the window manager's table row;
// (c) applying one placement to 50 windows, against a shell loop of `wmctrl -i -r <id> -e 0,x,y,w,h`. Prints the
// times, the ratios, and how far from the rectangle asked for each side's windows end.
#include "benchstats.h"
#include "landingwatch.h"
#include "placementtiming.h"
#include "platform/x11/x11windowsystem.h"
#include "rawx.h"
#include "testclient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRect>
#include <QThread>

#include <xcb/xcb.h>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <set>
#include <vector>

using platform::ShowState;

namespace {

constexpr int kListRuns = 15;
constexpr int kApplyRuns = 5;
constexpr int kApplyWindows = 50;
constexpr int kWaitMs = 5000;
// A desktop at rest: no CPU time used for this long, polled this often (the kernel counts it in ticks of 10 ms).
constexpr int kQuietMs = 50;
constexpr int kQuietPollMs = 10;
// Long enough for any window manager that answers the barrier at all.
constexpr int kBarrierProbeMs = 1000;

template<typename T> using Owned = std::unique_ptr<T, decltype(&std::free)>;

template<typename T> Owned<T> owned(T *reply)
{
    return Owned<T>(reply, &std::free);
}

// CPU time used so far, in ms: by the harness's X server and window manager (the processes x11-session started
// beside this one, found by their names in /proc) and by this process. Where the time of applying goes.
struct CpuTimes
{
    double server = 0;
    double windowManager = 0;
    double self = 0;
};

double processCpuMs(const QByteArray &pid)
{
    QFile stat("/proc/" + pid + "/stat");
    if (!stat.open(QIODevice::ReadOnly)) {
        return 0;
    }
    // utime and stime are fields 14 and 15; the command name before them may hold blanks, so count from its ')'.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// The window manager's process name as x11-session names the window manager (FRAMEWRIGHT_WM); the kernel keeps
// the first 15 bytes of it.
QByteArray windowManagerName()
{
    return qgetenv("FRAMEWRIGHT_WM");
}

CpuTimes cpuTimes()
{
    CpuTimes times;
    const QByteArray windowManager = windowManagerName().left(15);
    const QByteArray parent = QByteArray::number(getppid());
    QFile children("/proc/" + parent + "/task/" + parent + "/children");
    if (children.open(QIODevice::ReadOnly)) {
        for (const QByteArray &pid : children.readAll().trimmed().split(' ')) {
            QFile comm("/proc/" + pid + "/comm");
            const QByteArray name = comm.open(QIODevice::ReadOnly) ? comm.readAll().trimmed() : QByteArray();
            if (name == "Xorg") {
                times.server = processCpuMs(pid);
            } else if (name == windowManager) {
                times.windowManager = processCpuMs(pid);
            }
        }
    }
    timespec self {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &self);
    times.self = self.tv_sec * 1e3 + self.tv_nsec / 1e6;
    return times;
}

// Until neither the X server nor the window manager has used CPU time for kQuietMs (metacity, for one, goes on
// repainting frames after it has moved 50 windows), at most kWaitMs.
void untilQuiet()
{
    QElapsedTimer timer;
    timer.start();
    QElapsedTimer quiet;
    quiet.start();
    CpuTimes last = cpuTimes();
    while (quiet.elapsed() < kQuietMs && timer.elapsed() < kWaitMs) {
        QThread::msleep(kQuietPollMs);
        const CpuTimes now = cpuTimes();
        if (now.server != last.server || now.windowManager != last.windowManager) {
            quiet.restart();
        }
        last = now;
    }
}

CpuTimes operator-(const CpuTimes &a, const CpuTimes &b)
{
    return {a.server - b.server, a.windowManager - b.windowManager, a.self - b.self};
}

// The window-manager barrier on the benchmark's own connection, so that the wmctrl runs are timed until the window
// manager has carried them out: _NET_REQUEST_FRAME_EXTENTS for an unmapped helper window; once the window manager
// sets the extents it has handled every message sent before (fluxbox never answers).
class Barrier
{
public:
    explicit Barrier(RawX &raw)
        : m_raw(raw)
        , m_frameExtents(raw.atom("_NET_FRAME_EXTENTS"))
        , m_request(raw.atom("_NET_REQUEST_FRAME_EXTENTS"))
        , m_helper(xcb_generate_id(raw.connection()))
    {
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(raw.connection(), XCB_COPY_FROM_PARENT, m_helper, raw.root(), 0, 0, 1, 1, 0,
            XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    }

    // False when the window manager did not answer within `timeoutMs`.
    bool pass(int timeoutMs)
    {
        xcb_connection_t *c = m_raw.connection();
        xcb_delete_property(c, m_helper, m_frameExtents);
        xcb_client_message_event_t message {};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = m_helper;
        message.type = m_request;
        xcb_send_event(
            c, 0, m_raw.root(), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT, reinterpret_cast<const char *>(&message));
        xcb_flush(c);
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            while (const auto event = owned(xcb_poll_for_event(c))) {
                const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event.get());
                if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY && notify->window == m_helper
                    && notify->atom == m_frameExtents && notify->state == XCB_PROPERTY_NEW_VALUE) {
                    return true;
                }
            }
            const qint64 leftMs = timeoutMs - timer.elapsed();
            pollfd fd {xcb_get_file_descriptor(c), POLLIN, 0};
            if (leftMs <= 0 || xcb_connection_has_error(c) || poll(&fd, 1, int(leftMs)) <= 0) {
                return false;
            }
        }
    }

private:
    RawX &m_raw;
    xcb_atom_t m_frameExtents;
    xcb_atom_t m_request;
    xcb_window_t m_helper;
};

// How far the windows' outer rectangles are from `target`: the largest difference of any edge, and how many
// windows are exact.
struct Deviation
{
    int exact = 0;
    int worstPx = 0;
};

Deviation deviation(RawX &raw, const std::vector<uint32_t> &windows, const QRect &target)
{
    Deviation d;
    for (const uint32_t window : windows) {
        const QRect outer = raw.outerFromFrame(window).value_or(QRect());
        const int worst = std::max({std::abs(outer.left() - target.left()), std::abs(outer.top() - target.top()),
            std::abs(outer.right() - target.right()), std::abs(outer.bottom() - target.bottom())});
        d.exact += worst == 0;
        d.worstPx = std::max(d.worstPx, worst);
    }
    return d;
}

std::set<uint32_t> wmctrlList(double *ms)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(QStringLiteral("wmctrl"), {QStringLiteral("-l")});
    process.waitForFinished(kWaitMs);
    *ms = timer.nsecsElapsed() / 1e6;
    std::set<uint32_t> ids;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        bool ok = false;
        const uint32_t id = line.split(' ').value(0).toUInt(&ok, 16);
        if (ok) {
            ids.insert(id);
        }
    }
    return ids;
}

bool benchmarkListing(platform::x11::X11WindowSystem &system, int windowCount)
{
    std::vector<double> ours, theirs;
    std::set<uint32_t> ourIds, theirIds;
    for (int run = 0; run < kListRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const auto windows = system.topLevelWindows();
        ours.push_back(timer.nsecsElapsed() / 1e6);
        ourIds.clear();
        for (const auto &window : windows) {
            ourIds.insert(window.id);
        }
        double ms = 0;
        theirIds = wmctrlList(&ms);
        theirs.push_back(ms);
    }
    const double a = median(ours);
    const double b = median(theirs);
    std::printf("Refresh list, %3d windows: topLevelWindows %7.3f ms (best %.3f)   wmctrl -l %8.3f ms (best %.3f)   "
                "ratio %5.1fx (best to best %.1fx)%s\n",
        windowCount, a, best(ours), b, best(theirs), b / a, best(theirs) / best(ours),
        ourIds == theirIds ? "" : "   (the lists differ!)");
    return ourIds == theirIds;
}

// `barrier` empty: the window manager does not answer it, and a wmctrl run is timed until every window has left
// the rectangle it was in.
bool benchmarkApplying(
    platform::x11::X11WindowSystem &system, RawX &raw, Barrier *barrier, std::vector<uint32_t> windows)
{
    windows.resize(kApplyWindows);
    LandingWatch watch(raw, windows);
    // Two rectangles in turn, so that every run moves and resizes every window.
    const QRect targets[] = {QRect(100, 80, 800, 600), QRect(2000, 100, 640, 480)};
    std::vector<double> ours, theirs;
    Deviation ourDeviation, theirDeviation;
    CpuTimes ourCpu, theirCpu;
    for (int run = 0; run < kApplyRuns; ++run) {
        const QRect target = targets[run % 2];
        CpuTimes start = cpuTimes();
        QElapsedTimer timer;
        timer.start();
        for (const uint32_t window : windows) {
            system.setWindowPlacement(window, {ShowState::Normal, target});
        }
        ours.push_back(timer.nsecsElapsed() / 1e6);
        const CpuTimes used = cpuTimes() - start;
        ourCpu = {ourCpu.server + used.server, ourCpu.windowManager + used.windowManager, ourCpu.self + used.self};
        ourDeviation = deviation(raw, windows, target);

        const QRect other = targets[(run + 1) % 2];
        QString script = QStringLiteral("for id in");
        for (const uint32_t window : windows) {
            script += QStringLiteral(" 0x%1").arg(window, 0, 16);
        }
        script += QStringLiteral("; do wmctrl -i -r $id -e 0,%1,%2,%3,%4; done")
                      .arg(other.x())
                      .arg(other.y())
                      .arg(other.width())
                      .arg(other.height());
        start = cpuTimes();
        timer.restart();
        QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), script});
        // Until the window manager has carried out every request.
        if (barrier) {
            barrier->pass(kWaitMs);
        } else {
            watch.waitUntil([&target](const QRect &outer) { return outer != target; }, timer);
        }
        theirs.push_back(timer.nsecsElapsed() / 1e6);
        const CpuTimes theirsUsed = cpuTimes() - start;
        theirCpu = {theirCpu.server + theirsUsed.server, theirCpu.windowManager + theirsUsed.windowManager,
            theirCpu.self + theirsUsed.self};
        theirDeviation = deviation(raw, windows, other);
    }
    const double a = median(ours);
    const double b = median(theirs);
    std::printf("Apply to %d windows: setWindowPlacement %7.2f ms (best %.2f, %d/%d exact)   wmctrl loop %7.2f ms "
                "(best %.2f, %d/%d exact, off by up to %d px)   ratio %4.1fx\n",
        kApplyWindows, a, best(ours), ourDeviation.exact, kApplyWindows, b, best(theirs), theirDeviation.exact,
        kApplyWindows, theirDeviation.worstPx, b / a);
    // CPU per run; the processes wmctrl starts are not counted.
    const QByteArray wm = windowManagerName();
    std::printf("  CPU per run: ours: X server %.1f ms, %s %.1f ms, this process %.1f ms;   wmctrl loop: X server "
                "%.1f ms, %s %.1f ms\n",
        ourCpu.server / kApplyRuns, wm.constData(), ourCpu.windowManager / kApplyRuns, ourCpu.self / kApplyRuns,
        theirCpu.server / kApplyRuns, wm.constData(), theirCpu.windowManager / kApplyRuns);
    return ourDeviation.exact == kApplyWindows;
}

} // namespace

// --table-header: prints the two lines that go above the table rows the runs print, and nothing else.
int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--table-header") == 0) {
        std::fputs(placementTableHeader(), stdout);
        return 0;
    }
    QCoreApplication application(argc, argv);
    auto system = platform::x11::X11WindowSystem::open();
    RawX raw;
    TestClient client;
    if (!system || !raw.connected() || !client.start() || windowManagerName().isEmpty()) {
        std::fprintf(stderr, "run this through bench/windowsystem/run-windowsystem-bench\n");
        return 1;
    }
    Barrier barrier(raw);
    const bool barrierAnswered = barrier.pass(kBarrierProbeMs);
    if (!barrierAnswered) {
        std::printf("%s does not answer _NET_REQUEST_FRAME_EXTENTS: wmctrl runs are timed until every window has "
                    "moved\n",
            windowManagerName().constData());
    }
    std::vector<uint32_t> windows;
    bool ok = true;
    std::optional<PlacementTimings> placement;
    for (const int count : {50, 200}) {
        while (int(windows.size()) < count) {
            const QByteArray title = "Benchmark window " + QByteArray::number(windows.size());
            windows.push_back(
                client.openWindow("pos=" + QByteArray::number(windows.size() % 40 * 20) + ",100 -- " + title));
        }
        QElapsedTimer timer;
        timer.start();
        while (raw.values(raw.root(), "_NET_CLIENT_LIST").size() < windows.size() && timer.elapsed() < kWaitMs) {
            // Polled: some window managers list a window a while after they have mapped it.
        }
        ok = benchmarkListing(*system, count) && ok;
        if (count == 50) {
            placement = timePlacement(*system, raw, windows, untilQuiet);
            ok = benchmarkApplying(*system, raw, barrierAnswered ? &barrier : nullptr, windows) && ok;
        }
    }
    ok = printPlacementTimings(*placement, windowManagerName()) && ok;
    return ok ? 0 : 1;
}
