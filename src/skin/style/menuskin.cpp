// Popup menus: the menu window's background from MenuBackground (nine-sliced over the whole window), items from
// MenuItem (the selected or normal frame) with the glyph area, check marks, text and shortcut placed as the
// skin engine places them.
#include <QPainter>
#include <QStyleOption>
#include <qdrawutil.h>

#include "skin/draw/skinpainter.h"
#include "skin/model/skinmetrics.h"
#include "skin/model/skinobjects.h"
#include "skinpainters.h"
#include "stylemetrics.h"

namespace {

using namespace MenuMetrics;

bool hasMenuItem(const SkinTarget &target)
{
    return target.skin->menuItem && !target.skin->menuItem->image.isNull();
}

bool hasBackground(const SkinTarget &target)
{
    return target.skin->menuBackground && !target.skin->menuBackground->image.isNull();
}

bool hasImageList(const QStyleOptionMenuItem &option)
{
    return option.maxIconWidth > 0;
}

int glyphWidth(const QStyleOptionMenuItem &option)
{
    if (hasImageList(option)) {
        return kGlyphPx;
    }
    return option.checked || option.menuHasCheckableItems ? kGlyphPx : 0;
}

QColor textColour(const SkinColours &colours, const QStyleOptionMenuItem &option)
{
    if (!(option.state & QStyle::State_Enabled)) {
        // A shadow colour equal to the text would hide the state; the platform's shadow then.
        return colours.buttonShadow == colours.menuText ? option.palette.color(QPalette::Dark) : colours.buttonShadow;
    }
    return option.state & QStyle::State_Selected ? colours.hilightText : colours.menuText;
}

void drawCheckMark(QPainter &painter, const QRect &area, const QColor &colour, bool exclusive)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c = QRectF(area).center();
    if (exclusive) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(c, 3, 3);
    } else {
        painter.setPen(QPen(colour, 2));
        painter.drawPolyline(QPolygonF({c + QPointF(-4, 0), c + QPointF(-1.5, 3), c + QPointF(4, -3.5)}));
    }
    painter.restore();
}

void drawGlyph(QPainter &painter, const SkinColours &colours, const QStyleOptionMenuItem &option, const QRect &area)
{
    const bool enabled = option.state & QStyle::State_Enabled;
    if (!option.icon.isNull()) {
        if (option.checked) {
            painter.fillRect(area, colours.buttonFace);
            painter.fillRect(area, QBrush(colours.buttonHilight, Qt::Dense4Pattern));
            qDrawShadePanel(&painter, area, option.palette, true, 1);
        }
        option.icon.paint(&painter, area, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);
    } else if (option.checked) {
        drawCheckMark(painter, area, colours.buttonText, option.checkType == QStyleOptionMenuItem::Exclusive);
    }
}

} // namespace

namespace MenuSkin {

bool drawPanel(const SkinTarget &target, const QStyleOption &option, QPainter &painter)
{
    if (!hasBackground(target)) {
        return false;
    }
    SkinPainter(painter).drawObject(*target.skin->menuBackground, MenuFrame::kBackground, option.rect);
    return true;
}

bool drawItem(const SkinTarget &target, const QStyleOptionMenuItem &option, QPainter &painter, const QStyle &style,
    const QWidget *widget)
{
    if (!hasMenuItem(target)) {
        return false;
    }
    const SkinObjects &skin = *target.skin;
    const QRect &r = option.rect;
    painter.save();
    if (!hasBackground(target)) {
        painter.fillRect(r, skin.colours.menu);
    }
    if (option.menuItemType == QStyleOptionMenuItem::Separator) {
        // Etched: a shadow line over a highlight line.
        painter.fillRect(QRect(r.left(), r.top() + kSeparatorLinePx, r.width(), 1), skin.colours.buttonShadow);
        painter.fillRect(QRect(r.left(), r.top() + kSeparatorLinePx + 1, r.width(), 1), skin.colours.buttonHilight);
        painter.restore();
        return true;
    }
    const bool selected = option.state & QStyle::State_Selected;
    SkinPainter(painter).drawObject(*skin.menuItem, selected ? MenuFrame::kItemSelected : MenuFrame::kItemNormal, r);

    const int glyph = glyphWidth(option);
    const QRect glyphArea(
        r.left() + kGlyphInsetPx + skin.menuItem->leftWidth, r.top() + (r.height() - glyph) / 2, glyph, glyph);
    drawGlyph(painter, skin.colours, option, QStyle::visualRect(option.direction, r, glyphArea));

    const QColor colour = textColour(skin.colours, option);
    QFont font = painter.font();
    font.setBold(option.menuItemType == QStyleOptionMenuItem::DefaultItem);
    painter.setFont(font);
    painter.setPen(colour);
    const int mnemonic
        = style.styleHint(QStyle::SH_UnderlineShortcut, &option, widget) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
    const int left = glyphArea.right() + 1 + kTextGapPx;
    const QRect textArea(left, r.top(), r.right() - 1 - left, r.height());
    const qsizetype tab = option.text.indexOf(QLatin1Char('\t'));
    const QString text = tab < 0 ? option.text : option.text.left(tab);
    painter.drawText(QStyle::visualRect(option.direction, r, textArea),
        int(QStyle::visualAlignment(option.direction, Qt::AlignLeft)) | Qt::AlignVCenter | Qt::TextSingleLine
            | mnemonic,
        text);
    if (tab >= 0) {
        const QRect shortcutArea(left, r.top(), r.right() + 1 - kShortcutEndPx - left, r.height());
        painter.drawText(QStyle::visualRect(option.direction, r, shortcutArea),
            int(QStyle::visualAlignment(option.direction, Qt::AlignRight)) | Qt::AlignVCenter | Qt::TextSingleLine,
            option.text.mid(tab + 1));
    }
    if (option.menuItemType == QStyleOptionMenuItem::SubMenu) {
        QStyleOptionMenuItem arrow = option;
        arrow.rect = QStyle::visualRect(option.direction, r,
            QRect(r.right() + 1 - kSubMenuArrowPx - kSubMenuArrowEndPx, r.top(), kSubMenuArrowPx, r.height()));
        arrow.palette.setColor(QPalette::ButtonText, colour);
        arrow.palette.setColor(QPalette::WindowText, colour);
        style.drawPrimitive(
            option.direction == Qt::RightToLeft ? QStyle::PE_IndicatorArrowLeft : QStyle::PE_IndicatorArrowRight,
            &arrow, &painter, widget);
    }
    painter.restore();
    return true;
}

QSize itemSize(const SkinTarget &target, const QStyleOptionMenuItem &option, const QSize &contents)
{
    if (!hasMenuItem(target)) {
        return {};
    }
    if (option.menuItemType == QStyleOptionMenuItem::Separator) {
        return {1, kSeparatorHeightPx};
    }
    int width = contents.width() + kGlyphInsetPx + target.skin->menuItem->leftWidth + glyphWidth(option) + kTextGapPx
        + 1 + kMeasureExtraPx;
    if (!hasImageList(option)) {
        width += kNoImageListExtraPx;
    }
    if (option.reservedShortcutWidth > 0) {
        width += kShortcutEndPx;
    }
    if (option.menuItemType == QStyleOptionMenuItem::SubMenu) {
        width += kSubMenuArrowPx;
    }
    const int height
        = std::max({contents.height() + kTextPaddingPx, glyphWidth(option) + kGlyphPaddingPx, kMinItemHeightPx});
    return {width, height};
}

} // namespace MenuSkin
