// Skin data objects: what the painting code reads of one skin element (image, slicing margins, frames,
// colours). Built from a skin description by the loader; plain values, freely copied.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// One element: an image of frameCount equal states and the nine-slice margins that cut each state.
// Images are Format_RGB32; magenta (255, 0 or 1, 255) marks transparent pixels when trans is set.
struct TDataSkinObject
{
    int leftWidth = 0;
    int topHeight = 0;
    int rightWidth = 0;
    int bottomHeight = 0;
    QImage image; // null when the image key is missing or its entry is absent or unreadable
    int trans = 0;
    int tile = 0;       // 0: the centre is stretched; 1: tiled
    QString name;       // the section the object was read from
    int frameCount = 1; // always at least 1
    int style = 0;
    // Indices into the numbered colour table, -1 when absent.
    int normalColour = -1;
    int mouseOverColour = -1;
    int pressedColour = -1;
    // Text colours; the skin's ButtonText colour when absent.
    QColor normalColour2;
    QColor mouseOverColour2;
    QColor pressedColour2;
};

// An element with a second image (the second image key of its section, or a derived copy).
struct TDataSkinBorder : TDataSkinObject
{
    QImage secondImage;
};

// The caption of a group box: the label background and how it is placed.
struct TDataSkinBoxLabel : TDataSkinObject
{
    int backgroundLeftShift = 0;
    int backgroundRightShift = 0;
    int backgroundAlignment = 0;
};
