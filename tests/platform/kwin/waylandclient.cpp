// The Wayland test client's driver.
#include "waylandclient.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>

WaylandClient::~WaylandClient()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.write("quit\n");
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
}

bool WaylandClient::start()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(FRAMEWRIGHT_WAYLAND_CLIENT), QStringList());
    if (!m_process.waitForStarted()) {
        m_lastError = QStringLiteral("framewright-waylandclient did not start: ") + m_process.errorString();
        return false;
    }
    return true;
}

std::optional<QString> WaylandClient::command(const QString &line)
{
    m_process.write(line.toUtf8() + '\n');
    const QDeadlineTimer deadline(10000);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || !m_process.waitForReadyRead(std::max<qint64>(1, deadline.remainingTime()))) {
            m_lastError = QStringLiteral("no answer to: ") + line;
            return std::nullopt;
        }
    }
    const QString answer = QString::fromUtf8(m_process.readLine()).trimmed();
    if (answer != QLatin1String("ok") && !answer.startsWith(QLatin1String("ok "))) {
        m_lastError = answer;
        return std::nullopt;
    }
    return answer.mid(3);
}

int WaylandClient::open(const QString &title, const QString &options)
{
    const std::optional<QString> answer = command(QStringLiteral("open %1 -- %2").arg(options, title));
    return answer ? answer->toInt() : 0;
}
