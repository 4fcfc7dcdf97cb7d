// The foreign Wayland clients of the sway tests: framewright-waylandclient (a Qt program on the wayland platform,
// driven line by line) and gtk3-demo (client-side decorations with shadows).
#pragma once

#include <QProcess>
#include <QString>

#include <optional>

class RawSway;

class QtClient
{
public:
    QtClient();
    ~QtClient();
    bool start();
    // Opens a window ("open <options> -- <title>"); its number once the compositor shows it.
    std::optional<int> open(const QString &title, const QString &options = {});
    // A command answered by "ok".
    bool command(const QString &line);
    // Ends the client at once: its windows vanish without closing.
    void kill();
    qint64 pid() const { return m_process.processId(); }
    QString lastError() const { return m_error; }

private:
    std::optional<QString> answer();

    QProcess m_process;
    QString m_error;
};

// Opens a window of the Qt client and waits until sway has mapped it: the client answers when it first paints, which
// can be before its first frame reaches sway. The window's number, empty when it did not come.
std::optional<int> openMapped(QtClient &client, RawSway &raw, const QString &title, const QString &options = {});

// gtk3-demo on the wayland backend; its main window's title.
class GtkDemo
{
public:
    static constexpr const char *kTitle = "Application Class";
    ~GtkDemo();
    bool start();

private:
    QProcess m_process;
};
