// SkinPainter: how the control and menu painters put skin objects on a painter: frame k of an object
// nine-sliced over a rectangle or at its own size. Cut and keyed frames are cached, since the same few frames
// are drawn on every repaint.
#pragma once

#include <QImage>
#include <QRect>

#include "nineslice.h"

class QPainter;
struct TDataSkinObject;

class SkinPainter
{
public:
    explicit SkinPainter(QPainter &painter)
        : m_painter(painter)
    { }

    // Frame `index` (1-based, frames side by side) of the object's image nine-sliced over target with the
    // object's margins, Tile and Trans.
    void drawObject(const TDataSkinObject &object, int index, const QRect &target);
    // The same for another image of the object (a glyph strip, a mirrored copy) with the object's frame count.
    void drawObjectImage(const TDataSkinObject &object, const QImage &image, int index, const QRect &target);
    // Frame `index` of image (frameCount frames side by side) stretched over target, magenta transparent.
    void drawStretched(const QImage &image, int frameCount, int index, const QRect &target);

    // Frame `index` of image cut out, keyed out (Format_ARGB32) when transparent. Null when the index is
    // outside the image.
    static QImage frame(const QImage &image, int frameCount, int index, bool transparent);

private:
    QPainter &m_painter;
};
