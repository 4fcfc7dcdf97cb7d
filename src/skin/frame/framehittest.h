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

// Buttons come first; then a sizeable window that is not maximized resizes from the border band; the rest
// of the band is bare border; the rest of the frame is the caption.
FrameHitResult frameHitTest(QPoint point, const FrameFacts &facts, const TitleBarLayout &layout);
