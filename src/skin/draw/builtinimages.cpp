// Built-in track-bar channels and menu glyphs, set pixel by pixel.
#include "builtinimages.h"

namespace {

constexpr QRgb kChannelOuterDark = 0xFF9FB2C5;
constexpr QRgb kChannelOuterLight = 0xFFD3DEE9;
constexpr QRgb kChannelInnerShadow = 0xFFC4D2DF;
constexpr QRgb kChannelFill = 0xFFE2E9F0;
constexpr QRgb kGlyphInk = 0xFF12314F;

// The horizontal channel at (along, across): a groove lit from the bottom right.
QRgb channelPixel(int along, int across, int length, int thickness)
{
    if (across == 0 || along == 0) {
        return kChannelOuterDark;
    }
    if (across == thickness - 1 || along == length - 1) {
        return kChannelOuterLight;
    }
    if (across == 1) {
        return kChannelInnerShadow;
    }
    return kChannelFill;
}

void fillRect(QImage &image, int x, int y, int width, int height)
{
    for (int row = y; row < y + height; ++row) {
        for (int column = x; column < x + width; ++column) {
            image.setPixel(column, row, kGlyphInk);
        }
    }
}

void outline(QImage &image, int x, int y, int size, int topThickness)
{
    fillRect(image, x, y, size, topThickness);
    fillRect(image, x, y + size - 1, size, 1);
    fillRect(image, x, y, 1, size);
    fillRect(image, x + size - 1, y, 1, size);
}

} // namespace

QImage builtinTrackChannel(Qt::Orientation orientation)
{
    constexpr int kLengthPx = 16;
    constexpr int kThicknessPx = 8;
    const bool horizontal = orientation == Qt::Horizontal;
    QImage image(horizontal ? kLengthPx : kThicknessPx, horizontal ? kThicknessPx : kLengthPx, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y,
                horizontal ? channelPixel(x, y, kLengthPx, kThicknessPx) : channelPixel(y, x, kLengthPx, kThicknessPx));
        }
    }
    return image;
}

QImage builtinMenuGlyphs()
{
    QImage image(4 * kMenuGlyphSizePx, kMenuGlyphSizePx, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const auto origin = [](MenuGlyph glyph) { return static_cast<int>(glyph) * kMenuGlyphSizePx; };

    // Restore: a window in front of another.
    int x = origin(MenuGlyph::Restore);
    outline(image, x + 6, 3, 7, 2);
    fillRect(image, x + 3, 6, 7, 7);
    for (int row = 8; row < 12; ++row) {
        for (int column = x + 4; column < x + 9; ++column) {
            image.setPixel(column, row, qRgba(0, 0, 0, 0));
        }
    }
    // Maximize: one window with a heavy title bar.
    x = origin(MenuGlyph::Maximize);
    outline(image, x + 3, 3, 10, 2);
    // Minimize: a bar at the bottom.
    x = origin(MenuGlyph::Minimize);
    fillRect(image, x + 4, 11, 8, 2);
    // Close: a cross two pixels thick.
    x = origin(MenuGlyph::Close);
    for (int i = 0; i < 8; ++i) {
        fillRect(image, x + 4 + i, 4 + i, 1, 1);
        fillRect(image, x + 5 + i, 4 + i, 1, 1);
        fillRect(image, x + 11 - i, 4 + i, 1, 1);
        fillRect(image, x + 12 - i, 4 + i, 1, 1);
    }
    return image;
}
