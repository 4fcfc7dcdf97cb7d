// Tests of the shipped skin: the embedded package loads completely, every image its description names is
// present with the frame layout the painting code expects, and the derived images are made.
#include "skin/format/quickini.h"
#include "skin/format/skinreader.h"
#include "skin/load/shippedskin.h"
#include "skin/load/skinloader.h"

#include <QTest>
#include <map>

class ShippedSkinTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyNamedImageIsLoaded_data();
    void everyNamedImageIsLoaded();
    void frameEdges();
    void titleBarButtons();
    void controls();
    void derivedImages();

private:
    TQuickIni m_description;
    SkinObjects m_skin;
};

namespace {

std::span<const uint8_t> bytesOf(const QByteArray &bytes)
{
    return {reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())};
}

// Each image key of the description and the image loaded for it.
std::map<QString, const QImage *> loadedImages(const SkinObjects &skin)
{
    std::map<QString, const QImage *> images;
    const auto add = [&](const QString &key, const auto &object) {
        if (object) {
            images[key] = &object->image;
        }
    };
    add("Personality/Left", skin.left);
    add("Personality/Right", skin.right);
    add("Personality/Top", skin.top);
    add("Personality/Bottom", skin.bottom);
    add("Personality/menuBar", skin.menuBar);
    add("Progress/Bitmap", skin.progress);
    add("Progress.Chunk/Image", skin.progressChunk);
    add("GroupBoxEdge/Image", skin.groupBoxEdge);
    add("GroupBox/Image", skin.groupBox);
    add("Tabs/Image", skin.tabs);
    add("StatusBarEdges/Image", skin.statusBarEdges);
    add("Tab.Pane/Image", skin.tabPane);
    add("ToolBars/Image", skin.toolBars);
    add("SunkEdge/Image", skin.sunkEdge);
    add("ComboButton/Image", skin.comboButton);
    add("ExtraImages/Image", skin.extraImages);
    add("Headerbar/Image", skin.headerbar);
    add("MenuItem/Image", skin.menuItem);
    add("MenuBackground/Image", skin.menuBackground);
    add("Scrollbar/Image", skin.scrollbar);
    add("HorzScroll/Image", skin.horzScroll);
    add("VertScroll/Image", skin.vertScroll);
    add("HorzScrollThumb/Image", skin.horzScrollThumb);
    add("VertScrollThumb/Image", skin.vertScrollThumb);
    add("Trackbar.ThumbHorz/Image", skin.trackThumbHorz);
    add("Trackbar.ThumbVert/Image", skin.trackThumbVert);
    add("Trackbar.ThumbLeft/Image", skin.trackThumbLeft);
    add("Trackbar.ThumbRight/Image", skin.trackThumbRight);
    add("Trackbar.ThumbUp/Image", skin.trackThumbUp);
    add("Trackbar.ThumbDown/Image", skin.trackThumbDown);
    add("UpDown.Horz/Image", skin.upDownHorz);
    add("UpDown.Vert/Image", skin.upDownVert);
    add("Buttons/Bitmap", skin.buttons);
    if (skin.buttons) {
        images["Buttons/CheckButton"] = &skin.buttons->checkImage;
        images["Buttons/RadioButton"] = &skin.buttons->radioImage;
    }
    if (skin.tabs) {
        images["Tabs/Border"] = &skin.tabs->secondImage;
    }
    if (skin.upDownHorz) {
        images["UpDown.Horz/GlyphImage"] = &skin.upDownHorz->secondImage;
    }
    if (skin.upDownVert) {
        images["UpDown.Vert/GlyphImage"] = &skin.upDownVert->secondImage;
    }
    for (const TDataSkinSysButton &button : skin.sysButtons) {
        if (button.align != 100) {
            images[button.name + "/ButtonImage"] = &button.image;
        }
    }
    return images;
}

QSize frameSize(const TDataSkinObject &object)
{
    return {object.image.width() / object.frameCount, object.image.height()};
}

} // namespace

void ShippedSkinTest::initTestCase()
{
    const QByteArray package = shippedSkinPackage();
    QVERIFY(!package.isEmpty());
    TSkinReader reader;
    QVERIFY(reader.open(bytesOf(package)));
    std::string name;
    const std::vector<uint8_t> description = reader.extractFirstContaining(".ini", &name);
    QCOMPARE(QString::fromStdString(name), QStringLiteral("framewright.ini"));
    m_description.load(std::string_view(reinterpret_cast<const char *>(description.data()), description.size()));

    PlatformLook look;
    look.scrollArrowWidthPx = 16;
    SkinLoadResult result = loadSkin(bytesOf(package), look);
    QVERIFY2(result.objects, qPrintable(result.errorText));
    m_skin = std::move(*result.objects);
}

void ShippedSkinTest::everyNamedImageIsLoaded_data()
{
    QTest::addColumn<QString>("key");
    const QStringList imageKeys {
        "Image", "Bitmap", "CheckButton", "RadioButton", "Border", "GlyphImage", "ButtonImage"};
    const QStringList personalityKeys {"Left", "Right", "Top", "Bottom", "menuBar", "TextBack"};
    for (const std::string &section : m_description.readSections()) {
        for (const QString &key : section == "Personality" ? personalityKeys : imageKeys) {
            if (!m_description.readString(section, key.toStdString(), {}).empty()) {
                const QString name = QString::fromStdString(section) + "/" + key;
                QTest::newRow(qPrintable(name)) << name;
            }
        }
    }
}

