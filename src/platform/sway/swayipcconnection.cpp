// The IPC socket: a non-blocking Unix stream socket driven with poll(2) against a deadline, so that no call can
// hang on a compositor that stopped answering.
#include "swayipcconnection.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::sway {

Q_LOGGING_CATEGORY(lcSway, "framewright.sway", QtWarningMsg)

namespace {

constexpr qsizetype kReadChunkBytes = 64 * 1024;

int remainingMs(std::chrono::steady_clock::time_point deadline)
{
    const auto left
        = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

} // namespace

std::unique_ptr<IpcConnection> IpcConnection::open(const QByteArray &path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path) {
        return nullptr;
    }
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return nullptr;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        qCDebug(lcSway) << "cannot connect to" << path << ":" << std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    // Non-blocking only once connected: a local connect either succeeds or fails at once.
    (void)::fcntl(fd, F_SETFL, O_NONBLOCK);
    return std::unique_ptr<IpcConnection>(new IpcConnection(fd));
}

IpcConnection::IpcConnection(int fd)
    : m_fd(fd)
{ }

IpcConnection::~IpcConnection()
{
    ::close(m_fd);
}

void IpcConnection::fail(const char *what)
{
    if (!m_broken) {
        qCWarning(lcSway) << "the sway IPC connection failed:" << what;
    }
    m_broken = true;
}

bool IpcConnection::sendAll(const QByteArray &bytes, std::chrono::steady_clock::time_point deadline)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count = ::send(m_fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (count > 0) {
            sent += count;
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            return false;
        }
        pollfd writable {m_fd, POLLOUT, 0};
        if (::poll(&writable, 1, remainingMs(deadline)) <= 0) {
            return false;
        }
    }
    return true;
}

bool IpcConnection::readSome(std::chrono::steady_clock::time_point deadline, bool wait)
{
    char buffer[kReadChunkBytes];
    for (;;) {
        const ssize_t count = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (count > 0) {
            m_reader.append(buffer, count);
            return true;
        }
        if (count == 0) {
            fail("closed by sway");
            return false;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            fail(std::strerror(errno));
            return false;
        }
        if (!wait) {
            return true;
        }
        pollfd readable {m_fd, POLLIN, 0};
        const int ready = ::poll(&readable, 1, remainingMs(deadline));
        if (ready == 0) {
            fail("no reply in time");
            return false;
        }
        if (ready < 0 && errno != EINTR) {
            fail(std::strerror(errno));
            return false;
        }
    }
}

std::optional<QByteArray> IpcConnection::request(MessageType type, const QByteArray &payload)
{
    auto replies = requests(type, {payload});
    return replies ? std::optional<QByteArray>(std::move(replies->front())) : std::nullopt;
}

std::optional<std::vector<QByteArray>> IpcConnection::requests(
    MessageType type, const std::vector<QByteArray> &payloads)
{
    if (m_broken) {
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + kReplyTimeout;
    QByteArray bytes;
    for (const QByteArray &payload : payloads) {
        bytes += encodeMessage(type, payload);
    }
    if (!sendAll(bytes, deadline)) {
        fail("cannot send");
        return std::nullopt;
    }
    // sway answers requests in order; events may come in between on a subscribed connection.
    std::vector<QByteArray> replies;
    while (replies.size() < payloads.size()) {
        std::optional<Message> message = m_reader.next();
        if (!message) {
            if (m_reader.failed()) {
                fail("a malformed message header");
                return std::nullopt;
            }
            if (!readSome(deadline, true)) {
                return std::nullopt;
            }
            continue;
        }
        if (message->type & kEventBit) {
            m_events.push_back(std::move(*message));
        } else if (message->type != static_cast<uint32_t>(type)) {
            fail("a reply of another type");
            return std::nullopt;
        } else {
            replies.push_back(std::move(message->payload));
        }
    }
    return replies;
}

std::vector<Message> IpcConnection::takeEvents()
{
    if (!m_broken) {
        // A bounded number of reads per call: a compositor that floods the socket cannot hold the event loop.
        constexpr int kMaxReadsPerCall = 64;
        for (int i = 0; i < kMaxReadsPerCall && readSome({}, false); ++i) {
            pollfd readable {m_fd, POLLIN, 0};
            if (::poll(&readable, 1, 0) <= 0) {
                break;
            }
        }
        while (std::optional<Message> message = m_reader.next()) {
            if (message->type & kEventBit) {
                m_events.push_back(std::move(*message));
            }
        }
        if (m_reader.failed()) {
            fail("a malformed message header");
        }
    }
    return std::exchange(m_events, {});
}

} // namespace platform::sway
