// Making sure a shown top-level window really gets mapped. A window manager that is still starting can read the
// MapRequest of a window shown in that moment and handle it only when its next event arrives (openbox 3.6 does),
// so the window would stay unmapped for as long as nothing else happens on the display. Asking again wakes it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

class MapRequestRetry : public QObject
{
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 250;
    static constexpr int kMaxRequests = 40; // ten seconds; a window manager that needs longer is not starting

    // Watches `window` (shown already, on the xcb platform) and sends its map request again every kIntervalMs
    // until the X server reports it mapped; then, or after kMaxRequests, the object deletes itself. Does nothing
    // on other platforms.
    static void watch(QWidget *window);

private:
    explicit MapRequestRetry(QWidget *window);
    void check();

    QPointer<QWidget> m_window;
    QTimer m_timer;
    int m_requests = 0;
};
