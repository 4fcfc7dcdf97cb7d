// The painters of the skin style, one group per control family (each implemented in its own file). Each
// draws one Qt style element of a matched control from the skin objects and answers false when the skin lacks
// the object it needs, so that the caller leaves the element to the base style.
#pragma once

#include <QRect>
#include <QSize>
#include <QStyle>

#include "skintarget.h"

class QPainter;
class QScrollBar;
class QStyleOption;
class QStyleOptionButton;
class QStyleOptionComboBox;
class QStyleOptionComplex;
class QStyleOptionFrame;
class QStyleOptionGroupBox;
class QStyleOptionHeader;
class QStyleOptionMenuItem;
class QStyleOptionSlider;
class QStyleOptionToolButton;
class QWidget;

// Push buttons, check boxes, radio buttons (buttonskin.cpp).
namespace ButtonSkin {
// Frame of the Buttons image (ButtonFrame): pressed, hot, focused, otherwise normal; disabled above all.
int buttonFrame(QStyle::State state);
// Frame of a check-box image of frameCount frames (BoxFrame): unchecked or checked, moved on when disabled, or
// indeterminate; a twelve-frame image orders them its own way.
int checkBoxFrame(QStyle::State state, int frameCount);
// Frame of a radio image (BoxFrame): unchecked or checked, moved on when disabled; an eight-frame image orders
// them its own way.
int radioFrame(QStyle::State state, int frameCount);
// "||" in a caption starts a new line.
QString buttonCaption(const QString &text);

bool drawPushButton(const SkinTarget &target, const QStyleOptionButton &option, QPainter &painter,
    const QWidget *widget, const QStyle &style);
bool drawIndicator(const SkinTarget &target, const QStyleOption &option, QPainter &painter, bool radio);
bool drawLabel(const SkinTarget &target, const QStyleOptionButton &option, QPainter &painter, const QStyle &style);
// The size of one check-box or radio frame; empty without the image.
QSize indicatorSize(const SkinTarget &target, bool radio);
} // namespace ButtonSkin

// Edits, group boxes, the frames of lists (boxskin.cpp).
namespace BoxSkin {
bool drawEditPanel(const SkinTarget &target, const QStyleOptionFrame &option, QPainter &painter);
bool drawListFrame(const SkinTarget &target, const QStyleOptionFrame &option, QPainter &painter);
bool drawGroupBox(const SkinTarget &target, const QStyleOptionGroupBox &option, QPainter &painter);
QRect groupBoxRect(const QStyleOptionGroupBox &option, QStyle::SubControl part);
} // namespace BoxSkin

// Combo boxes: ComboButton style 1, the composed strip (style 2), and SunkEdge with ExtraImages (comboskin.cpp).
namespace ComboSkin {
// ComboFrame: pressed, focused or hot, disabled, otherwise normal.
int comboFrame(QStyle::State state);
bool drawCombo(const SkinTarget &target, const QStyleOptionComboBox &option, QPainter &painter, int arrowPx);
QRect comboRect(const SkinTarget &target, const QStyleOptionComboBox &option, QStyle::SubControl part, int arrowPx);
} // namespace ComboSkin

// The halves of an up-down control (updownskin.cpp).
namespace UpDownSkin {
// Frame of a half (UpDownFrame): its state, moved on for the down or right arrow.
int upDownFrame(QStyle::State state, Qt::ArrowType arrow);
bool drawArrowHalf(const SkinTarget &target, const QStyleOptionToolButton &option, QPainter &painter);
} // namespace UpDownSkin

// Scroll bars of lists and the drop-down list (scrollbarskin.cpp).
namespace ScrollBarSkin {
// The option a scroll bar paints with (QScrollBar::initStyleOption is not public).
QStyleOptionSlider optionOf(const QScrollBar &bar);
int thickness(const SkinTarget &target, int arrowPx);
bool drawScrollBar(const SkinTarget &target, const QStyleOptionSlider &option, QPainter &painter, const QWidget *widget,
    int arrowPx, int minThumbPx);
// Empty when the scroll bar is not painted from the skin.
QRect scrollBarRect(const SkinTarget &target, const QStyleOptionSlider &option, QStyle::SubControl part,
    const QWidget *widget, int arrowPx, int minThumbPx);
QStyle::SubControl hitTest(const SkinTarget &target, const QStyleOptionSlider &option, const QPoint &point,
    const QWidget *widget, int arrowPx, int minThumbPx);
// Follows presses and drags on the thumb of a skinned scroll bar, so that the thumb follows the cursor.
void trackThumbDrags(QWidget *scrollBar);
} // namespace ScrollBarSkin

// The list view's header (headerskin.cpp).
namespace HeaderSkin {
bool drawSection(const SkinTarget &target, const QStyleOptionHeader &option, QPainter &painter);
bool drawLabel(const SkinTarget &target, const QStyleOptionHeader &option, QPainter &painter);
bool drawEmptyArea(const SkinTarget &target, const QStyleOption &option, QPainter &painter);
} // namespace HeaderSkin

// Popup menus (menuskin.cpp).
namespace MenuSkin {
bool drawPanel(const SkinTarget &target, const QStyleOption &option, QPainter &painter);
bool drawItem(const SkinTarget &target, const QStyleOptionMenuItem &option, QPainter &painter, const QStyle &style,
    const QWidget *widget);
QSize itemSize(const SkinTarget &target, const QStyleOptionMenuItem &option, const QSize &contents);
} // namespace MenuSkin
