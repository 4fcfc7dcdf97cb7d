// Tests of the derived images (track-bar channels, combo mirror, combo strip and arrow strip, tool-bar
// gradient) by their pixels, and of the colour blending and nine-slice geometry they are made with.
#include "skin/draw/colourblend.h"
#include "skin/draw/nineslice.h"
#include "skin/load/skinloader.h"

#include <QPainter>
#include <QTest>

#include "testpackage.h"

namespace {

constexpr QRgb kMagenta = 0xffff00ff;
constexpr int kArrowWidthPx = 16; // so the button part of a combo cell is 18 pixels wide

PlatformLook testLook(QColor face = QColor(40, 50, 60))
{
    PlatformLook look;
    look.colours.buttonFace = face;
    look.colours.buttonText = Qt::black;
    look.colours.windowText = Qt::black;
    look.scrollArrowWidthPx = kArrowWidthPx;
    return look;
}

SkinObjects load(const TestPackage &package, const PlatformLook &look = testLook())
{
    std::optional<SkinObjects> objects = loadSkin(package.bytes(), look).objects;
    return objects ? std::move(*objects) : SkinObjects();
}

const std::vector<QRgb> kSunk = {0xff101010, 0xff202020, 0xff303030, 0xff404040};
const std::vector<QRgb> kButton = {0xffa00000, 0xffb00000, 0xffc00000, 0xffd00000};
const std::vector<QRgb> kExtra = {0xff00a000, 0xff00b000, 0xff00c000, 0xff00d000, 0xff00e000};

TestPackage comboPackage(bool withSunkEdge, bool withExtraImages)
{
    QByteArray description = "[ComboButton]\r\nImage=combo.bmp\r\n";
    if (withSunkEdge) {
        description += "[SunkEdge]\r\nImage=sunk.bmp\r\nTopHeight=3\r\nBottomHeight=4\r\n";
    }
    if (withExtraImages) {
        description += "[ExtraImages]\r\nImage=extra.bmp\r\n";
    }
    TestPackage package(description);
    package.image("combo.bmp", solidFrames(8, 21, kButton));
    package.image("sunk.bmp", solidFrames(10, 21, kSunk));
    package.image("extra.bmp", solidFrames(4, 4, kExtra));
    return package;
}

} // namespace

class DerivedImagesTest : public QObject
{
    Q_OBJECT

private slots:
    void trackChannels();
    void comboMirror();
    void comboStripCells_data();
    void comboStripCells();
    void comboStripMargins();
    void comboStripWithoutExtraImages();
    void comboArrowStrip();
    void comboArrowWithoutSunkEdge();
    void toolbarGradient_data();
    void toolbarGradient();
    void blend_data();
    void blend();
    void frameRects_data();
    void frameRects();
    void nineSlice_data();
    void nineSlice();
    void scaledSkinImages_data();
    void scaledSkinImages();
    void keyedOut();
};

void DerivedImagesTest::trackChannels()
{
    TestPackage builtIn("[Colours]");
    const SkinObjects skin = load(builtIn);
    QVERIFY(skin.track && skin.trackVert);
    for (const TDataSkinObject *track : {&*skin.track, &*skin.trackVert}) {
        QCOMPARE(track->leftWidth, 3);
        QCOMPARE(track->topHeight, 3);
        QCOMPARE(track->rightWidth, 3);
        QCOMPARE(track->bottomHeight, 3);
        QCOMPARE(track->tile, 0);
        QCOMPARE(track->frameCount, 1);
        QVERIFY(track->image.width() > 6 && track->image.height() > 6);
    }
    QCOMPARE(skin.track->name, QStringLiteral("TRACK"));
    QVERIFY(skin.track->image.width() > skin.track->image.height());
    QCOMPARE(skin.trackVert->name, QStringLiteral("TRACKVERT"));
    QCOMPARE(skin.trackVert->image.size(), skin.track->image.size().transposed());

    TestPackage own("[Track]\r\nImage=own.bmp\r\nLeftWidth=1");
    own.image("own.bmp", solidFrames(5, 5, {0xff123456}));
    const SkinObjects skinned = load(own);
    QVERIFY(skinned.track && skinned.trackVert);
    QCOMPARE(skinned.track->image.pixel(0, 0), 0xff123456);
    QCOMPARE(skinned.track->leftWidth, 1);
    QCOMPARE(skinned.trackVert->name, QStringLiteral("TRACKVERT"));
}

