// Raw i3 IPC: magic, length and type in the host's byte order, then JSON.
#include "rawsway.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int kTimeoutMs = 5000;
constexpr quint32 kGetOutputs = 3;
constexpr quint32 kGetTree = 4;

void collectViews(const QJsonObject &node, std::vector<RawView> &views)
{
    if (node.contains("shell")) {
        const QJsonObject rect = node["rect"].toObject();
        const int titleBar = node["deco_rect"].toObject()["height"].toInt();
        views.push_back({node["id"].toInteger(), node["name"].toString(),
            QRect(rect["x"].toInt(), rect["y"].toInt() - titleBar, rect["width"].toInt(),
                rect["height"].toInt() + titleBar),
            node["type"].toString() == "floating_con", node["focused"].toBool(), node["border"].toString(),
            node["app_id"].toString()});
    }
    for (const char *list : {"nodes", "floating_nodes"}) {
        for (const QJsonValue &child : node[list].toArray()) {
            collectViews(child.toObject(), views);
        }
    }
}

} // namespace

bool RawSway::connect()
{
    m_socket.connectToServer(qEnvironmentVariable("SWAYSOCK"));
    return m_socket.waitForConnected(kTimeoutMs);
}

QJsonValue RawSway::request(quint32 type, const QByteArray &payload)
{
    QByteArray message("i3-ipc");
    const quint32 header[2] = {quint32(payload.size()), type};
    message.append(reinterpret_cast<const char *>(header), sizeof header);
    message.append(payload);
    m_socket.write(message);
    if (!m_socket.waitForBytesWritten(kTimeoutMs)) {
        return {};
    }
    QByteArray reply;
    quint32 length = 0;
    while (reply.size() < 14 || reply.size() < 14 + qsizetype(length)) {
        if (m_socket.bytesAvailable() == 0 && !m_socket.waitForReadyRead(kTimeoutMs)) {
            return {};
        }
        reply += m_socket.readAll();
        if (reply.size() >= 14) {
            std::memcpy(&length, reply.constData() + 6, sizeof length);
        }
    }
    const QJsonDocument document = QJsonDocument::fromJson(reply.mid(14, length));
    return document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
}

bool RawSway::command(const QString &command)
{
    const QJsonArray results = request(0, command.toUtf8()).toArray();
    for (const QJsonValue &result : results) {
        if (!result["success"].toBool()) {
            return false;
        }
    }
    return !results.isEmpty();
}

std::vector<RawView> RawSway::views()
{
    std::vector<RawView> views;
    collectViews(request(kGetTree).toObject(), views);
    return views;
}

std::vector<RawView> RawSway::views(const QString &title)
{
    std::vector<RawView> titled;
    for (const RawView &view : views()) {
        if (view.title == title) {
            titled.push_back(view);
        }
    }
    return titled;
}

std::optional<RawView> RawSway::view(const QString &title)
{
    const std::vector<RawView> titled = views(title);
    return titled.size() == 1 ? std::optional<RawView>(titled.front()) : std::nullopt;
}

std::vector<std::pair<QString, QRect>> RawSway::outputs()
{
    std::vector<std::pair<QString, QRect>> outputs;
    for (const QJsonValue &output : request(kGetOutputs).toArray()) {
        const QJsonObject rect = output["rect"].toObject();
        if (output["active"].toBool()) {
            outputs.emplace_back(output["name"].toString(),
                QRect(rect["x"].toInt(), rect["y"].toInt(), rect["width"].toInt(), rect["height"].toInt()));
        }
    }
    return outputs;
}

RawWindowEvents::~RawWindowEvents()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool RawWindowEvents::subscribe()
{
    const QByteArray path = qgetenv("SWAYSOCK");
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), std::min(size_t(path.size()), sizeof address.sun_path - 1));
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0 || ::connect(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        return false;
    }
    const QByteArray payload = R"(["window"])";
    QByteArray message("i3-ipc");
    const quint32 header[2] = {quint32(payload.size()), 2};
    message.append(reinterpret_cast<const char *>(header), sizeof header).append(payload);
    return ::send(m_fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL) == ssize_t(message.size());
}

bool RawWindowEvents::waitFor(const QString &change, qint64 id)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    QByteArray stream;
    while (std::chrono::steady_clock::now() < deadline) {
        while (stream.size() >= 14) {
            quint32 length = 0;
            std::memcpy(&length, stream.constData() + 6, sizeof length);
            if (stream.size() < 14 + qsizetype(length)) {
                break;
            }
            const QJsonObject event = QJsonDocument::fromJson(stream.mid(14, length)).object();
            stream.remove(0, 14 + length);
            if (event["change"].toString() == change && event["container"].toObject()["id"].toInteger() == id) {
                return true;
            }
        }
        pollfd readable {m_fd, POLLIN, 0};
        char buffer[65536];
        if (::poll(&readable, 1, 100) > 0) {
            const ssize_t count = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (count <= 0) {
                return false;
            }
            stream.append(buffer, count);
        }
    }
    return false;
}
