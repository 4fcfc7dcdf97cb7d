// Fuzz target for a whole skin load (package, description, objects, images, derived images) and for nine-slice
// drawing of every loaded object. Input: byte 0 chooses the form. Even: the rest is a skin package as stored.
// Odd: the rest is a description (2-byte little-endian length, then the text) followed by entries
// (1-byte name length, name, 2-byte little-endian size, bytes), packed here with literal codes only, so that
// mutations reach the description and the bitmaps instead of breaking the compressed stream.
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "lzhencoder.h"
#include "packagewriter.h"
#include "skin/draw/nineslice.h"
#include "skin/load/skinimage.h"
#include "skin/load/skinloader.h"

namespace {

constexpr size_t kMaxInputBytes = 512 * 1024;

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

class Input
{
public:
    explicit Input(std::span<const uint8_t> bytes)
        : m_bytes(bytes)
    { }
    bool empty() const { return m_bytes.empty(); }
    size_t number(int width)
    {
        size_t value = 0;
        for (int i = 0; i < width && !m_bytes.empty(); ++i) {
            value |= size_t(m_bytes.front()) << (8 * i);
            m_bytes = m_bytes.subspan(1);
        }
        return value;
    }
    std::vector<uint8_t> take(size_t count)
    {
        count = std::min(count, m_bytes.size());
        std::vector<uint8_t> taken(m_bytes.begin(), m_bytes.begin() + std::ptrdiff_t(count));
        m_bytes = m_bytes.subspan(count);
        return taken;
    }

private:
    std::span<const uint8_t> m_bytes;
};

std::vector<uint8_t> packStructured(std::span<const uint8_t> bytes)
{
    Input input(bytes);
    std::vector<skinpack::PackageEntry> entries;
    entries.push_back({"skin.ini", input.take(input.number(2))});
    while (!input.empty() && entries.size() < 64) {
        const std::vector<uint8_t> name = input.take(input.number(1));
        std::string entryName(name.begin(), name.end());
        for (char &c : entryName) {
            if (c == '\r' || c == '\n') {
                c = '_'; // a line break would split the directory line
            }
        }
        entries.push_back({entryName, input.take(input.number(2))});
    }
    const std::vector<uint8_t> image = skinpack::unpackedImage(entries);
    skinpack::LzhEncoder encoder;
    for (uint8_t byte : image) {
        encoder.literal(byte);
    }
    std::vector<uint8_t> package(4);
    const uint32_t unpacked = uint32_t(image.size());
    for (int i = 0; i < 4; ++i) {
        package[size_t(i)] = uint8_t(unpacked >> (8 * i));
    }
    const std::vector<uint8_t> stream = encoder.finish();
    package.insert(package.end(), stream.begin(), stream.end());
    return package;
}

void checkImage(const QImage &image)
{
    check(image.width() <= kMaxSkinImageSidePx && image.height() <= kMaxSkinImageSidePx);
}

// Draws every frame of the object nine-sliced onto two targets, as painting code does.
void exercise(const TDataSkinObject &object, FrameStacking stacking = FrameStacking::SideBySide)
{
    check(object.frameCount >= 1);
    checkImage(object.image);
    static QImage canvas(64, 40, QImage::Format_RGB32);
    QPainter painter(&canvas);
    const int frames = std::min(object.frameCount, 30);
    for (int k = 1; k <= frames; ++k) {
        const QRect source = frameRect(object.image.size(), object.frameCount, k, stacking);
        for (const QRect &target : {QRect(0, 0, 64, 40), QRect(3, 5, 7, 9)}) {
            drawNineSlice(
                painter, target, object.image, source, marginsOf(object), object.tile == 1, object.trans != 0);
        }
    }
}

template<typename T> void exercise(const std::optional<T> &object, FrameStacking stacking = FrameStacking::SideBySide)
{
    if (object) {
        exercise(*object, stacking);
    }
}

void checkSkin(const SkinObjects &skin)
{
    exercise(skin.left);
    exercise(skin.right);
    exercise(skin.top, FrameStacking::Stacked);
    exercise(skin.bottom, FrameStacking::Stacked);
    exercise(skin.title, FrameStacking::Stacked);
    check(skin.sysButtons.size() >= 3);
    for (const TDataSkinSysButton &button : skin.sysButtons) {
        exercise(button);
    }
    if (skin.buttons) {
        exercise(*skin.buttons);
        checkImage(skin.buttons->checkImage);
        checkImage(skin.buttons->radioImage);
        check(skin.buttons->checkFrameCount >= 1 && skin.buttons->radioFrameCount >= 1);
    }
    for (const auto *object :
        {&skin.progressChunk, &skin.menuBar, &skin.groupBoxEdge, &skin.statusBarEdges, &skin.tabPane, &skin.toolBars,
            &skin.sunkEdge, &skin.extraImages, &skin.headerbar, &skin.menuItem, &skin.menuBackground, &skin.scrollbar,
            &skin.horzScroll, &skin.vertScroll, &skin.horzScrollThumb, &skin.vertScrollThumb, &skin.trackThumbHorz,
            &skin.trackThumbVert, &skin.trackThumbLeft, &skin.trackThumbRight, &skin.trackThumbUp, &skin.trackThumbDown,
            &skin.track, &skin.trackVert, &skin.comboxArrow, &skin.toolbar}) {
        exercise(*object);
    }
    for (const auto *object : {&skin.progress, &skin.tabs, &skin.comboButton, &skin.upDownHorz, &skin.upDownVert}) {
        exercise(*object);
    }
    exercise(skin.groupBox);
    check(skin.track && skin.trackVert && skin.toolbar);
    check(skin.toolbar->image.size() == QSize(10, 40));
    if (skin.comboButton && skin.comboButton->style == 2 && skin.sunkEdge) {
        check(skin.comboButton->image.size() == QSize(50 * skin.sunkEdge->frameCount, 21));
        check(skin.sunkEdge->image.size() == skin.comboButton->image.size());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0 || size > kMaxInputBytes) {
        return 0;
    }
    const std::span<const uint8_t> rest(data + 1, size - 1);
    const std::vector<uint8_t> package
        = (data[0] & 1) ? packStructured(rest) : std::vector<uint8_t>(rest.begin(), rest.end());
    PlatformLook look;
    look.colours.buttonFace = QColor(240, 244, 248);
    look.scrollArrowWidthPx = 16 + (data[0] >> 1) % 40; // also arrow widths beyond the 50-pixel combo cell
    const SkinLoadResult result = loadSkin(package, look);
    if (result.objects) {
        checkSkin(*result.objects);
    } else {
        check(!result.errorText.isEmpty());
    }
    return 0;
}
