// The images the engine carries itself: track-bar channels for skins without their own, and the 16 x 16
// menu glyphs of the window menu. Drawn pixel by pixel, so they are the same everywhere.
#pragma once

#include <QImage>

// A horizontal ("TRACK") or vertical ("TRACKVERT") track-bar channel with 3-pixel borders, Format_RGB32.
QImage builtinTrackChannel(Qt::Orientation orientation);

// Four 16 x 16 glyphs side by side (restore, maximize, minimize, close) on transparency, Format_ARGB32.
QImage builtinMenuGlyphs();
inline constexpr int kMenuGlyphSizePx = 16;
enum class MenuGlyph { Restore = 0, Maximize = 1, Minimize = 2, Close = 3 };
