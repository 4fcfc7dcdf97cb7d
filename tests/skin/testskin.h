// A skin for painting tests: every image is made of solid frames, frame k of object o in its own colour
// (frameColour), so that a single pixel tells which frame of which object was drawn. Sections can be left out
// to test what happens without them.
#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

#include "skin/component/skindata.h"
#include "testpackage.h"

namespace testskin {

// The objects of the test skin, numbered for frameColour.
enum Object {
    Buttons = 1,
    CheckBox,
    Radio,
    ComboButton,
    SunkEdge,
    ExtraImages,
    UpDownVert,
    Scrollbar,
    HorzScroll,
    VertScroll,
    HorzThumb,
    VertThumb,
    Headerbar,
    MenuItem,
    MenuBackground,
};

inline QRgb frameColour(Object object, int frame)
{
    return qRgb(16 + 9 * frame, 10 * int(object), 200);
}

inline std::vector<QRgb> frames(Object object, int count)
{
    std::vector<QRgb> colours;
    for (int k = 1; k <= count; ++k) {
        colours.push_back(frameColour(object, k));
    }
    return colours;
}

// The named colours of the test skin.
inline const QColor kButtonFace(200, 201, 202);
inline const QColor kButtonText(1, 2, 3);
inline const QColor kButtonShadow(90, 91, 92);
inline const QColor kButtonHilight(240, 241, 242);
inline const QColor kWindowText(5, 6, 7);
inline const QColor kMenu(250, 249, 248);

struct Options
{
    QSet<QString> leftOut;      // sections not written
    int comboStyle = 1;         // ComboButton's Style
    bool normalColour2 = false; // Buttons gives NormalColour2 (0 128 0)
};

inline QByteArray package(const Options &options = {})
{
    QByteArray text
        = "[TitlebarSkin]\nSkinName=Test\n"
          "[Colours]\nButtonFace=200 201 202\nButtonText=1 2 3\nButtonShadow=90 91 92\nButtonHilight=240 241 242\n"
          "WindowText=5 6 7\nMenu=250 249 248\nMenuText=9 9 9\nHilight=0 0 128\nHilightText=255 255 255\n";
    std::vector<std::pair<std::string, QImage>> images;
    const auto section = [&](const char *name, const QByteArray &body, Object object, int count, QSize frameSize,
                             const char *image = "Image") {
        if (options.leftOut.contains(QLatin1String(name))) {
            return;
        }
        const std::string file = std::string(name) + ".bmp";
        text += "[" + QByteArray(name) + "]\n" + image + "=" + QByteArray::fromStdString(file) + "\n" + body;
        images.emplace_back(file, solidFrames(frameSize.width(), frameSize.height(), frames(object, count)));
    };
    section("Buttons",
        "LeftWidth=4\nTopHeight=4\nRightWidth=4\nBottomHeight=4\nTrans=1\nCheckButton=check.bmp\n"
        "CheckButtonFrame=12\nRadioButton=radio.bmp\nRadioButtonFrame=8\n"
            + QByteArray(options.normalColour2 ? "NormalColour2=0 128 0\n" : ""),
        Buttons, 5, {20, 20}, "Bitmap");
    if (!options.leftOut.contains(QStringLiteral("Buttons"))) {
        images.emplace_back("check.bmp", solidFrames(13, 13, frames(CheckBox, 12)));
        images.emplace_back("radio.bmp", solidFrames(13, 13, frames(Radio, 8)));
    }
    section("ComboButton",
        "LeftWidth=2\nTopHeight=3\nRightWidth=3\nBottomHeight=3\nFrame=4\nTrans=1\nStyle="
            + QByteArray::number(options.comboStyle) + "\n",
        ComboButton, 4, {18, 21});
    section("SunkEdge", "LeftWidth=3\nTopHeight=3\nRightWidth=3\nBottomHeight=3\nFrame=4\nTrans=1\n", SunkEdge, 4,
        {24, 21});
    section("ExtraImages", "Frame=5\nTrans=1\n", ExtraImages, 5, {8, 8});
    section(
        "UpDown.Vert", "LeftWidth=3\nTopHeight=3\nRightWidth=3\nBottomHeight=3\nTrans=1\n", UpDownVert, 8, {16, 11});
    section("Scrollbar", "Frame=23\nTrans=1\n", Scrollbar, 23, {16, 16});
    section("HorzScroll", "Frame=4\n", HorzScroll, 4, {16, 16});
    section("VertScroll", "Frame=4\n", VertScroll, 4, {16, 16});
    section("HorzScrollThumb", "LeftWidth=6\nRightWidth=6\nTrans=1\nFrameCount=3\n", HorzThumb, 3, {16, 16});
    section("VertScrollThumb", "TopHeight=6\nBottomHeight=6\nTrans=1\nFrameCount=3\n", VertThumb, 3, {16, 16});
    section("Headerbar", "LeftWidth=2\nTopHeight=2\nRightWidth=2\nBottomHeight=2\nFrame=5\n", Headerbar, 5, {24, 20});
    section("MenuItem", "LeftWidth=4\nTopHeight=4\nRightWidth=4\nBottomHeight=4\nFrame=5\nTrans=1\n", MenuItem, 5,
        {24, 20});
    section("MenuBackground", "LeftWidth=4\nTopHeight=4\nRightWidth=4\nBottomHeight=4\nFrame=1\n", MenuBackground, 1,
        {24, 24});
    TestPackage package(text);
    for (const auto &[name, image] : images) {
        package.image(name, image);
    }
    return package.package();
}

// A loaded component serving the test skin, with the program's options.
inline void load(TSkinData &data, const Options &options = {})
{
    data.setOptions(TSkinData::xoPreview | TSkinData::xoNoFocusRect | TSkinData::xoToolbarBK);
    data.setSkinStream(TSkinData::framedSkinStream(package(options)));
}

} // namespace testskin
