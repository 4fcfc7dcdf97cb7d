// sway's own view of its windows, read for the tests over a connection and a JSON walk of their own (not the
// backend's), so that results are checked independently of the code under test.
#pragma once

#include <QJsonValue>
#include <QLocalSocket>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

struct RawView
{
    qint64 id = 0;
    QString title;
    QRect outer; // the container: rect grown by its title bar (deco_rect's height)
    bool floating = false;
    bool focused = false;
    QString border;
    QString appId;
};

class RawSway
{
public:
    // Connects to $SWAYSOCK.
    bool connect();
    // The reply to one message (type numbers as the i3 IPC documentation gives them); null on failure.
    QJsonValue request(quint32 type, const QByteArray &payload = {});
    bool command(const QString &command);

    std::vector<RawView> views();
    std::vector<RawView> views(const QString &title);
    // The one window with this title; empty when there is none (or more than one).
    std::optional<RawView> view(const QString &title);
    // The active outputs' rectangles by name.
    std::vector<std::pair<QString, QRect>> outputs();

private:
    QLocalSocket m_socket;
};

// Window events on a plain socket of its own, so that another thread can wait for one.
class RawWindowEvents
{
public:
    ~RawWindowEvents();
    // Connects to $SWAYSOCK and subscribes to window events.
    bool subscribe();
    // Waits (at most 20 s) for a window event of this change about the container `id`.
    bool waitFor(const QString &change, qint64 id);

private:
    int m_fd = -1;
};
