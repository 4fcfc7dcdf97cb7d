// The framing of the i3 IPC protocol that sway speaks on its Unix socket: a message is the magic "i3-ipc", the
// payload's length and the message type (32-bit each, the host's byte order), then the payload (JSON). A reply
// carries the type of its request; an event has the high bit of its type set. Pure byte handling, no I/O.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace platform::sway {

enum class MessageType : uint32_t {
    RunCommand = 0,
    GetWorkspaces = 1,
    Subscribe = 2,
    GetOutputs = 3,
    GetTree = 4,
};

constexpr uint32_t kEventBit = 0x80000000u;
constexpr uint32_t kWindowEvent = kEventBit | 3;

constexpr char kMagic[] = "i3-ipc";
constexpr int kMagicBytes = sizeof kMagic - 1;
constexpr int kHeaderBytes = kMagicBytes + 2 * int(sizeof(uint32_t));
// Budget of one payload. sway describes a window in about 1.5 KB of JSON, so a tree of thousands of windows stays
// far below; a larger length is taken for a broken stream rather than read.
constexpr uint32_t kMaxPayloadBytes = 32u << 20;

struct Message
{
    uint32_t type = 0;
    QByteArray payload;
};

// The bytes of one message.
QByteArray encodeMessage(MessageType type, const QByteArray &payload);

// Splits the byte stream of a connection into messages. Once a header is broken (wrong magic, a length over the
// budget) the stream cannot be resynchronised: the reader fails for good and yields nothing more.
class MessageReader
{
public:
    void append(const char *data, qsizetype size);
    // The next complete message, or nothing while it is still incomplete or after a failure.
    std::optional<Message> next();
    bool failed() const { return m_failed; }

private:
    QByteArray m_buffer;
    bool m_failed = false;
};

} // namespace platform::sway
