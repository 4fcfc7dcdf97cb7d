// The window watch: the subscription, and which window events change what the list shows.
#include "swaywindowwatch.h"

#include "swayipcconnection.h"
#include "swayreplies.h"

#include <QSocketNotifier>

namespace platform::sway {

namespace {

// Window events that can change the list: a window appears, vanishes or is retitled, or moves between workspaces
// and the scratchpad. Focus, marks, urgency, floating and full screen change nothing the list shows. An event
// whose change cannot be read is taken to matter.
bool matters(const Message &event)
{
    if (event.type != kWindowEvent) {
        return false;
    }
    const std::optional<QString> change = readWindowEventChange(event.payload);
    if (!change) {
        return true;
    }
    return *change == QLatin1StringView("new") || *change == QLatin1StringView("close")
        || *change == QLatin1StringView("title") || *change == QLatin1StringView("move");
}

} // namespace

std::unique_ptr<SwayWindowWatch> SwayWindowWatch::start(
    WindowSystem &system, std::unique_ptr<IpcConnection> connection, WindowListChanged changed)
{
    const auto reply = connection->request(MessageType::Subscribe, QByteArrayLiteral("[\"window\"]"));
    if (!reply || !readSubscribeReply(*reply).value_or(false)) {
        qCWarning(lcSway) << "sway refused the subscription to window events";
        return nullptr;
    }
    return std::unique_ptr<SwayWindowWatch>(new SwayWindowWatch(system, std::move(connection), std::move(changed)));
}

SwayWindowWatch::SwayWindowWatch(
    WindowSystem &system, std::unique_ptr<IpcConnection> connection, WindowListChanged changed)
    : m_system(system)
    , m_connection(std::move(connection))
    , m_changed(std::move(changed))
    , m_notifier(std::make_unique<QSocketNotifier>(m_connection->fd(), QSocketNotifier::Read))
{
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { eventsArrived(); });
    m_changed(m_system.topLevelWindows());
}

SwayWindowWatch::~SwayWindowWatch() = default;

void SwayWindowWatch::eventsArrived()
{
    bool changed = false;
    for (const Message &event : m_connection->takeEvents()) {
        changed = matters(event) || changed;
    }
    if (m_connection->broken()) {
        m_notifier->setEnabled(false); // a closed socket stays readable
        m_changed(std::nullopt);
        return;
    }
    if (changed) {
        m_changed(m_system.topLevelWindows());
    }
}

} // namespace platform::sway
