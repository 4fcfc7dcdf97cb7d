// Tests of skin loading: title-bar buttons (keep and drop rules, frame counts, MDI buttons), image
// references, frame-count rules and caps, edges, colours, the title and the description lookup.
#include "skin/load/skinloader.h"

#include <QTest>
#include <functional>

#include "testpackage.h"

Q_DECLARE_METATYPE(std::string)

namespace {

constexpr QRgb kPlatformText = 0xff010203;
constexpr QRgb kPlatformFace = 0xff040506;
constexpr QRgb kPlatformHilight = 0xff070809;

PlatformLook testLook()
{
    PlatformLook look;
    SkinColours &c = look.colours;
    for (QColor *colour : {&c.windowText, &c.buttonFace, &c.scrollbar, &c.hilightText, &c.hilight, &c.menubar, &c.menu,
             &c.menuText, &c.buttonText, &c.buttonHilight, &c.buttonlight, &c.buttonShadow, &c.buttonDkShadow,
             &c.menuBarText, &c.titleTextActive, &c.titleTextNoActive}) {
        *colour = QColor(0x11, 0x22, 0x33);
    }
    c.windowText = QColor::fromRgb(kPlatformText);
    c.buttonFace = QColor::fromRgb(kPlatformFace);
    c.buttonHilight = QColor::fromRgb(kPlatformHilight);
    c.buttonlight = QColor::fromRgb(kPlatformHilight);
    look.scrollArrowWidthPx = 16;
    return look;
}

QImage solid(int widthPx, int heightPx, QRgb colour = 0xff336699)
{
    return solidFrames(widthPx, heightPx, {colour});
}

std::optional<SkinObjects> load(const TestPackage &package)
{
    const std::vector<uint8_t> bytes = package.bytes();
    return loadSkin(bytes, testLook()).objects;
}

// The images every test package may refer to.
TestPackage withImages(const QByteArray &description)
{
    TestPackage package(description);
    package.image("img.bmp", solid(40, 10));
    package.image("wide.bmp", solid(39, 10));   // 3.9 times as wide as high
    package.image("narrow.bmp", solid(38, 10)); // 3.8 times
    package.image("box13.bmp", solid(52, 13));
    package.image("box16.bmp", solid(160, 16));
    package.image("smallbox.bmp", solid(20, 13));
    return package;
}

// The objects a test can name by section.
const TDataSkinObject *objectNamed(const SkinObjects &skin, const QString &name)
{
    const std::map<QString, std::function<const TDataSkinObject *()>> objects = {
        {"Top", [&] { return skin.top ? &*skin.top : nullptr; }},
        {"Left", [&] { return skin.left ? &*skin.left : nullptr; }},
        {"Buttons", [&] { return skin.buttons ? &*skin.buttons : nullptr; }},
        {"Progress", [&] { return skin.progress ? &*skin.progress : nullptr; }},
        {"Progress.Chunk", [&] { return skin.progressChunk ? &*skin.progressChunk : nullptr; }},
        {"menuBar", [&] { return skin.menuBar ? &*skin.menuBar : nullptr; }},
        {"GroupBoxEdge", [&] { return skin.groupBoxEdge ? &*skin.groupBoxEdge : nullptr; }},
        {"GroupBox", [&] { return skin.groupBox ? &*skin.groupBox : nullptr; }},
        {"Tabs", [&] { return skin.tabs ? &*skin.tabs : nullptr; }},
        {"StatusBarEdges", [&] { return skin.statusBarEdges ? &*skin.statusBarEdges : nullptr; }},
        {"Tab.Pane", [&] { return skin.tabPane ? &*skin.tabPane : nullptr; }},
        {"ToolBars", [&] { return skin.toolBars ? &*skin.toolBars : nullptr; }},
        {"ExtraImages", [&] { return skin.extraImages ? &*skin.extraImages : nullptr; }},
        {"Headerbar", [&] { return skin.headerbar ? &*skin.headerbar : nullptr; }},
        {"MenuItem", [&] { return skin.menuItem ? &*skin.menuItem : nullptr; }},
        {"MenuBackground", [&] { return skin.menuBackground ? &*skin.menuBackground : nullptr; }},
        {"Scrollbar", [&] { return skin.scrollbar ? &*skin.scrollbar : nullptr; }},
        {"HorzScroll", [&] { return skin.horzScroll ? &*skin.horzScroll : nullptr; }},
        {"HorzScrollThumb", [&] { return skin.horzScrollThumb ? &*skin.horzScrollThumb : nullptr; }},
        {"VertScrollThumb", [&] { return skin.vertScrollThumb ? &*skin.vertScrollThumb : nullptr; }},
        {"Trackbar.ThumbUp", [&] { return skin.trackThumbUp ? &*skin.trackThumbUp : nullptr; }},
        {"UpDown.Vert", [&] { return skin.upDownVert ? &*skin.upDownVert : nullptr; }},
        {"Track", [&] { return skin.track ? &*skin.track : nullptr; }},
        {"SunkEdge", [&] { return skin.sunkEdge ? &*skin.sunkEdge : nullptr; }},
    };
    const auto found = objects.find(name);
    return found == objects.end() ? nullptr : found->second();
}

QStringList sysButtonNames(const SkinObjects &skin)
{
    QStringList names;
    for (const TDataSkinSysButton &button : skin.sysButtons) {
        if (button.align != 100) {
            names.append(button.name);
        }
    }
    return names;
}

} // namespace

