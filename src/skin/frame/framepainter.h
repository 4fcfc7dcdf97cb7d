// Paints the frame ring of a window from the skin: the four edges nine-sliced (active or inactive look), the
// caption over its optional text background, and the title-bar buttons in their states.
#pragma once

#include <QFont>
#include <QImage>
#include <functional>
#include <optional>

#include "framefacts.h"
#include "skin/draw/nineslice.h"
#include "skin/model/skinmetrics.h"

class QPainter;
struct SkinObjects;
struct TDataSkinBorder;
struct TDataSkinSysButton;
struct TitleBarLayout;

// Title-bar button states, each shown by the frame of its number.
enum ButtonState {
    kButtonNormal = TitleButtonFrame::kNormal,
    kButtonPressed = TitleButtonFrame::kPressed,
    kButtonHot = TitleButtonFrame::kHot,
};
using ButtonStateOf = std::function<int(int button)>;

// Where each edge lies in a window of the facts' size: the left and right edges take the whole height, the
// top and bottom edges the width between them.
QRect edgeRect(const FrameFacts &facts, Qt::Edge edge);

// One edge over target, in the active or inactive look; nothing for an absent edge.
void paintEdge(QPainter &painter, const std::optional<TDataSkinBorder> &edge, const QRect &target,
    FrameStacking stacking, bool active);

// The image frame a title-bar button shows (TitleButtonFrame): its state while active; the inactive frame (when
// the image has that many, otherwise the normal one) while inactive; the normal frame for a state it has none for.
int buttonFrameIndex(const TDataSkinSysButton &button, int state, bool active);

// The whole ring. icon is the window's small icon, drawn by the icon buttons; font is the caption font.
void paintFrame(QPainter &painter, const SkinObjects &skin, const FrameFacts &facts, const TitleBarLayout &layout,
    const ButtonStateOf &stateOf, const QImage &icon, const QFont &font);

// The caption font: the given font at the skin's caption font height.
QFont captionFontFor(const SkinObjects &skin, QFont font);
