// Edits (a button-shadow line and two white lines inside), the flat frame of lists, and group boxes (a
// rounded rectangle with the caption on a button-face background), all from the skin's colours.
#include <QPainter>
#include <QStyleOption>

#include "skin/model/skinobjects.h"
#include "skinpainters.h"
#include "stylemetrics.h"

namespace {

using namespace BoxMetrics;

void outline(QPainter &painter, const QRect &rect, const QColor &colour)
{
    painter.setPen(colour);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
}

} // namespace

namespace BoxSkin {

bool drawEditPanel(const SkinTarget &target, const QStyleOptionFrame &option, QPainter &painter)
{
    if (option.lineWidth <= 0) {
        return false;
    }
    painter.save();
    painter.fillRect(option.rect, option.palette.brush(QPalette::Base));
    outline(painter, option.rect, target.skin->colours.buttonShadow);
    outline(painter, option.rect.adjusted(1, 1, -1, -1), Qt::white);
    outline(painter, option.rect.adjusted(2, 2, -2, -2), Qt::white);
    painter.restore();
    return true;
}

bool drawListFrame(const SkinTarget &target, const QStyleOptionFrame &option, QPainter &painter)
{
    if (option.frameShape == QFrame::NoFrame) {
        return false;
    }
    painter.save();
    outline(painter, option.rect, target.skin->colours.buttonShadow);
    outline(painter, option.rect.adjusted(1, 1, -1, -1), target.skin->colours.buttonFace);
    painter.restore();
    return true;
}

QRect groupBoxRect(const QStyleOptionGroupBox &option, QStyle::SubControl part)
{
    const QFontMetrics metrics = option.fontMetrics;
    const int captionHeight = metrics.height();
    const QRect &r = option.rect;
    switch (part) {
    case QStyle::SC_GroupBoxFrame:
        return r.adjusted(0, captionHeight / 2, 0, 0);
    case QStyle::SC_GroupBoxContents:
        return r.adjusted(1, captionHeight, -1, -1);
    case QStyle::SC_GroupBoxLabel: {
        const int width = std::min(metrics.horizontalAdvance(option.text) + 1, r.width() - 2 * kGroupCaptionIndentPx);
        const bool right = option.textAlignment & Qt::AlignRight;
        const QRect label(right ? r.right() + 1 - kGroupCaptionIndentPx - width : r.left() + kGroupCaptionIndentPx,
            r.top(), std::max(width, 0), captionHeight);
        return QStyle::visualRect(option.direction, r, label);
    }
    default:
        return {};
    }
}

bool drawGroupBox(const SkinTarget &target, const QStyleOptionGroupBox &option, QPainter &painter)
{
    if (option.subControls & QStyle::SC_GroupBoxCheckBox) {
        return false;
    }
    const SkinColours &colours = target.skin->colours;
    painter.save();
    painter.fillRect(option.rect, colours.buttonFace);
    const QRect frame = groupBoxRect(option, QStyle::SC_GroupBoxFrame);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(colours.buttonShadow);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), kGroupCornerPx, kGroupCornerPx);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (!option.text.isEmpty()) {
        const QRect label = groupBoxRect(option, QStyle::SC_GroupBoxLabel);
        painter.fillRect(label, colours.buttonFace);
        painter.setPen(option.state & QStyle::State_Enabled
                ? option.palette.color(QPalette::Active, QPalette::WindowText)
                : colours.buttonShadow);
        painter.drawText(
            label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, option.text);
    }
    painter.restore();
    return true;
}

} // namespace BoxSkin
