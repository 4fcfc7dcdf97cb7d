// What a point of a framed window is: the client area, a title-bar button, the caption (which drags the
// window), a resize zone of a sizeable window, or a bare border that does nothing.
#pragma once

#include <QPoint>
#include <Qt>

#include "framefacts.h"

struct TitleBarLayout;

enum class FrameHit { Client, Button, Caption, Resize, Border };

struct FrameHitResult
{
    FrameHit hit = FrameHit::Client;
    int button = -1;      // FrameHit::Button: index into SkinObjects::sysButtons
    Qt::Edges edges = {}; // FrameHit::Resize: the edges that follow the pointer
};

// The outer band of the frame that belongs to the border rather than to the caption (the top
// three pixels of the title bar, and as much of the other edges).
inline constexpr int kBorderBandPx = 3;
// Along an edge of a sizeable window, this far from a corner resizes both edges.
inline constexpr int kResizeCornerPx = 16;

// Buttons come first; then a sizeable window that is not maximized resizes from the border band; the rest
// of the band is bare border; the rest of the frame is the caption.
FrameHitResult frameHitTest(QPoint point, const FrameFacts &facts, const TitleBarLayout &layout);
