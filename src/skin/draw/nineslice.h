// Frames and nine-slice drawing of skin images: where frame k of an image lies, how a frame is cut at its
// margins onto a target rectangle, and magenta keying. Shared by the loader's derived images and painting.
#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QRgb>

class QPainter;
struct TDataSkinObject;

enum class FrameStacking { SideBySide, Stacked };

struct SliceMargins
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct SlicePiece
{
    QRect source; // within the frame
    QRect target;
    bool centre = false; // stretched or tiled by the object's Tile; the others are stretched
};

// A pixel keyed out as transparent: red 255, green 0 or 1, blue 255.
inline bool isKeyMagenta(QRgb pixel)
{
    return qRed(pixel) == 255 && qGreen(pixel) <= 1 && qBlue(pixel) == 255;
}

// Frame `index` (1-based) of an image of frameCount equal frames; the last frame ends at
// (image size / frameCount) * frameCount. Empty for an index outside 1..frameCount.
QRect frameRect(const QSize &imageSize, int frameCount, int index, FrameStacking stacking);

// The pieces of a frame of frameSize cut at margins and laid over target: corners at their size, sides
// stretched along their length, the centre last. When the target (or the frame) is narrower than the two
// side margins together both are treated as 0; likewise top and bottom. Pieces of zero size are left out.
QList<SlicePiece> nineSlicePieces(const QSize &frameSize, SliceMargins margins, const QRect &target);

// A copy in Format_ARGB32 whose key-magenta pixels are fully transparent; the others keep their alpha
// (opaque for images without alpha).
QImage keyedOut(const QImage &image);

// How skin images are scaled onto a painter while it lives, the painter's own hint restored afterwards. Skin images
// are pixel art: at an integer scale (1, or 2 on a high-density screen) each image pixel becomes a whole block of
// device pixels (nearest pixel), which stays sharp and exact; at a fractional scale (1.5) blocks of unequal size
// would show as uneven stripes, so the image is smoothed there. The scale is the painter's own, device pixel ratio
// included.
class SkinImageScaling
{
public:
    explicit SkinImageScaling(QPainter &painter);
    ~SkinImageScaling();
    SkinImageScaling(const SkinImageScaling &) = delete;
    SkinImageScaling &operator=(const SkinImageScaling &) = delete;

    // Whether the painter maps its coordinates onto the device at integer factors without rotation or shear.
    static bool isIntegerScale(const QPainter &painter);

private:
    QPainter &m_painter;
    bool m_smooth;
};

// Draws frame `source` of image nine-sliced over target, the centre tiled when tile is set, magenta
// transparent when transparent is set, scaled as SkinImageScaling says.
void drawNineSlice(QPainter &painter, const QRect &target, const QImage &image, const QRect &source,
    SliceMargins margins, bool tile, bool transparent);
// The same for a frame already cut out of its image (and keyed out when it is to be transparent).
void drawNineSliceFrame(QPainter &painter, const QRect &target, const QImage &frame, SliceMargins margins, bool tile);

// The margins of an object.
SliceMargins marginsOf(const TDataSkinObject &object);