void ShippedSkinTest::everyNamedImageIsLoaded()
{
    QFETCH(QString, key);
    const std::map<QString, const QImage *> images = loadedImages(m_skin);
    const auto found = images.find(key);
    if (key == "MDICONTROLS/Image") {
        QVERIFY(!m_skin.sysButtons.back().image.isNull());
        return;
    }
    QVERIFY2(found != images.end(), "no object for this image key");
    QVERIFY(!found->second->isNull());
}

void ShippedSkinTest::frameEdges()
{
    QVERIFY(m_skin.left && m_skin.right && m_skin.top && m_skin.bottom);
    for (const TDataSkinBorder *edge : {&*m_skin.left, &*m_skin.right, &*m_skin.top, &*m_skin.bottom}) {
        QCOMPARE(edge->frameCount, 2); // active and inactive
        QCOMPARE(edge->tile, 0);
    }
    // Thicknesses: the left and right edges side by side, the top and bottom ones stacked.
    const int left = m_skin.left->image.width() / 2;
    const int right = m_skin.right->image.width() / 2;
    const int title = m_skin.top->image.height() / 2;
    const int bottom = m_skin.bottom->image.height() / 2;
    QCOMPARE(left, right);
    QVERIFY(title > 2 * left);
    QVERIFY(bottom > 0);
    // Left and right edges run the full window height: their fixed top part covers the title bar.
    QCOMPARE(m_skin.left->topHeight, title);
    // The rounded top corners are keyed out: magenta at the outer corner, none along the client side.
    QVERIFY(m_skin.left->trans && m_skin.top->trans);
    QCOMPARE(m_skin.left->image.pixel(0, 0), 0xffff00ff);
    QCOMPARE(m_skin.right->image.pixel(right - 1, 0), 0xffff00ff);
    QVERIFY(m_skin.left->image.pixel(0, m_skin.left->image.height() - 1) != 0xffff00ff);
    QVERIFY(m_skin.top->image.pixel(m_skin.top->image.width() / 2, 0) != 0xffff00ff);
}

void ShippedSkinTest::titleBarButtons()
{
    std::map<int, int> actions;
    for (const TDataSkinSysButton &button : m_skin.sysButtons) {
        ++actions[button.action];
        if (button.align == 100) {
            QCOMPARE(button.frameCount, 4);
            QVERIFY(!button.image.isNull());
            continue;
        }
        if (button.action == 3) {
            QVERIFY(button.image.isNull()); // the window icon is drawn instead
            continue;
        }
        QCOMPARE(button.frameCount, 4); // normal, pressed, hot, inactive
        QCOMPARE(button.align, 1);
        QCOMPARE(button.image.width() % 4, 0);
        const int title = m_skin.top->image.height() / 2;
        QVERIFY(button.ycoord + button.image.height() <= title);
    }
    QCOMPARE(actions, (std::map<int, int> {{0, 1}, {1, 2}, {2, 1}, {3, 1}, {7, 1}, {8, 1}, {9, 1}}));
}

void ShippedSkinTest::controls()
{
    QVERIFY(m_skin.buttons);
    QCOMPARE(m_skin.buttons->frameCount, 5);
    QCOMPARE(m_skin.buttons->checkFrameCount, 12);
    QCOMPARE(m_skin.buttons->radioFrameCount, 8);
    QCOMPARE(m_skin.buttons->checkImage.width() % 12, 0);
    QCOMPARE(m_skin.buttons->radioImage.width() % 8, 0);
    QVERIFY(m_skin.scrollbar);
    QCOMPARE(m_skin.scrollbar->frameCount, 23);
    QCOMPARE(frameSize(*m_skin.scrollbar).width(), m_skin.scrollbar->image.height()); // square frames
    QVERIFY(m_skin.upDownVert && m_skin.upDownHorz);
    QCOMPARE(m_skin.upDownVert->secondImage.size(), m_skin.upDownVert->image.size());
    QCOMPARE(m_skin.upDownHorz->secondImage.size(), m_skin.upDownHorz->image.size());
    QVERIFY(m_skin.menuItem && m_skin.menuBackground && m_skin.headerbar && m_skin.tabs && m_skin.tabPane);
    QVERIFY(m_skin.progress && m_skin.progressChunk);
    QCOMPARE(m_skin.progress->frameCount, 2);
    QCOMPARE(m_skin.title.fontHeight, 13);
    QCOMPARE(m_skin.skinName, QStringLiteral("Framewright"));
    QCOMPARE(m_skin.colours.hilight, QColor(0x2f, 0x7f, 0xbf)); // the accent
    QCOMPARE(int(m_skin.colourTable.size()), 5);
}

void ShippedSkinTest::derivedImages()
{
    QVERIFY(m_skin.comboButton && m_skin.sunkEdge && m_skin.comboxArrow && m_skin.toolbar);
    QCOMPARE(m_skin.comboButton->style, 2);
    QCOMPARE(m_skin.comboButton->image.size(), QSize(200, 21));
    QCOMPARE(m_skin.comboxArrow->image.size(), QSize(68, 17));
    QVERIFY(m_skin.track && m_skin.trackVert); // the skin has none of its own: the built-in channels
    QCOMPARE(m_skin.track->name, QStringLiteral("TRACK"));
}

QTEST_GUILESS_MAIN(ShippedSkinTest)
#include "shippedskin_test.moc"
