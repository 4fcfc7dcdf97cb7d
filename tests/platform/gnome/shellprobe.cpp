// gdbus prints a method's string reply as a GVariant tuple text, ('...',); titles in these tests have no quote or
// backslash, so the text between the quotes is the JSON as sent.
#include "shellprobe.h"

#include <QJsonDocument>

namespace {

constexpr int kProcessTimeoutMs = 10000;

} // namespace

std::optional<QJsonArray> shellJsonArray(const QString &method)
{
    QProcess gdbus;
    gdbus.start(QStringLiteral("gdbus"),
        {QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
            QStringLiteral("org.gnome.Shell"), QStringLiteral("--object-path"),
            QStringLiteral("/org/framewright/Shell"), QStringLiteral("--method"),
            QStringLiteral("org.framewright.Shell1.") + method});
    if (!gdbus.waitForFinished(kProcessTimeoutMs) || gdbus.exitCode() != 0) {
        return std::nullopt;
    }
    const QByteArray text = gdbus.readAllStandardOutput().trimmed();
    if (!text.startsWith("('") || !text.endsWith("',)")) {
        return std::nullopt;
    }
    const QJsonDocument document = QJsonDocument::fromJson(text.mid(2, text.size() - 5));
    return document.isArray() ? std::optional<QJsonArray>(document.array()) : std::nullopt;
}

std::optional<QJsonObject> shellWindow(const QString &title)
{
    for (const QJsonValue &window : shellJsonArray(QStringLiteral("Windows")).value_or(QJsonArray())) {
        if (window[QLatin1String("title")].toString() == title) {
            return window.toObject();
        }
    }
    return std::nullopt;
}

QRect frameOf(const QJsonObject &window)
{
    return QRect(window[QLatin1String("x")].toInt(), window[QLatin1String("y")].toInt(),
        window[QLatin1String("width")].toInt(), window[QLatin1String("height")].toInt());
}

WaylandClient::~WaylandClient()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.write("quit\n");
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(kProcessTimeoutMs)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
}

bool WaylandClient::start()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    // Qt's Wayland plugin leaves libwayland-client's allocations to the end of the process; that is no fault of
    // the tests'.
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    // A Qt client whose frame callback comes later than this stops drawing until one comes, and takes no new size
    // meanwhile. Qt's 100 ms is less than a headless gnome-shell takes to paint on a loaded test machine.
    environment.insert(QStringLiteral("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT"), QStringLiteral("60000"));
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(FRAMEWRIGHT_WAYLAND_CLIENT), QStringList());
    return m_process.waitForStarted(kProcessTimeoutMs);
}

void WaylandClient::send(const QString &command)
{
    m_process.write((command + u'\n').toUtf8());
}

QString WaylandClient::answer()
{
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(kProcessTimeoutMs)) {
            return {};
        }
    }
    return QString::fromUtf8(m_process.readLine()).trimmed();
}

int WaylandClient::open(const QString &title, const QString &options)
{
    send(QStringLiteral("open %1 -- %2").arg(options, title));
    const QString reply = answer();
    return reply.startsWith(QLatin1String("ok ")) ? reply.mid(3).toInt() : 0;
}

bool WaylandClient::retitle(int window, const QString &title)
{
    send(QStringLiteral("title %1 -- %2").arg(window).arg(title));
    return answer() == QLatin1String("ok");
}

bool WaylandClient::close(int window)
{
    send(QStringLiteral("close %1").arg(window));
    return answer() == QLatin1String("ok");
}
