// The watch on the extension's signal. The signal carries nothing: the window list is read again once the burst
// of signals that woke the watch has been taken from the bus.
#include "gnomewindowwatch.h"

#include "gnomeshell.h"

#include <QDBusServiceWatcher>
#include <QTimer>

namespace platform::gnome {

std::unique_ptr<GnomeWindowWatch> GnomeWindowWatch::start(
    WindowSystem &system, QDBusConnection bus, WindowListChanged changed)
{
    std::unique_ptr<GnomeWindowWatch> watch(new GnomeWindowWatch(system, std::move(bus), std::move(changed)));
    if (!watch->m_bus.connect(
            kShellService, kObjectPath, kInterface, kWindowsChangedSignal, watch.get(), SLOT(windowsChanged()))) {
        return nullptr;
    }
    watch->report();
    return watch;
}

GnomeWindowWatch::GnomeWindowWatch(WindowSystem &system, QDBusConnection bus, WindowListChanged changed)
    : m_system(system)
    , m_bus(std::move(bus))
    , m_changed(std::move(changed))
    , m_shellWatcher(new QDBusServiceWatcher(kShellService, m_bus, QDBusServiceWatcher::WatchForUnregistration, this))
{
    connect(m_shellWatcher, &QDBusServiceWatcher::serviceUnregistered, this, &GnomeWindowWatch::shellGone);
}

GnomeWindowWatch::~GnomeWindowWatch()
{
    m_bus.disconnect(kShellService, kObjectPath, kInterface, kWindowsChangedSignal, this, SLOT(windowsChanged()));
}

void GnomeWindowWatch::windowsChanged()
{
    if (m_reportPending || m_ended) {
        return;
    }
    m_reportPending = true;
    QTimer::singleShot(0, this, [this] {
        m_reportPending = false;
        if (!m_ended) {
            report();
        }
    });
}

void GnomeWindowWatch::report()
{
    m_changed(m_system.topLevelWindows());
}

void GnomeWindowWatch::shellGone()
{
    if (!m_ended) {
        m_ended = true;
        m_changed(std::nullopt);
    }
}

} // namespace platform::gnome
