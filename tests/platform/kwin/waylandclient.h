// Drives framewright-waylandclient (tests/support/waylandclientmain.cpp) on the session's Wayland display: one
// process, commands answered line by line.
#pragma once

#include <QProcess>
#include <QString>

#include <optional>

class WaylandClient
{
public:
    ~WaylandClient();
    bool start();
    // The answer to one command line, without "ok"; empty on an error or no answer within 10 s.
    std::optional<QString> command(const QString &line);
    // Opens a window ("open <options> -- <title>"); its number, or 0.
    int open(const QString &title, const QString &options = {});
    QString lastError() const { return m_lastError; }

private:
    QProcess m_process;
    QString m_lastError;
};
