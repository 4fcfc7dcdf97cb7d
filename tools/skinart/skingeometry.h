// Sizes of the shipped skin's images, shared by the drawing code and the description it writes, so that
// margins and frame counts always match the pixels.
#pragma once

namespace skinart {

// Window frame: a title bar with rounded top corners and a thin border around the client area.
inline constexpr int kTitleHeightPx = 30;
inline constexpr int kBorderPx = 4;
inline constexpr int kCornerRadiusPx = 7;
inline constexpr int kSampleWidthPx = 64; // the sample window the edges are cut from
inline constexpr int kSampleBodyPx = 4;   // its client rows between title bar and bottom border
inline constexpr int kTopFixedPx = 8;     // fixed ends of the top edge (they hold the rest of the corner)

// Title-bar buttons: 4 frames (normal, pressed, hot, inactive window).
inline constexpr int kSysButtonWidthPx = 30;
inline constexpr int kSysButtonHeightPx = 22;
inline constexpr int kSysButtonTopPx = (kTitleHeightPx - kSysButtonHeightPx) / 2;
inline constexpr int kSysButtonGapPx = 2;
inline constexpr int kIconLeftPx = 9;
inline constexpr int kIconPx = 16;

// MDI buttons: one image of 3 x 4 frames of a x a pixels.
inline constexpr int kMdiFramePx = 16;

inline constexpr int kMenuBarFrameWidthPx = 16;
inline constexpr int kMenuBarHeightPx = 20;

// Controls.
inline constexpr int kButtonFramePx = 24; // push buttons: 5 frames, margins kButtonMarginPx
inline constexpr int kButtonMarginPx = 4;
inline constexpr int kBoxPx = 13;              // check and radio boxes
inline constexpr int kCheckFrames = 12;        // unchecked, checked, mixed x (normal, hot, pressed, disabled)
inline constexpr int kRadioFrames = 8;         // unchecked, checked x (normal, hot, pressed, disabled)
inline constexpr int kComboButtonWidthPx = 18; // combo button frames (4), drawn over the button part
inline constexpr int kComboHeightPx = 21;
inline constexpr int kSunkEdgeWidthPx = 24; // sunken edge frames (4), margins 3
inline constexpr int kExtraImagePx = 12;    // combo arrows (4) and the size grip
inline constexpr int kUpDownLongPx = 16;    // up-down halves (8 frames): 16 x 11 vertical, 11 x 16 horizontal
inline constexpr int kUpDownShortPx = 11;
inline constexpr int kScrollPx = 16;            // scroll-bar arrows and grips: 23 square frames
inline constexpr int kScrollTrackLengthPx = 16; // tracks (4 frames) and thumbs (3 frames)
inline constexpr int kThumbMarginPx = 6;
inline constexpr int kHeaderWidthPx = 24; // header sections: 5 frames
inline constexpr int kHeaderHeightPx = 22;
inline constexpr int kMenuItemWidthPx = 24; // menu items: 5 frames
inline constexpr int kMenuItemHeightPx = 22;
inline constexpr int kMenuBackgroundPx = 24;
inline constexpr int kProgressWidthPx = 24; // progress: 2 frames (trough, bar); chunk: 1 frame
inline constexpr int kProgressHeightPx = 14;
inline constexpr int kChunkWidthPx = 8;
inline constexpr int kTabWidthPx = 24; // tabs: 5 frames
inline constexpr int kTabHeightPx = 24;
inline constexpr int kPanePx = 16;
inline constexpr int kStatusWidthPx = 16; // status bar: 3 frames
inline constexpr int kStatusHeightPx = 20;
inline constexpr int kToolButtonPx = 22; // tool bars: 5 frames
inline constexpr int kGroupEdgePx = 16;  // group box edge: 2 frames
inline constexpr int kGroupLabelPx = 16;
inline constexpr int kThumbShortPx = 11; // track-bar thumbs: 5 frames
inline constexpr int kThumbLongPx = 20;
inline constexpr int kThumbPointedPx = 19;

} // namespace skinart
