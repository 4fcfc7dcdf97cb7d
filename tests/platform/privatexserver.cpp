// Starting and ending a private Xvfb: the display number comes back on a pipe once the server accepts clients.
#include "privatexserver.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// Xvfb writes the display number to this descriptor of its own.
constexpr int kDisplayFd = 3;

} // namespace

PrivateXServer::PrivateXServer()
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], kDisplayFd);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // setpriv ends the server with the test, however the test ends.
    char *argv[] = {const_cast<char *>("setpriv"), const_cast<char *>("--pdeathsig"), const_cast<char *>("TERM"),
        const_cast<char *>("Xvfb"), const_cast<char *>("-displayfd"), const_cast<char *>("3"),
        const_cast<char *>("-nolisten"), const_cast<char *>("tcp"), const_cast<char *>("-screen"),
        const_cast<char *>("0"), const_cast<char *>("1600x1200x24"), nullptr};
    const int spawned = posix_spawnp(&m_pid, "setpriv", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        m_pid = -1;
        close(fds[0]);
        return;
    }
    QByteArray number;
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!number.endsWith('\n') && !deadline.hasExpired()) {
        pollfd fd {fds[0], POLLIN, 0};
        if (poll(&fd, 1, int(deadline.remainingTime())) <= 0) {
            continue;
        }
        char buffer[16];
        const ssize_t count = read(fds[0], buffer, sizeof buffer);
        if (count <= 0) {
            break;
        }
        number.append(buffer, count);
    }
    close(fds[0]);
    if (number.endsWith('\n')) {
        m_display = ":" + number.trimmed();
    }
}

PrivateXServer::~PrivateXServer()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) { }
    }
}
