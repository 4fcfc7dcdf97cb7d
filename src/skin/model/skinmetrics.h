// The frames of the skin objects (how many states each image holds and which frame shows which state; frames
// count from 1) and the codes of the skin description's title-bar buttons and caption. The loader sets counts and
// codes, the painters and the frame read them.
#pragma once

// Push buttons ("Buttons", five frames side by side).
namespace ButtonFrame {
inline constexpr int kCount = 5;
inline constexpr int kNormal = 1;
inline constexpr int kPressed = 2;
inline constexpr int kDisabled = 3;
inline constexpr int kHot = 4;
inline constexpr int kFocused = 5;
} // namespace ButtonFrame

// Check boxes and radio buttons: unchecked or checked, moved on by kDisabledOffset when disabled; a check box's
// indeterminate state has a frame of its own. Twelve-frame check images and eight-frame radio images order their
// frames differently (kWideOrder maps the four-frame indices onto them).
namespace BoxFrame {
inline constexpr int kUnchecked = 1;
inline constexpr int kChecked = 2;
inline constexpr int kDisabledOffset = 2;
inline constexpr int kIndeterminate = 4;
inline constexpr int kWideCheckCount = 12;
inline constexpr int kWideRadioCount = 8;
inline constexpr int kWideOrder[] = {0, 1, 5, 4, 8};
inline constexpr int kWideIndeterminate = 9;
inline constexpr int kWideIndeterminateDisabled = 12;
} // namespace BoxFrame

// Combo boxes ("ComboButton", "SunkEdge", "ExtraImages", and the strips composed from them).
namespace ComboFrame {
inline constexpr int kCount = 4;
inline constexpr int kNormal = 1;
inline constexpr int kPressed = 2;
inline constexpr int kDisabled = 3;
inline constexpr int kHot = 4; // also focused
} // namespace ComboFrame

// The halves of an up-down control ("UpDown.Vert", "UpDown.Horz" and their glyph strips): a state, moved on by
// kSecondArrowOffset for the down or right half.
namespace UpDownFrame {
inline constexpr int kCount = 8;
inline constexpr int kNormal = 1;
inline constexpr int kPressed = 2;
inline constexpr int kDisabled = 3;
inline constexpr int kHot = 4;
inline constexpr int kSecondArrowOffset = 4;
} // namespace UpDownFrame

// Scroll bars: the arrows and grips of "Scrollbar" (23 frames side by side), the track ("HorzScroll",
// "VertScroll") and the thumb ("HorzScrollThumb", "VertScrollThumb", its count from the description).
namespace ScrollFrame {
inline constexpr int kCount = 23;
inline constexpr int kArrowLeft = 1;
inline constexpr int kArrowRight = 5;
inline constexpr int kArrowUp = 9;
inline constexpr int kArrowDown = 13;
inline constexpr int kArrowPressedOffset = 1; // an arrow under the cursor while the button is down
inline constexpr int kArrowHotOffset = 3;
inline constexpr int kGripHorizontal = 17;
inline constexpr int kGripVertical = 20;
inline constexpr int kGripPressedOffset = 1;
inline constexpr int kGripHotOffset = 2;
inline constexpr int kTrackCount = 4;
inline constexpr int kTrackNormal = 1;
inline constexpr int kTrackUnavailable = 3;
inline constexpr int kThumbDefaultCount = 3;
inline constexpr int kThumbNormal = 1;
inline constexpr int kThumbPressed = 2;
inline constexpr int kThumbHot = 3;
} // namespace ScrollFrame

// The list view's header ("Headerbar"; five frames when the description gives none).
namespace HeaderFrame {
inline constexpr int kDefaultCount = 5;
inline constexpr int kNormal = 1;
inline constexpr int kHot = 2;
} // namespace HeaderFrame

// Menus: items ("MenuItem", five frames) and the menu window's background ("MenuBackground", one frame).
namespace MenuFrame {
inline constexpr int kItemCount = 5;
inline constexpr int kItemNormal = 1;
inline constexpr int kItemSelected = 4;
inline constexpr int kBackgroundCount = 1;
inline constexpr int kBackground = 1;
} // namespace MenuFrame

// The window frame: the edges and the caption's text background (active and inactive look), and the title-bar
// buttons (a state while the window is active, kInactive otherwise when the image has that many frames).
namespace FrameLook {
inline constexpr int kActive = 1;
inline constexpr int kInactive = 2;
inline constexpr int kTitleCount = 2;
} // namespace FrameLook
namespace TitleButtonFrame {
inline constexpr int kNormal = 1;
inline constexpr int kPressed = 2;
inline constexpr int kHot = 3;
inline constexpr int kInactive = 4;
} // namespace TitleButtonFrame

// What a title-bar button does ("Action").
namespace ButtonAction {
inline constexpr int kClose = 0;
inline constexpr int kMaximize = 1; // or restore
inline constexpr int kMinimize = 2;
inline constexpr int kIconMenu = 3; // draws the window's icon and opens the system menu
inline constexpr int kMdiMinimize = 7;
inline constexpr int kMdiRestore = 8;
inline constexpr int kMdiClose = 9;
inline constexpr int kIconMenuAlt = 11;
inline constexpr int kSystemMenu = 12;
inline constexpr int kMaximizeAlt = 22;
inline constexpr int kMinimizeAlt = 23;
inline constexpr int kMdiMinimizeAlt = 60;
inline constexpr int kMdiRestoreAlt = 61;
inline constexpr int kMdiCloseAlt = 62;
inline constexpr int kNone = -1; // a button without an action (kept only when always visible)
} // namespace ButtonAction

// Where a title-bar button lies ("Align"), Xcoord and Ycoord from there.
namespace ButtonAlign {
inline constexpr int kLeft = 0;
inline constexpr int kRight = 1; // Xcoord from the window's right end
inline constexpr int kBeforeCaption = 2;
inline constexpr int kBeforeCaptionAlt = 8;
inline constexpr int kAfterCaption = 3;
inline constexpr int kAfterCaptionAlt = 9;
inline constexpr int kMdi = 100; // in the menu-bar strip, drawn by a menu painter
} // namespace ButtonAlign

// When a title-bar button shows ("Visibility", "Visibility1"); codes not listed never hold.
namespace ButtonVisibility {
inline constexpr int kAlways = 0;
inline constexpr int kMaximized = 1;
inline constexpr int kNotMaximized = 2;
inline constexpr int kActive = 3;
inline constexpr int kInactive = 4;
inline constexpr int kMaximizeBox = 6;
inline constexpr int kNoMaximizeBox = 7;
inline constexpr int kMinimizeBox = 8;
inline constexpr int kNoMinimizeBox = 9;
inline constexpr int kMdiMaximized = 100;
inline constexpr int kDialog = 200; // a dialog border, not a message box
inline constexpr int kAlwaysFirst = 201;
inline constexpr int kAlwaysLast = 999;
inline constexpr int kAskWindowFirst = 1000; // the window answers
inline constexpr int kAskWindowLast = 2000;
} // namespace ButtonVisibility

// The caption's place in the title area ("TextAlignment").
namespace CaptionAlign {
inline constexpr int kLeft = 0; // TextShift from the left end
inline constexpr int kCentre = 1;
inline constexpr int kRight = 2; // TextRightClip from the right end
} // namespace CaptionAlign
