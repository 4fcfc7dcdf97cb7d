// Scroll bars, progress, headers, menus, tabs, status bar, tool bars, group boxes and track-bar thumbs.
#include "barart.h"

#include <QPainter>
#include <QTransform>

#include "artcanvas.h"
#include "skingeometry.h"
#include "skinpalette.h"

namespace skinart {

namespace {

QImage rotatedLeft(const QImage &image)
{
    return image.transformed(QTransform().rotate(-90));
}

QImage mirroredVertically(const QImage &image)
{
    return image.mirrored(false, true);
}

QImage flatFrame(int widthPx, int heightPx, QRgb fill)
{
    QImage frame(widthPx, heightPx, QImage::Format_RGB32);
    frame.fill(fill);
    return frame;
}

// A rounded highlight inset by one pixel on magenta, for flat elements under the mouse or selected.
QImage highlightFrame(int widthPx, int heightPx, QRgb fill, QRgb background, QRgb border = 0)
{
    QImage layer = newLayer(widthPx, heightPx);
    QPainter painter;
    beginSmooth(painter, layer);
    const QRect rect = layer.rect().adjusted(1, 1, -1, -1);
    if (border) {
        borderedRoundedRect(painter, rect, 3, border, fill);
    } else {
        painter.setBrush(QColor::fromRgba(fill));
        painter.drawRoundedRect(QRectF(rect), 3, 3);
    }
    painter.end();
    return flatten(layer, background);
}

QImage transparentFrame(int widthPx, int heightPx)
{
    return flatFrame(widthPx, heightPx, kMagenta);
}

// An arrow button of the scroll bar pointing up; the other directions are rotations of it.
QImage scrollArrow(int state)
{
    enum { Normal, Pressed, Disabled, Hot };
    const QRgb ink = state == Disabled ? kDisabledGlyph : state == Hot ? kAccent : state == Pressed ? kInk : kGlyph;
    QImage layer = newLayer(kScrollPx, kScrollPx);
    QPainter painter;
    beginSmooth(painter, layer);
    if (state == Hot || state == Pressed) {
        painter.setBrush(QColor::fromRgba(state == Hot ? kHoverFill : kPressedFill));
        painter.drawRoundedRect(QRectF(layer.rect()).adjusted(1, 1, -1, -1), 3, 3);
    }
    const QPointF points[] = {{4.5, 9.5}, {8.0, 6.0}, {11.5, 9.5}};
    painter.setPen(QPen(QColor::fromRgba(ink), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(points, 3);
    painter.end();
    return flatten(layer, kFace);
}

// Three short lines across a horizontal thumb.
QImage scrollGrip(int state)
{
    enum { Normal, Pressed, Hot };
    const QRgb ink = state == Normal ? 0xffe6edf4 : kWhite;
    QImage frame = transparentFrame(kScrollPx, kScrollPx);
    QPainter painter(&frame);
    for (int i = 0; i < 3; ++i) {
        painter.fillRect(QRect(5 + 2 * i + i, 6, 1, 4), QColor::fromRgba(ink));
    }
    painter.end();
    return frame;
}

// The outline of a pointed thumb, pointing down, on whole pixels.
QPainterPath pointedThumbPath(const QRectF &rect)
{
    const qreal tipHeight = rect.width() / 2;
    QPainterPath path;
    path.moveTo(rect.left(), rect.top());
    path.lineTo(rect.right(), rect.top());
    path.lineTo(rect.right(), rect.bottom() - tipHeight);
    path.lineTo(rect.center().x(), rect.bottom());
    path.lineTo(rect.left(), rect.bottom() - tipHeight);
    path.closeSubpath();
    return path;
}

} // namespace

QImage drawScrollArrows()
{
    enum class Direction { Left, Right, Up, Down };
    QList<QImage> frames;
    // The other directions are the up arrow turned or mirrored.
    for (const Direction direction : {Direction::Left, Direction::Right, Direction::Up, Direction::Down}) {
        for (int state = 0; state < 4; ++state) {
            const QImage up = scrollArrow(state);
            switch (direction) {
            case Direction::Left:
                frames.append(rotatedLeft(up));
                break;
            case Direction::Right:
                frames.append(rotatedLeft(up).mirrored(true, false));
                break;
            case Direction::Up:
                frames.append(up);
                break;
            case Direction::Down:
                frames.append(mirroredVertically(up));
                break;
            }
        }
    }
    for (int state = 0; state < 3; ++state) {
        frames.append(scrollGrip(state));
    }
    for (int state = 0; state < 3; ++state) {
        frames.append(rotatedLeft(scrollGrip(state)));
    }
    frames.append(flatFrame(kScrollPx, kScrollPx, kFace));
    return sideBySide(frames);
}

QImage drawScrollTrack(Qt::Orientation orientation)
{
    QList<QImage> frames;
    for (const QRgb fill : {0xffe9eff4u, 0xffe2e9f0u, kDisabledFill, 0xffd9e2eau}) {
        frames.append(flatFrame(kScrollTrackLengthPx, kScrollPx, fill));
    }
    if (orientation == Qt::Vertical) {
        for (QImage &frame : frames) {
            frame = rotatedLeft(frame);
        }
    }
    return sideBySide(frames);
}

QImage drawScrollThumb(Qt::Orientation orientation)
{
    QList<QImage> frames;
    for (const QRgb fill : {kThumb, kThumbPressed, kThumbHot}) {
        QImage layer = newLayer(kScrollTrackLengthPx, kScrollPx);
        QPainter painter;
        beginSmooth(painter, layer);
        painter.setBrush(QColor::fromRgba(fill));
        painter.drawRoundedRect(QRectF(1, 3, kScrollTrackLengthPx - 2, kScrollPx - 6), 5, 5);
        painter.end();
        QImage frame = flatten(layer, 0xffe9eff4);
        frames.append(orientation == Qt::Vertical ? rotatedLeft(frame) : frame);
    }
    return sideBySide(frames);
}

QImage drawProgress()
{
    QImage trough = newLayer(kProgressWidthPx, kProgressHeightPx);
    QPainter painter;
    beginSmooth(painter, trough);
    borderedRoundedRect(painter, trough.rect(), 3, kBorderSoft, 0xffe6ecf2);
    painter.end();

    QImage bar = newLayer(kProgressWidthPx, kProgressHeightPx);
    beginSmooth(painter, bar);
    borderedRoundedRect(painter, bar.rect(), 3, kAccentDark, kAccent);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(3, 1, kProgressWidthPx - 6, 1), QColor::fromRgba(0xff5aa0d8));
    painter.end();
    return sideBySide({flatten(trough, kFace), flatten(bar, kFace)});
}

QImage drawProgressChunk()
{
    QImage chunk = transparentFrame(kChunkWidthPx, kProgressHeightPx);
    QPainter painter(&chunk);
    painter.fillRect(QRect(0, 2, kChunkWidthPx - 2, kProgressHeightPx - 4), QColor::fromRgba(kAccent));
    painter.end();
    return chunk;
}

QImage drawHeaderSection()
{
    QList<QImage> frames;
    for (const QRgb fill : {0xfff7f9fbu, kHoverFill, kPressedFill, kFace, kWhite}) {
        QImage frame = flatFrame(kHeaderWidthPx, kHeaderHeightPx, fill);
        QPainter painter(&frame);
        painter.fillRect(QRect(kHeaderWidthPx - 1, 4, 1, kHeaderHeightPx - 8), QColor::fromRgba(kBorderSoft));
        const bool sorted = fill == kWhite;
        painter.fillRect(QRect(0, kHeaderHeightPx - (sorted ? 2 : 1), kHeaderWidthPx, sorted ? 2 : 1),
            QColor::fromRgba(sorted ? kAccent : kBorderSoft));
        painter.end();
        frames.append(frame);
    }
    return sideBySide(frames);
}

QImage drawMenuItem()
{
    return sideBySide({transparentFrame(kMenuItemWidthPx, kMenuItemHeightPx),
        highlightFrame(kMenuItemWidthPx, kMenuItemHeightPx, kHoverFill, kWhite),
        highlightFrame(kMenuItemWidthPx, kMenuItemHeightPx, kDisabledFill, kWhite),
        highlightFrame(kMenuItemWidthPx, kMenuItemHeightPx, kAccent, kWhite),
        highlightFrame(kMenuItemWidthPx, kMenuItemHeightPx, kAccentDark, kWhite)});
}

QImage drawMenuBackground()
{
    QImage frame = flatFrame(kMenuBackgroundPx, kMenuBackgroundPx, kWhite);
    QPainter painter(&frame);
    painter.setPen(QColor::fromRgba(kBorder));
    painter.drawRect(frame.rect().adjusted(0, 0, -1, -1));
    painter.end();
    return frame;
}

QImage drawTab()
{
    struct Look
    {
        QRgb fill;
        QRgb border;
        bool selected;
        bool focused;
    };
    const Look looks[] = {{0xffe9eff5, kBorderSoft, false, false}, {0xfff3f7fb, kBorderSoft, false, false},
        {kWhite, kBorderSoft, true, false}, {kDisabledFill, kDisabledBorder, false, false},
        {kWhite, kBorderSoft, true, true}};
    QList<QImage> frames;
    for (const Look &look : looks) {
        QImage layer = newLayer(kTabWidthPx, kTabHeightPx);
        QPainter painter;
        beginSmooth(painter, layer);
        // A selected tab reaches one pixel further down, over the pane's border.
        const qreal bottom = look.selected ? kTabHeightPx + 1 : kTabHeightPx;
        const QRectF outer(0, look.selected ? 0 : 2, kTabWidthPx, bottom - (look.selected ? 0 : 2));
        painter.fillPath(topRoundedRect(outer, 4), QColor::fromRgba(look.border));
        painter.fillPath(topRoundedRect(outer.adjusted(1, 1, -1, -1), 3), QColor::fromRgba(look.fill));
        painter.setRenderHint(QPainter::Antialiasing, false);
        if (look.focused) {
            painter.fillRect(QRect(2, 1, kTabWidthPx - 4, 2), QColor::fromRgba(kAccent));
        }
        if (!look.selected) {
            painter.fillRect(QRect(0, kTabHeightPx - 1, kTabWidthPx, 1), QColor::fromRgba(look.border));
        }
        painter.end();
        frames.append(flatten(layer, kFace));
    }
    return sideBySide(frames);
}

QImage drawTabBorder()
{
    QImage frame = transparentFrame(8, 4);
    QPainter painter(&frame);
    painter.fillRect(QRect(0, 3, 8, 1), QColor::fromRgba(kBorderSoft));
    painter.end();
    return frame;
}

QImage drawTabPane()
{
    QImage frame = flatFrame(kPanePx, kPanePx, kWhite);
    QPainter painter(&frame);
    painter.setPen(QColor::fromRgba(kBorderSoft));
    painter.drawRect(frame.rect().adjusted(0, 0, -1, -1));
    painter.end();
    return frame;
}

QImage drawStatusBar()
{
    QImage panel = flatFrame(kStatusWidthPx, kStatusHeightPx, kFace);
    QPainter painter(&panel);
    painter.fillRect(QRect(kStatusWidthPx - 1, 4, 1, kStatusHeightPx - 8), QColor::fromRgba(kBorderSoft));
    painter.end();
    QImage sunken = flatFrame(kStatusWidthPx, kStatusHeightPx, kFace);
    painter.begin(&sunken);
    painter.setPen(QColor::fromRgba(kBorderSoft));
    painter.drawRect(QRect(1, 2, kStatusWidthPx - 3, kStatusHeightPx - 5));
    painter.end();
    QImage bar = flatFrame(kStatusWidthPx, kStatusHeightPx, kFace);
    painter.begin(&bar);
    painter.fillRect(QRect(0, 0, kStatusWidthPx, 1), QColor::fromRgba(kBorderSoft));
    painter.end();
    return sideBySide({panel, sunken, bar});
}

QImage drawToolButton()
{
    return sideBySide({transparentFrame(kToolButtonPx, kToolButtonPx),
        highlightFrame(kToolButtonPx, kToolButtonPx, kHoverFill, kFace, kBorderSoft),
        highlightFrame(kToolButtonPx, kToolButtonPx, kPressedFill, kFace, kBorder),
        transparentFrame(kToolButtonPx, kToolButtonPx),
        highlightFrame(kToolButtonPx, kToolButtonPx, kAccentPale, kFace, kAccent)});
}

QImage drawGroupBoxEdge()
{
    QList<QImage> frames;
    for (const QRgb border : {kBorderSoft, kDisabledBorder}) {
        QImage layer = newLayer(kGroupEdgePx, kGroupEdgePx);
        QPainter painter;
        beginSmooth(painter, layer);
        borderedRoundedRect(painter, layer.rect(), 4, border, 0);
        painter.end();
        frames.append(flatten(layer, kFace));
    }
    return sideBySide(frames);
}

QImage drawGroupBoxLabel()
{
    QImage layer = newLayer(kGroupLabelPx, kGroupLabelPx);
    QPainter painter;
    beginSmooth(painter, layer);
    painter.setBrush(QColor::fromRgba(kFace));
    painter.drawRoundedRect(QRectF(layer.rect()), 3, 3);
    painter.end();
    return flatten(layer, kFace);
}

QImage drawTrackThumb(ThumbShape shape)
{
    struct Look
    {
        QRgb border;
        QRgb fill;
    };
    const Look looks[] = {{0xff8fa3b8, kWhite}, {kAccent, kWhite}, {kAccentDark, kAccent},
        {kDisabledBorder, kDisabledFill}, {kAccent, kAccentPale}};
    const bool pointed = shape != ThumbShape::Horizontal && shape != ThumbShape::Vertical;
    QList<QImage> frames;
    for (const Look &look : looks) {
        // Drawn upright (pointing down when pointed), then turned into place.
        const int height = pointed ? kThumbPointedPx : kThumbLongPx;
        QImage layer = newLayer(kThumbShortPx, height);
        QPainter painter;
        beginSmooth(painter, layer);
        if (pointed) {
            painter.setBrush(QColor::fromRgba(look.fill));
            painter.setPen(QPen(QColor::fromRgba(look.border), 1.0));
            painter.drawPath(pointedThumbPath(QRectF(0.5, 0.5, kThumbShortPx - 1, height - 1)));
        } else {
            borderedRoundedRect(painter, layer.rect(), 3, look.border, look.fill);
        }
        painter.end();
        QImage frame = flatten(layer, kFace);
        switch (shape) {
        case ThumbShape::Horizontal:
        case ThumbShape::Down:
            break;
        case ThumbShape::Up:
            frame = mirroredVertically(frame);
            break;
        case ThumbShape::Vertical:
        case ThumbShape::Right:
            frame = rotatedLeft(frame);
            break;
        case ThumbShape::Left:
            frame = rotatedLeft(frame).mirrored(true, false);
            break;
        }
        frames.append(frame);
    }
    return sideBySide(frames);
}

} // namespace skinart