class SkinLoadTest : public QObject
{
    Q_OBJECT

private slots:
    void keptTitleBarButtons_data();
    void keptTitleBarButtons();
    void titleBarButtonFields_data();
    void titleBarButtonFields();
    void mdiButtons();
    void imageReferences_data();
    void imageReferences();
    void frameCounts_data();
    void frameCounts();
    void caps_data();
    void caps();
    void edges();
    void namedColours();
    void colourTableAndCustomColours();
    void captionColours_data();
    void captionColours();
    void buttonTextColours();
    void title();
    void descriptionLookup_data();
    void descriptionLookup();
};

void SkinLoadTest::keptTitleBarButtons_data()
{
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<QStringList>("kept");

    QTest::newRow("control sections are not title-bar buttons")
        << QByteArray("[BUTTONS]\r\n[Button.Radio]\r\n[button.checkbox]\r\n[Button]\r\n[BUTTON1]\r\n[ButtonX]")
        << QStringList {"BUTTON1", "ButtonX"};
    QTest::newRow("prefix only at the start")
        << QByteArray("[MyButton]\r\n[BUTTONS2]\r\n[Button.Radio2]") << QStringList {"BUTTONS2", "Button.Radio2"};
    QTest::newRow("action -1 without Visibility is dropped") << QByteArray("[BUTTON1]\r\nAction=-1") << QStringList {};
    QTest::newRow("action -1 with Visibility 0 stays")
        << QByteArray("[BUTTON1]\r\nAction=-1\r\nVisibility=0") << QStringList {"BUTTON1"};
    QTest::newRow("action -1 with Visibility 3 is dropped")
        << QByteArray("[BUTTON1]\r\nAction=-1\r\nVisibility=3") << QStringList {};
    QTest::newRow("action -2 without Visibility stays")
        << QByteArray("[BUTTON1]\r\nAction=-2") << QStringList {"BUTTON1"};
    QTest::newRow("no action is action 0") << QByteArray("[BUTTON1]") << QStringList {"BUTTON1"};
    QTest::newRow("file order") << QByteArray("[BUTTON.Z]\r\n[BUTTON.A]\r\n[BUTTON.M]")
                                << QStringList {"BUTTON.Z", "BUTTON.A", "BUTTON.M"};
}

