// Push buttons, check boxes, radio buttons, combo pieces and up-down buttons: white raised surfaces with a
// thin border, the accent for focus and checked states.
#include "controlart.h"

#include <QPainter>
#include <QTransform>

#include "artcanvas.h"
#include "skingeometry.h"
#include "skinpalette.h"

namespace skinart {

namespace {

enum class State { Normal, Hot, Pressed, Disabled };
constexpr State kStates[] = {State::Normal, State::Hot, State::Pressed, State::Disabled};

QRgb boxBorder(State state)
{
    switch (state) {
    case State::Normal:
        return 0xff8fa3b8;
    case State::Hot:
        return kAccent;
    case State::Pressed:
        return kAccentDark;
    case State::Disabled:
        return kDisabledBorder;
    }
    return kBorder;
}

QRgb accentFill(State state)
{
    switch (state) {
    case State::Normal:
        return kAccent;
    case State::Hot:
        return kAccentHot;
    case State::Pressed:
        return kAccentDark;
    case State::Disabled:
        return 0xffa9c3da;
    }
    return kAccent;
}

QRgb fieldFill(State state)
{
    switch (state) {
    case State::Normal:
        return kWhite;
    case State::Hot:
        return kHoverFill;
    case State::Pressed:
        return kPressedFill;
    case State::Disabled:
        return kDisabledFill;
    }
    return kWhite;
}

QRgb glyphInk(State state)
{
    switch (state) {
    case State::Normal:
        return kGlyph;
    case State::Hot:
        return kAccent;
    case State::Pressed:
        return kInk;
    case State::Disabled:
        return kDisabledGlyph;
    }
    return kGlyph;
}

enum class Chevron { Up, Down };

// A chevron of two strokes centred in rect, pointing up or down.
void drawChevron(QPainter &painter, const QRectF &rect, Chevron direction, QRgb ink)
{
    const qreal halfWidth = 3.5;
    const qreal halfHeight = 1.75;
    const QPointF centre = rect.center();
    const qreal tip = direction == Chevron::Up ? -halfHeight : halfHeight;
    const QPointF points[]
        = {centre + QPointF(-halfWidth, -tip), centre + QPointF(0, tip), centre + QPointF(halfWidth, -tip)};
    painter.setPen(QPen(QColor::fromRgba(ink), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(points, 3);
    painter.setPen(Qt::NoPen);
}

QImage rotatedLeft(const QImage &image)
{
    return image.transformed(QTransform().rotate(-90));
}

} // namespace

QImage drawPushButton()
{
    struct Look
    {
        QRgb border;
        QRgb fill;
        QRgb ring; // inner focus ring, 0 for none
    };
    const Look looks[] = {
        {kBorder, kWhite, 0},                // normal
        {0xff8fa3b7, kPressedFill, 0},       // pressed
        {kDisabledBorder, kDisabledFill, 0}, // disabled
        {0xff7fb0d8, 0xfff6fafd, 0},         // hot
        {kAccent, kWhite, 0xffa9cdeb},       // focused
    };
    QList<QImage> frames;
    for (const Look &look : looks) {
        QImage layer = newLayer(kButtonFramePx, kButtonFramePx);
        QPainter painter;
        beginSmooth(painter, layer);
        borderedRoundedRect(painter, layer.rect(), 4, look.border, look.fill);
        if (look.ring) {
            borderedRoundedRect(painter, layer.rect().adjusted(1, 1, -1, -1), 3, look.ring, look.fill);
        }
        painter.end();
        frames.append(flatten(layer, kFace));
    }
    return sideBySide(frames);
}

QImage drawCheckBox()
{
    enum class Mark { None, Check, Mixed };
    QList<QImage> frames;
    for (const Mark mark : {Mark::None, Mark::Check, Mark::Mixed}) {
        for (const State state : kStates) {
            QImage layer = newLayer(kBoxPx, kBoxPx);
            QPainter painter;
            beginSmooth(painter, layer);
            if (mark == Mark::None) {
                borderedRoundedRect(painter, layer.rect(), 2.5, boxBorder(state),
                    state == State::Pressed ? kAccentPale
                                            : fieldFill(state == State::Disabled ? State::Disabled : State::Normal));
            } else {
                painter.setBrush(QColor::fromRgba(accentFill(state)));
                painter.drawRoundedRect(QRectF(layer.rect()), 2.5, 2.5);
                if (mark == Mark::Check) {
                    const QPointF points[] = {{3.0, 6.5}, {5.5, 9.0}, {10.0, 4.0}};
                    painter.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                    painter.drawPolyline(points, 3);
                } else {
                    painter.setRenderHint(QPainter::Antialiasing, false);
                    painter.fillRect(QRect(3, 6, 7, 2), Qt::white);
                }
            }
            painter.end();
            frames.append(flatten(layer, kFace));
        }
    }
    return sideBySide(frames);
}

QImage drawRadioButton()
{
    QList<QImage> frames;
    for (const bool checked : {false, true}) {
        for (const State state : kStates) {
            QImage layer = newLayer(kBoxPx, kBoxPx);
            QPainter painter;
            beginSmooth(painter, layer);
            const QRectF circle(layer.rect());
            if (checked) {
                painter.setBrush(QColor::fromRgba(accentFill(state)));
                painter.drawEllipse(circle);
                painter.setBrush(Qt::white);
                painter.drawEllipse(circle.center(), 2.5, 2.5);
            } else {
                painter.setBrush(QColor::fromRgba(boxBorder(state)));
                painter.drawEllipse(circle);
                painter.setBrush(QColor::fromRgba(state == State::Pressed ? kAccentPale
                        : state == State::Disabled                        ? kDisabledFill
                                                                          : kWhite));
                painter.drawEllipse(circle.adjusted(1, 1, -1, -1));
            }
            painter.end();
            frames.append(flatten(layer, kFace));
        }
    }
    return sideBySide(frames);
}

QImage drawComboButton()
{
    // Frame order of combo boxes: normal, pressed, disabled, hot or focused.
    QList<QImage> frames;
    for (const State state : {State::Normal, State::Pressed, State::Disabled, State::Hot}) {
        QImage layer = newLayer(kComboButtonWidthPx, kComboHeightPx);
        QPainter painter;
        beginSmooth(painter, layer);
        // Inside the sunken edge's 1-pixel border: the button face, a separator on its left.
        QPainterPath face;
        face.addRoundedRect(QRectF(0, 1, kComboButtonWidthPx - 1, kComboHeightPx - 2), 2, 2);
        face.addRect(QRectF(0, 1, 3, kComboHeightPx - 2));
        painter.fillPath(face.simplified(), QColor::fromRgba(fieldFill(state)));
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(QRect(0, 4, 1, kComboHeightPx - 8), QColor::fromRgba(kBorderSoft));
        painter.end();
        frames.append(flatten(layer, kWhite));
    }
    return sideBySide(frames);
}

QImage drawSunkEdge()
{
    QList<QImage> frames;
    for (const State state : {State::Normal, State::Pressed, State::Disabled, State::Hot}) {
        const QRgb border = state == State::Disabled ? kDisabledBorder : state == State::Normal ? kBorder : kAccent;
        QImage layer = newLayer(kSunkEdgeWidthPx, kComboHeightPx);
        QPainter painter;
        beginSmooth(painter, layer);
        borderedRoundedRect(painter, layer.rect(), 3, border, state == State::Disabled ? kDisabledFill : kWhite);
        painter.end();
        frames.append(flatten(layer, kFace));
    }
    return sideBySide(frames);
}

QImage drawExtraImages()
{
    QList<QImage> frames;
    for (const State state : {State::Normal, State::Pressed, State::Disabled, State::Hot}) {
        QImage layer = newLayer(kExtraImagePx, kExtraImagePx);
        QPainter painter;
        beginSmooth(painter, layer);
        drawChevron(painter, QRectF(layer.rect()), Chevron::Down, glyphInk(state));
        painter.end();
        frames.append(flatten(layer, kWhite));
    }
    // The size grip: a triangle of dots in the bottom right corner.
    QImage grip = newLayer(kExtraImagePx, kExtraImagePx);
    QPainter painter(&grip);
    for (int row = 0; row < 3; ++row) {
        for (int column = 2 - row; column < 3; ++column) {
            painter.fillRect(QRect(3 + 3 * column, 3 + 3 * row, 2, 2), QColor::fromRgba(kBorder));
        }
    }
    painter.end();
    frames.append(flatten(grip, kFace));
    return sideBySide(frames);
}

UpDownImages drawUpDown(Qt::Orientation orientation)
{
    QList<QImage> buttons;
    QList<QImage> glyphs;
    for (const Chevron arrow : {Chevron::Up, Chevron::Down}) {
        for (const State state : {State::Normal, State::Pressed, State::Disabled, State::Hot}) {
            QImage layer = newLayer(kUpDownLongPx, kUpDownShortPx);
            QPainter painter;
            beginSmooth(painter, layer);
            // Both halves together form one box; the upper half ends in a separator.
            const QRgb border = state == State::Disabled ? kDisabledBorder : kBorder;
            const QRectF box = arrow == Chevron::Up ? QRectF(0, 0, kUpDownLongPx, kUpDownShortPx + 4)
                                                    : QRectF(0, -4, kUpDownLongPx, kUpDownShortPx + 4);
            painter.setClipRect(layer.rect());
            borderedRoundedRect(painter, box.toRect(), 3, border, fieldFill(state));
            painter.setRenderHint(QPainter::Antialiasing, false);
            if (arrow == Chevron::Up) {
                painter.fillRect(QRect(1, kUpDownShortPx - 1, kUpDownLongPx - 2, 1), QColor::fromRgba(kBorderSoft));
            }
            painter.end();
            buttons.append(flatten(layer, kFace));

            QImage glyph = newLayer(kUpDownLongPx, kUpDownShortPx);
            beginSmooth(painter, glyph);
            drawChevron(painter, QRectF(glyph.rect()), arrow, glyphInk(state));
            painter.end();
            glyphs.append(flatten(glyph, fieldFill(state)));
        }
    }
    if (orientation == Qt::Horizontal) {
        for (QImage &frame : buttons) {
            frame = rotatedLeft(frame);
        }
        for (QImage &frame : glyphs) {
            frame = rotatedLeft(frame);
        }
    }
    return {sideBySide(buttons), sideBySide(glyphs)};
}

} // namespace skinart
