// A connection to sway's IPC socket ($SWAYSOCK). Requests block until their reply, bounded by a deadline; events
// (on a connection that subscribed) are read without blocking when the socket has data.
#pragma once

#include "swayipcframing.h"

#include <QLoggingCategory>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace platform::sway {

Q_DECLARE_LOGGING_CATEGORY(lcSway)

// How long a request waits for its reply. sway answers from its main loop, within milliseconds; a compositor that
// stays silent this long is taken for gone.
constexpr std::chrono::milliseconds kReplyTimeout {2000};

class IpcConnection
{
public:
    // Connects to the socket at `path`; empty when that fails.
    static std::unique_ptr<IpcConnection> open(const QByteArray &path);
    ~IpcConnection();
    IpcConnection(const IpcConnection &) = delete;
    IpcConnection &operator=(const IpcConnection &) = delete;

    // Sends the request and returns the payload of its reply; events that arrive meanwhile are kept for
    // takeEvents(). Empty when the connection fails or the reply does not come within kReplyTimeout; a failed
    // connection stays failed.
    std::optional<QByteArray> request(MessageType type, const QByteArray &payload = {});
    // Sends the requests in one write and returns their replies in order. sway reads one message per turn of its
    // event loop, so the requests are carried out in consecutive turns, before anything that arrives later.
    std::optional<std::vector<QByteArray>> requests(MessageType type, const std::vector<QByteArray> &payloads);

    // Reads what the socket holds without blocking and returns the events complete so far. A closed or broken
    // connection sets broken().
    std::vector<Message> takeEvents();

    int fd() const { return m_fd; }
    bool broken() const { return m_broken; }

private:
    explicit IpcConnection(int fd);
    bool sendAll(const QByteArray &bytes, std::chrono::steady_clock::time_point deadline);
    // Reads once, waiting until the deadline for data (none: only what is there); false on end or error.
    bool readSome(std::chrono::steady_clock::time_point deadline, bool wait);
    void fail(const char *what);

    int m_fd = -1;
    bool m_broken = false;
    MessageReader m_reader;
    std::vector<Message> m_events;
};

} // namespace platform::sway
