// The colours of the side picture and the application icon; the skin uses the same accent.
#pragma once

#include <QColor>

namespace art {

inline constexpr QRgb kAccent = 0xff2f7fbf;      // the one accent colour, a calm blue
inline constexpr QRgb kAccentLight = 0xff8cc6f0; // accent on dark ground: rules, highlights
inline constexpr QRgb kAccentDark = 0xff1f5d93;  // accent in shade: icon tile edge, title bars
inline constexpr QRgb kNavyDeep = 0xff0e2438;    // side picture, top of the gradient
inline constexpr QRgb kNavy = 0xff173d61;        // side picture, middle of the gradient
inline constexpr QRgb kInk = 0xff12314f;         // dark parts drawn on light ground
inline constexpr QRgb kPaper = 0xfff4f8fc;       // light parts: window bodies, text
inline constexpr QRgb kMist = 0xffb9d3e8;        // secondary text and outlines on dark ground

} // namespace art
