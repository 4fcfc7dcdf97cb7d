// What the GNOME tests read back from the shell without the backend: the extension's replies fetched with gdbus
// (a process of its own, GLib's D-Bus) and read with plain QJson, and the foreign Wayland client that opens the
// windows (framewright-waylandclient).
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QString>

#include <optional>

// The extension's reply to a method without arguments as JSON, e.g. shellJson("Windows"); empty on any failure.
std::optional<QJsonArray> shellJsonArray(const QString &method);
// The window of that title in the extension's window list, as the extension sends it.
std::optional<QJsonObject> shellWindow(const QString &title);
QRect frameOf(const QJsonObject &window);

// framewright-waylandclient on the session's Wayland display, driven line by line.
class WaylandClient
{
public:
    ~WaylandClient();
    bool start();
    // Opens a window ("open" options: size=WxH, min=WxH); its number, or 0.
    int open(const QString &title, const QString &options = {});
    bool retitle(int window, const QString &title);
    bool close(int window);
    // Sends a command without waiting for its answer.
    void send(const QString &command);
    // The next answer line.
    QString answer();

private:
    QProcess m_process;
};
