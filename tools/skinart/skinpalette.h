// The colours of the shipped skin: the program's palette (one accent for focus, checked and selected
// states) and the neutral greys of controls.
#pragma once

#include <QRgb>

namespace skinart {

inline constexpr QRgb kAccent = 0xff2f7fbf;      // focus, checked, selected
inline constexpr QRgb kAccentLight = 0xff8cc6f0; // accent on dark ground
inline constexpr QRgb kAccentDark = 0xff1f5d93;  // accent pressed
inline constexpr QRgb kAccentHot = 0xff3d8fd0;   // accent under the mouse
inline constexpr QRgb kAccentPale = 0xffe3f0fa;  // accent tint behind focused controls
inline constexpr QRgb kNavyDeep = 0xff0e2438;    // outline of the active window
inline constexpr QRgb kNavy = 0xff173d61;        // active title bar
inline constexpr QRgb kNavyHot = 0xff285a86;     // title-bar button under the mouse
inline constexpr QRgb kInk = 0xff12314f;         // text and glyphs
inline constexpr QRgb kPaper = 0xfff4f8fc;
inline constexpr QRgb kMist = 0xffb9d3e8;

inline constexpr QRgb kFace = 0xfff0f4f8;        // window and button face
inline constexpr QRgb kWhite = 0xffffffff;       // fields and raised surfaces
inline constexpr QRgb kBorder = 0xffa9bacb;      // control borders
inline constexpr QRgb kBorderSoft = 0xffcdd8e3;  // separators, pane borders
inline constexpr QRgb kHoverFill = 0xffdfeaf5;   // flat elements under the mouse
inline constexpr QRgb kPressedFill = 0xffcadcee; // flat elements pressed
inline constexpr QRgb kDisabledFill = 0xffe9eef3;
inline constexpr QRgb kDisabledBorder = 0xffd0d9e2;
inline constexpr QRgb kDisabledGlyph = 0xffa6b3c0;
inline constexpr QRgb kGlyph = 0xff3e5468; // arrows and chevrons
inline constexpr QRgb kThumb = 0xffb4c3d2; // scroll thumbs
inline constexpr QRgb kThumbHot = 0xff98abbe;
inline constexpr QRgb kThumbPressed = 0xff7b91a7;
inline constexpr QRgb kTitleInactive = 0xffe1e8ef;
inline constexpr QRgb kOutlineInactive = 0xffa2b2c2;
inline constexpr QRgb kTextInactive = 0xff6b7c8d;
inline constexpr QRgb kClose = 0xffc4314b; // the close button under the mouse
inline constexpr QRgb kCloseDark = 0xff9e2439;
inline constexpr QRgb kMagenta = 0xffff00ff; // keyed out: transparent where the skin says Trans

} // namespace skinart
