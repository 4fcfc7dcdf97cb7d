// What KWin itself says about its windows and outputs, read with a script of the tests' own (oracle.js) that
// shares nothing with the backend: the tests check the backend's results against it.
#pragma once

#include <QDBusContext>
#include <QObject>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

struct OracleWindow
{
    QString caption;
    QRect frame;
    int stacking = 0;
    bool minimized = false;
};

struct OracleView
{
    std::vector<OracleWindow> windows; // topmost first
    std::vector<QRect> screens;
    QString activeCaption;

    // The window with this caption, or empty.
    std::optional<OracleWindow> window(const QString &caption) const;
};

class KWinOracle : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.framewright.TestOracle")

public:
    // Registers the object that receives the script's answer; false without a session bus.
    bool start();
    // KWin's view now; empty when the script did not answer within 5 s.
    std::optional<OracleView> view();

public Q_SLOTS:
    Q_SCRIPTABLE void result(const QString &json);

private:
    QString m_last;
    int m_runs = 0;
};
