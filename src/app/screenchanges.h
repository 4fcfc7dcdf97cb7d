// ScreenChanges: tells when the monitors change while the program runs (one switched off or unplugged, one plugged
// in, moved, given another mode, or another made primary), as Qt learns it from the window system (RandR on X11).
// A burst of Qt's screen signals, as one change of the layout brings, gives one changed().
#pragma once

#include <QObject>
#include <QTimer>

class QScreen;

class ScreenChanges : public QObject
{
    Q_OBJECT

public:
    // Needs a QGuiApplication.
    explicit ScreenChanges(QObject *parent = nullptr);

signals:
    // After the layout has changed; emitted from the event loop once the burst has been handled.
    void changed();

private:
    void watch(QScreen *screen);

    QTimer m_settle; // single shot, restarted by every signal of a burst
};
