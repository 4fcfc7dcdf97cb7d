// The frame's sizes: the window's icon, the caption's shift on dialogs, the border band and resize
// corners of the frame's input, and shaping. Sizes in pixels.
#pragma once

namespace FrameMetrics {
inline constexpr int kIconPx = 16;              // the window's icon on the icon buttons
inline constexpr int kNoIconShiftPx = 16;       // dialog borders show no icon: left-aligned captions start further left
inline constexpr int kMenuFromButtonPx = 1;     // the system menu opens this far right of and below the click
inline constexpr int kBorderBandPx = 3;         // the outer band of the frame that belongs to the border
inline constexpr int kResizeCornerPx = 16;      // along a sizeable edge, this far from a corner resizes both edges
inline constexpr int kMinShapedThicknessPx = 2; // thinner transparent edges are not shaped pixel by pixel
} // namespace FrameMetrics
