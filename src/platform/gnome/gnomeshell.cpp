// Calls to the extension over the session bus. A reply of another type or signature than the interface declares
// is logged and treated as no reply.
#include "gnomeshell.h"

#include <algorithm>

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QLoggingCategory>

namespace platform::gnome {

namespace {

Q_LOGGING_CATEGORY(lcGnome, "framewright.gnome", QtWarningMsg)

const QString kConnectionName = QStringLiteral("framewright-gnome-shell");

QDBusMessage methodCall(const QString &method, const QVariantList &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kShellService, kObjectPath, kInterface, method);
    call.setArguments(arguments);
    return call;
}

QVariantList placeArguments(const PlaceRequest &request)
{
    const QRect &r = request.rect;
    return {QVariant::fromValue(qulonglong(request.id)), r.x(), r.y(), r.width(), r.height(), request.maximize};
}

// The reply's one string argument; empty (and logged) for an error, a timeout or another signature.
std::optional<QString> textOf(const QDBusMessage &reply, const QString &method)
{
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qCWarning(lcGnome) << "the GNOME Shell extension did not answer" << method << ":" << reply.errorName()
                           << reply.errorMessage();
        return std::nullopt;
    }
    if (reply.signature() != QLatin1String("s") || reply.arguments().size() != 1) {
        qCWarning(lcGnome) << "the GNOME Shell extension answered" << method << "with" << reply.signature();
        return std::nullopt;
    }
    return reply.arguments().constFirst().toString();
}

bool isMissingObject(const QDBusMessage &reply)
{
    const QString name = reply.errorName();
    return name == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod")
        || name == QLatin1String("org.freedesktop.DBus.Error.UnknownObject")
        || name == QLatin1String("org.freedesktop.DBus.Error.UnknownInterface");
}

} // namespace

QString extensionUuid()
{
    return QStringLiteral(FRAMEWRIGHT_GNOME_EXTENSION_UUID);
}

QDBusConnection openShellBus()
{
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnectionName);
}

void closeShellBus()
{
    QDBusConnection::disconnectFromBus(kConnectionName);
}

ShellClient::ShellClient(QDBusConnection bus)
    : m_bus(std::move(bus))
{ }

ShellPresence ShellClient::presence()
{
    const QDBusMessage reply = m_bus.call(methodCall(QStringLiteral("Monitors"), {}), QDBus::Block, kListTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        return ShellPresence::Extension;
    }
    return isMissingObject(reply) ? ShellPresence::WithoutExtension : ShellPresence::NoAnswer;
}

std::optional<QString> ShellClient::callForText(const QString &method, const QVariantList &arguments, int timeoutMs)
{
    return textOf(m_bus.call(methodCall(method, arguments), QDBus::Block, timeoutMs), method);
}

std::optional<std::vector<Monitor>> ShellClient::monitors()
{
    const auto text = callForText(QStringLiteral("Monitors"), {}, kListTimeoutMs);
    auto monitors = text ? readMonitors(*text) : std::nullopt;
    if (text && !monitors) {
        qCWarning(lcGnome) << "the GNOME Shell extension's monitor list cannot be read";
    }
    return monitors;
}

std::optional<std::vector<ShellWindow>> ShellClient::windows()
{
    const auto text = callForText(QStringLiteral("Windows"), {}, kListTimeoutMs);
    auto windows = text ? readWindows(*text) : std::nullopt;
    if (text && !windows) {
        qCWarning(lcGnome) << "the GNOME Shell extension's window list cannot be read";
    }
    return windows;
}

std::vector<std::optional<PlaceResult>> ShellClient::place(const std::vector<PlaceRequest> &requests)
{
    std::vector<std::optional<PlaceResult>> results;
    results.reserve(requests.size());
    for (size_t first = 0; first < requests.size(); first += kPlacementsInFlight) {
        const size_t last = std::min(requests.size(), first + kPlacementsInFlight);
        for (auto &result : placeGroup(requests.data() + first, requests.data() + last)) {
            results.push_back(std::move(result));
        }
    }
    return results;
}

std::vector<std::optional<PlaceResult>> ShellClient::placeGroup(const PlaceRequest *first, const PlaceRequest *last)
{
    const QString method = QStringLiteral("Place");
    std::vector<QDBusPendingCall> calls;
    for (const PlaceRequest *request = first; request != last; ++request) {
        calls.push_back(m_bus.asyncCall(methodCall(method, placeArguments(*request)), kPlaceTimeoutMs));
    }
    std::vector<std::optional<PlaceResult>> results;
    for (QDBusPendingCall &call : calls) {
        call.waitForFinished();
        const auto text = textOf(call.reply(), method);
        auto result = text ? readPlaceResult(*text) : std::nullopt;
        if (text && !result) {
            qCWarning(lcGnome) << "the GNOME Shell extension's placement result cannot be read";
        }
        results.push_back(std::move(result));
    }
    return results;
}

std::optional<uint64_t> ShellClient::activeWindow()
{
    const QDBusMessage reply = m_bus.call(methodCall(QStringLiteral("ActiveWindow"), {}), QDBus::Block, kListTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != QLatin1String("t")
        || reply.arguments().size() != 1) {
        qCWarning(lcGnome) << "the GNOME Shell extension did not answer ActiveWindow:" << reply.errorName();
        return std::nullopt;
    }
    return reply.arguments().constFirst().toULongLong();
}

} // namespace platform::gnome
