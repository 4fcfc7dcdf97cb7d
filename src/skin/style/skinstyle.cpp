// The skin style's dispatch: each Qt element of a skinned widget goes to the painter of its control family;
// whatever the skin does not paint goes to Fusion. Painting never lets an exception out.
#include "skinstyle.h"

#include <QApplication>
#include <QMenu>
#include <QStyleFactory>
#include <QStyleOption>

#include "skinpainters.h"
#include "skinregistry.h"
#include "stylemetrics.h"

namespace {

// Runs a painter, treating an exception like a missing skin object.
template<typename Paint> bool guarded(Paint paint) noexcept
{
    try {
        return paint();
    } catch (...) {
        return false;
    }
}

bool hasMenuObject(const std::optional<TDataSkinObject> &object)
{
    return object && !object->image.isNull();
}

bool isKind(const SkinTarget &target, SkinKind kind)
{
    return target && target.kind == kind;
}

} // namespace

SkinStyle::SkinStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{ }

void SkinStyle::install()
{
    if (!qobject_cast<SkinStyle *>(QApplication::style())) {
        QApplication::setStyle(new SkinStyle);
    }
}

SkinTarget SkinStyle::controlTarget(const QWidget *widget)
{
    const SkinRegistry::Control *control = widget ? SkinRegistry::instance().control(widget) : nullptr;
    std::shared_ptr<const SkinSource> source = control ? control->source.lock() : nullptr;
    if (!source || !source->skin) {
        return {};
    }
    const SkinObjects *skin = &*source->skin;
    return {control->kind, std::move(source), skin};
}

SkinTarget SkinStyle::menuTarget(const QWidget *widget)
{
    const auto *menu = qobject_cast<const QMenu *>(widget);
    if (!menu) {
        return {};
    }
    std::shared_ptr<const SkinSource> source = SkinRegistry::instance().sourceFor(menu);
    if (!source || !source->skin) {
        return {};
    }
    const bool systemMenu = controlTag(*menu) == kEngineMenuTag;
    if (!(systemMenu ? source->systemMenu : source->popupMenus)) {
        return {};
    }
    const SkinObjects *skin = &*source->skin;
    return {SkinKind::None, std::move(source), skin};
}

int SkinStyle::arrowPx() const
{
    return baseStyle()->pixelMetric(PM_ScrollBarExtent);
}

int SkinStyle::minThumbPx() const
{
    return baseStyle()->pixelMetric(PM_ScrollBarSliderMin);
}

