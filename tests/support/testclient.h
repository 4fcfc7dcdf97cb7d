// TestClient: drives framewright-testclient (testclientmain.cpp, whose header comment gives the command
// language) from X11 tests. One command line goes out, one answer line comes back within a timeout.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

#include <optional>

class TestClient
{
public:
    static constexpr int kAnswerTimeoutMs = 5000;

    // `program` defaults to the framewright-testclient of this build.
    explicit TestClient(QString program = QString());
    ~TestClient(); // asks the client to quit, kills it if it does not

    TestClient(const TestClient &) = delete;
    TestClient &operator=(const TestClient &) = delete;

    // Starts the client on $DISPLAY; false (see lastError) when it cannot be started.
    bool start();

    // Sends one command line (no line break) and waits for its answer: the text after "ok" (empty for a
    // plain "ok"), or nullopt on an "error ..." answer, a timeout or a client that is gone (see lastError).
    // After a timeout the client is stopped, so answers never get out of step with commands.
    std::optional<QByteArray> command(const QByteArray &line, int timeoutMs = kAnswerTimeoutMs);

    // "open <arguments>": the new window's id, or 0 (None) on failure.
    quint32 openWindow(const QByteArray &arguments = QByteArray());

    QString lastError() const { return m_lastError; }
    // The client's process id (its windows' _NET_WM_PID), 0 when it is not running.
    qint64 processId() const { return m_process.processId(); }

private:
    QString m_program;
    QProcess m_process;
    QString m_lastError;
};
