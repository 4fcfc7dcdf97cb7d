// After all sections: the images the engine derives from the loaded ones (built-in track channels, the combo
// button mirror, the composed combo strip and arrow strip, the tool-bar gradient).
#include "skin/draw/builtinimages.h"
#include "skin/draw/colourblend.h"
#include "skin/draw/nineslice.h"
#include "skin/model/platformlook.h"
#include "skinloadsteps.h"

#include <QPainter>
#include <algorithm>

namespace skinload {

namespace {

constexpr QRgb kMagenta = 0xFFFF00FF;
constexpr int kComboCellWidthPx = 50;
constexpr int kComboCellHeightPx = 21;
constexpr int kArrowCellPx = 17;
constexpr int kToolbarWidthPx = 10;
constexpr int kToolbarHeightPx = 40;

TDataSkinObject builtinTrack(const char *name, Qt::Orientation orientation)
{
    TDataSkinObject track;
    track.name = QString::fromLatin1(name);
    track.image = builtinTrackChannel(orientation);
    track.leftWidth = track.topHeight = track.rightWidth = track.bottomHeight = 3;
    return track;
}

// The strip of kComboCellWidthPx x kComboCellHeightPx cells, one per SunkEdge frame: the sunken edge over
// the cell, the button over its right part and the arrow glyph (ExtraImages) centred on the button; the
// edit area inside is magenta again.
QImage composeComboStrip(const SkinObjects &skin, int buttonWidth)
{
    const TDataSkinObject &sunk = *skin.sunkEdge;
    const TDataSkinBorder &button = *skin.comboButton;
    const int cells = sunk.frameCount;
    QImage strip(kComboCellWidthPx * cells, kComboCellHeightPx, QImage::Format_RGB32);
    strip.fill(kMagenta);
    QPainter painter(&strip);
    for (int k = 1; k <= cells; ++k) {
        const QRect cell(kComboCellWidthPx * (k - 1), 0, kComboCellWidthPx, kComboCellHeightPx);
        painter.setClipRect(cell);
        drawNineSlice(painter, cell, sunk.image,
            frameRect(sunk.image.size(), sunk.frameCount, k, FrameStacking::SideBySide), marginsOf(sunk),
            sunk.tile == 1, sunk.trans != 0);
        const QRect part(cell.right() + 1 - buttonWidth, 0, buttonWidth, kComboCellHeightPx);
        drawNineSlice(painter, part, button.image,
            frameRect(button.image.size(), button.frameCount, k, FrameStacking::SideBySide), marginsOf(button),
            button.tile == 1, true);
        if (skin.extraImages) {
            const TDataSkinObject &extra = *skin.extraImages;
            const QRect glyph = frameRect(extra.image.size(), extra.frameCount, k, FrameStacking::SideBySide);
            if (!glyph.isEmpty()) {
                QRect placed(QPoint(0, 0), glyph.size());
                placed.moveCenter(part.center());
                painter.drawImage(placed, keyedOut(extra.image.copy(glyph)));
            }
        }
        // The rectangle from (2, 2) up to, not including, (49 - buttonWidth, 18).
        const int editWidth = 47 - buttonWidth;
        if (editWidth > 0) {
            painter.fillRect(QRect(cell.left() + 2, 2, editWidth, 16), kMagenta);
        }
    }
    return strip;
}

// The arrow part of every cell of the composed strip: columns 19 to 2 before the cell's right edge,
// rows 2 to 18.
QImage cutComboArrows(const QImage &strip, int cells)
{
    QImage arrows(kArrowCellPx * cells, kArrowCellPx, QImage::Format_RGB32);
    QPainter painter(&arrows);
    for (int k = 1; k <= cells; ++k) {
        const QRect source(kComboCellWidthPx * k - 19, 2, kArrowCellPx, kArrowCellPx);
        painter.drawImage(QPoint(kArrowCellPx * (k - 1), 0), strip, source);
    }
    return arrows;
}

void deriveCombo(const PlatformLook &look, SkinObjects &skin)
{
    if (!skin.comboButton) {
        return;
    }
    TDataSkinBorder &button = *skin.comboButton;
    if (!button.image.isNull()) {
        button.secondImage = button.image.mirrored(true, false).convertToFormat(QImage::Format_RGB888);
    }
    if (!skin.sunkEdge) {
        if (button.image.isNull()) {
            return;
        }
        TDataSkinObject &arrow = skin.comboxArrow.emplace();
        arrow.name = QStringLiteral("ComboxArrow");
        arrow.image = button.image.copy();
        for (int y = 0; y < arrow.image.height(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(arrow.image.scanLine(y));
            for (int x = 0; x < arrow.image.width(); ++x) {
                if (line[x] == kMagenta) {
                    line[x] = skin.colours.buttonFace.rgb();
                }
            }
        }
        arrow.frameCount = button.frameCount;
        return;
    }

    const int buttonWidth = look.scrollArrowWidthPx + 2;
    TDataSkinObject &sunk = *skin.sunkEdge;
    const QImage strip = composeComboStrip(skin, buttonWidth);
    button.image = strip;
    button.style = 2;
    button.frameCount = sunk.frameCount;
    button.leftWidth = 2;
    button.rightWidth = look.scrollArrowWidthPx + 4;
    button.topHeight = sunk.topHeight;
    button.bottomHeight = sunk.bottomHeight;
    // Mirrored as a whole: the mirror's frame k is the strip's frame (frameCount + 1 - k).
    sunk.image = strip.mirrored(true, false);
    sunk.leftWidth = look.scrollArrowWidthPx + 4;
    sunk.rightWidth = 2;

    TDataSkinObject &arrow = skin.comboxArrow.emplace();
    arrow.name = QStringLiteral("ComboxArrow");
    arrow.image = cutComboArrows(strip, sunk.frameCount);
    arrow.frameCount = sunk.frameCount;
    // The cut is 17 pixels wide; a narrower button part leaves edit-area magenta in it, which stays unseen.
    arrow.trans = 1;
}

// The title colour: the Top edge at a third of its width and of its first frame's height.
QColor titleColour(const SkinObjects &skin)
{
    if (!skin.top || skin.top->image.isNull()) {
        return skin.colours.buttonFace;
    }
    const QImage &top = skin.top->image;
    const int frameHeight = top.height() / skin.top->frameCount;
    return top.pixelColor(top.width() / 3, frameHeight / 3);
}

void deriveToolbar(SkinObjects &skin)
{
    const QColor grey(128, 128, 128);
    const QColor title = titleColour(skin);
    const QColor top = blendColours(skin.colours.buttonFace, Qt::white, 15);
    const int brightness = titleBrightness(title);
    const QColor bottom = brightness > 110 ? blendColours(title, Qt::white, (5625 - 25 * brightness) / 140 + 50)
                                           : blendColours(grey, title, 15);
    QImage gradient(kToolbarWidthPx, kToolbarHeightPx, QImage::Format_RGB32);
    const int last = kToolbarHeightPx - 1;
    for (int y = 0; y < kToolbarHeightPx; ++y) {
        const auto mix = [&](int a, int b) { return (a * (last - y) + b * y + last / 2) / last; };
        const QRgb row
            = qRgb(mix(top.red(), bottom.red()), mix(top.green(), bottom.green()), mix(top.blue(), bottom.blue()));
        QRgb *line = reinterpret_cast<QRgb *>(gradient.scanLine(y));
        std::fill(line, line + kToolbarWidthPx, row);
    }
    TDataSkinObject &toolbar = skin.toolbar.emplace();
    toolbar.name = QStringLiteral("Toolbar");
    toolbar.image = gradient;
}

} // namespace

void deriveImages(const PlatformLook &look, SkinObjects &skin)
{
    if (!skin.track) {
        skin.track = builtinTrack("TRACK", Qt::Horizontal);
    }
    if (!skin.trackVert) {
        skin.trackVert = builtinTrack("TRACKVERT", Qt::Vertical);
    }
    deriveCombo(look, skin);
    deriveToolbar(skin);
}

} // namespace skinload
