// TestClient: the QProcess side of the framewright-testclient line protocol.
#include "testclient.h"

#include <QDeadlineTimer>

TestClient::TestClient(QString program)
    : m_program(program.isEmpty() ? QStringLiteral(FRAMEWRIGHT_TESTCLIENT) : std::move(program))
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

TestClient::~TestClient()
{
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    m_process.write("quit\n");
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(kAnswerTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(kAnswerTimeoutMs);
    }
}

bool TestClient::start()
{
    m_process.start(m_program, {});
    if (!m_process.waitForStarted(kAnswerTimeoutMs)) {
        m_lastError = QStringLiteral("cannot start %1: %2").arg(m_program, m_process.errorString());
        return false;
    }
    return true;
}

std::optional<QByteArray> TestClient::command(const QByteArray &line, int timeoutMs)
{
    if (line.contains('\n')) {
        m_lastError = QStringLiteral("a command is one line");
        return std::nullopt;
    }
    if (m_process.state() != QProcess::Running) {
        m_lastError = QStringLiteral("the test client is not running");
        return std::nullopt;
    }
    m_process.write(line + '\n');
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || !m_process.waitForReadyRead(int(deadline.remainingTime()))) {
            m_lastError = QStringLiteral("no answer to \"%1\" (%2)")
                              .arg(QString::fromUtf8(line),
                                  m_process.state() == QProcess::Running ? QStringLiteral("timed out")
                                                                         : QStringLiteral("client exited"));
            m_process.kill();
            m_process.waitForFinished(kAnswerTimeoutMs);
            return std::nullopt;
        }
    }
    const QByteArray answer = m_process.readLine().chopped(1);
    if (answer == "ok") {
        return QByteArray();
    }
    if (answer.startsWith("ok ")) {
        return answer.mid(3);
    }
    m_lastError = QStringLiteral("\"%1\" answered \"%2\"").arg(QString::fromUtf8(line), QString::fromUtf8(answer));
    return std::nullopt;
}

quint32 TestClient::openWindow(const QByteArray &arguments)
{
    const auto answer = command(arguments.isEmpty() ? QByteArray("open") : "open " + arguments);
    if (!answer) {
        return 0;
    }
    bool ok = false;
    const quint32 window = answer->toUInt(&ok, 0);
    if (!ok || window == 0) {
        m_lastError = QStringLiteral("open answered no window id: \"%1\"").arg(QString::fromUtf8(*answer));
        return 0;
    }
    return window;
}
