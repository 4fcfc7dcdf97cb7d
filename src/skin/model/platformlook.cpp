// PlatformLook::current: the application's palette and scroll-bar metric.
#include "platformlook.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>

PlatformLook PlatformLook::current()
{
    PlatformLook look;
    look.colours = platformColours(qGuiApp ? QGuiApplication::palette() : QPalette(QColor(0xef, 0xef, 0xef)));
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        look.scrollArrowWidthPx = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    }
    return look;
}
