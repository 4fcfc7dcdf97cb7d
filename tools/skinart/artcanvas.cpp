// Layers, flattening to keyed bitmaps, frame strips and BMP output for the skin art.
#include "artcanvas.h"

#include <QPainter>

#include "skinpalette.h"

namespace skinart {

QImage newLayer(int widthPx, int heightPx)
{
    QImage layer(widthPx, heightPx, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    return layer;
}

void beginSmooth(QPainter &painter, QImage &layer)
{
    painter.begin(&layer);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
}

QImage flatten(const QImage &layer, QRgb background, int keyAlpha)
{
    const QImage source = layer.convertToFormat(QImage::Format_ARGB32);
    QImage flat(source.size(), QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        QRgb *out = reinterpret_cast<QRgb *>(flat.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const int a = qAlpha(in[x]);
            if (a <= keyAlpha) {
                out[x] = kMagenta;
                continue;
            }
            const auto mix = [a](int over, int under) { return (over * a + under * (255 - a) + 127) / 255; };
            out[x] = qRgb(mix(qRed(in[x]), qRed(background)), mix(qGreen(in[x]), qGreen(background)),
                mix(qBlue(in[x]), qBlue(background)));
        }
    }
    return flat;
}

namespace {

QImage joined(const QList<QImage> &frames, bool horizontal)
{
    int width = 0;
    int height = 0;
    for (const QImage &frame : frames) {
        width = horizontal ? width + frame.width() : qMax(width, frame.width());
        height = horizontal ? qMax(height, frame.height()) : height + frame.height();
    }
    QImage strip(width, height, QImage::Format_RGB32);
    strip.fill(kMagenta);
    QPainter painter(&strip);
    int offset = 0;
    for (const QImage &frame : frames) {
        painter.drawImage(horizontal ? QPoint(offset, 0) : QPoint(0, offset), frame);
        offset += horizontal ? frame.width() : frame.height();
    }
    return strip;
}

} // namespace

QImage sideBySide(const QList<QImage> &frames)
{
    return joined(frames, true);
}

QImage stacked(const QList<QImage> &frames)
{
    return joined(frames, false);
}

QPainterPath topRoundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.moveTo(rect.left(), rect.bottom());
    path.lineTo(rect.left(), rect.top() + radius);
    path.arcTo(QRectF(rect.left(), rect.top(), 2 * radius, 2 * radius), 180, -90);
    path.lineTo(rect.right() - radius, rect.top());
    path.arcTo(QRectF(rect.right() - 2 * radius, rect.top(), 2 * radius, 2 * radius), 90, -90);
    path.lineTo(rect.right(), rect.bottom());
    path.closeSubpath();
    return path;
}

void borderedRoundedRect(QPainter &painter, const QRect &rect, qreal radius, QRgb border, QRgb fill)
{
    const QRectF outer(rect);
    const QRectF inner = outer.adjusted(1, 1, -1, -1);
    const qreal innerRadius = qMax<qreal>(0, radius - 1);
    painter.setPen(Qt::NoPen);
    if (qAlpha(fill) == 255) {
        // The fill covers the inside of the border exactly, so the inner edge has no seam.
        painter.setBrush(QColor::fromRgba(border));
        painter.drawRoundedRect(outer, radius, radius);
        painter.setBrush(QColor::fromRgba(fill));
        painter.drawRoundedRect(inner, innerRadius, innerRadius);
        return;
    }
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addRoundedRect(outer, radius, radius);
    ring.addRoundedRect(inner, innerRadius, innerRadius);
    painter.fillPath(ring, QColor::fromRgba(border));
    if (qAlpha(fill) > 0) {
        QPainterPath inside;
        inside.addRoundedRect(inner, innerRadius, innerRadius);
        painter.fillPath(inside, QColor::fromRgba(fill));
    }
}

bool writeBmp(const QImage &image, const QString &path)
{
    return image.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
}

} // namespace skinart
