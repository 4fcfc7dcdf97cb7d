// KWin backend of the window-system interface: the operations put together from the scripts' answers.
#include "kwinwindowsystem.h"

#include "kwinframes.h"
#include "kwinscripting.h"
#include "kwinwindowwatch.h"
#include "platform/anchoredrect.h"
#include "platform/monitororder.h"

#include <QJsonArray>
#include <QLoggingCategory>
#include <QTimer>

#include <algorithm>

Q_DECLARE_LOGGING_CATEGORY(lcKWin)

namespace platform::kwin {

namespace {

// How long a placement may take to land: KWin applies a frame once the client has acknowledged it.
constexpr int kLandingTimeoutMs = 2000;

QJsonArray jsonRect(const QRect &rect)
{
    return QJsonArray {rect.x(), rect.y(), rect.width(), rect.height()};
}

} // namespace

std::unique_ptr<KWinWindowSystem> KWinWindowSystem::open()
{
    std::unique_ptr<KWinScripting> scripting = KWinScripting::open();
    if (!scripting) {
        return nullptr;
    }
    return std::unique_ptr<KWinWindowSystem>(new KWinWindowSystem(std::move(scripting)));
}

KWinWindowSystem::KWinWindowSystem(std::unique_ptr<KWinScripting> scripting)
    : m_scripting(std::move(scripting))
{ }

KWinWindowSystem::~KWinWindowSystem() = default;

std::vector<Monitor> KWinWindowSystem::monitors()
{
    if (m_monitors) {
        return *m_monitors;
    }
    const std::optional<QJsonValue> answer = m_scripting->call(Script::Monitors);
    std::optional<std::vector<Monitor>> monitors = answer ? monitorsFrom(*answer) : std::nullopt;
    if (!monitors) {
        if (answer) {
            qCWarning(lcKWin) << "KWin's list of outputs was not understood";
        }
        return {Monitor {QString(), QRect(), true}};
    }
    orderMonitors(*monitors);
    m_monitors = monitors;
    QTimer::singleShot(0, m_scripting.get(), [this] { m_monitors.reset(); });
    return *monitors;
}

std::vector<TopLevelWindow> KWinWindowSystem::topLevelWindows()
{
    const std::optional<QJsonValue> answer = m_scripting->call(Script::Windows);
    std::optional<std::vector<WindowState>> windows = answer ? windowsFrom(*answer) : std::nullopt;
    if (!windows) {
        if (answer) {
            qCWarning(lcKWin) << "KWin's window list was not understood";
        }
        return {};
    }
    return toTopLevelWindows(std::move(*windows));
}

std::vector<TopLevelWindow> KWinWindowSystem::toTopLevelWindows(std::vector<WindowState> windows)
{
    std::stable_sort(windows.begin(), windows.end(),
        [](const WindowState &a, const WindowState &b) { return a.stacking > b.stacking; });
    std::map<QString, WindowState> listed;
    std::vector<TopLevelWindow> result;
    for (WindowState &window : windows) {
        const WindowId handle = m_handles.handle(window.id);
        if (handle == 0 || listed.contains(window.id)) {
            continue;
        }
        result.push_back(TopLevelWindow {handle, window.title, window.visible, window.owned});
        const QString id = window.id;
        listed.emplace(id, std::move(window));
    }
    for (const auto &[id, window] : m_listed) {
        if (!listed.contains(id)) {
            m_handles.forget(id);
            m_restoreFrames.erase(id);
        }
    }
    m_listed = std::move(listed);
    return result;
}

std::optional<WindowState> KWinWindowSystem::readWindow(const QString &id)
{
    const std::optional<QJsonValue> answer = m_scripting->call(Script::Window, {{QStringLiteral("id"), id}});
    if (!answer) {
        return std::nullopt;
    }
    WindowAnswer window = windowFrom(*answer);
    if (!window.valid) {
        qCWarning(lcKWin) << "KWin's description of a window was not understood";
    }
    return window.window;
}

std::optional<WindowPlacement> KWinWindowSystem::windowPlacement(WindowId window)
{
    const std::optional<QString> id = m_handles.native(window);
    const std::optional<WindowState> state = id ? readWindow(*id) : std::nullopt;
    if (!state) {
        return std::nullopt;
    }
    WindowPlacement placement;
    placement.showState = state->minimized ? ShowState::Minimized
        : state->maximized                 ? ShowState::Maximized
                                           : ShowState::Normal;
    placement.normalRect = state->frame;
    // KWin's scripts do not show the frame a maximized window returns to; the one this program set is kept.
    if (const auto restore = m_restoreFrames.find(*id); state->maximized && restore != m_restoreFrames.end()) {
        placement.normalRect = restore->second;
    }
    return placement;
}

std::optional<WindowState> KWinWindowSystem::placeAndWait(const QString &id, const QRect &frame, bool maximize)
{
    std::optional<WindowState> last;
    bool ended = false; // gone, or an answer that is no description
    const QJsonObject request {
        {QStringLiteral("id"), id},
        {QStringLiteral("frame"), jsonRect(frame)},
        {QStringLiteral("maximize"), maximize},
    };
    const auto loaded = m_scripting->load(Script::Place, request, [&](const ScriptAnswer &answer) {
        const WindowAnswer window = answer.value ? windowFrom(*answer.value) : WindowAnswer();
        if (!window.valid) {
            qCWarning(lcKWin).noquote() << "placing a window:"
                                        << (answer.error.isEmpty() ? QStringLiteral("an answer not understood")
                                                                   : answer.error);
        }
        ended = !window.window;
        last = window.window;
    });
    if (!loaded) {
        return std::nullopt;
    }
    m_scripting->waitUntil(
        [&] { return ended || (last && hasLanded(*last, frame, maximize)); }, QDeadlineTimer(kLandingTimeoutMs));
    return last;
}

bool KWinWindowSystem::setWindowPlacement(WindowId window, const WindowPlacement &placement)
{
    const std::optional<QString> id = m_handles.native(window);
    if (!id) {
        return false;
    }
    const auto listed = m_listed.find(*id);
    const std::optional<WindowState> before = listed != m_listed.end() ? listed->second : readWindow(*id);
    if (!before) {
        return false;
    }
    const bool maximize = placement.showState == ShowState::Maximized;
    const QRect frame = expectedFrame(*before, placement.normalRect, placement.anchor);
    std::optional<WindowState> after = placeAndWait(*id, frame, maximize);
    // A size the window refused that its limits did not foretell (a client rounding to its own steps) gets one
    // more request, anchored for the size it took.
    if (after && !maximize && !hasLanded(*after, frame, false) && !after->maximized && !after->minimized
        && after->frame.size() != frame.size()) {
        const QRect corrected
            = anchoredRect(placement.normalRect, after->frame.size(), placement.anchor, kMaxCoordinate);
        after = placeAndWait(*id, corrected, false);
        return after && hasLanded(*after, corrected, false);
    }
    if (!after || !hasLanded(*after, frame, maximize)) {
        return false;
    }
    if (maximize) {
        m_restoreFrames[*id] = frame;
    } else {
        m_restoreFrames.erase(*id);
    }
    return true;
}

std::optional<WindowId> KWinWindowSystem::activeWindow()
{
    const std::optional<QJsonValue> answer = m_scripting->call(Script::ActiveWindow);
    const IdAnswer active = answer ? windowIdFrom(*answer) : IdAnswer();
    if (!active.valid || active.id.isEmpty()) {
        return std::nullopt;
    }
    const WindowId handle = m_handles.handle(active.id);
    return handle == 0 ? std::nullopt : std::optional<WindowId>(handle);
}

std::unique_ptr<WindowWatch> KWinWindowSystem::watchTopLevelWindows(WindowListChanged changed)
{
    return KWinWindowWatch::start(*this, *m_scripting, std::move(changed));
}

} // namespace platform::kwin
