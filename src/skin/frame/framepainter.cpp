// Frame ring painting.
#include "framepainter.h"

#include <QPainter>

#include "skin/model/skinobjects.h"
#include "titlebarlayout.h"

QRect edgeRect(const FrameFacts &facts, Qt::Edge edge)
{
    const QMargins &m = facts.thickness;
    const int width = facts.size.width();
    const int height = facts.size.height();
    switch (edge) {
    case Qt::LeftEdge:
        return QRect(0, 0, m.left(), height);
    case Qt::RightEdge:
        return QRect(width - m.right(), 0, m.right(), height);
    case Qt::TopEdge:
        return QRect(m.left(), 0, width - m.left() - m.right(), m.top());
    case Qt::BottomEdge:
        return QRect(m.left(), height - m.bottom(), width - m.left() - m.right(), m.bottom());
    }
    return {};
}

void paintEdge(QPainter &painter, const std::optional<TDataSkinBorder> &edge, const QRect &target,
    FrameStacking stacking, bool active)
{
    if (!edge || edge->image.isNull() || target.isEmpty()) {
        return;
    }
    const int index = active || edge->frameCount < FrameLook::kInactive ? FrameLook::kActive : FrameLook::kInactive;
    drawNineSlice(painter, target, edge->image, frameRect(edge->image.size(), edge->frameCount, index, stacking),
        marginsOf(*edge), edge->tile == 1, edge->trans != 0);
}

int buttonFrameIndex(const TDataSkinSysButton &button, int state, bool active)
{
    int index = state;
    if (!active) {
        index = button.frameCount >= TitleButtonFrame::kInactive ? TitleButtonFrame::kInactive
                                                                 : TitleButtonFrame::kNormal;
    }
    return index >= 1 && index <= button.frameCount ? index : TitleButtonFrame::kNormal;
}

QFont captionFontFor(const SkinObjects &skin, QFont font)
{
    if (skin.title.fontHeight > 0) {
        font.setPixelSize(skin.title.fontHeight);
    }
    return font;
}

namespace {

void paintCaption(QPainter &painter, const SkinObjects &skin, const FrameFacts &facts, const TitleBarLayout &layout,
    const QFont &font)
{
    const TDataSkinTitle &look = skin.title;
    painter.save();
    painter.setClipRect(layout.captionClip);
    if (!look.image.isNull()) {
        const int index
            = facts.active || look.frameCount < FrameLook::kInactive ? FrameLook::kActive : FrameLook::kInactive;
        drawNineSlice(painter, layout.captionRect, look.image,
            frameRect(look.image.size(), std::max(1, look.frameCount), index, FrameStacking::Stacked),
            SliceMargins {look.txtBackLeft, 0, look.txtBackRight, 0}, look.tile == 1, true);
    }
    painter.setFont(font);
    painter.setPen(facts.active ? skin.colours.titleTextActive : skin.colours.titleTextNoActive);
    const Qt::Alignment horizontal = facts.rightToLeft ? Qt::AlignRight : Qt::AlignLeft;
    painter.drawText(layout.textRect, int(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), layout.text);
    painter.restore();
}

void paintButtons(QPainter &painter, const SkinObjects &skin, const FrameFacts &facts, const TitleBarLayout &layout,
    const ButtonStateOf &stateOf, const QImage &icon)
{
    for (const TitleButtonPlace &place : layout.buttons) {
        const TDataSkinSysButton &button = skin.sysButtons[size_t(place.button)];
        if (isIconAction(button.action)) {
            if (!icon.isNull()) {
                painter.drawImage(place.rect, icon);
            }
            continue;
        }
        const int index = buttonFrameIndex(button, stateOf ? stateOf(place.button) : kButtonNormal, facts.active);
        const QRect source = frameRect(button.image.size(), button.frameCount, index, FrameStacking::SideBySide);
        painter.drawImage(place.rect, keyedOut(button.image.copy(source)));
    }
}

} // namespace

void paintFrame(QPainter &painter, const SkinObjects &skin, const FrameFacts &facts, const TitleBarLayout &layout,
    const ButtonStateOf &stateOf, const QImage &icon, const QFont &font)
{
    const SkinImageScaling scaling(painter);
    paintEdge(painter, skin.left, edgeRect(facts, Qt::LeftEdge), FrameStacking::SideBySide, facts.active);
    paintEdge(painter, skin.right, edgeRect(facts, Qt::RightEdge), FrameStacking::SideBySide, facts.active);
    paintEdge(painter, skin.bottom, edgeRect(facts, Qt::BottomEdge), FrameStacking::Stacked, facts.active);
    paintEdge(painter, skin.top, edgeRect(facts, Qt::TopEdge), FrameStacking::Stacked, facts.active);
    paintCaption(painter, skin, facts, layout, font);
    paintButtons(painter, skin, facts, layout, stateOf, icon);
}
