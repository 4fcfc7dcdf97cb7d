// Push buttons from the Buttons image, check boxes and radio buttons from its check and radio images.
#include <QPainter>
#include <QStyleOption>
#include <QWidget>

#include "skin/draw/skinpainter.h"
#include "skin/model/skinmetrics.h"
#include "skin/model/skinobjects.h"
#include "skinpainters.h"
#include "stylemetrics.h"

namespace {

using namespace ButtonMetrics;

bool hasImage(const SkinObjects &skin)
{
    return skin.buttons && !skin.buttons->image.isNull();
}

QColor captionColour(const SkinObjects &skin, const QStyleOptionButton &option, int frame)
{
    const TDataSkinButton &buttons = *skin.buttons;
    if (frame == ButtonFrame::kDisabled) {
        return skin.colours.buttonShadow;
    }
    if (frame == ButtonFrame::kNormal && buttons.hasNormalColour2) {
        return buttons.normalColour2;
    }
    if (frame == ButtonFrame::kHot && buttons.hasMouseOverColour2) {
        return buttons.mouseOverColour2;
    }
    if (frame == ButtonFrame::kPressed && buttons.hasPressedColour2) {
        return buttons.pressedColour2;
    }
    return option.palette.color(QPalette::Active, QPalette::ButtonText);
}

} // namespace

namespace ButtonSkin {

int buttonFrame(QStyle::State state)
{
    if (!(state & QStyle::State_Enabled)) {
        return ButtonFrame::kDisabled;
    }
    if (state & (QStyle::State_Sunken | QStyle::State_On)) {
        return ButtonFrame::kPressed;
    }
    if (state & QStyle::State_MouseOver) {
        return ButtonFrame::kHot;
    }
    if (state & QStyle::State_HasFocus) {
        return ButtonFrame::kFocused;
    }
    return ButtonFrame::kNormal;
}

int checkBoxFrame(QStyle::State state, int frameCount)
{
    const bool enabled = state & QStyle::State_Enabled;
    if (state & QStyle::State_NoChange) {
        if (frameCount == BoxFrame::kWideCheckCount) {
            return enabled ? BoxFrame::kWideIndeterminate : BoxFrame::kWideIndeterminateDisabled;
        }
        return BoxFrame::kIndeterminate;
    }
    const int frame = (state & QStyle::State_On ? BoxFrame::kChecked : BoxFrame::kUnchecked)
        + (enabled ? 0 : BoxFrame::kDisabledOffset);
    return frameCount == BoxFrame::kWideCheckCount ? BoxFrame::kWideOrder[frame] : frame;
}

int radioFrame(QStyle::State state, int frameCount)
{
    const int frame = (state & QStyle::State_On ? BoxFrame::kChecked : BoxFrame::kUnchecked)
        + (state & QStyle::State_Enabled ? 0 : BoxFrame::kDisabledOffset);
    return frameCount == BoxFrame::kWideRadioCount ? BoxFrame::kWideOrder[frame] : frame;
}

QString buttonCaption(const QString &text)
{
    QString caption = text;
    return caption.replace(QLatin1String("||"), QLatin1String("\n"));
}

bool drawPushButton(const SkinTarget &target, const QStyleOptionButton &option, QPainter &painter,
    const QWidget *widget, const QStyle &style)
{
    const SkinObjects &skin = *target.skin;
    if (!hasImage(skin)) {
        return false;
    }
    const int frame = buttonFrame(option.state);
    const bool transparent
        = target.source->transparentButtons || (widget && controlTag(*widget) == kTransparentButtonTag);
    if (!transparent) {
        painter.fillRect(option.rect, skin.colours.buttonFace);
    }
    SkinPainter(painter).drawObject(*skin.buttons, frame, option.rect);

    const QRect textArea
        = option.rect.adjusted(kCaptionMarginPx, kCaptionMarginPx, -kCaptionMarginPx, -kCaptionMarginPx);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap
        | (style.styleHint(QStyle::SH_UnderlineShortcut, &option, widget) ? Qt::TextShowMnemonic
                                                                          : Qt::TextHideMnemonic);
    const QString caption = buttonCaption(option.text);
    painter.setPen(captionColour(skin, option, frame));
    QRect textBounds;
    painter.drawText(textArea, flags, caption, &textBounds);

    if ((option.state & QStyle::State_HasFocus) && !target.source->noFocusRect && !caption.isEmpty()) {
        // Fusion draws focus rectangles only after keyboard navigation; the skin always does.
        const QRect focus = textBounds.adjusted(-kFocusOutsetPx, -kFocusOutsetPx, kFocusOutsetPx, kFocusOutsetPx)
                                .intersected(option.rect);
        painter.setPen(QPen(painter.pen().color(), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(focus.adjusted(0, 0, -1, -1));
    }
    return true;
}

QSize indicatorSize(const SkinTarget &target, bool radio)
{
    const SkinObjects &skin = *target.skin;
    if (!skin.buttons) {
        return {};
    }
    const QImage &image = radio ? skin.buttons->radioImage : skin.buttons->checkImage;
    const int frames = radio ? skin.buttons->radioFrameCount : skin.buttons->checkFrameCount;
    if (image.isNull() || frames < 1) {
        return {};
    }
    return {image.width() / frames, image.height()};
}

bool drawIndicator(const SkinTarget &target, const QStyleOption &option, QPainter &painter, bool radio)
{
    const QSize size = indicatorSize(target, radio);
    if (size.isEmpty()) {
        return false;
    }
    const TDataSkinButton &buttons = *target.skin->buttons;
    const int frames = radio ? buttons.radioFrameCount : buttons.checkFrameCount;
    const int frame = radio ? radioFrame(option.state, frames) : checkBoxFrame(option.state, frames);
    const QImage pixels = SkinPainter::frame(radio ? buttons.radioImage : buttons.checkImage, frames, frame, true);
    const QRect box(QPoint(option.rect.left(), option.rect.top() + (option.rect.height() - size.height()) / 2), size);
    const SkinImageScaling scaling(painter);
    painter.drawImage(box, pixels);
    return true;
}

bool drawLabel(const SkinTarget &target, const QStyleOptionButton &option, QPainter &painter, const QStyle &style)
{
    const SkinObjects &skin = *target.skin;
    if (indicatorSize(target, target.kind == SkinKind::RadioButton).isEmpty()) {
        return false;
    }
    const QColor colour = option.state & QStyle::State_Enabled
        ? option.palette.color(QPalette::Active, QPalette::WindowText)
        : skin.colours.buttonShadow;
    painter.setPen(colour);
    const int flags = int(QStyle::visualAlignment(option.direction, Qt::AlignLeft | Qt::AlignVCenter))
        | (style.styleHint(QStyle::SH_UnderlineShortcut, &option) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic);
    painter.drawText(option.rect, flags, option.text);
    return true;
}

} // namespace ButtonSkin
