// ScreenChanges: Qt's screen signals gathered into one.
#include "screenchanges.h"

#include <QGuiApplication>
#include <QScreen>

ScreenChanges::ScreenChanges(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("ScreenChanges"));
    // Qt handles all window-system events that have arrived before timers run: a zero interval lets the removal of
    // one screen and the new geometry of the others end before anyone looks.
    m_settle.setSingleShot(true);
    m_settle.setInterval(0);
    connect(&m_settle, &QTimer::timeout, this, &ScreenChanges::changed);
    const auto settle = [this] { m_settle.start(); };
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, settle](QScreen *screen) {
        watch(screen);
        settle();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, settle);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, settle);
    for (QScreen *screen : QGuiApplication::screens()) {
        watch(screen);
    }
}

void ScreenChanges::watch(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, &m_settle, qOverload<>(&QTimer::start));
}
