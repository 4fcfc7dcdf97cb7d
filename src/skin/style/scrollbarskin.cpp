// Scroll bars from the skin: arrows from the 23-frame Scrollbar image, the track from HorzScroll or VertScroll
// (its unavailable frame when the bar is), the thumb from HorzScrollThumb or VertScrollThumb with its grip, hot
// and pressed frames for the zone under the cursor. Positions along the bar run from its start: left to right
// (right to left for right-to-left bars) or top to bottom.
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOption>

#include "scrollbargeometry.h"
#include "skin/draw/skinpainter.h"
#include "skin/model/skinmetrics.h"
#include "skin/model/skinobjects.h"
#include "skinpainters.h"

namespace {

constexpr int kArrowFrame[2][2] = {{ScrollFrame::kArrowUp, ScrollFrame::kArrowDown},
    {ScrollFrame::kArrowLeft, ScrollFrame::kArrowRight}};                                 // [horizontal][second arrow]
constexpr int kGripFrame[2] = {ScrollFrame::kGripVertical, ScrollFrame::kGripHorizontal}; // [horizontal]

// A press on the thumb and the cursor's movement along the bar since; lives on the scroll bar.
class ThumbDrag : public QObject
{
public:
    using QObject::QObject;

    bool active = false;
    int startPx = 0;
    int pressPx = 0;
    int movedPx = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

ThumbDrag *thumbDragOf(const QWidget *widget)
{
    return widget ? widget->findChild<ThumbDrag *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

struct Bar
{
    QRect rect;
    bool horizontal = false;
    bool rightToLeft = false;
    int thicknessPx = 0;
    ScrollBarLayout layout;

    int along(QPoint point) const
    {
        if (!horizontal) {
            return point.y() - rect.top();
        }
        return rightToLeft ? rect.right() - point.x() : point.x() - rect.left();
    }
    // The part [start, end) along the bar, across its thickness.
    QRect part(int start, int end) const
    {
        if (!horizontal) {
            return QRect(rect.left(), rect.top() + start, thicknessPx, end - start);
        }
        const int left = rightToLeft ? rect.right() + 1 - end : rect.left() + start;
        return QRect(left, rect.top(), end - start, thicknessPx);
    }
};

bool hasArrows(const SkinTarget &target)
{
    return target.skin->scrollbar && !target.skin->scrollbar->image.isNull();
}

Bar barOf(
    const SkinTarget &target, const QStyleOptionSlider &option, const QWidget *widget, int arrowPx, int minThumbPx)
{
    Bar bar;
    bar.rect = option.rect;
    bar.horizontal = option.orientation == Qt::Horizontal;
    bar.rightToLeft = bar.horizontal && option.direction == Qt::RightToLeft;
    const int across = bar.horizontal ? option.rect.height() : option.rect.width();
    bar.thicknessPx = std::min(across, ScrollBarSkin::thickness(target, arrowPx));
    const ScrollRange range {option.minimum, option.maximum, option.pageStep, option.sliderPosition,
        bar.horizontal ? option.upsideDown != bar.rightToLeft : option.upsideDown};
    const int length = bar.horizontal ? option.rect.width() : option.rect.height();
    const ThumbDrag *drag = thumbDragOf(widget);
    if (drag && drag->active) {
        bar.layout = scrollBarLayout(length, arrowPx, range, minThumbPx, drag->startPx, drag->movedPx);
    } else {
        bar.layout = scrollBarLayout(length, arrowPx, range, minThumbPx);
    }
    return bar;
}

QStyle::SubControl subControlOf(ScrollZone zone)
{
    switch (zone) {
    case ScrollZone::FirstArrow:
        return QStyle::SC_ScrollBarSubLine;
    case ScrollZone::SecondArrow:
        return QStyle::SC_ScrollBarAddLine;
    case ScrollZone::TrackBefore:
        return QStyle::SC_ScrollBarSubPage;
    case ScrollZone::TrackAfter:
        return QStyle::SC_ScrollBarAddPage;
    case ScrollZone::Thumb:
        return QStyle::SC_ScrollBarSlider;
    }
    return QStyle::SC_None;
}

bool ThumbDrag::eventFilter(QObject *watched, QEvent *event)
{
    auto *scrollBar = qobject_cast<QScrollBar *>(watched);
    if (!scrollBar) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QStyleOptionSlider option = ScrollBarSkin::optionOf(*scrollBar);
        const QPoint point = mouse->position().toPoint();
        active = false;
        const QRect thumb
            = scrollBar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, scrollBar);
        if (mouse->button() == Qt::LeftButton && thumb.contains(point)) {
            const bool horizontal = option.orientation == Qt::Horizontal;
            const bool rightToLeft = horizontal && option.direction == Qt::RightToLeft;
            pressPx = horizontal ? (rightToLeft ? -point.x() : point.x()) : point.y();
            startPx = horizontal ? (rightToLeft ? option.rect.right() - thumb.right() : thumb.left()) : thumb.top();
            movedPx = 0;
            active = true;
        }
        break;
    }
    case QEvent::MouseMove:
        if (active) {
            const QPoint point = static_cast<QMouseEvent *>(event)->position().toPoint();
            const bool horizontal = scrollBar->orientation() == Qt::Horizontal;
            const bool rightToLeft = horizontal && scrollBar->layoutDirection() == Qt::RightToLeft;
            movedPx = (horizontal ? (rightToLeft ? -point.x() : point.x()) : point.y()) - pressPx;
        }
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::Hide:
        if (active) {
            active = false;
            scrollBar->update();
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace

namespace ScrollBarSkin {

QStyleOptionSlider optionOf(const QScrollBar &bar)
{
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = bar.sliderPosition();
    option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    option.upsideDown = bar.invertedAppearance();
    if (bar.orientation() == Qt::Horizontal) {
        option.state |= QStyle::State_Horizontal;
    }
    return option;
}

int thickness(const SkinTarget &target, int arrowPx)
{
    return hasArrows(target) ? scrollBarThickness(target.skin->scrollbar->image.height(), arrowPx) : arrowPx;
}

bool drawScrollBar(const SkinTarget &target, const QStyleOptionSlider &option, QPainter &painter, const QWidget *widget,
    int arrowPx, int minThumbPx)
{
    if (!hasArrows(target)) {
        return false;
    }
    const SkinObjects &skin = *target.skin;
    const Bar bar = barOf(target, option, widget, arrowPx, minThumbPx);
    const ScrollBarLayout &layout = bar.layout;
    const bool unavailable = !(option.state & QStyle::State_Enabled) || option.maximum <= option.minimum;
    const bool pressed = option.state & QStyle::State_Sunken;
    const QStyle::SubControls hot = option.activeSubControls;
    SkinPainter skinPainter(painter);
    painter.fillRect(option.rect, skin.colours.buttonFace);

    const std::optional<TDataSkinObject> &track = bar.horizontal ? skin.horzScroll : skin.vertScroll;
    if (track && !track->image.isNull()) {
        skinPainter.drawObject(*track, unavailable ? ScrollFrame::kTrackUnavailable : ScrollFrame::kTrackNormal,
            bar.part(layout.arrowPx, layout.lengthPx - layout.arrowPx));
    }

    const TDataSkinObject &arrows = *skin.scrollbar;
    const int arrowLength = layout.paintedArrowPx();
    for (int second = 0; second < 2; ++second) {
        const QStyle::SubControl zone = second ? QStyle::SC_ScrollBarAddLine : QStyle::SC_ScrollBarSubLine;
        int frame = kArrowFrame[bar.horizontal][second];
        if (hot & zone) {
            frame += pressed ? ScrollFrame::kArrowPressedOffset : ScrollFrame::kArrowHotOffset;
        }
        const QRect rect = second ? bar.part(layout.lengthPx - arrowLength, layout.lengthPx) : bar.part(0, arrowLength);
        skinPainter.drawStretched(arrows.image, arrows.frameCount, frame, rect);
    }

    const std::optional<TDataSkinObject> &thumb = bar.horizontal ? skin.horzScrollThumb : skin.vertScrollThumb;
    const bool insideBar = layout.thumbStartPx >= 0 && layout.thumbEndPx <= layout.lengthPx;
    if (unavailable || !insideBar) {
        return true;
    }
    const bool hotThumb = hot & QStyle::SC_ScrollBarSlider;
    if (thumb && !thumb->image.isNull()) {
        const int frame
            = hotThumb ? (pressed ? ScrollFrame::kThumbPressed : ScrollFrame::kThumbHot) : ScrollFrame::kThumbNormal;
        skinPainter.drawObject(*thumb, frame, bar.part(layout.thumbStartPx, layout.thumbEndPx));
    }
    const int grip = arrows.image.height();
    if (grip < layout.thumbLengthPx() + 2) {
        const int start = layout.thumbStartPx + (layout.thumbLengthPx() - grip) / 2;
        if (start >= 0 && start + grip <= layout.lengthPx) {
            const int frame = kGripFrame[bar.horizontal]
                + (hotThumb ? (pressed ? ScrollFrame::kGripPressedOffset : ScrollFrame::kGripHotOffset) : 0);
            skinPainter.drawStretched(arrows.image, arrows.frameCount, frame, bar.part(start, start + grip));
        }
    }
    return true;
}

QRect scrollBarRect(const SkinTarget &target, const QStyleOptionSlider &option, QStyle::SubControl part,
    const QWidget *widget, int arrowPx, int minThumbPx)
{
    if (!hasArrows(target)) {
        return {};
    }
    const Bar bar = barOf(target, option, widget, arrowPx, minThumbPx);
    const ScrollBarLayout &layout = bar.layout;
    const int trackEnd = std::max(layout.lengthPx - layout.arrowPx, layout.arrowPx);
    switch (part) {
    case QStyle::SC_ScrollBarSubLine:
        return bar.part(0, std::min(layout.arrowPx, layout.lengthPx));
    case QStyle::SC_ScrollBarAddLine:
        return bar.part(std::max(layout.lengthPx - layout.arrowPx, 0), layout.lengthPx);
    case QStyle::SC_ScrollBarSubPage:
        return bar.part(layout.arrowPx, layout.thumbStartPx);
    case QStyle::SC_ScrollBarAddPage:
        return bar.part(layout.thumbEndPx, trackEnd);
    case QStyle::SC_ScrollBarSlider:
        return bar.part(layout.thumbStartPx, layout.thumbEndPx);
    case QStyle::SC_ScrollBarGroove:
        return bar.part(layout.arrowPx, trackEnd);
    default:
        return {};
    }
}

QStyle::SubControl hitTest(const SkinTarget &target, const QStyleOptionSlider &option, const QPoint &point,
    const QWidget *widget, int arrowPx, int minThumbPx)
{
    if (!hasArrows(target) || !option.rect.contains(point)) {
        return QStyle::SC_None;
    }
    const Bar bar = barOf(target, option, widget, arrowPx, minThumbPx);
    return subControlOf(scrollZoneAt(bar.layout, bar.along(point)));
}

void trackThumbDrags(QWidget *scrollBar)
{
    if (!thumbDragOf(scrollBar)) {
        scrollBar->installEventFilter(new ThumbDrag(scrollBar));
    }
}

} // namespace ScrollBarSkin
