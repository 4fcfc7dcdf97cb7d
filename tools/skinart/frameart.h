// The window frame of the shipped skin: the four edges (active and inactive), the title-bar buttons, the MDI
// buttons and the menu-bar strip.
#pragma once

#include <QImage>

namespace skinart {

struct FrameEdges
{
    QImage left;   // 2 frames side by side: active, inactive
    QImage right;  // 2 frames side by side
    QImage top;    // 2 frames stacked: active, inactive
    QImage bottom; // 2 frames stacked
};

enum class SysGlyph { Close, Maximize, Restore, Minimize };

FrameEdges drawFrameEdges();
// 4 frames side by side: normal, pressed, hot, inactive window.
QImage drawSysButton(SysGlyph glyph);
// Minimize, restore and close of a maximized MDI child, each 4 frames (normal, pressed, disabled, hot).
QImage drawMdiControls();
// 2 frames side by side: active, inactive.
QImage drawMenuBar();

} // namespace skinart
