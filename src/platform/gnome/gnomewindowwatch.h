// Watching the top-level windows on GNOME Shell: the extension's WindowsChanged signal (windows created, shown,
// unmanaged or retitled) gives one listing per burst; GNOME Shell leaving the bus ends the watch.
#pragma once

#include "platform/windowsystem.h"

#include <QDBusConnection>
#include <QObject>

#include <memory>

class QDBusServiceWatcher;

namespace platform::gnome {

class GnomeWindowWatch : public QObject, public WindowWatch
{
    Q_OBJECT

public:
    // Reports the windows once before it returns; empty when the signal cannot be subscribed to.
    static std::unique_ptr<GnomeWindowWatch> start(
        WindowSystem &system, QDBusConnection bus, WindowListChanged changed);
    ~GnomeWindowWatch() override;

private slots:
    void windowsChanged();

private:
    GnomeWindowWatch(WindowSystem &system, QDBusConnection bus, WindowListChanged changed);
    void report();
    void shellGone();

    WindowSystem &m_system;
    QDBusConnection m_bus;
    WindowListChanged m_changed;
    QDBusServiceWatcher *m_shellWatcher = nullptr;
    bool m_reportPending = false;
    bool m_ended = false;
};

} // namespace platform::gnome