void DerivedImagesTest::comboMirror()
{
    const SkinObjects skin = load(comboPackage(true, true));
    QVERIFY(skin.comboButton);
    const QImage &mirror = skin.comboButton->secondImage;
    // The button image as loaded, mirrored as a whole: its last frame comes first.
    QCOMPARE(mirror.format(), QImage::Format_RGB888);
    QCOMPARE(mirror.size(), QSize(32, 21));
    for (int k = 0; k < 4; ++k) {
        QCOMPARE(mirror.pixel(8 * k + 3, 10), kButton[size_t(3 - k)]);
    }

    TestPackage asymmetric("[ComboButton]\r\nImage=combo.bmp");
    QImage image = solidFrames(3, 2, {0xff111111});
    image.setPixel(0, 0, 0xffabcdef);
    asymmetric.image("combo.bmp", image);
    const SkinObjects single = load(asymmetric);
    QVERIFY(single.comboButton);
    QCOMPARE(single.comboButton->secondImage.pixel(2, 0), 0xffabcdef);
    QCOMPARE(single.comboButton->secondImage.pixel(0, 0), 0xff111111);
    QCOMPARE(single.comboButton->style, 0); // no SunkEdge: no strip
    QCOMPARE(single.comboButton->image.pixel(0, 0), 0xffabcdef);
}

void DerivedImagesTest::comboStripCells_data()
{
    QTest::addColumn<int>("cell");
    for (int k = 1; k <= 4; ++k) {
        QTest::addRow("cell %d", k) << k;
    }
}

void DerivedImagesTest::comboStripCells()
{
    QFETCH(int, cell);
    const SkinObjects skin = load(comboPackage(true, true));
    QVERIFY(skin.comboButton && skin.sunkEdge);
    const QImage &strip = skin.comboButton->image;
    QCOMPARE(strip.size(), QSize(200, 21));
    const int x0 = 50 * (cell - 1);
    const QRgb sunk = kSunk[size_t(cell - 1)];
    const QRgb button = kButton[size_t(cell - 1)];
    const QRgb extra = kExtra[size_t(cell - 1)];
    for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < 50; ++x) {
            QRgb expected = sunk;
            if (x >= 32) {
                expected = button; // the button part: the last arrow width + 2 = 18 columns
            }
            if (x >= 39 && x < 43 && y >= 9 && y < 13) {
                expected = extra; // the 4 x 4 glyph centred on the button part
            }
            if (x >= 2 && x < 31 && y >= 2 && y < 18) {
                expected = kMagenta; // the edit area, from (2, 2) up to (49 - 18, 18)
            }
            QCOMPARE(strip.pixel(x0 + x, y), expected);
        }
    }
    // The SunkEdge object holds the whole strip mirrored.
    const QImage &mirrored = skin.sunkEdge->image;
    QCOMPARE(mirrored.size(), strip.size());
    for (int y = 0; y < 21; y += 5) {
        for (int x = 0; x < 50; ++x) {
            QCOMPARE(mirrored.pixel(199 - (x0 + x), y), strip.pixel(x0 + x, y));
        }
    }
}

void DerivedImagesTest::comboStripMargins()
{
    const SkinObjects skin = load(comboPackage(true, true));
    QVERIFY(skin.comboButton && skin.sunkEdge);
    const TDataSkinBorder &button = *skin.comboButton;
    QCOMPARE(button.style, 2);
    QCOMPARE(button.frameCount, 4);
    QCOMPARE(button.leftWidth, 2);
    QCOMPARE(button.rightWidth, kArrowWidthPx + 4);
    QCOMPARE(button.topHeight, 3);
    QCOMPARE(button.bottomHeight, 4);
    const TDataSkinObject &sunk = *skin.sunkEdge;
    QCOMPARE(sunk.leftWidth, kArrowWidthPx + 4);
    QCOMPARE(sunk.rightWidth, 2);
    QCOMPARE(sunk.topHeight, 3);
    QCOMPARE(sunk.frameCount, 4);
}

void DerivedImagesTest::comboStripWithoutExtraImages()
{
    const SkinObjects skin = load(comboPackage(true, false));
    QVERIFY(skin.comboButton);
    QCOMPARE(skin.comboButton->image.pixel(40, 10), kButton[0]);
    QCOMPARE(skin.comboButton->image.pixel(90, 10), kButton[1]);
}