void SkinStyle::drawPrimitive(
    PrimitiveElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    if (!option || !painter || !drawSkinPrimitive(element, option, painter, widget)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

bool SkinStyle::drawSkinPrimitive(
    PrimitiveElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    switch (element) {
    case PE_PanelLineEdit: {
        const SkinTarget target = controlTarget(widget);
        const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
        return isKind(target, SkinKind::Edit) && frame
            && guarded([&] { return BoxSkin::drawEditPanel(target, *frame, *painter); });
    }
    case PE_IndicatorCheckBox: {
        const SkinTarget target = controlTarget(widget);
        return isKind(target, SkinKind::CheckBox)
            && guarded([&] { return ButtonSkin::drawIndicator(target, *option, *painter, false); });
    }
    case PE_IndicatorRadioButton: {
        const SkinTarget target = controlTarget(widget);
        return isKind(target, SkinKind::RadioButton)
            && guarded([&] { return ButtonSkin::drawIndicator(target, *option, *painter, true); });
    }
    case PE_PanelMenu: {
        const SkinTarget target = menuTarget(widget);
        return target && guarded([&] { return MenuSkin::drawPanel(target, *option, *painter); });
    }
    case PE_FrameMenu: {
        // The MenuBackground image carries the border, or the plain panel does.
        const SkinTarget target = menuTarget(widget);
        return target && (hasMenuObject(target.skin->menuBackground) || hasMenuObject(target.skin->menuItem));
    }
    default:
        return false;
    }
}

void SkinStyle::drawControl(
    ControlElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    if (!option || !painter || !drawSkinControl(element, option, painter, widget)) {
        QProxyStyle::drawControl(element, option, painter, widget);
    }
}

bool SkinStyle::drawSkinControl(
    ControlElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    switch (element) {
    case CE_PushButton: {
        const SkinTarget target = controlTarget(widget);
        const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
        return isKind(target, SkinKind::Button) && button
            && guarded([&] { return ButtonSkin::drawPushButton(target, *button, *painter, widget, *proxy()); });
    }
    case CE_CheckBoxLabel:
    case CE_RadioButtonLabel: {
        const SkinTarget target = controlTarget(widget);
        const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
        const SkinKind kind = element == CE_CheckBoxLabel ? SkinKind::CheckBox : SkinKind::RadioButton;
        return isKind(target, kind) && button
            && guarded([&] { return ButtonSkin::drawLabel(target, *button, *painter, *proxy()); });
    }
    case CE_ShapedFrame: {
        const SkinTarget target = controlTarget(widget);
        const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
        return (isKind(target, SkinKind::ScrollArea) || isKind(target, SkinKind::ListView)) && frame
            && guarded([&] { return BoxSkin::drawListFrame(target, *frame, *painter); });
    }
    case CE_HeaderSection:
    case CE_HeaderLabel: {
        const SkinTarget target = controlTarget(widget);
        const auto *header = qstyleoption_cast<const QStyleOptionHeader *>(option);
        if (!isKind(target, SkinKind::Header) || !header) {
            return false;
        }
        return guarded([&] {
            return element == CE_HeaderSection ? HeaderSkin::drawSection(target, *header, *painter)
                                               : HeaderSkin::drawLabel(target, *header, *painter);
        });
    }
    case CE_HeaderEmptyArea: {
        const SkinTarget target = controlTarget(widget);
        return isKind(target, SkinKind::Header)
            && guarded([&] { return HeaderSkin::drawEmptyArea(target, *option, *painter); });
    }
    case CE_MenuItem: {
        const SkinTarget target = menuTarget(widget);
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        return target && item && guarded([&] { return MenuSkin::drawItem(target, *item, *painter, *proxy(), widget); });
    }
    case CE_MenuEmptyArea: {
        // Never erases the painted background.
        const SkinTarget target = menuTarget(widget);
        return target && hasMenuObject(target.skin->menuBackground);
    }
    default:
        return false;
    }
}

void SkinStyle::drawComplexControl(
    ComplexControl control, const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    if (!option || !painter || !drawSkinComplexControl(control, option, painter, widget)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
    }
}

bool SkinStyle::drawSkinComplexControl(
    ComplexControl control, const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const SkinTarget target = controlTarget(widget);
    if (!target) {
        return false;
    }
    switch (control) {
    case CC_ComboBox: {
        const auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option);
        return target.kind == SkinKind::Combo && combo
            && guarded([&] { return ComboSkin::drawCombo(target, *combo, *painter, arrowPx()); });
    }
    case CC_ScrollBar: {
        const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
        return target.kind == SkinKind::ScrollBar && slider && guarded([&] {
            return ScrollBarSkin::drawScrollBar(target, *slider, *painter, widget, arrowPx(), minThumbPx());
        });
    }
    case CC_GroupBox: {
        const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
        return target.kind == SkinKind::GroupBox && box
            && guarded([&] { return BoxSkin::drawGroupBox(target, *box, *painter); });
    }
    case CC_ToolButton: {
        const auto *button = qstyleoption_cast<const QStyleOptionToolButton *>(option);
        return target.kind == SkinKind::UpDownArrow && button
            && guarded([&] { return UpDownSkin::drawArrowHalf(target, *button, *painter); });
    }
    default:
        return false;
    }
}

QRect SkinStyle::subControlRect(
    ComplexControl control, const QStyleOptionComplex *option, SubControl part, const QWidget *widget) const
{
    const SkinTarget target = controlTarget(widget);
    QRect rect;
    if (target && option) {
        if (const auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option);
            control == CC_ComboBox && target.kind == SkinKind::Combo && combo) {
            rect = ComboSkin::comboRect(target, *combo, part, arrowPx());
        } else if (const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
                   control == CC_ScrollBar && target.kind == SkinKind::ScrollBar && slider) {
            rect = ScrollBarSkin::scrollBarRect(target, *slider, part, widget, arrowPx(), minThumbPx());
        } else if (const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option); control == CC_GroupBox
                   && target.kind == SkinKind::GroupBox && box && !(box->subControls & SC_GroupBoxCheckBox)) {
            rect = BoxSkin::groupBoxRect(*box, part);
        }
    }
    return rect.isNull() ? QProxyStyle::subControlRect(control, option, part, widget) : rect;
}

