// Draws the side picture of the main window: product name, tagline, a placement motif, maker's name.
#include "sidepicture.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include "artpalette.h"

namespace art {

namespace {

constexpr double kMarginPx = 16;
const QString kFontFamily = QStringLiteral("Liberation Sans");

QColor withAlpha(QRgb rgb, double alpha)
{
    QColor colour(rgb);
    colour.setAlphaF(float(alpha));
    return colour;
}

QFont pictureFont(int pixelSize, QFont::Weight weight)
{
    QFont font(kFontFamily);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

void paintBackground(QPainter &p)
{
    QLinearGradient fill(0, 0, 0, kSidePictureSize.height());
    fill.setColorAt(0, QColor(kNavyDeep));
    fill.setColorAt(0.55, QColor(kNavy));
    fill.setColorAt(1, QColor(kAccentDark));
    p.fillRect(QRect(QPoint(0, 0), kSidePictureSize), fill);
}

// A measuring scale down the right edge: the "precision" of the tagline, kept faint.
void paintScale(QPainter &p)
{
    const int right = kSidePictureSize.width();
    p.setPen(Qt::NoPen);
    for (int y = 4; y < kSidePictureSize.height(); y += 8) {
        const bool major = (y - 4) % 40 == 0;
        p.setBrush(withAlpha(kMist, major ? 0.30 : 0.14));
        p.drawRect(QRectF(right - (major ? 7 : 4), y, major ? 7 : 4, 1));
    }
}

void paintTitle(QPainter &p)
{
    QFont nameFont = pictureFont(23, QFont::Bold);
    const double room = kSidePictureSize.width() - 2 * kMarginPx;
    while (QFontMetricsF(nameFont).horizontalAdvance(QStringLiteral("Framewright")) > room) {
        nameFont.setPixelSize(nameFont.pixelSize() - 1);
    }
    p.setFont(nameFont);
    p.setPen(QColor(kPaper));
    p.drawText(QPointF(kMarginPx, 62), QStringLiteral("Framewright"));

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kAccentLight));
    p.drawRect(QRectF(kMarginPx, 76, 28, 3));

    p.setFont(pictureFont(12, QFont::Normal));
    p.setPen(QColor(kMist));
    p.drawText(QPointF(kMarginPx, 101), QStringLiteral("Every window"));
    p.drawText(QPointF(kMarginPx, 117), QStringLiteral("in its place,"));
    p.drawText(QPointF(kMarginPx, 133), QStringLiteral("to the pixel."));
}

void paintWindow(QPainter &p, const QRectF &frame, double titlePx, const QColor &body, const QColor &title)
{
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRect(frame);
    p.setBrush(title);
    p.drawRect(QRectF(frame.left(), frame.top(), frame.width(), titlePx));
}

// Corner brackets around a target cell.
void paintCornerMarks(QPainter &p, const QRectF &cell, double gapPx, double armPx)
{
    const QRectF outer = cell.adjusted(-gapPx, -gapPx, gapPx, gapPx);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kAccentLight));
    const QPointF corners[] = {outer.topLeft(), outer.topRight(), outer.bottomLeft(), outer.bottomRight()};
    for (const QPointF &corner : corners) {
        const double dx = corner.x() == outer.left() ? 1 : -1;
        const double dy = corner.y() == outer.top() ? 1 : -1;
        p.drawRect(QRectF(corner, QPointF(corner.x() + dx * armPx, corner.y() + dy * 1.5)).normalized());
        p.drawRect(QRectF(corner, QPointF(corner.x() + dx * 1.5, corner.y() + dy * armPx)).normalized());
    }
}