void SkinLoadTest::keptTitleBarButtons()
{
    QFETCH(QByteArray, description);
    QFETCH(QStringList, kept);
    const std::optional<SkinObjects> skin = load(TestPackage(description));
    QVERIFY(skin);
    QCOMPARE(sysButtonNames(*skin), kept);
    QCOMPARE(int(skin->sysButtons.size()), kept.size() + 3);
}

void SkinLoadTest::titleBarButtonFields_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<int>("frameCount");
    QTest::addColumn<bool>("hasImage");
    QTest::addColumn<int>("visibility1");

    QTest::newRow("given frame count") << QByteArray("ButtonImage=img.bmp\r\nframe=4") << 4 << true << 0;
    QTest::newRow("3.8 times as wide: 3 frames") << QByteArray("ButtonImage=narrow.bmp") << 3 << true << 0;
    QTest::newRow("3.9 times as wide: 6 frames") << QByteArray("ButtonImage=wide.bmp") << 6 << true << 0;
    QTest::newRow("no image: 6 frames") << QByteArray("") << 6 << false << 0;
    QTest::newRow("negative action: 6 frames") << QByteArray("ButtonImage=narrow.bmp\r\nAction=-2") << 6 << true << 0;
    QTest::newRow("action -1 kept by Visibility 0")
        << QByteArray("ButtonImage=narrow.bmp\r\nAction=-1\r\nVisibility=0") << 6 << true << -1;
    QTest::newRow("action 3 draws the icon")
        << QByteArray("ButtonImage=img.bmp\r\nAction=3\r\nframe=4") << 4 << false << 0;
    QTest::newRow("action 11: frames from the image, then it is cleared")
        << QByteArray("ButtonImage=narrow.bmp\r\nAction=11") << 3 << false << 0;
    QTest::newRow("negative frame count") << QByteArray("ButtonImage=img.bmp\r\nframe=-5") << 1 << true << 0;
    QTest::newRow("given Visibility1") << QByteArray("Visibility1=7") << 6 << false << 7;
}

void SkinLoadTest::titleBarButtonFields()
{
    QFETCH(QByteArray, keys);
    QFETCH(int, frameCount);
    QFETCH(bool, hasImage);
    QFETCH(int, visibility1);
    const std::optional<SkinObjects> skin = load(withImages("[BUTTON1]\r\nXcoord=30\r\nAlign=1\r\n" + keys));
    QVERIFY(skin);
    QCOMPARE(int(skin->sysButtons.size()), 4);
    const TDataSkinSysButton &button = skin->sysButtons.front();
    QCOMPARE(button.frameCount, frameCount);
    QCOMPARE(!button.image.isNull(), hasImage);
    QCOMPARE(button.visibility1, visibility1);
    QCOMPARE(button.xcoord, 30);
    QCOMPARE(button.align, 1);
    QCOMPARE(button.ycoord, 0);
    QCOMPARE(button.combineOp, -1);
}

void SkinLoadTest::mdiButtons()
{
    TestPackage package("[MDICONTROLS]\r\nImage=mdi.bmp");
    // 96 pixels: a = 8, three slices of 32, each marked by its own colour.
    package.image("mdi.bmp", solidFrames(32, 10, {0xffff0000, 0xff00ff00, 0xff0000ff}));
    const std::optional<SkinObjects> skin = load(package);
    QVERIFY(skin);
    QCOMPARE(int(skin->sysButtons.size()), 3);
    const QRgb colours[] = {0xffff0000, 0xff00ff00, 0xff0000ff};
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton &button = skin->sysButtons[size_t(i)];
        QCOMPARE(button.action, 7 + i);
        QCOMPARE(button.align, 100);
        QCOMPARE(button.visibility, 100);
        QCOMPARE(button.visibility1, 100);
        QCOMPARE(button.frameCount, 4);
        QCOMPARE(button.image.size(), QSize(32, 10));
        QCOMPARE(button.image.pixel(0, 0), colours[i]);
        QCOMPARE(button.image.pixel(31, 9), colours[i]);
        QCOMPARE(button.xcoord, 12 * (3 - i));
    }

    const std::optional<SkinObjects> without = load(TestPackage("[Colours]"));
    QVERIFY(without);
    QCOMPARE(int(without->sysButtons.size()), 3);
    QVERIFY(without->sysButtons[0].image.isNull());
    QCOMPARE(without->sysButtons[2].action, 9);
}