QStyle::SubControl SkinStyle::hitTestComplexControl(
    ComplexControl control, const QStyleOptionComplex *option, const QPoint &point, const QWidget *widget) const
{
    const SkinTarget target = controlTarget(widget);
    const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control == CC_ScrollBar && isKind(target, SkinKind::ScrollBar) && slider && target.skin->scrollbar
        && !target.skin->scrollbar->image.isNull()) {
        return ScrollBarSkin::hitTest(target, *slider, point, widget, arrowPx(), minThumbPx());
    }
    return QProxyStyle::hitTestComplexControl(control, option, point, widget);
}

std::optional<int> SkinStyle::skinPixelMetric(PixelMetric metric, const QWidget *widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth:
    case PM_MenuHMargin:
    case PM_MenuVMargin: {
        // Items lie inside the background's 3-pixel border, or inside the plain 1-pixel border.
        const SkinTarget target = menuTarget(widget);
        if (!target || !(hasMenuObject(target.skin->menuBackground) || hasMenuObject(target.skin->menuItem))) {
            return std::nullopt;
        }
        if (metric != PM_MenuPanelWidth) {
            return 0;
        }
        return hasMenuObject(target.skin->menuBackground) ? MenuMetrics::kBorderPx : MenuMetrics::kPlainBorderPx;
    }
    default:
        break;
    }
    const SkinTarget target = controlTarget(widget);
    if (!target) {
        return std::nullopt;
    }
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight: {
        const bool radio = metric == PM_ExclusiveIndicatorWidth || metric == PM_ExclusiveIndicatorHeight;
        if (target.kind != (radio ? SkinKind::RadioButton : SkinKind::CheckBox)) {
            return std::nullopt;
        }
        const QSize size = ButtonSkin::indicatorSize(target, radio);
        if (size.isEmpty()) {
            return std::nullopt;
        }
        return metric == PM_IndicatorWidth || metric == PM_ExclusiveIndicatorWidth ? size.width() : size.height();
    }
    case PM_CheckBoxLabelSpacing:
    case PM_RadioButtonLabelSpacing:
        if ((target.kind == SkinKind::CheckBox || target.kind == SkinKind::RadioButton)
            && !ButtonSkin::indicatorSize(target, target.kind == SkinKind::RadioButton).isEmpty()) {
            return ButtonMetrics::kLabelSpacingPx;
        }
        return std::nullopt;
    case PM_ScrollBarExtent:
        if (target.kind == SkinKind::ScrollBar && target.skin->scrollbar && !target.skin->scrollbar->image.isNull()) {
            return ScrollBarSkin::thickness(target, arrowPx());
        }
        return std::nullopt;
    case PM_DefaultFrameWidth:
        if (target.kind == SkinKind::Edit) {
            return BoxMetrics::kEditFramePx;
        }
        if (target.kind == SkinKind::ScrollArea || target.kind == SkinKind::ListView) {
            return BoxMetrics::kListFramePx;
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

int SkinStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    if (const std::optional<int> value = skinPixelMetric(metric, widget)) {
        return *value;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

int SkinStyle::styleHint(
    StyleHint hint, const QStyleOption *option, const QWidget *widget, QStyleHintReturn *returnData) const
{
    // A skinned combo box drops down a list with a skinned scroll bar, as the original's does, not a menu.
    if (hint == SH_ComboBox_Popup && isKind(controlTarget(widget), SkinKind::Combo)) {
        return 0;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QSize SkinStyle::sizeFromContents(
    ContentsType type, const QStyleOption *option, const QSize &size, const QWidget *widget) const
{
    if (type == CT_MenuItem) {
        const SkinTarget target = menuTarget(widget);
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (target && item) {
            if (const QSize skinned = MenuSkin::itemSize(target, *item, size); !skinned.isEmpty()) {
                return skinned;
            }
        }
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void SkinStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    const SkinTarget target = menuTarget(widget);
    if (target && target.source->opaqueMenus) {
        // The background is painted whole from the skin; the platform never erases it first.
        widget->setAttribute(Qt::WA_OpaquePaintEvent, true);
    }
}
