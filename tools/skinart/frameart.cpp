// The window frame: a sample window drawn whole and cut into edges, so corners and edges always meet.
#include "frameart.h"

#include <QPainter>

#include "artcanvas.h"
#include "skingeometry.h"
#include "skinpalette.h"

namespace skinart {

namespace {

constexpr int kSampleHeightPx = kTitleHeightPx + kSampleBodyPx + kBorderPx;
constexpr int kGlyphPx = 10;

// The whole sample window: a 1-pixel outline around a title bar with rounded top corners and the face.
// Outside the corners is magenta; the outline edge is hard so that the window's shape has no fringe.
QImage drawSampleWindow(bool active)
{
    const QRgb outline = active ? kNavyDeep : kOutlineInactive;
    const QRgb title = active ? kNavy : kTitleInactive;
    QImage layer = newLayer(kSampleWidthPx, kSampleHeightPx);
    QPainter painter;
    beginSmooth(painter, layer);
    painter.fillPath(
        topRoundedRect(QRectF(0, 0, kSampleWidthPx, kSampleHeightPx), kCornerRadiusPx), QColor::fromRgba(outline));
    const QPainterPath inside
        = topRoundedRect(QRectF(1, 1, kSampleWidthPx - 2, kSampleHeightPx - 2), kCornerRadiusPx - 1);
    painter.setClipRect(0, 0, kSampleWidthPx, kTitleHeightPx);
    painter.fillPath(inside, QColor::fromRgba(title));
    painter.setClipRect(0, kTitleHeightPx, kSampleWidthPx, kSampleHeightPx - kTitleHeightPx);
    painter.fillPath(inside, QColor::fromRgba(kFace));
    painter.setClipping(false);
    if (!active) {
        painter.fillRect(QRect(1, kTitleHeightPx - 1, kSampleWidthPx - 2, 1), QColor::fromRgba(kBorderSoft));
    }
    painter.end();
    return flatten(layer, outline, 127);
}

void drawGlyph(QPainter &painter, SysGlyph glyph, const QRect &box, QRgb ink, QRgb background)
{
    const QColor colour = QColor::fromRgba(ink);
    const auto line = [&](int x, int y, int w, int h) { painter.fillRect(QRect(x, y, w, h), colour); };
    const int x = box.left();
    const int y = box.top();
    switch (glyph) {
    case SysGlyph::Close: {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(colour, 1.3, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(x + 0.5, y + 0.5), QPointF(x + box.width() - 0.5, y + box.height() - 0.5));
        painter.drawLine(QPointF(x + box.width() - 0.5, y + 0.5), QPointF(x + 0.5, y + box.height() - 0.5));
        painter.setPen(Qt::NoPen);
        break;
    }
    case SysGlyph::Maximize:
        line(x, y, kGlyphPx, 1);
        line(x, y + kGlyphPx - 1, kGlyphPx, 1);
        line(x, y, 1, kGlyphPx);
        line(x + kGlyphPx - 1, y, 1, kGlyphPx);
        break;
    case SysGlyph::Restore:
        // A window behind (top right) and one in front (bottom left) that hides part of it.
        line(x + 2, y, kGlyphPx - 2, 1);
        line(x + kGlyphPx - 1, y, 1, kGlyphPx - 2);
        painter.fillRect(QRect(x, y + 2, kGlyphPx - 2, kGlyphPx - 2), QColor::fromRgba(background));
        line(x, y + 2, kGlyphPx - 2, 1);
        line(x, y + kGlyphPx - 1, kGlyphPx - 2, 1);
        line(x, y + 2, 1, kGlyphPx - 2);
        line(x + kGlyphPx - 3, y + 2, 1, kGlyphPx - 2);
        break;
    case SysGlyph::Minimize:
        line(x, y + kGlyphPx / 2, kGlyphPx, 1);
        break;
    }
}

} // namespace

FrameEdges drawFrameEdges()
{
    const QImage active = drawSampleWindow(true);
    const QImage inactive = drawSampleWindow(false);
    const int innerWidth = kSampleWidthPx - 2 * kBorderPx;
    const auto left = [](const QImage &w) { return w.copy(0, 0, kBorderPx, kSampleHeightPx); };
    const auto right
        = [](const QImage &w) { return w.copy(kSampleWidthPx - kBorderPx, 0, kBorderPx, kSampleHeightPx); };
    const auto top = [&](const QImage &w) { return w.copy(kBorderPx, 0, innerWidth, kTitleHeightPx); };
    const auto bottom
        = [&](const QImage &w) { return w.copy(kBorderPx, kSampleHeightPx - kBorderPx, innerWidth, kBorderPx); };
    return {sideBySide({left(active), left(inactive)}), sideBySide({right(active), right(inactive)}),
        stacked({top(active), top(inactive)}), stacked({bottom(active), bottom(inactive)})};
}

QImage drawSysButton(SysGlyph glyph)
{
    enum Frame { Normal, Pressed, Hot, Inactive };
    QList<QImage> frames;
    for (const Frame frame : {Normal, Pressed, Hot, Inactive}) {
        const QRgb title = frame == Inactive ? kTitleInactive : kNavy;
        QRgb background = title;
        if (frame == Hot) {
            background = glyph == SysGlyph::Close ? kClose : kNavyHot;
        } else if (frame == Pressed) {
            background = glyph == SysGlyph::Close ? kCloseDark : kAccent;
        }
        QImage layer = newLayer(kSysButtonWidthPx, kSysButtonHeightPx);
        QPainter painter;
        beginSmooth(painter, layer);
        painter.fillRect(layer.rect(), QColor::fromRgba(title));
        painter.setBrush(QColor::fromRgba(background));
        painter.drawRoundedRect(QRectF(layer.rect()), 4, 4);
        painter.setRenderHint(QPainter::Antialiasing, false);
        const QRect box((kSysButtonWidthPx - kGlyphPx) / 2, (kSysButtonHeightPx - kGlyphPx) / 2, kGlyphPx, kGlyphPx);
        drawGlyph(painter, glyph, box, frame == Inactive ? kTextInactive : kWhite, background);
        painter.end();
        frames.append(flatten(layer, title));
    }
    return sideBySide(frames);
}

QImage drawMdiControls()
{
    enum Frame { Normal, Pressed, Disabled, Hot };
    QList<QImage> frames;
    for (const SysGlyph glyph : {SysGlyph::Minimize, SysGlyph::Restore, SysGlyph::Close}) {
        for (const Frame frame : {Normal, Pressed, Disabled, Hot}) {
            const QRgb background = frame == Hot ? kHoverFill : frame == Pressed ? kPressedFill : kFace;
            QImage layer = newLayer(kMdiFramePx, kMdiFramePx);
            QPainter painter;
            beginSmooth(painter, layer);
            painter.fillRect(layer.rect(), QColor::fromRgba(kFace));
            painter.setBrush(QColor::fromRgba(background));
            painter.drawRoundedRect(QRectF(layer.rect()), 3, 3);
            painter.setRenderHint(QPainter::Antialiasing, false);
            const QRect box((kMdiFramePx - kGlyphPx) / 2, (kMdiFramePx - kGlyphPx) / 2, kGlyphPx, kGlyphPx);
            drawGlyph(painter, glyph, box, frame == Disabled ? kDisabledGlyph : kInk, background);
            painter.end();
            frames.append(flatten(layer, kFace));
        }
    }
    return sideBySide(frames);
}

QImage drawMenuBar()
{
    QImage frame(kMenuBarFrameWidthPx, kMenuBarHeightPx, QImage::Format_RGB32);
    frame.fill(kFace);
    QPainter painter(&frame);
    painter.fillRect(QRect(0, kMenuBarHeightPx - 1, kMenuBarFrameWidthPx, 1), QColor::fromRgba(kBorderSoft));
    painter.end();
    return sideBySide({frame, frame});
}

} // namespace skinart