void SkinLoadTest::imageReferences_data()
{
    QTest::addColumn<QByteArray>("reference");
    QTest::addColumn<bool>("loaded");

    QTest::newRow("plain name") << QByteArray("grip.bmp") << true;
    QTest::newRow("name in capitals finds the entry") << QByteArray("GRIP.bmp") << true;
    QTest::newRow("folder part dropped (backslashes)") << QByteArray("C:\\skins\\mine\\grip.bmp") << true;
    QTest::newRow("folder part dropped (slashes)") << QByteArray("skins/mine/grip.bmp") << true;
    QTest::newRow("extension in capitals refused") << QByteArray("grip.BMP") << false;
    QTest::newRow("extension in mixed case refused") << QByteArray("grip.Bmp") << false;
    QTest::newRow("no extension") << QByteArray("grip") << false;
    QTest::newRow("other extension") << QByteArray("grip.png") << false;
    QTest::newRow("missing entry") << QByteArray("missing.bmp") << false;
    QTest::newRow("empty entry") << QByteArray("empty.bmp") << false;
    QTest::newRow("not a bitmap") << QByteArray("junk.bmp") << false;
    QTest::newRow("header beyond the image budget") << QByteArray("huge.bmp") << false;
    QTest::newRow("folder only") << QByteArray("skins\\") << false;
}

void SkinLoadTest::imageReferences()
{
    QFETCH(QByteArray, reference);
    QFETCH(bool, loaded);
    TestPackage package("[ExtraImages]\r\nImage=" + reference);
    package.image("grip.bmp", solid(12, 6));
    package.raw("empty.bmp", QByteArray());
    package.raw("junk.bmp", QByteArray("BM this is not a bitmap"));
    // A bitmap header that claims 5000 x 5000 pixels, followed by too few bytes.
    QByteArray huge = QByteArray::fromHex("424d"
                                          "36000000"
                                          "00000000"
                                          "36000000"
                                          "28000000"
                                          "88130000"
                                          "88130000"
                                          "0100"
                                          "1800"
                                          "00000000"
                                          "00000000"
                                          "00000000"
                                          "00000000"
                                          "00000000"
                                          "00000000");
    package.raw("huge.bmp", huge + QByteArray(64, '\0'));
    const std::optional<SkinObjects> skin = load(package);
    QVERIFY(skin);
    QVERIFY(skin->extraImages); // the key names an image, so the object exists
    QCOMPARE(!skin->extraImages->image.isNull(), loaded);
    if (loaded) {
        QCOMPARE(skin->extraImages->image.size(), QSize(12, 6));
        QCOMPARE(skin->extraImages->image.format(), QImage::Format_RGB32);
    }
}

