// A small frame skin made in code for the frame tests: edges of known thickness whose frames are flat colours
// (active and inactive differ), and title-bar buttons whose frames are flat colours too, so that every
// expected pixel is known.
#pragma once

#include <QColor>
#include <QImage>

#include "skin/model/skinobjects.h"

namespace frametest {

inline constexpr int kLeftPx = 4;
inline constexpr int kTopPx = 20;
inline constexpr int kRightPx = 5;
inline constexpr int kBottomPx = 6;
inline constexpr QSize kButtonSize {18, 14};

// An image of `frames` frames laid side by side or stacked, frame k filled with colours[k - 1].
inline QImage framedImage(QSize frame, const QList<QColor> &colours, bool stacked)
{
    const int count = int(colours.size());
    QImage image(stacked ? QSize(frame.width(), frame.height() * count) : QSize(frame.width() * count, frame.height()),
        QImage::Format_RGB32);
    for (int k = 0; k < count; ++k) {
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                image.setPixel(
                    stacked ? x : x + k * frame.width(), stacked ? y + k * frame.height() : y, colours[k].rgb());
            }
        }
    }
    return image;
}

inline TDataSkinBorder edge(QSize frame, QColor active, QColor inactive, bool stacked)
{
    TDataSkinBorder border;
    border.image = framedImage(frame, {active, inactive}, stacked);
    border.frameCount = 2;
    return border;
}

inline TDataSkinSysButton button(int action, int align, int xcoord, int ycoord, int visibility = 0)
{
    TDataSkinSysButton b;
    b.action = action;
    b.align = align;
    b.xcoord = xcoord;
    b.ycoord = ycoord;
    b.visibility = visibility;
    if (action != 3 && action != 11) {
        b.image = framedImage(kButtonSize, {Qt::red, Qt::green, Qt::blue, Qt::gray}, false);
        b.frameCount = 4;
    }
    return b;
}

// Edges 4, 20, 5 and 6 pixels thick, opaque; the caption 20 pixels in, clipped 40 pixels before the right end;
// close (action 0) 20 pixels from the right, the icon button at (2, 2).
inline SkinObjects skin()
{
    SkinObjects objects;
    objects.left = edge({kLeftPx, 8}, QColor(10, 20, 30), QColor(110, 120, 130), false);
    objects.right = edge({kRightPx, 8}, QColor(11, 21, 31), QColor(111, 121, 131), false);
    objects.top = edge({16, kTopPx}, QColor(12, 22, 32), QColor(112, 122, 132), true);
    objects.bottom = edge({16, kBottomPx}, QColor(13, 23, 33), QColor(113, 123, 133), true);
    objects.title.leftWidth = 20;  // TextShift
    objects.title.rightWidth = 40; // TextRightClip
    objects.title.fontHeight = 12;
    objects.colours.titleTextActive = Qt::white;
    objects.colours.titleTextNoActive = Qt::black;
    objects.sysButtons = {button(0, 1, 20, 3), button(3, 0, 2, 2)};
    return objects;
}

} // namespace frametest
