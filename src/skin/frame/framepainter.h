// Paints the frame ring of a window from the skin: the four edges nine-sliced (frame 1 active, frame 2
// inactive), the caption over its optional text background, and the title-bar buttons in their states.
#pragma once

#include <QFont>
#include <QImage>
#include <functional>
#include <optional>

#include "framefacts.h"
#include "skin/draw/nineslice.h"

class QPainter;
struct SkinObjects;
struct TDataSkinBorder;
struct TDataSkinSysButton;
struct TitleBarLayout;

// Button states: 1 normal, 2 pressed, 3 hot.
enum ButtonState { kButtonNormal = 1, kButtonPressed = 2, kButtonHot = 3 };
using ButtonStateOf = std::function<int(int button)>;

// Where each edge lies in a window of the facts' size: the left and right edges take the whole height, the
// top and bottom edges the width between them.
QRect edgeRect(const FrameFacts &facts, Qt::Edge edge);

// One edge over target, in the active or inactive look; nothing for an absent edge.
void paintEdge(QPainter &painter, const std::optional<TDataSkinBorder> &edge, const QRect &target,
    FrameStacking stacking, bool active);

// The image frame a title-bar button shows: its state while active; frame 4 (when it has four frames,
// otherwise 1) while inactive; frame 1 for a state it has no frame for.
int buttonFrameIndex(const TDataSkinSysButton &button, int state, bool active);

// The whole ring. icon is the window's small icon, drawn by the icon buttons; font is the caption font.
void paintFrame(QPainter &painter, const SkinObjects &skin, const FrameFacts &facts, const TitleBarLayout &layout,
    const ButtonStateOf &stateOf, const QImage &icon, const QFont &font);

// The caption font: the given font at the skin's caption font height.
QFont captionFontFor(const SkinObjects &skin, QFont font);