// A dimension line with end ticks, as on a drawing: from a to b, ticks across it.
void paintDimension(QPainter &p, const QPointF &a, const QPointF &b)
{
    p.setPen(QPen(withAlpha(kMist, 0.55), 1, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
    const bool horizontal = a.y() == b.y();
    const QPointF tick = horizontal ? QPointF(0, 4) : QPointF(4, 0);
    p.drawLine(a - tick, a + tick);
    p.drawLine(b - tick, b + tick);
}

// A screen whose windows are arranged on a grid; the last one is being lowered into its cell.
void paintScreen(QPainter &p)
{
    const QRectF bezel(17, 252, 128, 92);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(kMist, 0.85));
    p.drawRoundedRect(bezel, 4, 4);
    const QRectF screen = bezel.adjusted(4, 4, -4, -4);
    p.setBrush(QColor(kNavyDeep));
    p.drawRect(screen);
    p.setBrush(withAlpha(kMist, 0.85));
    p.drawRect(QRectF(75, bezel.bottom(), 12, 9));
    p.drawRoundedRect(QRectF(59, bezel.bottom() + 9, 44, 4), 2, 2);

    const QRectF area = screen.adjusted(5, 5, -5, -5);
    const double gap = 4; // with the sizes above every cell edge lands on a whole pixel
    const double columnWidth = (area.width() - gap) / 2;
    const double rowHeight = (area.height() - gap) / 2;
    const QRectF left(area.left(), area.top(), columnWidth, area.height());
    const QRectF upper(area.left() + columnWidth + gap, area.top(), columnWidth, rowHeight);
    const QRectF lower(upper.left(), area.top() + rowHeight + gap, columnWidth, rowHeight);

    paintWindow(p, left, 6, QColor(kPaper), QColor(kAccent));
    paintWindow(p, lower, 6, withAlpha(kAccentLight, 0.4), QColor(kAccentLight));

    p.setPen(QPen(withAlpha(kAccentLight, 0.8), 1, Qt::DashLine));
    p.setBrush(withAlpha(kAccent, 0.2));
    p.drawRect(upper.adjusted(0.5, 0.5, -0.5, -0.5));
    paintCornerMarks(p, upper, 2.5, 6);

    // The window's way down: fading outlines of where it was.
    const double trail[][2] = {{-52, 0.14}, {-36, 0.3}};
    for (const auto &[offset, alpha] : trail) {
        p.setPen(QPen(withAlpha(kAccentLight, alpha), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(upper.translated(0, offset).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    const QRectF moving = upper.translated(0, -20);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(kNavyDeep, 0.5));
    p.drawRect(moving.translated(2, 2));
    paintWindow(p, moving, 6, QColor(kPaper), QColor(kAccent));

    const double baseBottom = bezel.bottom() + 13;
    paintDimension(p, QPointF(bezel.left(), baseBottom + 12.5), QPointF(bezel.right(), baseBottom + 12.5));
    paintDimension(p, QPointF(8.5, bezel.top()), QPointF(8.5, bezel.bottom()));
}

void paintMaker(QPainter &p)
{
    const double bottom = kSidePictureSize.height() - 22;
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(kMist, 0.35));
    p.drawRect(QRectF(kMarginPx, bottom - 44, kSidePictureSize.width() - 2 * kMarginPx, 1));

    p.setFont(pictureFont(16, QFont::Bold));
    p.setPen(QColor(kPaper));
    p.drawText(QPointF(kMarginPx, bottom - 16), QStringLiteral("Tarvelin"));
    QFont small = pictureFont(10, QFont::Normal);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 1.6);
    p.setFont(small);
    p.setPen(QColor(kMist));
    p.drawText(QPointF(kMarginPx, bottom), QStringLiteral("DEVELOPMENT"));
}

} // namespace

SidePicture drawSidePicture()
{
    const QFontInfo resolved(pictureFont(12, QFont::Normal));
    if (resolved.family() != kFontFamily) {
        return {{}, QStringLiteral("font family \"%1\" not found (got \"%2\")").arg(kFontFamily, resolved.family())};
    }
    QImage image(kSidePictureSize, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintBackground(p);
    paintScale(p);
    paintTitle(p);
    paintScreen(p);
    paintMaker(p);
    p.end();
    return {image, {}};
}

} // namespace art
