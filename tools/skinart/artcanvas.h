// Drawing helpers of the skin art: transparent layers drawn with antialiasing and flattened into opaque
// bitmaps with magenta where nothing was drawn, frame strips, and 24-bit BMP output.
#pragma once

#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QRectF>
#include <QRgb>
#include <QString>

class QPainter;

namespace skinart {

// A transparent layer to draw on.
QImage newLayer(int widthPx, int heightPx);
// A painter on a layer with antialiasing on.
void beginSmooth(QPainter &painter, QImage &layer);

// The layer composited over background; pixels whose alpha is at most keyAlpha become magenta instead.
QImage flatten(const QImage &layer, QRgb background, int keyAlpha = 0);

QImage sideBySide(const QList<QImage> &frames);
QImage stacked(const QList<QImage> &frames);

// A rectangle with rounded top corners only (radius 0 gives a plain rectangle).
QPainterPath topRoundedRect(const QRectF &rect, qreal radius);
// Fills a rounded rectangle with a 1-pixel border inside it, on whole pixels: rect is in pixels.
void borderedRoundedRect(QPainter &painter, const QRect &rect, qreal radius, QRgb border, QRgb fill);

// Writes image as an uncompressed 24-bit BMP.
bool writeBmp(const QImage &image, const QString &path);

} // namespace skinart
