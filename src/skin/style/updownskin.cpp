// The halves of an up-down control: frame state + 4 x arrow of UpDown.Vert (or UpDown.Horz for left and right
// arrows) on a button-face background, the same frame of the glyph strip on top.
#include <QPainter>
#include <QStyleOption>

#include "skin/draw/skinpainter.h"
#include "skin/model/skinmetrics.h"
#include "skin/model/skinobjects.h"
#include "skinpainters.h"

namespace UpDownSkin {

int upDownFrame(QStyle::State state, Qt::ArrowType arrow)
{
    int frame = UpDownFrame::kNormal;
    if (!(state & QStyle::State_Enabled)) {
        frame = UpDownFrame::kDisabled;
    } else if (state & (QStyle::State_Sunken | QStyle::State_On)) {
        frame = UpDownFrame::kPressed;
    } else if (state & QStyle::State_MouseOver) {
        frame = UpDownFrame::kHot;
    }
    const bool second = arrow == Qt::DownArrow || arrow == Qt::RightArrow;
    return frame + (second ? UpDownFrame::kSecondArrowOffset : 0);
}

bool drawArrowHalf(const SkinTarget &target, const QStyleOptionToolButton &option, QPainter &painter)
{
    const bool vertical = option.arrowType == Qt::UpArrow || option.arrowType == Qt::DownArrow;
    const std::optional<TDataSkinBorder> &object = vertical ? target.skin->upDownVert : target.skin->upDownHorz;
    if (!object || object->image.isNull() || option.arrowType == Qt::NoArrow) {
        return false;
    }
    const int frame = upDownFrame(option.state, option.arrowType);
    painter.fillRect(option.rect, target.skin->colours.buttonFace);
    SkinPainter skinPainter(painter);
    skinPainter.drawObject(*object, frame, option.rect);
    if (!object->secondImage.isNull()) {
        skinPainter.drawObjectImage(*object, object->secondImage, frame, option.rect);
    }
    return true;
}

} // namespace UpDownSkin
