// SkinStyle: the application's style while windows are skinned. A proxy over Fusion that paints the controls
// the registry lists (and the popup menus of skinned windows) from their skin, one method per Qt element, and
// leaves every other widget, and every element whose skin object is missing, to Fusion.
#pragma once

#include <QProxyStyle>

#include "skintarget.h"

class SkinStyle : public QProxyStyle
{
    Q_OBJECT

public:
    SkinStyle();

    // Makes a SkinStyle the application's style unless it is one already; the application owns it.
    static void install();

    void drawPrimitive(
        PrimitiveElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const override;
    void drawControl(
        ControlElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
        const QWidget *widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
        const QWidget *widget) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option, const QPoint &point,
        const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override;
    int styleHint(
        StyleHint hint, const QStyleOption *option, const QWidget *widget, QStyleHintReturn *returnData) const override;
    QSize sizeFromContents(
        ContentsType type, const QStyleOption *option, const QSize &size, const QWidget *widget) const override;
    void polish(QWidget *widget) override;
    using QProxyStyle::polish;

    // The skin a matched control is painted from (empty for others).
    static SkinTarget controlTarget(const QWidget *widget);
    // The skin a popup menu is painted from: its skinned window's, when that source allows the menu's kind (a
    // menu whose Tag is 33333 is a system menu and needs the system menu skinned, others popup menus).
    static SkinTarget menuTarget(const QWidget *widget);

private:
    bool drawSkinPrimitive(
        PrimitiveElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    bool drawSkinControl(
        ControlElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    bool drawSkinComplexControl(
        ComplexControl control, const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const;
    std::optional<int> skinPixelMetric(PixelMetric metric, const QWidget *widget) const;
    int arrowPx() const;
    int minThumbPx() const;
};
