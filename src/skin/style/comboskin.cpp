// Combo boxes: ComboButton style 1 (a frame in the button-shadow colour, the ComboButton frame in the button
// area), style 2 (the composed strip over the whole control) and the SunkEdge form (SunkEdge over the control,
// the ComboButton frame in the button area with the ExtraImages frame centred on it).
#include <QPainter>
#include <QStyleOption>

#include "skin/draw/skinpainter.h"
#include "skin/model/skinmetrics.h"
#include "skin/model/skinobjects.h"
#include "skinpainters.h"
#include "stylemetrics.h"

namespace {

constexpr int kStyleButton = 1;
constexpr int kStyleStrip = 2;
using ComboMetrics::kBorderPx;

int buttonFrameWidth(const TDataSkinObject &button)
{
    return button.image.width() / std::max(button.frameCount, 1);
}

// The button area at the right end (left end for right-to-left controls), inside the border.
QRect buttonArea(const SkinTarget &target, const QStyleOptionComboBox &option, int arrowPx)
{
    const TDataSkinBorder &button = *target.skin->comboButton;
    const QRect &r = option.rect;
    QRect area;
    switch (button.style) {
    case kStyleButton:
        area = QRect(r.right() + 1 - kBorderPx - buttonFrameWidth(button), r.top() + kBorderPx,
            buttonFrameWidth(button), r.height() - 2 * kBorderPx);
        break;
    case kStyleStrip:
        area = QRect(r.right() + 1 - button.rightWidth, r.top(), button.rightWidth, r.height());
        break;
    default: {
        const int width = arrowPx + 2;
        area = QRect(r.right() + 1 - kBorderPx - width, r.top() + kBorderPx, width, r.height() - 2 * kBorderPx);
        break;
    }
    }
    return QStyle::visualRect(option.direction, r, area);
}

void drawStyleButton(
    const SkinTarget &target, const QStyleOptionComboBox &option, QPainter &painter, int frame, int arrowPx)
{
    const SkinObjects &skin = *target.skin;
    const QBrush background = option.palette.brush(QPalette::Base);
    painter.fillRect(option.rect, skin.colours.buttonShadow);
    painter.fillRect(option.rect.adjusted(1, 1, -1, -1), background);
    const QRect area = buttonArea(target, option, arrowPx);
    painter.fillRect(area, background);
    const TDataSkinBorder &button = *skin.comboButton;
    const int height = std::min(button.image.height(), area.height());
    const QRect image(area.left(), area.top() + (area.height() - height) / 2, area.width(), height);
    SkinPainter(painter).drawStretched(button.image, button.frameCount, frame, image);
}

void drawStrip(const SkinTarget &target, const QStyleOptionComboBox &option, QPainter &painter, int frame)
{
    const SkinObjects &skin = *target.skin;
    painter.fillRect(option.rect, option.palette.brush(QPalette::Base));
    if (option.direction == Qt::RightToLeft && skin.sunkEdge) {
        SkinPainter(painter).drawObject(*skin.sunkEdge, frame, option.rect);
    } else {
        SkinPainter(painter).drawObject(*skin.comboButton, frame, option.rect);
    }
}

void drawSunkEdge(
    const SkinTarget &target, const QStyleOptionComboBox &option, QPainter &painter, int frame, int arrowPx)
{
    const SkinObjects &skin = *target.skin;
    SkinPainter skinPainter(painter);
    painter.fillRect(option.rect, option.palette.brush(QPalette::Base));
    if (skin.sunkEdge) {
        skinPainter.drawObject(*skin.sunkEdge, frame, option.rect);
    } else {
        painter.setPen(skin.colours.buttonShadow);
        painter.drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    const QRect area = buttonArea(target, option, arrowPx);
    skinPainter.drawObject(*skin.comboButton, frame, area);
    if (skin.extraImages && !skin.extraImages->image.isNull()) {
        const TDataSkinObject &extra = *skin.extraImages;
        const QSize size(buttonFrameWidth(extra), extra.image.height());
        const QRect centred(area.center() - QPoint(size.width() / 2, size.height() / 2), size);
        skinPainter.drawStretched(extra.image, extra.frameCount, frame, centred);
    }
}

} // namespace

namespace ComboSkin {

int comboFrame(QStyle::State state)
{
    if (!(state & QStyle::State_Enabled)) {
        return ComboFrame::kDisabled;
    }
    if (state & (QStyle::State_On | QStyle::State_Sunken)) {
        return ComboFrame::kPressed;
    }
    if (state & (QStyle::State_HasFocus | QStyle::State_MouseOver)) {
        return ComboFrame::kHot;
    }
    return ComboFrame::kNormal;
}

bool drawCombo(const SkinTarget &target, const QStyleOptionComboBox &option, QPainter &painter, int arrowPx)
{
    const SkinObjects &skin = *target.skin;
    if (!skin.comboButton || skin.comboButton->image.isNull() || !(option.subControls & QStyle::SC_ComboBoxArrow)) {
        return false;
    }
    const int frame = comboFrame(option.state);
    painter.save();
    switch (skin.comboButton->style) {
    case kStyleButton:
        drawStyleButton(target, option, painter, frame, arrowPx);
        break;
    case kStyleStrip:
        drawStrip(target, option, painter, frame);
        break;
    default:
        drawSunkEdge(target, option, painter, frame, arrowPx);
        break;
    }
    painter.restore();
    return true;
}

QRect comboRect(const SkinTarget &target, const QStyleOptionComboBox &option, QStyle::SubControl part, int arrowPx)
{
    const SkinObjects &skin = *target.skin;
    if (!skin.comboButton || skin.comboButton->image.isNull()) {
        return {};
    }
    const QRect &r = option.rect;
    switch (part) {
    case QStyle::SC_ComboBoxFrame:
        return r;
    case QStyle::SC_ComboBoxArrow:
        return buttonArea(target, option, arrowPx);
    case QStyle::SC_ComboBoxEditField: {
        const QRect button = buttonArea(target, option, arrowPx);
        const QRect field(r.left() + kBorderPx + 1, r.top() + kBorderPx, r.width() - button.width() - 2 * kBorderPx - 1,
            r.height() - 2 * kBorderPx);
        return QStyle::visualRect(option.direction, r, field);
    }
    default:
        return {};
    }
}

} // namespace ComboSkin
