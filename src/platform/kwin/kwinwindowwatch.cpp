// The KWin watch: the loaded watch script's answers, coalesced and reported from the event loop.
#include "kwinwindowwatch.h"

#include "kwinwindowsystem.h"

#include <QDBusConnection>
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcKWin)

namespace platform::kwin {

std::unique_ptr<KWinWindowWatch> KWinWindowWatch::start(
    KWinWindowSystem &system, KWinScripting &scripting, WindowListChanged changed)
{
    std::unique_ptr<KWinWindowWatch> watch(new KWinWindowWatch(system, scripting, std::move(changed)));
    watch->m_script = scripting.load(
        Script::Watch, {}, [watch = watch.get()](const ScriptAnswer &answer) { watch->received(answer); });
    if (!watch->m_script
        || !scripting.waitUntil(
            [&watch] { return watch->m_latest.has_value(); }, QDeadlineTimer(KWinScripting::kAnswerTimeoutMs))) {
        qCWarning(lcKWin) << "KWin did not start the watch script";
        return nullptr;
    }
    watch->m_coalesce.stop();
    watch->report();
    return watch;
}

KWinWindowWatch::KWinWindowWatch(KWinWindowSystem &system, KWinScripting &scripting, WindowListChanged changed)
    : m_system(system)
    , m_scripting(scripting)
    , m_changed(std::move(changed))
    , m_context(std::make_unique<QObject>())
    , m_kwinWatcher(scripting.kwinService(), QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForUnregistration)
{
    m_coalesce.setSingleShot(true);
    m_coalesce.setInterval(0);
    QObject::connect(&m_coalesce, &QTimer::timeout, m_context.get(), [this] { report(); });
    // Deferred reports go out once the backend's operations are over: queued, so that the operation that ended has
    // returned to its caller first.
    QObject::connect(
        &scripting, &KWinScripting::idle, m_context.get(), [this] { report(); }, Qt::QueuedConnection);
    // KWin's unique name goes when KWin ends or restarts; a restarted KWin has lost the watch script.
    QObject::connect(
        &m_kwinWatcher, &QDBusServiceWatcher::serviceUnregistered, m_context.get(), [this] { kwinGone(); });
}

KWinWindowWatch::~KWinWindowWatch() = default;

void KWinWindowWatch::received(const ScriptAnswer &answer)
{
    std::optional<std::vector<WindowState>> windows = answer.value ? windowsFrom(*answer.value) : std::nullopt;
    if (!windows) {
        qCWarning(lcKWin).noquote() << "the watch script's list was not understood:" << answer.error;
        return;
    }
    m_latest = std::move(windows);
    m_coalesce.start();
}

void KWinWindowWatch::report()
{
    if (m_ended || !m_latest || m_reporting || m_scripting.busy()) {
        return;
    }
    m_reporting = true;
    std::vector<TopLevelWindow> windows = m_system.toTopLevelWindows(std::move(*m_latest));
    m_latest.reset();
    m_changed(std::move(windows));
    m_reporting = false;
    if (m_latest) {
        m_coalesce.start();
    }
}

void KWinWindowWatch::kwinGone()
{
    if (m_ended) {
        return;
    }
    m_ended = true;
    m_coalesce.stop();
    m_changed(std::nullopt);
}

} // namespace platform::kwin