void SkinLoadTest::frameCounts_data()
{
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("frameCount");

    QTest::newRow("edge frame given") << QByteArray("[Personality]\r\nTop=img.bmp\r\nTopFrame=2") << "Top" << 2;
    QTest::newRow("edge frame default 1") << QByteArray("[Personality]\r\nTop=img.bmp") << "Top" << 1;
    QTest::newRow("edge frame 0 reads as 1")
        << QByteArray("[Personality]\r\nLeft=img.bmp\r\nLeftFrame=0") << "Left" << 1;
    QTest::newRow("push buttons always 5") << QByteArray("[Buttons]\r\nBitmap=img.bmp\r\nFrame=2") << "Buttons" << 5;
    QTest::newRow("progress style 0: 2") << QByteArray("[Progress]\r\nBitmap=img.bmp\r\nFrame=7") << "Progress" << 2;
    QTest::newRow("progress style 1: 1") << QByteArray("[Progress]\r\nBitmap=img.bmp\r\nStyle=1") << "Progress" << 1;
    QTest::newRow("progress chunk from Frame")
        << QByteArray("[Progress.Chunk]\r\nImage=img.bmp\r\nFrame=3") << "Progress.Chunk" << 3;
    QTest::newRow("progress chunk without Frame: 1")
        << QByteArray("[Progress.Chunk]\r\nImage=img.bmp") << "Progress.Chunk" << 1;
    QTest::newRow("menu bar 2") << QByteArray("[Personality]\r\nmenuBar=img.bmp") << "menuBar" << 2;
    QTest::newRow("group box edge 2") << QByteArray("[GroupBoxEdge]\r\nImage=img.bmp") << "GroupBoxEdge" << 2;
    QTest::newRow("group box label 1") << QByteArray("[GroupBox]\r\nImage=img.bmp\r\nFrame=4") << "GroupBox" << 1;
    QTest::newRow("tabs 5") << QByteArray("[Tabs]\r\nImage=img.bmp") << "Tabs" << 5;
    QTest::newRow("status bar 3") << QByteArray("[StatusBarEdges]\r\nImage=img.bmp") << "StatusBarEdges" << 3;
    QTest::newRow("tab pane 1") << QByteArray("[Tab.Pane]\r\nImage=img.bmp\r\nFrame=3") << "Tab.Pane" << 1;
    QTest::newRow("tool bars 5") << QByteArray("[ToolBars]\r\nImage=img.bmp") << "ToolBars" << 5;
    QTest::newRow("sunken edge 4") << QByteArray("[SunkEdge]\r\nImage=img.bmp") << "SunkEdge" << 4;
    QTest::newRow("extra images 5") << QByteArray("[ExtraImages]\r\nImage=img.bmp\r\nFrame=1") << "ExtraImages" << 5;
    QTest::newRow("header 5 when Frame gave 0") << QByteArray("[Headerbar]\r\nImage=img.bmp") << "Headerbar" << 5;
    QTest::newRow("header from Frame") << QByteArray("[Headerbar]\r\nImage=img.bmp\r\nFrame=3") << "Headerbar" << 3;
    QTest::newRow("menu item 5") << QByteArray("[MenuItem]\r\nImage=img.bmp") << "MenuItem" << 5;
    QTest::newRow("menu background 1") << QByteArray("[MenuBackground]\r\nImage=img.bmp") << "MenuBackground" << 1;
    QTest::newRow("scroll bar 23") << QByteArray("[Scrollbar]\r\nImage=img.bmp\r\nFrame=2") << "Scrollbar" << 23;
    QTest::newRow("scroll track 4") << QByteArray("[HorzScroll]\r\nImage=img.bmp") << "HorzScroll" << 4;
    QTest::newRow("thumb default 3") << QByteArray("[HorzScrollThumb]\r\nImage=img.bmp\r\nFrame=9") << "HorzScrollThumb"
                                     << 3;
    QTest::newRow("thumb from FrameCount")
        << QByteArray("[VertScrollThumb]\r\nImage=img.bmp\r\nFrameCount=2") << "VertScrollThumb" << 2;
    QTest::newRow("track-bar thumb 5") << QByteArray("[Trackbar.ThumbUp]\r\nImage=img.bmp") << "Trackbar.ThumbUp" << 5;
    QTest::newRow("up-down 8") << QByteArray("[UpDown.Vert]\r\nImage=img.bmp\r\nGlyphImage=img.bmp") << "UpDown.Vert"
                               << 8;
    QTest::newRow("track from Frame") << QByteArray("[Track]\r\nImage=img.bmp\r\nFrame=2") << "Track" << 2;
}

void SkinLoadTest::frameCounts()
{
    QFETCH(QByteArray, description);
    QFETCH(QString, object);
    QFETCH(int, frameCount);
    const std::optional<SkinObjects> skin = load(withImages(description));
    QVERIFY(skin);
    const TDataSkinObject *found = objectNamed(*skin, object);
    QVERIFY(found);
    QVERIFY(!found->image.isNull());
    QCOMPARE(found->frameCount, frameCount);
}

