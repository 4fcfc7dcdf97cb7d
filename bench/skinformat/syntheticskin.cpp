// Generated skin-like bitmaps: each image is a strip of frames (states), each frame a vertical gradient
// with a darker border, optionally rounded corners keyed out in magenta and a light dither.
#include "syntheticskin.h"

#include <cstdint>
#include <random>
#include <string>

namespace {

struct Part
{
    const char *name;
    int frameWidth;
    int height;
    int frames;
    bool rounded;
    bool dithered;
};

// Sizes as a skin's frame edges, title-bar buttons and control states come.
constexpr Part kParts[kSyntheticBitmaps] = {
    {"title.bmp", 420, 30, 2, true, false},
    {"left.bmp", 6, 300, 2, false, false},
    {"right.bmp", 6, 300, 2, false, false},
    {"bottom.bmp", 420, 6, 2, false, false},
    {"close.bmp", 22, 20, 4, true, false},
    {"maximize.bmp", 22, 20, 4, true, false},
    {"minimize.bmp", 22, 20, 4, true, false},
    {"restore.bmp", 22, 20, 4, true, false},
    {"help.bmp", 22, 20, 4, true, false},
    {"sysmenu.bmp", 20, 20, 2, false, false},
    {"button.bmp", 75, 25, 5, true, false},
    {"check.bmp", 15, 15, 8, false, false},
    {"radio.bmp", 15, 15, 8, true, false},
    {"group.bmp", 120, 60, 1, true, false},
    {"combo.bmp", 18, 22, 4, false, false},
    {"comboedge.bmp", 120, 22, 2, false, false},
    {"edit.bmp", 120, 22, 2, false, false},
    {"updown.bmp", 16, 11, 8, false, false},
    {"hscroll.bmp", 17, 17, 8, false, false},
    {"vscroll.bmp", 17, 17, 8, false, false},
    {"hthumb.bmp", 60, 17, 3, true, false},
    {"vthumb.bmp", 17, 60, 3, true, false},
    {"hscrollbg.bmp", 100, 17, 2, false, false},
    {"vscrollbg.bmp", 17, 100, 2, false, false},
    {"header.bmp", 90, 22, 3, false, false},
    {"menuitem.bmp", 160, 22, 2, false, false},
    {"menubg.bmp", 220, 220, 1, false, true},
    {"menubar.bmp", 300, 22, 1, false, false},
    {"progress.bmp", 200, 18, 1, true, false},
    {"progressbar.bmp", 200, 18, 1, true, false},
    {"tab.bmp", 70, 24, 4, true, false},
    {"tabpane.bmp", 200, 100, 1, false, false},
    {"trackthumb.bmp", 11, 21, 4, true, false},
    {"trackbar.bmp", 150, 8, 2, false, false},
    {"formbg.bmp", 128, 128, 1, false, true},
    {"statusbar.bmp", 300, 20, 1, false, false},
    {"toolbar.bmp", 300, 26, 1, false, false},
    {"splitter.bmp", 6, 60, 2, false, false},
    {"icon.bmp", 16, 16, 2, false, false},
};

constexpr char kDescription[] = "[Form]\r\nTitle=title.bmp\r\nLeft=left.bmp\r\nRight=right.bmp\r\n"
                                "Bottom=bottom.bmp\r\nTopLeft=8\r\nTopRight=8\r\nColor=0x00E0E0E0\r\n";

void appendLittleEndian(std::vector<uint8_t> &bytes, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i) {
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

std::vector<uint8_t> bitmap(const Part &part, std::mt19937 &random)
{
    const int width = part.frameWidth * part.frames;
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    std::vector<uint8_t> bytes {'B', 'M'};
    appendLittleEndian(bytes, static_cast<uint32_t>(54 + rowBytes * part.height), 4);
    appendLittleEndian(bytes, 0, 4);
    appendLittleEndian(bytes, 54, 4);
    for (const uint32_t field : {40u, uint32_t(width), uint32_t(part.height)}) {
        appendLittleEndian(bytes, field, 4);
    }
    appendLittleEndian(bytes, 1, 2);
    appendLittleEndian(bytes, 24, 2);
    for (const uint32_t field : {0u, uint32_t(rowBytes * part.height), 2835u, 2835u, 0u, 0u}) {
        appendLittleEndian(bytes, field, 4);
    }
    const int hue = static_cast<int>(random() % 60);
    for (int y = part.height - 1; y >= 0; --y) { // bottom-up rows
        for (int x = 0; x < width; ++x) {
            const int frame = x / part.frameWidth;
            const int fx = x % part.frameWidth;
            const bool border = fx == 0 || fx == part.frameWidth - 1 || y == 0 || y == part.height - 1;
            const bool corner = part.rounded && (fx + y < 2 || part.frameWidth - 1 - fx + y < 2);
            int shade = 230 - frame * 12 - y * 40 / part.height;
            if (border) {
                shade -= 90;
            }
            if (part.dithered) {
                shade += static_cast<int>(random() % 5) - 2;
            }
            const uint8_t blue = corner ? 255 : static_cast<uint8_t>(shade);
            const uint8_t green = corner ? 0 : static_cast<uint8_t>(shade - hue / 2);
            const uint8_t red = corner ? 255 : static_cast<uint8_t>(shade - hue);
            bytes.insert(bytes.end(), {blue, green, red});
        }
        bytes.insert(bytes.end(), static_cast<size_t>(rowBytes - width * 3), 0);
    }
    return bytes;
}

} // namespace

std::vector<skinpack::PackageEntry> syntheticSkin()
{
    std::mt19937 random(2024);
    std::vector<skinpack::PackageEntry> entries;
    entries.push_back({"skin.ini", std::vector<uint8_t>(kDescription, kDescription + sizeof kDescription - 1)});
    for (const Part &part : kParts) {
        entries.push_back({part.name, bitmap(part, random)});
    }
    return entries;
}
