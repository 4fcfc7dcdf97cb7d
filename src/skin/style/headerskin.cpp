// The list view's header from the Headerbar image: the hot frame for the section under the cursor, the normal one
// otherwise and right of the last section; the text aligned as the section says.
#include <QPainter>
#include <QStyleOption>

#include "skin/draw/skinpainter.h"
#include "skin/model/skinmetrics.h"
#include "skin/model/skinobjects.h"
#include "skinpainters.h"

namespace {

bool hasHeaderbar(const SkinTarget &target)
{
    return target.skin->headerbar && !target.skin->headerbar->image.isNull();
}

} // namespace

namespace HeaderSkin {

bool drawSection(const SkinTarget &target, const QStyleOptionHeader &option, QPainter &painter)
{
    if (!hasHeaderbar(target)) {
        return false;
    }
    const bool hot = (option.state & QStyle::State_MouseOver) && (option.state & QStyle::State_Enabled);
    SkinPainter(painter).drawObject(
        *target.skin->headerbar, hot ? HeaderFrame::kHot : HeaderFrame::kNormal, option.rect);
    return true;
}

bool drawLabel(const SkinTarget &target, const QStyleOptionHeader &option, QPainter &painter)
{
    if (!hasHeaderbar(target)) {
        return false;
    }
    if (option.text.isEmpty()) {
        return true;
    }
    painter.save();
    painter.setPen(option.state & QStyle::State_Enabled ? option.palette.color(QPalette::Active, QPalette::WindowText)
                                                        : target.skin->colours.buttonShadow);
    Qt::Alignment alignment = Qt::AlignLeft;
    if (option.textAlignment & Qt::AlignRight) {
        alignment = Qt::AlignRight;
    } else if (option.textAlignment & Qt::AlignHCenter) {
        alignment = Qt::AlignHCenter;
    }
    const QRect &area = option.rect;
    const QString text = painter.fontMetrics().elidedText(option.text, Qt::ElideRight, area.width());
    painter.drawText(area, int(QStyle::visualAlignment(option.direction, alignment | Qt::AlignVCenter)), text);
    painter.restore();
    return true;
}

bool drawEmptyArea(const SkinTarget &target, const QStyleOption &option, QPainter &painter)
{
    if (!hasHeaderbar(target)) {
        return false;
    }
    SkinPainter(painter).drawObject(*target.skin->headerbar, HeaderFrame::kNormal, option.rect);
    return true;
}

} // namespace HeaderSkin