void SkinLoadTest::caps_data()
{
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("tile");
    QTest::addColumn<int>("margin"); // left width

    QTest::newRow("Tile 1 tiles") << QByteArray("[MenuItem]\r\nImage=img.bmp\r\nTile=1") << "MenuItem" << 1 << 0;
    QTest::newRow("Tile 2 stretches") << QByteArray("[MenuItem]\r\nImage=img.bmp\r\nTile=2") << "MenuItem" << 0 << 0;
    QTest::newRow("Tile -1 stretches") << QByteArray("[MenuItem]\r\nImage=img.bmp\r\nTile=-1") << "MenuItem" << 0 << 0;
    QTest::newRow("TileMenu 5 tiles") << QByteArray("[Personality]\r\nmenuBar=img.bmp\r\nTileMenu=5") << "menuBar" << 1
                                      << 1;
    QTest::newRow("TileMenu 0 stretches") << QByteArray("[Personality]\r\nmenuBar=img.bmp\r\nTileMenu=0\r\n"
                                                        "TileLeftMenu=6")
                                          << "menuBar" << 0 << 6;
    QTest::newRow("TopStretch 5 stretches")
        << QByteArray("[Personality]\r\nTop=img.bmp\r\nTopStretch=5") << "Top" << 0 << 0;
    QTest::newRow("TopStretch 0 tiles") << QByteArray("[Personality]\r\nTop=img.bmp\r\nTopStretch=0") << "Top" << 1
                                        << 0;
    QTest::newRow("tab pane margins capped at 4")
        << QByteArray("[Tab.Pane]\r\nImage=img.bmp\r\nLeftWidth=9") << "Tab.Pane" << 0 << 4;
    QTest::newRow("tab pane margins below the cap")
        << QByteArray("[Tab.Pane]\r\nImage=img.bmp\r\nLeftWidth=3") << "Tab.Pane" << 0 << 3;
    QTest::newRow("other margins uncapped") << QByteArray("[Tabs]\r\nImage=img.bmp\r\nLeftWidth=9") << "Tabs" << 0 << 9;
}

void SkinLoadTest::caps()
{
    QFETCH(QByteArray, description);
    QFETCH(QString, object);
    QFETCH(int, tile);
    QFETCH(int, margin);
    const std::optional<SkinObjects> skin = load(withImages(description));
    QVERIFY(skin);
    const TDataSkinObject *found = objectNamed(*skin, object);
    QVERIFY(found);
    QCOMPARE(found->tile, tile);
    QCOMPARE(found->leftWidth, margin);
}

void SkinLoadTest::edges()
{
    const std::optional<SkinObjects> skin
        = load(withImages("[Personality]\r\nTop=img.bmp\r\nTopTopHeight=5\r\nTopBotHeight=6\r\nTopTrans=0\r\n"
                          "Left=img.bmp\r\nLeftTopHeight=7\r\nLeftBotHeight=8\r\nRight=\r\nBottom=img.bmp"));
    QVERIFY(skin);
    QVERIFY(skin->top && skin->left && skin->bottom);
    QVERIFY(!skin->right); // an empty value names no image
    QCOMPARE(skin->top->leftWidth, 5);
    QCOMPARE(skin->top->rightWidth, 6);
    QCOMPARE(skin->top->topHeight, 0);
    QCOMPARE(skin->top->bottomHeight, 0);
    QCOMPARE(skin->top->trans, 0);
    QCOMPARE(skin->left->topHeight, 7);
    QCOMPARE(skin->left->bottomHeight, 8);
    QCOMPARE(skin->left->leftWidth, 0);
    QCOMPARE(skin->left->rightWidth, 0);
    QCOMPARE(skin->left->trans, 1);
    QCOMPARE(skin->bottom->tile, 0);
    QCOMPARE(skin->bottom->name, QStringLiteral("Personality"));
}

