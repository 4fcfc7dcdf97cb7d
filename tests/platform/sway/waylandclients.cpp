// Starting and driving the foreign Wayland clients.
#include "waylandclients.h"

#include "rawsway.h"

#include <QProcessEnvironment>
#include <QTest>

namespace {

constexpr int kAnswerTimeoutMs = 20000;

} // namespace

QtClient::QtClient()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "wayland");
    // A Qt client whose frame callback comes later than this stops drawing until one comes, and takes no new size
    // meanwhile. Qt's 100 ms is less than a headless sway rendering with pixman takes on a loaded test machine.
    environment.insert("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT", "60000");
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

QtClient::~QtClient()
{
    kill();
}

bool QtClient::start()
{
    m_process.start(QStringLiteral(FRAMEWRIGHT_WAYLANDCLIENT), {});
    if (!m_process.waitForStarted()) {
        m_error = "cannot start " FRAMEWRIGHT_WAYLANDCLIENT;
        return false;
    }
    return true;
}

std::optional<QString> QtClient::answer()
{
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(kAnswerTimeoutMs)) {
            m_error = "the client did not answer";
            return std::nullopt;
        }
    }
    return QString::fromUtf8(m_process.readLine()).trimmed();
}

std::optional<int> QtClient::open(const QString &title, const QString &options)
{
    m_process.write(QStringLiteral("open %1 -- %2\n").arg(options, title).toUtf8());
    const std::optional<QString> line = answer();
    if (!line || !line->startsWith("ok ")) {
        m_error = line.value_or(m_error);
        return std::nullopt;
    }
    return line->mid(3).toInt();
}

bool QtClient::command(const QString &line)
{
    m_process.write((line + '\n').toUtf8());
    const std::optional<QString> reply = answer();
    if (reply != QStringLiteral("ok")) {
        m_error = reply.value_or(m_error);
        return false;
    }
    return true;
}

void QtClient::kill()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

std::optional<int> openMapped(QtClient &client, RawSway &raw, const QString &title, const QString &options)
{
    const std::optional<int> number = client.open(title, options);
    if (!number) {
        qWarning() << client.lastError();
        return std::nullopt;
    }
    return QTest::qWaitFor([&] { return raw.view(title).has_value(); }, kAnswerTimeoutMs) ? number : std::nullopt;
}

GtkDemo::~GtkDemo()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

bool GtkDemo::start()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("GDK_BACKEND", "wayland");
    environment.insert("NO_AT_BRIDGE", "1");
    m_process.setProcessEnvironment(environment);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start("gtk3-demo", {});
    return m_process.waitForStarted();
}