void DerivedImagesTest::comboArrowStrip()
{
    const SkinObjects skin = load(comboPackage(true, true));
    QVERIFY(skin.comboxArrow && skin.comboButton);
    const QImage &arrows = skin.comboxArrow->image;
    QCOMPARE(skin.comboxArrow->frameCount, 4);
    QCOMPARE(skin.comboxArrow->trans, 1);
    QCOMPARE(arrows.size(), QSize(68, 17));
    for (int k = 1; k <= 4; ++k) {
        // Columns 19 to 2 before the cell's right edge, rows 2 to 18.
        const QImage expected = skin.comboButton->image.copy(50 * k - 19, 2, 17, 17);
        QCOMPARE(arrows.copy(17 * (k - 1), 0, 17, 17), expected);
        QCOMPARE(arrows.pixel(17 * (k - 1) + 8, 8), kExtra[size_t(k - 1)]);
    }
}

void DerivedImagesTest::comboArrowWithoutSunkEdge()
{
    TestPackage package("[ComboButton]\r\nImage=combo.bmp\r\nFrame=2");
    QImage image = solidFrames(4, 3, {0xff445566, kMagenta});
    image.setPixel(0, 0, 0xffff01ff); // near magenta: kept, only pure magenta is replaced
    package.image("combo.bmp", image);
    const QColor face(12, 34, 56);
    const SkinObjects skin = load(package, testLook(face));
    QVERIFY(skin.comboxArrow);
    QCOMPARE(skin.comboxArrow->frameCount, 4);
    QCOMPARE(skin.comboxArrow->image.size(), QSize(8, 3));
    QCOMPARE(skin.comboxArrow->image.pixel(0, 0), 0xffff01ff);
    QCOMPARE(skin.comboxArrow->image.pixel(1, 0), 0xff445566);
    QCOMPARE(skin.comboxArrow->image.pixel(5, 1), face.rgb());
}

void DerivedImagesTest::toolbarGradient_data()
{
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<QColor>("title"); // at a third of the Top image's width and first frame's height
    QTest::addColumn<QColor>("bottom");

    const QColor face(40, 50, 60);
    // Without a Top image the title colour is the button face; dark, so 15 % grey and 85 % face.
    QTest::newRow("no top edge") << QByteArray("[Colours]") << face
                                 << QColor((128 * 15 + 40 * 85 + 50) / 100, (128 * 15 + 50 * 85 + 50) / 100,
                                        (128 * 15 + 60 * 85 + 50) / 100);
    // A navy title keeps the grey tint.
    QTest::newRow("dark title") << QByteArray("[Personality]\r\nTop=top.bmp\r\nTopFrame=2") << QColor(23, 61, 97)
                                << QColor((128 * 15 + 23 * 85 + 50) / 100, (128 * 15 + 61 * 85 + 50) / 100,
                                       (128 * 15 + 97 * 85 + 50) / 100);
    // A light grey title (brightness 200) is blended with white, weight (5625 - 25 * 200) / 140 + 50 = 54.
    QTest::newRow("bright title") << QByteArray("[Personality]\r\nTop=top.bmp\r\nTopFrame=2") << QColor(200, 200, 200)
                                  << QColor((200 * 54 + 255 * 46 + 50) / 100, (200 * 54 + 255 * 46 + 50) / 100,
                                         (200 * 54 + 255 * 46 + 50) / 100);
}

void DerivedImagesTest::toolbarGradient()
{
    QFETCH(QByteArray, description);
    QFETCH(QColor, title);
    QFETCH(QColor, bottom);
    TestPackage package(description);
    // 30 x 20, two frames of 10 rows: only (10, 3) carries the title colour.
    QImage top = solidFrames(30, 20, {0xff999999});
    top.setPixel(10, 3, title.rgb());
    package.image("top.bmp", top);
    const SkinObjects skin = load(package);
    QVERIFY(skin.toolbar);
    const QImage &gradient = skin.toolbar->image;
    QCOMPARE(gradient.size(), QSize(10, 40));
    QCOMPARE(skin.toolbar->frameCount, 1);
    const QColor face(40, 50, 60);
    const QColor topColour(
        (40 * 15 + 255 * 85 + 50) / 100, (50 * 15 + 255 * 85 + 50) / 100, (60 * 15 + 255 * 85 + 50) / 100);
    for (int x = 0; x < 10; ++x) {
        QCOMPARE(gradient.pixelColor(x, 0), topColour);
        QCOMPARE(gradient.pixelColor(x, 39), bottom);
    }
    for (int y = 1; y < 40; ++y) {
        const QColor above = gradient.pixelColor(0, y - 1);
        const QColor here = gradient.pixelColor(0, y);
        QVERIFY(qAbs(here.red() - topColour.red()) >= qAbs(above.red() - topColour.red()));
    }
}