void SkinLoadTest::namedColours()
{
    const std::optional<SkinObjects> skin
        = load(TestPackage("[Colours]\r\nButtonFace=10 20 30\r\nHilight=1,2,3\r\nMenu=\r\nButtonText=300 256 -1"));
    QVERIFY(skin);
    const SkinColours &c = skin->colours;
    QCOMPARE(c.buttonFace, QColor(10, 20, 30));
    QCOMPARE(c.hilight, QColor(1, 2, 3));
    QCOMPARE(c.buttonText, QColor(44, 0, 1));
    QCOMPARE(c.windowText, QColor::fromRgb(kPlatformText)); // absent: the platform colour
    QCOMPARE(c.menu, QColor(0x11, 0x22, 0x33));             // empty: the platform colour
    QCOMPARE(c.menubar, QColor(10, 20, 30));                // absent: the ButtonFace just read
    QCOMPARE(c.buttonlight, QColor::fromRgb(kPlatformHilight));

    const std::optional<SkinObjects> platform = load(TestPackage("[Colours]"));
    QVERIFY(platform);
    QCOMPARE(platform->colours.menubar, QColor::fromRgb(kPlatformFace));
}

void SkinLoadTest::colourTableAndCustomColours()
{
    const std::optional<SkinObjects> skin = load(TestPackage("[Colours]\r\nWindowText=9 9 9\r\n"
                                                             "[Colour7]\r\ncolor=1 1 1\r\n"
                                                             "[COLOURS]\r\ncolor=5 5 5\r\n"
                                                             "[colour]\r\n"
                                                             "[ColourX]\r\nCOLOR=3 3 3\r\n"
                                                             "[Customcolors]\r\nColor0=1 2 3\r\nColor9=4 5 6"));
    QVERIFY(skin);
    // Every "Colour..." section but "Colours", in file order, whatever its number.
    QCOMPARE(skin->colourTable, (QList<QColor> {QColor(1, 1, 1), QColor(9, 9, 9), QColor(3, 3, 3)}));
    QCOMPARE(skin->customColours[0], QColor(1, 2, 3));
    QCOMPARE(skin->customColours[9], QColor(4, 5, 6));
    for (int n = 1; n < 9; ++n) {
        QCOMPARE(skin->customColours[size_t(n)], QColor(Qt::white));
    }
}

void SkinLoadTest::captionColours_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QColor>("active");

    QTest::newRow("all three given") << QByteArray("CaptionActiveR=1\r\nCaptionActiveG=2\r\nCaptionActiveB=3")
                                     << QColor(1, 2, 3);
    QTest::newRow("zero is a value") << QByteArray("CaptionActiveR=0\r\nCaptionActiveG=0\r\nCaptionActiveB=0")
                                     << QColor(0, 0, 0);
    QTest::newRow("one missing") << QByteArray("CaptionActiveR=1\r\nCaptionActiveG=2") << QColor();
    QTest::newRow("one negative") << QByteArray("CaptionActiveR=1\r\nCaptionActiveG=-2\r\nCaptionActiveB=3")
                                  << QColor();
}

void SkinLoadTest::captionColours()
{
    QFETCH(QByteArray, keys);
    QFETCH(QColor, active);
    const std::optional<SkinObjects> skin = load(TestPackage("[Personality]\r\n" + keys));
    QVERIFY(skin);
    QCOMPARE(skin->title.activeColour.value_or(QColor()), active);
    QVERIFY(!skin->title.inactiveColour);
}

