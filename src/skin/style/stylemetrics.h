// The skin style's marks and sizes: the Tags that mark menus and controls, the spacing and frame widths of skinned
// controls, and the layout of menu items. Sizes in pixels.
#pragma once

#include <QtGlobal>

#include "skin/draw/builtinimages.h"

// Values of the Tag property (kTagProperty).
inline constexpr int kEngineMenuTag = 33333;       // a menu the engine makes: the system menu
inline constexpr int kTransparentButtonTag = 5555; // a push button that shows its parent's background

// Push buttons, check boxes and radio buttons.
namespace ButtonMetrics {
inline constexpr int kCaptionMarginPx = 2; // the caption keeps this far inside the button
inline constexpr int kFocusOutsetPx = 2;   // the focus rectangle lies this far outside the caption
inline constexpr int kLabelSpacingPx = 4;  // from a check or radio indicator to its label
} // namespace ButtonMetrics

// Edits, lists and group boxes.
namespace BoxMetrics {
inline constexpr int kEditFramePx = 3;          // a button-shadow line and two white lines
inline constexpr int kListFramePx = 2;          // a button-shadow line and a button-face line
inline constexpr int kGroupCaptionIndentPx = 8; // the caption from the group box's left (or right) end
inline constexpr qreal kGroupCornerPx = 2.5;    // the radius of the original's corner ellipse of 5 pixels
} // namespace BoxMetrics

// Combo boxes.
namespace ComboMetrics {
inline constexpr int kBorderPx = 2; // the button area and the edit field lie this far inside the control
} // namespace ComboMetrics

// Popup menus: the window's border, and an item's glyph area, text and shortcut.
namespace MenuMetrics {
inline constexpr int kBorderPx = 3;               // inside the MenuBackground image
inline constexpr int kPlainBorderPx = 1;          // without a MenuBackground image
inline constexpr int kGlyphPx = kMenuGlyphSizePx; // the menu-glyph image list's width and height
inline constexpr int kGlyphInsetPx = 1;           // the glyph area from the item's start, before the LeftWidth
inline constexpr int kSeparatorHeightPx = 8;
inline constexpr int kSeparatorLinePx = 4;     // the etched line from the separator's top
inline constexpr int kTextGapPx = 3;           // from the glyph area to the text
inline constexpr int kShortcutEndPx = 10;      // the shortcut ends this far before the item's right end
inline constexpr int kMeasureExtraPx = 12;     // items grow by the MenuItem's LeftWidth and this
inline constexpr int kNoImageListExtraPx = 23; // and by this when the menu has no images
inline constexpr int kMinItemHeightPx = 20;
inline constexpr int kTextPaddingPx = 6;  // an item is this much higher than its text
inline constexpr int kGlyphPaddingPx = 4; // and this much higher than its glyph
inline constexpr int kSubMenuArrowPx = 8;
inline constexpr int kSubMenuArrowEndPx = 4; // the submenu arrow ends this far before the item's right end
} // namespace MenuMetrics
