// Frame rectangles, nine-slice geometry and drawing, magenta keying.
#include "nineslice.h"

#include <QBrush>
#include <QPainter>

#include "skin/model/dataskinobject.h"

QRect frameRect(const QSize &imageSize, int frameCount, int index, FrameStacking stacking)
{
    if (frameCount < 1 || index < 1 || index > frameCount) {
        return {};
    }
    if (stacking == FrameStacking::SideBySide) {
        const int width = imageSize.width() / frameCount;
        return QRect(width * (index - 1), 0, width, imageSize.height());
    }
    const int height = imageSize.height() / frameCount;
    return QRect(0, height * (index - 1), imageSize.width(), height);
}

SkinImageScaling::SkinImageScaling(QPainter &painter)
    : m_painter(painter)
    , m_smooth(painter.testRenderHint(QPainter::SmoothPixmapTransform))
{
    // Widget painters may come with smooth scaling on.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !isIntegerScale(painter));
}

SkinImageScaling::~SkinImageScaling()
{
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, m_smooth);
}

bool SkinImageScaling::isIntegerScale(const QPainter &painter)
{
    const QTransform transform = painter.deviceTransform();
    const auto whole = [](qreal factor) {
        factor = qAbs(factor);
        return factor >= 1 && qFuzzyCompare(factor, qreal(qRound(factor)));
    };
    return transform.type() <= QTransform::TxScale && whole(transform.m11()) && whole(transform.m22());
}

namespace {

struct Cuts
{
    int start;
    int end;
};

// The fixed parts at both ends of one direction; both 0 when they do not fit the frame or the target.
Cuts cutsFor(int first, int last, int frameLength, int targetLength)
{
    first = std::max(first, 0);
    last = std::max(last, 0);
    if (first + last > frameLength || first + last > targetLength) {
        return {0, 0};
    }
    return {first, last};
}

} // namespace

QList<SlicePiece> nineSlicePieces(const QSize &frameSize, SliceMargins margins, const QRect &target)
{
    const Cuts h = cutsFor(margins.left, margins.right, frameSize.width(), target.width());
    const Cuts v = cutsFor(margins.top, margins.bottom, frameSize.height(), target.height());
    // Column and row bounds in the frame and in the target.
    const int sx[4] = {0, h.start, frameSize.width() - h.end, frameSize.width()};
    const int tx[4] = {
        target.left(), target.left() + h.start, target.left() + target.width() - h.end, target.left() + target.width()};
    const int sy[4] = {0, v.start, frameSize.height() - v.end, frameSize.height()};
    const int ty[4] = {
        target.top(), target.top() + v.start, target.top() + target.height() - v.end, target.top() + target.height()};
    QList<SlicePiece> pieces;
    SlicePiece centre;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            SlicePiece piece;
            piece.source = QRect(sx[column], sy[row], sx[column + 1] - sx[column], sy[row + 1] - sy[row]);
            piece.target = QRect(tx[column], ty[row], tx[column + 1] - tx[column], ty[row + 1] - ty[row]);
            piece.centre = row == 1 && column == 1;
            if (piece.source.isEmpty() || piece.target.isEmpty()) {
                continue;
            }
            if (piece.centre) {
                centre = piece;
            } else {
                pieces.append(piece);
            }
        }
    }
    if (!centre.source.isEmpty()) {
        pieces.append(centre);
    }
    return pieces;
}

QImage keyedOut(const QImage &image)
{
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if (isKeyMagenta(line[x])) {
                line[x] = 0;
            }
        }
    }
    return keyed;
}

void drawNineSlice(QPainter &painter, const QRect &target, const QImage &image, const QRect &source,
    SliceMargins margins, bool tile, bool transparent)
{
    const QRect frame = source.intersected(image.rect());
    if (frame.isEmpty() || target.isEmpty()) {
        return;
    }
    drawNineSliceFrame(painter, target, transparent ? keyedOut(image.copy(frame)) : image.copy(frame), margins, tile);
}

void drawNineSliceFrame(QPainter &painter, const QRect &target, const QImage &frame, SliceMargins margins, bool tile)
{
    if (frame.isNull() || target.isEmpty()) {
        return;
    }
    const SkinImageScaling scaling(painter);
    for (const SlicePiece &piece : nineSlicePieces(frame.size(), margins, target)) {
        if (piece.centre && tile) {
            painter.save();
            painter.setBrushOrigin(piece.target.topLeft());
            painter.fillRect(piece.target, QBrush(frame.copy(piece.source)));
            painter.restore();
        } else {
            painter.drawImage(piece.target, frame, piece.source);
        }
    }
}

SliceMargins marginsOf(const TDataSkinObject &object)
{
    return {object.leftWidth, object.topHeight, object.rightWidth, object.bottomHeight};
}