void SkinLoadTest::buttonTextColours()
{
    const std::optional<SkinObjects> skin
        = load(withImages("[Colours]\r\nButtonText=7 7 7\r\n[Buttons]\r\nBitmap=img.bmp\r\nNormalColour2=1 2 3\r\n"
                          "PressedColour2=\r\nNormalColour=2\r\n[MenuItem]\r\nImage=img.bmp"));
    QVERIFY(skin && skin->buttons && skin->menuItem);
    const TDataSkinButton &b = *skin->buttons;
    QVERIFY(b.hasNormalColour2);
    QVERIFY(!b.hasMouseOverColour2);
    QVERIFY(!b.hasPressedColour2);
    QCOMPARE(b.normalColour2, QColor(1, 2, 3));
    QCOMPARE(b.mouseOverColour2, QColor(7, 7, 7));
    QCOMPARE(b.pressedColour2, QColor(7, 7, 7));
    QCOMPARE(b.normalColour, 2);
    QCOMPARE(b.mouseOverColour, -1);
    QVERIFY(b.checkImage.isNull());
    QCOMPARE(b.checkFrameCount, 4);
    QCOMPARE(skin->menuItem->normalColour2, QColor(7, 7, 7));
}

void SkinLoadTest::title()
{
    const std::optional<SkinObjects> plain = load(TestPackage("[Personality]"));
    QVERIFY(plain);
    QCOMPARE(plain->title.fontHeight, 14);
    QVERIFY(plain->title.image.isNull());
    QCOMPARE(plain->title.frameCount, 2);

    const std::optional<SkinObjects> skin = load(
        withImages("[Personality]\r\nTextBack=img.bmp\r\nTextShift=28\r\nTextShiftVert=-2\r\nTextRightClip=100\r\n"
                   "TextAlignment=1\r\nTXTBackleft=3\r\nTXTBackRight=4\r\n[Fonts]\r\nFontHeight=0x0D\r\n"
                   "[TitlebarSkin]\r\nSkinName=Harbour"));
    QVERIFY(skin);
    const TDataSkinTitle &t = skin->title;
    QVERIFY(!t.image.isNull());
    QCOMPARE(t.textShift(), 28);
    QCOMPARE(t.textShiftVert(), -2);
    QCOMPARE(t.textRightClip(), 100);
    QCOMPARE(t.bottomHeight, 0);
    QCOMPARE(t.textAlignment, 1);
    QCOMPARE(t.txtBackLeft, 3);
    QCOMPARE(t.txtBackRight, 4);
    QCOMPARE(t.fontHeight, 13);
    QCOMPARE(skin->skinName, QStringLiteral("Harbour"));
}

void SkinLoadTest::descriptionLookup_data()
{
    QTest::addColumn<QStringList>("names"); // entries in package order; each holds a different skin name
    QTest::addColumn<QString>("skinName");  // empty: the package gives no skin

    QTest::newRow("description alone") << QStringList {"skin.ini"} << "skin.ini";
    QTest::newRow("first entry containing .ini") << QStringList {"a.bmp", "first.ini", "second.ini"} << "first.ini";
    QTest::newRow("containment, not extension") << QStringList {"x.ini.bak", "y.ini"} << "x.ini.bak";
    QTest::newRow("names are lower-cased") << QStringList {"SKIN.INI"} << "skin.ini";
    QTest::newRow("no description: no skin") << QStringList {"a.bmp"} << "";
}

void SkinLoadTest::descriptionLookup()
{
    QFETCH(QStringList, names);
    QFETCH(QString, skinName);
    TestPackage package("[TitlebarSkin]\r\nSkinName=placeholder", "placeholder.bin");
    for (const QString &name : names) {
        package.raw(name.toStdString(), "[TitlebarSkin]\r\nSkinName=" + name.toLower().toLatin1());
    }
    const SkinLoadResult result = loadSkin(package.bytes(), testLook());
    QCOMPARE(result.objects.has_value(), !skinName.isEmpty());
    if (result.objects) {
        QCOMPARE(result.objects->skinName, skinName);
        QVERIFY(result.errorText.isEmpty());
    } else {
        QVERIFY(!result.errorText.isEmpty());
    }
}

QTEST_GUILESS_MAIN(SkinLoadTest)
#include "skinload_test.moc"