void DerivedImagesTest::blend_data()
{
    QTest::addColumn<QColor>("c1");
    QTest::addColumn<QColor>("c2");
    QTest::addColumn<int>("weight");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("15 of 100") << QColor(200, 0, 100) << QColor(0, 200, 100) << 15 << QColor(30, 170, 100);
    QTest::newRow("150 of 1000") << QColor(200, 0, 100) << QColor(0, 200, 100) << 150 << QColor(30, 170, 100);
    QTest::newRow("100 is 10 %") << QColor(200, 0, 0) << QColor(0, 0, 0) << 100 << QColor(20, 0, 0);
    QTest::newRow("0 is the second colour") << QColor(1, 2, 3) << QColor(4, 5, 6) << 0 << QColor(4, 5, 6);
    QTest::newRow("rounds half up") << QColor(1, 0, 0) << QColor(0, 0, 0) << 50 << QColor(1, 0, 0);
    QTest::newRow("rounds down below half") << QColor(1, 0, 0) << QColor(0, 0, 0) << 49 << QColor(0, 0, 0);
}

void DerivedImagesTest::blend()
{
    QFETCH(QColor, c1);
    QFETCH(QColor, c2);
    QFETCH(int, weight);
    QFETCH(QColor, expected);
    QCOMPARE(blendColours(c1, c2, weight), expected);
}

void DerivedImagesTest::frameRects_data()
{
    QTest::addColumn<QSize>("imageSize");
    QTest::addColumn<int>("frameCount");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("stacked");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("first side by side") << QSize(50, 10) << 5 << 1 << false << QRect(0, 0, 10, 10);
    QTest::newRow("last side by side") << QSize(50, 10) << 5 << 5 << false << QRect(40, 0, 10, 10);
    QTest::newRow("remainder left out") << QSize(52, 10) << 5 << 5 << false << QRect(40, 0, 10, 10);
    QTest::newRow("stacked") << QSize(16, 60) << 2 << 2 << true << QRect(0, 30, 16, 30);
    QTest::newRow("index 0") << QSize(50, 10) << 5 << 0 << false << QRect();
    QTest::newRow("index past the end") << QSize(50, 10) << 5 << 6 << false << QRect();
    QTest::newRow("no frames") << QSize(50, 10) << 0 << 1 << false << QRect();
}

void DerivedImagesTest::frameRects()
{
    QFETCH(QSize, imageSize);
    QFETCH(int, frameCount);
    QFETCH(int, index);
    QFETCH(bool, stacked);
    QFETCH(QRect, expected);
    QCOMPARE(frameRect(imageSize, frameCount, index, stacked ? FrameStacking::Stacked : FrameStacking::SideBySide),
        expected);
}

void DerivedImagesTest::nineSlice_data()
{
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QList<int>>("margins"); // left, top, right, bottom
    QTest::addColumn<QRect>("target");
    QTest::addColumn<QList<QRect>>("sources");
    QTest::addColumn<QList<QRect>>("targets");

    QTest::newRow("nine pieces, centre last")
        << QSize(12, 12) << QList<int> {3, 2, 4, 5} << QRect(10, 20, 30, 20)
        << QList<QRect> {{0, 0, 3, 2}, {3, 0, 5, 2}, {8, 0, 4, 2}, {0, 2, 3, 5}, {8, 2, 4, 5}, {0, 7, 3, 5},
               {3, 7, 5, 5}, {8, 7, 4, 5}, {3, 2, 5, 5}}
        << QList<QRect> {{10, 20, 3, 2}, {13, 20, 23, 2}, {36, 20, 4, 2}, {10, 22, 3, 13}, {36, 22, 4, 13},
               {10, 35, 3, 5}, {13, 35, 23, 5}, {36, 35, 4, 5}, {13, 22, 23, 13}};
    QTest::newRow("target narrower than both side margins")
        << QSize(12, 12) << QList<int> {3, 3, 3, 3} << QRect(0, 0, 5, 20)
        << QList<QRect> {{0, 0, 12, 3}, {0, 9, 12, 3}, {0, 3, 12, 6}}
        << QList<QRect> {{0, 0, 5, 3}, {0, 17, 5, 3}, {0, 3, 5, 14}};
    QTest::newRow("zero margins: the centre only") << QSize(12, 12) << QList<int> {0, 0, 0, 0} << QRect(0, 0, 5, 6)
                                                   << QList<QRect> {{0, 0, 12, 12}} << QList<QRect> {{0, 0, 5, 6}};
    QTest::newRow("margins beyond the frame count as 0") << QSize(4, 4) << QList<int> {3, 0, 3, 0} << QRect(0, 0, 20, 4)
                                                         << QList<QRect> {{0, 0, 4, 4}} << QList<QRect> {{0, 0, 20, 4}};
    QTest::newRow("negative margins count as 0") << QSize(4, 4) << QList<int> {-3, 0, 0, 0} << QRect(0, 0, 8, 4)
                                                 << QList<QRect> {{0, 0, 4, 4}} << QList<QRect> {{0, 0, 8, 4}};
    QTest::newRow("margins filling the frame: no centre")
        << QSize(4, 4) << QList<int> {2, 0, 2, 0} << QRect(0, 0, 10, 4) << QList<QRect> {{0, 0, 2, 4}, {2, 0, 2, 4}}
        << QList<QRect> {{0, 0, 2, 4}, {8, 0, 2, 4}};
}

