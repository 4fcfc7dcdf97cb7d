// Encoding and splitting i3 IPC messages, with the length checked against the budget before anything is kept.
#include "swayipcframing.h"

#include <cstring>

namespace platform::sway {

namespace {

uint32_t readUint32(const char *bytes)
{
    uint32_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

void appendUint32(QByteArray &bytes, uint32_t value)
{
    bytes.append(reinterpret_cast<const char *>(&value), sizeof value);
}

} // namespace

QByteArray encodeMessage(MessageType type, const QByteArray &payload)
{
    QByteArray bytes;
    bytes.reserve(kHeaderBytes + payload.size());
    bytes.append(kMagic, kMagicBytes);
    appendUint32(bytes, static_cast<uint32_t>(payload.size()));
    appendUint32(bytes, static_cast<uint32_t>(type));
    bytes.append(payload);
    return bytes;
}

void MessageReader::append(const char *data, qsizetype size)
{
    if (!m_failed && size > 0) {
        m_buffer.append(data, size);
    }
}

std::optional<Message> MessageReader::next()
{
    if (m_failed || m_buffer.size() < kHeaderBytes) {
        return std::nullopt;
    }
    if (std::memcmp(m_buffer.constData(), kMagic, kMagicBytes) != 0) {
        m_failed = true;
        return std::nullopt;
    }
    const uint32_t length = readUint32(m_buffer.constData() + kMagicBytes);
    if (length > kMaxPayloadBytes) {
        m_failed = true;
        return std::nullopt;
    }
    if (m_buffer.size() - kHeaderBytes < qsizetype(length)) {
        return std::nullopt;
    }
    Message message;
    message.type = readUint32(m_buffer.constData() + kMagicBytes + sizeof(uint32_t));
    message.payload = m_buffer.mid(kHeaderBytes, length);
    m_buffer.remove(0, kHeaderBytes + length);
    return message;
}

} // namespace platform::sway
