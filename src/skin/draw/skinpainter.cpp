// Skin-object drawing with a cache of cut frames.
#include "skinpainter.h"

#include <QHash>
#include <QPainter>

#include "skin/model/dataskinobject.h"

namespace {

// Cut frames by image, frame and keying. A skin has some two hundred frames; the budget only guards
// against images that change under the same cache (a skin reloaded many times).
constexpr qsizetype kFrameCacheBudget = 1024;

struct FrameKey
{
    qint64 image;
    int frameCount;
    int index;
    bool transparent;
    bool operator==(const FrameKey &) const = default;
};

size_t qHash(const FrameKey &key, size_t seed)
{
    return qHashMulti(seed, key.image, key.frameCount, key.index, key.transparent);
}

QHash<FrameKey, QImage> &frameCache()
{
    static QHash<FrameKey, QImage> cache;
    return cache;
}

} // namespace

QImage SkinPainter::frame(const QImage &image, int frameCount, int index, bool transparent)
{
    const QRect source = frameRect(image.size(), frameCount, index, FrameStacking::SideBySide);
    if (image.isNull() || source.isEmpty()) {
        return {};
    }
    const FrameKey key {image.cacheKey(), frameCount, index, transparent};
    QHash<FrameKey, QImage> &cache = frameCache();
    if (const auto found = cache.constFind(key); found != cache.constEnd()) {
        return *found;
    }
    if (cache.size() >= kFrameCacheBudget) {
        cache.clear();
    }
    // The same pixels drawNineSlice draws from, so both scale alike.
    const QImage cut = image.copy(source);
    const QImage pixels = transparent ? keyedOut(cut) : cut;
    cache.insert(key, pixels);
    return pixels;
}

void SkinPainter::drawObject(const TDataSkinObject &object, int index, const QRect &target)
{
    drawObjectImage(object, object.image, index, target);
}

void SkinPainter::drawObjectImage(const TDataSkinObject &object, const QImage &image, int index, const QRect &target)
{
    drawNineSliceFrame(m_painter, target, frame(image, object.frameCount, index, object.trans != 0), marginsOf(object),
        object.tile == 1);
}

void SkinPainter::drawStretched(const QImage &image, int frameCount, int index, const QRect &target)
{
    const QImage pixels = frame(image, frameCount, index, true);
    if (!pixels.isNull() && !target.isEmpty()) {
        const SkinImageScaling scaling(m_painter);
        m_painter.drawImage(target, pixels);
    }
}
