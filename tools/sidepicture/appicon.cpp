// Draws the application icon: a screen tile with windows snapped into a grid, one being placed.
#include "appicon.h"

#include <algorithm>
#include <cmath>

#include <QLinearGradient>
#include <QPainter>

#include "artpalette.h"

namespace art {

namespace {

// The icon is designed on a 16 x 16 grid; one grid unit is sizePx / 16 pixels, so whole units land
// on whole pixels at every shipped size.
class IconGrid
{
public:
    explicit IconGrid(int sizePx)
        : m_unitPx(sizePx / 16.0)
    { }

    double px(double units) const { return std::round(units * m_unitPx); }
    // A line width in pixels: never thinner than one pixel.
    double stroke(double units) const { return std::max(1.0, px(units)); }
    QRectF rect(double left, double top, double right, double bottom) const
    {
        return QRectF(QPointF(px(left), px(top)), QPointF(px(right), px(bottom)));
    }

private:
    double m_unitPx;
};

QColor withAlpha(QRgb rgb, double alpha)
{
    QColor colour(rgb);
    colour.setAlphaF(float(alpha));
    return colour;
}

void paintTile(QPainter &p, const IconGrid &grid, int sizePx)
{
    const QRectF tile = sizePx >= 32 ? grid.rect(0.5, 0.5, 15.5, 15.5) : grid.rect(0, 0, 16, 16);
    const double radius = tile.width() * 0.19;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kAccentDark));
    p.drawRoundedRect(tile, radius, radius);

    const double edge = std::max(1.0, std::round(sizePx / 64.0));
    const QRectF inner = tile.adjusted(edge, edge, -edge, -edge);
    QLinearGradient fill(inner.topLeft(), inner.bottomLeft());
    fill.setColorAt(0, QColor(0xff4a9ad6));
    fill.setColorAt(1, QColor(kAccent));
    p.setBrush(fill);
    p.drawRoundedRect(inner, radius - edge, radius - edge);
}

// A window: a light body under a dark title bar.
void paintWindow(QPainter &p, const IconGrid &grid, const QRectF &frame, double titleUnits)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kPaper));
    p.drawRect(frame);
    const double titlePx = grid.stroke(titleUnits);
    p.setBrush(QColor(kInk));
    p.drawRect(QRectF(frame.left(), frame.top(), frame.width(), titlePx));
}

// An outline drawn inside frame, so that it covers exactly the frame's pixels.
void paintOutline(QPainter &p, const QRectF &frame, double widthPx, const QColor &colour, Qt::PenStyle style)
{
    QPen pen(colour, widthPx, style, Qt::FlatCap, Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const double half = widthPx / 2;
    p.drawRect(frame.adjusted(half, half, -half, -half));
}

// Corner brackets just outside frame: the snapping target.
void paintCornerMarks(QPainter &p, const IconGrid &grid, const QRectF &frame)
{
    const double width = grid.stroke(0.25);
    const double arm = grid.px(1.25);
    const double gap = grid.px(0.5);
    const QRectF outer = frame.adjusted(-gap, -gap, gap, gap);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kPaper));
    const QPointF corners[] = {outer.topLeft(), outer.topRight(), outer.bottomLeft(), outer.bottomRight()};
    for (const QPointF &corner : corners) {
        const double dx = corner.x() == outer.left() ? 1 : -1;
        const double dy = corner.y() == outer.top() ? 1 : -1;
        p.drawRect(QRectF(corner, QPointF(corner.x() + dx * arm, corner.y() + dy * width)).normalized());
        p.drawRect(QRectF(corner, QPointF(corner.x() + dx * width, corner.y() + dy * arm)).normalized());
    }
}

} // namespace

QImage drawAppIcon(int sizePx)
{
    QImage image(sizePx, sizePx, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const IconGrid grid(sizePx);
    const bool detailed = sizePx >= 32;

    paintTile(p, grid, sizePx);

    // The left half: a window already in place.
    paintWindow(p, grid, grid.rect(3, 3, 7, 13), detailed ? 1.5 : 2);

    // Bottom right: another window in place, held back so that the moving one stands out.
    const QRectF lowerCell = grid.rect(9, 9, 13, 13);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(kPaper, 0.4));
    p.drawRect(lowerCell);
    p.setBrush(withAlpha(kPaper, 0.85));
    p.drawRect(QRectF(lowerCell.left(), lowerCell.top(), lowerCell.width(), grid.stroke(detailed ? 1.5 : 1)));

    // Top right: a window being lowered into its cell; the small sizes show it in place.
    const QRectF upperCell = grid.rect(9, 3, 13, 7);
    if (!detailed) {
        paintWindow(p, grid, upperCell, sizePx >= 32 ? 1.5 : 1);
        return image;
    }
    paintCornerMarks(p, grid, upperCell);
    if (sizePx >= 48) {
        paintOutline(p, upperCell, grid.stroke(0.125), withAlpha(kPaper, 0.6), Qt::DotLine);
    }
    const QRectF moving = upperCell.translated(0, -grid.px(1));
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(kInk, 0.35));
    p.drawRect(moving.translated(grid.px(0.25), grid.px(0.25)));
    paintWindow(p, grid, moving, 1.5);
    return image;
}

} // namespace art
