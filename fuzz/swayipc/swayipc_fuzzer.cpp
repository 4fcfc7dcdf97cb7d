// sway's IPC replies as the backend reads them: any bytes as the stream of a connection, split into messages (fed in
// chunks of varying size), and each payload read as outputs, a tree, a command result, a subscription reply and a
// window event. Input: one byte for the chunk size, then the stream.
#include "platform/sway/swayipcframing.h"
#include "platform/sway/swayreplies.h"

#include <cstddef>
#include <cstdint>

using namespace platform::sway;

namespace {

void checkTree(const QByteArray &payload)
{
    const auto windows = readTree(payload);
    if (!windows) {
        return;
    }
    for (const SwayWindow &window : *windows) {
        if (window.title.toUtf8().size() > platform::kMaxTitleBytes || window.outer.width() < 0
            || window.outer.height() < 0) {
            __builtin_trap();
        }
    }
}

void readPayload(const QByteArray &payload)
{
    readOutputs(payload);
    checkTree(payload);
    QString error;
    readCommandReply(payload, &error);
    readSubscribeReply(payload);
    readWindowEventChange(payload);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1) {
        return 0;
    }
    const qsizetype chunk = data[0] + 1;
    const char *stream = reinterpret_cast<const char *>(data + 1);
    const qsizetype length = qsizetype(size - 1);
    MessageReader reader;
    for (qsizetype offset = 0; offset < length; offset += chunk) {
        reader.append(stream + offset, std::min(chunk, length - offset));
        while (const auto message = reader.next()) {
            readPayload(message->payload);
        }
    }
    // The stream's bytes read as one payload as well, so that the JSON readers see every input without a header.
    readPayload(QByteArray(stream, length));
    return 0;
}
