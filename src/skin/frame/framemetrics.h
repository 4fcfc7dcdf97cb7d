// The frame's sizes and times: the window's icon, the caption's shift on dialogs, the border band and resize
// corners of the frame's input, shaping, and the wait for a window manager's move. Sizes in pixels.
#pragma once

namespace FrameMetrics {
inline constexpr int kIconPx = 16;              // the window's icon on the icon buttons
inline constexpr int kNoIconShiftPx = 16;       // dialog borders show no icon: left-aligned captions start further left
inline constexpr int kMenuFromButtonPx = 1;     // the system menu opens this far right of and below the click
inline constexpr int kBorderBandPx = 3;         // the outer band of the frame that belongs to the border
inline constexpr int kResizeCornerPx = 16;      // along a sizeable edge, this far from a corner resizes both edges
inline constexpr int kMinShapedThicknessPx = 2; // thinner transparent edges are not shaped pixel by pixel
// A window manager asked to move the window takes the pointer within milliseconds, after which no more motion
// reaches the window. Motion that still arrives after this long, with the pointer this far from where the request
// was made and the window not moved, means the request was ignored: the move is taken over by hand.
inline constexpr int kWindowManagerGraceMs = 250;
inline constexpr int kNotFollowingPx = 12;
} // namespace FrameMetrics
