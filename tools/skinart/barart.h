// Bars, lists and menus of the shipped skin: scroll bars, progress, header sections, tabs, the status bar,
// tool bars, menus, group boxes and track-bar thumbs.
#pragma once

#include <QImage>

namespace skinart {

// 23 square frames: arrows left, right, up, down (each normal, pressed, disabled, hot), the horizontal
// and the vertical grip (normal, pressed, hot) and the corner between two bars.
QImage drawScrollArrows();
// 4 frames: normal, hot, unavailable, pressed.
QImage drawScrollTrack(Qt::Orientation orientation);
// 3 frames: normal, pressed, hot.
QImage drawScrollThumb(Qt::Orientation orientation);
// 2 frames: trough, bar.
QImage drawProgress();
QImage drawProgressChunk();
// 5 frames: normal, hot, pressed, disabled, sorted.
QImage drawHeaderSection();
// 5 frames: normal, hot, disabled-selected, selected, pressed.
QImage drawMenuItem();
QImage drawMenuBackground();
// 5 frames: normal, hot, selected, disabled, selected with focus.
QImage drawTab();
QImage drawTabBorder();
QImage drawTabPane();
// 3 frames: panel, sunken panel, bar background.
QImage drawStatusBar();
// 5 frames: normal, hot, pressed, disabled, checked.
QImage drawToolButton();
// 2 frames: normal, disabled.
QImage drawGroupBoxEdge();
QImage drawGroupBoxLabel();

enum class ThumbShape { Horizontal, Vertical, Left, Right, Up, Down };
// 5 frames: normal, hot, pressed, disabled, focused.
QImage drawTrackThumb(ThumbShape shape);

} // namespace skinart
