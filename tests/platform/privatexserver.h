// A private X server without a window manager, for tests of the bare-server fallbacks: Xvfb on a display it
// picks itself (-displayfd), ended with this object. The x11-session harness always runs openbox, so tests that
// need no window manager start one of these beside it.
#pragma once

#include <QByteArray>

#include <sys/types.h>

class PrivateXServer
{
public:
    static constexpr int kStartTimeoutMs = 10000;

    PrivateXServer(); // starts the server; check display()
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer &) = delete;
    PrivateXServer &operator=(const PrivateXServer &) = delete;

    // ":<number>", or empty when the server did not come up.
    QByteArray display() const { return m_display; }

private:
    pid_t m_pid = -1;
    QByteArray m_display;
};
