// framewright-skinsheet <package> <out.png>: loads a skin package as the program does and renders every image
// of every skin object, frames apart, on a checkerboard (magenta keyed out where the object is transparent),
// enlarged two times, with a small window preview drawn from the frame objects on top.
#include <cstdio>
#include <functional>

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QPainter>

#include "controlpreview.h"
#include "skin/draw/builtinimages.h"
#include "skin/draw/nineslice.h"
#include "skin/load/skinloader.h"
#include "skin/model/platformlook.h"

namespace {

constexpr int kScale = 2;
constexpr int kSheetWidthPx = 1500;
constexpr int kMarginPx = 16;
constexpr int kFrameGapPx = 6;
constexpr int kLabelHeightPx = 18;
constexpr int kCheckerPx = 6;
constexpr int kPreviewHeightPx = 640;

struct Entry
{
    QString label;
    QImage image;
    int frameCount = 1;
    FrameStacking stacking = FrameStacking::SideBySide;
    bool transparent = false;
};

int fail(const QString &message)
{
    std::fprintf(stderr, "framewright-skinsheet: %s\n", qPrintable(message));
    return 1;
}

void addObject(QList<Entry> &entries, const QString &label, const TDataSkinObject *object,
    FrameStacking stacking = FrameStacking::SideBySide)
{
    if (object && !object->image.isNull()) {
        entries.append({label, object->image, object->frameCount, stacking, object->trans != 0});
    }
}

QList<Entry> collectEntries(const SkinObjects &skin)
{
    QList<Entry> entries;
    const auto add = [&](const QString &label, const auto &object, FrameStacking stacking = FrameStacking::SideBySide) {
        addObject(entries, label, object ? &*object : nullptr, stacking);
    };
    add(QStringLiteral("Top"), skin.top, FrameStacking::Stacked);
    add(QStringLiteral("Bottom"), skin.bottom, FrameStacking::Stacked);
    add(QStringLiteral("Left"), skin.left);
    add(QStringLiteral("Right"), skin.right);
    for (const TDataSkinSysButton &button : skin.sysButtons) {
        addObject(entries, button.name + QStringLiteral(" (action %1)").arg(button.action), &button);
    }
    add(QStringLiteral("menuBar"), skin.menuBar);
    if (skin.buttons) {
        add(QStringLiteral("Buttons"), skin.buttons);
        entries.append({QStringLiteral("CheckButton"), skin.buttons->checkImage, skin.buttons->checkFrameCount,
            FrameStacking::SideBySide, skin.buttons->trans != 0});
        entries.append({QStringLiteral("RadioButton"), skin.buttons->radioImage, skin.buttons->radioFrameCount,
            FrameStacking::SideBySide, skin.buttons->trans != 0});
    }
    add(QStringLiteral("ComboButton (composed strip)"), skin.comboButton);
    if (skin.comboButton && !skin.comboButton->secondImage.isNull()) {
        entries.append({QStringLiteral("ComboButton mirror"),
            skin.comboButton->secondImage.convertToFormat(QImage::Format_RGB32), 4, FrameStacking::SideBySide, true});
    }
    add(QStringLiteral("SunkEdge (mirrored strip)"), skin.sunkEdge);
    add(QStringLiteral("ComboxArrow"), skin.comboxArrow);
    add(QStringLiteral("ExtraImages"), skin.extraImages);
    for (const auto &[label, object] : {std::pair {QStringLiteral("UpDown.Vert"), &skin.upDownVert},
             std::pair {QStringLiteral("UpDown.Horz"), &skin.upDownHorz}}) {
        if (*object) {
            add(label, *object);
            entries.append({label + QStringLiteral(" glyphs"), (*object)->secondImage, (*object)->frameCount,
                FrameStacking::SideBySide, true});
        }
    }
    add(QStringLiteral("Scrollbar"), skin.scrollbar);
    add(QStringLiteral("HorzScroll"), skin.horzScroll);
    add(QStringLiteral("VertScroll"), skin.vertScroll);
    add(QStringLiteral("HorzScrollThumb"), skin.horzScrollThumb);
    add(QStringLiteral("VertScrollThumb"), skin.vertScrollThumb);
    add(QStringLiteral("Headerbar"), skin.headerbar);
    add(QStringLiteral("MenuItem"), skin.menuItem);
    add(QStringLiteral("MenuBackground"), skin.menuBackground);
    add(QStringLiteral("Progress"), skin.progress);
    add(QStringLiteral("Progress.Chunk"), skin.progressChunk);
    add(QStringLiteral("Tabs"), skin.tabs);
    if (skin.tabs && !skin.tabs->secondImage.isNull()) {
        entries.append({QStringLiteral("Tabs border"), skin.tabs->secondImage, 1, FrameStacking::SideBySide, true});
    }
    add(QStringLiteral("Tab.Pane"), skin.tabPane);
    add(QStringLiteral("StatusBarEdges"), skin.statusBarEdges);
    add(QStringLiteral("ToolBars"), skin.toolBars);
    add(QStringLiteral("Toolbar (gradient)"), skin.toolbar);
    add(QStringLiteral("GroupBoxEdge"), skin.groupBoxEdge);
    add(QStringLiteral("GroupBox"), skin.groupBox);
    add(QStringLiteral("Trackbar.ThumbHorz"), skin.trackThumbHorz);
    add(QStringLiteral("Trackbar.ThumbVert"), skin.trackThumbVert);
    add(QStringLiteral("Trackbar.ThumbLeft"), skin.trackThumbLeft);
    add(QStringLiteral("Trackbar.ThumbRight"), skin.trackThumbRight);
    add(QStringLiteral("Trackbar.ThumbUp"), skin.trackThumbUp);
    add(QStringLiteral("Trackbar.ThumbDown"), skin.trackThumbDown);
    add(QStringLiteral("Track"), skin.track);
    add(QStringLiteral("TRACKVERT"), skin.trackVert);
    addObject(entries, QStringLiteral("TextBack"), &skin.title, FrameStacking::Stacked);
    entries.append(
        {QStringLiteral("menu glyphs (built in)"), builtinMenuGlyphs(), 4, FrameStacking::SideBySide, false});
    return entries;
}

QSize entrySize(const Entry &entry)
{
    const QRect frame = frameRect(entry.image.size(), entry.frameCount, 1, entry.stacking);
    const int frames = entry.frameCount;
    if (entry.stacking == FrameStacking::Stacked) {
        return {frame.width() * kScale, frames * (frame.height() * kScale + kFrameGapPx) - kFrameGapPx};
    }
    return {frames * (frame.width() * kScale + kFrameGapPx) - kFrameGapPx, frame.height() * kScale};
}

void drawChecker(QPainter &painter, const QRect &rect)
{
    painter.save();
    painter.setClipRect(rect);
    for (int y = rect.top(); y < rect.bottom() + 1; y += kCheckerPx) {
        for (int x = rect.left(); x < rect.right() + 1; x += kCheckerPx) {
            const bool dark = ((x - rect.left()) / kCheckerPx + (y - rect.top()) / kCheckerPx) % 2;
            painter.fillRect(QRect(x, y, kCheckerPx, kCheckerPx), dark ? QColor(0xcc, 0xcc, 0xcc) : Qt::white);
        }
    }
    painter.restore();
}

void drawEntry(QPainter &painter, const Entry &entry, QPoint at)
{
    painter.setPen(QColor(0x12, 0x31, 0x4f));
    painter.drawText(QRect(at, QSize(kSheetWidthPx, kLabelHeightPx)), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("%1  (%2 frames)").arg(entry.label).arg(entry.frameCount));
    QPoint origin = at + QPoint(0, kLabelHeightPx);
    const QImage pixels = entry.transparent ? keyedOut(entry.image) : entry.image;
    for (int k = 1; k <= entry.frameCount; ++k) {
        const QRect source = frameRect(entry.image.size(), entry.frameCount, k, entry.stacking);
        const QRect target(origin, source.size() * kScale);
        drawChecker(painter, target);
        painter.drawImage(target, pixels, source);
        if (entry.stacking == FrameStacking::Stacked) {
            origin.ry() += target.height() + kFrameGapPx;
        } else {
            origin.rx() += target.width() + kFrameGapPx;
        }
    }
}

// A window of the given size drawn from the frame objects and the title-bar buttons, as framed.
QImage drawPreviewWindow(const SkinObjects &skin, QSize size, bool active)
{
    QImage window(size, QImage::Format_ARGB32);
    window.fill(skin.colours.buttonFace);
    QPainter painter(&window);
    const int frame = active ? 1 : 2;
    const auto edge = [&](const std::optional<TDataSkinBorder> &e, const QRect &target, FrameStacking stacking) {
        if (e) {
            const int index = e->frameCount >= frame ? frame : 1;
            drawNineSlice(painter, target, e->image, frameRect(e->image.size(), e->frameCount, index, stacking),
                marginsOf(*e), e->tile == 1, e->trans != 0);
        }
    };
    const int l = skin.left ? skin.left->image.width() / skin.left->frameCount : 0;
    const int r = skin.right ? skin.right->image.width() / skin.right->frameCount : 0;
    const int t = skin.top ? skin.top->image.height() / skin.top->frameCount : 0;
    const int b = skin.bottom ? skin.bottom->image.height() / skin.bottom->frameCount : 0;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(0, 0, size.width(), t), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    edge(skin.left, QRect(0, 0, l, size.height()), FrameStacking::SideBySide);
    edge(skin.right, QRect(size.width() - r, 0, r, size.height()), FrameStacking::SideBySide);
    edge(skin.bottom, QRect(l, size.height() - b, size.width() - l - r, b), FrameStacking::Stacked);
    edge(skin.top, QRect(l, 0, size.width() - l - r, t), FrameStacking::Stacked);
    for (const TDataSkinSysButton &button : skin.sysButtons) {
        if (button.align == 0 && (button.action == 3 || button.action == 11)) {
            painter.fillRect(QRect(button.xcoord + 2, button.ycoord + 2, 12, 12), QColor(0x8c, 0xc6, 0xf0));
            continue;
        }
        if (button.image.isNull() || button.align != 1 || button.visibility == 1) {
            continue;
        }
        const int width = button.image.width() / button.frameCount;
        const int index = active ? 1 : (button.frameCount >= 4 ? 4 : 1);
        painter.drawImage(QPoint(size.width() - button.xcoord, button.ycoord), button.image,
            QRect(width * (index - 1), 0, width, button.image.height()));
    }
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(skin.title.fontHeight);
    painter.setFont(font);
    painter.setPen(active ? skin.colours.titleTextActive : skin.colours.titleTextNoActive);
    painter.drawText(QRect(l + skin.title.textShift(), 0,
                         size.width() - l - r - skin.title.textShift() - skin.title.textRightClip(), t),
        Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Framewright"));
    return window;
}

QImage renderSheet(const SkinObjects &skin)
{
    const QList<Entry> entries = collectEntries(skin);
    // Lay the entries out in rows first, to know the height.
    QList<QPoint> positions;
    int x = kMarginPx;
    int y = kMarginPx + kPreviewHeightPx + kMarginPx;
    int rowHeight = 0;
    for (const Entry &entry : entries) {
        const QSize size = entrySize(entry) + QSize(0, kLabelHeightPx);
        const int width = qMax(size.width(), 220);
        if (x + width > kSheetWidthPx - kMarginPx && x > kMarginPx) {
            x = kMarginPx;
            y += rowHeight + kMarginPx;
            rowHeight = 0;
        }
        positions.append(QPoint(x, y));
        x += width + 2 * kMarginPx;
        rowHeight = qMax(rowHeight, size.height());
    }
    QImage sheet(kSheetWidthPx, y + rowHeight + kMarginPx, QImage::Format_RGB32);
    sheet.fill(QColor(0xf4, 0xf8, 0xfc));
    QPainter painter(&sheet);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    painter.setFont(font);
    // Previews on a mid grey desktop so that the corners show: windows at scale 1, the mock dialog at
    // scales 1 and 2.
    const QRect desktop(kMarginPx, kMarginPx, kSheetWidthPx - 2 * kMarginPx, kPreviewHeightPx);
    painter.fillRect(desktop, QColor(0x5b, 0x6b, 0x7b));
    const QSize windowSize(300, 130);
    painter.drawImage(QPoint(desktop.left() + 16, desktop.top() + 16), drawPreviewWindow(skin, windowSize, true));
    painter.drawImage(QPoint(desktop.left() + 16, desktop.top() + 166), drawPreviewWindow(skin, windowSize, false));
    const QImage controls = drawControlPreview(skin, QSize(720, 300));
    painter.drawImage(QPoint(desktop.left() + 16, desktop.top() + 316), controls);
    painter.drawImage(
        QRect(QPoint(desktop.left() + 750, desktop.top() + 16), QSize(720, 600)), controls.copy(0, 0, 360, 300));
    for (int i = 0; i < entries.size(); ++i) {
        drawEntry(painter, entries[i], positions[i]);
    }
    return sheet;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        return fail(QStringLiteral("usage: framewright-skinsheet <package> <out.png>"));
    }
    QFile file(arguments.at(1));
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("cannot read %1").arg(arguments.at(1)));
    }
    const QByteArray package = file.readAll();
    const SkinLoadResult result
        = loadSkin(std::span(reinterpret_cast<const uint8_t *>(package.constData()), size_t(package.size())),
            PlatformLook::current());
    if (!result.objects) {
        return fail(QStringLiteral("the package does not load: %1").arg(result.errorText));
    }
    if (!renderSheet(*result.objects).save(arguments.at(2), "PNG")) {
        return fail(QStringLiteral("cannot write %1").arg(arguments.at(2)));
    }
    return 0;
}
