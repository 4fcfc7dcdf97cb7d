// Watching the windows on sway: a connection of its own subscribes to window events, and a socket notifier wakes
// it when sway sends some; each burst of events that can change the list gives one listing. The connection closing
// (sway gone) reports nothing once.
#pragma once

#include "platform/windowsystem.h"

#include <memory>

class QSocketNotifier;

namespace platform::sway {

class IpcConnection;

class SwayWindowWatch : public WindowWatch
{
public:
    // Subscribes on `connection`, opened for the watch alone (a subscribed connection gets events between the
    // replies); empty when sway refuses the subscription. `system` lists the windows.
    static std::unique_ptr<SwayWindowWatch> start(
        WindowSystem &system, std::unique_ptr<IpcConnection> connection, WindowListChanged changed);
    ~SwayWindowWatch() override;

private:
    SwayWindowWatch(WindowSystem &system, std::unique_ptr<IpcConnection> connection, WindowListChanged changed);
    void eventsArrived();

    WindowSystem &m_system;
    std::unique_ptr<IpcConnection> m_connection;
    WindowListChanged m_changed;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace platform::sway