void DerivedImagesTest::nineSlice()
{
    QFETCH(QSize, frame);
    QFETCH(QList<int>, margins);
    QFETCH(QRect, target);
    QFETCH(QList<QRect>, sources);
    QFETCH(QList<QRect>, targets);
    const QList<SlicePiece> pieces = nineSlicePieces(frame, {margins[0], margins[1], margins[2], margins[3]}, target);
    QList<QRect> gotSources;
    QList<QRect> gotTargets;
    for (const SlicePiece &piece : pieces) {
        gotSources.append(piece.source);
        gotTargets.append(piece.target);
    }
    QCOMPARE(gotSources, sources);
    QCOMPARE(gotTargets, targets);
}

void DerivedImagesTest::scaledSkinImages_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<bool>("sharp");
    QTest::newRow("scale 1") << 1.0 << true;
    QTest::newRow("scale 2: blocks of whole pixels") << 2.0 << true;
    QTest::newRow("scale 3") << 3.0 << true;
    QTest::newRow("scale 1.5: smoothed") << 1.5 << false;
    QTest::newRow("scale 1.25: smoothed") << 1.25 << false;
}

// A skin image stretched on a painter of a high-density device: at an integer scale its pixels become blocks
// (nearest pixel) exactly, at a fractional one it is smoothed; whatever hint the painter came with, it keeps.
void DerivedImagesTest::scaledSkinImages()
{
    QFETCH(qreal, scale);
    QFETCH(bool, sharp);
    QImage checker(4, 4, QImage::Format_ARGB32);
    for (int y = 0; y < checker.height(); ++y) {
        for (int x = 0; x < checker.width(); ++x) {
            checker.setPixel(x, y, (x + y) % 2 ? 0xff000000 : 0xffffffff);
        }
    }
    const QSize targetPx = QSize(8, 8) * scale;
    QImage canvas(targetPx, QImage::Format_ARGB32);
    canvas.setDevicePixelRatio(scale);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, sharp); // the opposite of what the skin needs
    drawNineSliceFrame(painter, QRect(0, 0, 8, 8), checker, SliceMargins {}, false);
    QCOMPARE(painter.testRenderHint(QPainter::SmoothPixmapTransform), sharp);
    painter.end();
    canvas.setDevicePixelRatio(1);

    if (sharp) {
        QCOMPARE(canvas, checker.scaled(targetPx, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        return;
    }
    int blended = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb pixel = canvas.pixel(x, y);
            blended += pixel != 0xff000000 && pixel != 0xffffffff;
        }
    }
    QVERIFY2(blended > 0, "only the image's own colours: scaled by nearest pixel");
}

void DerivedImagesTest::keyedOut()
{
    QImage image = solidFrames(3, 1, {0xffff00ff});
    image.setPixel(1, 0, 0xffff01ff);
    image.setPixel(2, 0, 0xffff02ff);
    const QImage keyed = ::keyedOut(image);
    QCOMPARE(qAlpha(keyed.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(keyed.pixel(1, 0)), 0);
    QCOMPARE(keyed.pixel(2, 0), 0xffff02ff);
}

QTEST_GUILESS_MAIN(DerivedImagesTest)
#include "derivedimages_test.moc"
