// Liberation Sans has the metrics of the classic Windows interface fonts; Debian ships it as fonts-liberation2.
// Pixel size, not point size, so the layout does not change with the screen's reported resolution.
#include "uifont.h"

namespace {

constexpr int kInterfaceFontPx = 11;

} // namespace

QFont interfaceFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kInterfaceFontPx);
    font.setBold(false);
    return font;
}

QFont boldInterfaceFont()
{
    QFont font = interfaceFont();
    font.setBold(true);
    return font;
}
