// The description text, written from the same sizes the images are drawn with. CR LF line ends.
#include "description.h"

#include <QStringList>

#include "skingeometry.h"
#include "skinpalette.h"

namespace skinart {

namespace {

QString rgb(QRgb colour)
{
    return QStringLiteral("%1 %2 %3").arg(qRed(colour)).arg(qGreen(colour)).arg(qBlue(colour));
}

class Writer
{
public:
    void section(const QString &name)
    {
        if (!m_lines.isEmpty()) {
            m_lines.append(QString());
        }
        m_lines.append(QLatin1Char('[') + name + QLatin1Char(']'));
    }
    void comment(const QString &text) { m_lines.append(QStringLiteral("; ") + text); }
    void key(const QString &name, const QString &value) { m_lines.append(name + QLatin1Char('=') + value); }
    void key(const QString &name, int value) { key(name, QString::number(value)); }
    // An image object: its file, margins (left, top, right, bottom), frame count and transparency.
    void object(const QString &section, const QString &file, int left, int top, int right, int bottom, int frames,
        bool trans, const char *imageKey = "Image")
    {
        this->section(section);
        key(QLatin1String(imageKey), file);
        key(QStringLiteral("LeftWidth"), left);
        key(QStringLiteral("TopHeight"), top);
        key(QStringLiteral("RightWidth"), right);
        key(QStringLiteral("BottomHeight"), bottom);
        key(QStringLiteral("Frame"), frames);
        key(QStringLiteral("Trans"), trans ? 1 : 0);
    }
    QByteArray text() const { return (m_lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1(); }

private:
    QStringList m_lines;
};

void writeFrame(Writer &w)
{
    w.section(QStringLiteral("TitlebarSkin"));
    w.key(QStringLiteral("SkinName"), QStringLiteral("Framewright"));

    w.section(QStringLiteral("Personality"));
    w.comment(
        QStringLiteral("Edges: Top and Bottom stack active over inactive, Left and Right put them side by side."));
    for (const char *edge : {"Left", "Right"}) {
        const QString e = QLatin1String(edge);
        w.key(e, e.toLower() + QStringLiteral(".bmp"));
        w.key(e + QStringLiteral("TopHeight"), kTitleHeightPx);
        w.key(e + QStringLiteral("BotHeight"), kBorderPx);
        w.key(e + QStringLiteral("Frame"), 2);
        w.key(e + QStringLiteral("Stretch"), 1);
        w.key(e + QStringLiteral("Trans"), 1);
    }
    w.key(QStringLiteral("Top"), QStringLiteral("top.bmp"));
    w.key(QStringLiteral("TopTopHeight"), kTopFixedPx);
    w.key(QStringLiteral("TopBotHeight"), kTopFixedPx);
    w.key(QStringLiteral("TopFrame"), 2);
    w.key(QStringLiteral("TopStretch"), 1);
    w.key(QStringLiteral("TopTrans"), 1);
    w.key(QStringLiteral("Bottom"), QStringLiteral("bottom.bmp"));
    w.key(QStringLiteral("BottomTopHeight"), 0);
    w.key(QStringLiteral("BottomBotHeight"), 0);
    w.key(QStringLiteral("BottomFrame"), 2);
    w.key(QStringLiteral("BottomStretch"), 1);
    w.key(QStringLiteral("BottomTrans"), 0);
    w.comment(QStringLiteral("Caption: after the window icon, clipped before the buttons."));
    w.key(QStringLiteral("TextShift"), kIconLeftPx + kIconPx + 7 - kBorderPx);
    w.key(QStringLiteral("TextShiftVert"), 0);
    w.key(QStringLiteral("TextRightClip"), 3 * (kSysButtonWidthPx + kSysButtonGapPx) + kBorderPx + 8);
    w.key(QStringLiteral("TextAlignment"), 0);
    w.key(QStringLiteral("Textbackground"), 0);
    w.key(QStringLiteral("menuBar"), QStringLiteral("menubar.bmp"));
    w.key(QStringLiteral("TileMenu"), 1);
    w.key(QStringLiteral("TileLeftMenu"), 1);
    w.key(QStringLiteral("TileRightMenu"), 1);

    struct SysButton
    {
        const char *section;
        const char *file;
        int action;
        int visibility;
        int slot; // position from the right, 0 for the close button
    };
    const SysButton buttons[] = {{"BUTTON.CLOSE", "close.bmp", 0, 0, 0}, {"BUTTON.MAXIMIZE", "maximize.bmp", 1, 2, 1},
        {"BUTTON.RESTORE", "restore.bmp", 1, 1, 1}, {"BUTTON.MINIMIZE", "minimize.bmp", 2, 0, 2}};
    for (const SysButton &b : buttons) {
        w.section(QLatin1String(b.section));
        w.key(QStringLiteral("ButtonImage"), QLatin1String(b.file));
        w.key(QStringLiteral("Action"), b.action);
        w.key(QStringLiteral("Align"), 1);
        w.key(QStringLiteral("Xcoord"),
            kBorderPx + kSysButtonGapPx + (b.slot + 1) * kSysButtonWidthPx + b.slot * kSysButtonGapPx);
        w.key(QStringLiteral("Ycoord"), kSysButtonTopPx);
        w.key(QStringLiteral("Visibility"), b.visibility);
        w.key(QStringLiteral("Frame"), 4);
    }
    w.section(QStringLiteral("BUTTON.ICON"));
    w.comment(QStringLiteral("The window menu button shows the window's icon."));
    w.key(QStringLiteral("Action"), 3);
    w.key(QStringLiteral("Align"), 0);
    w.key(QStringLiteral("Xcoord"), kIconLeftPx);
    w.key(QStringLiteral("Ycoord"), (kTitleHeightPx - kIconPx) / 2);
    w.key(QStringLiteral("Visibility"), 0);

    w.section(QStringLiteral("MDICONTROLS"));
    w.key(QStringLiteral("Image"), QStringLiteral("mdicontrols.bmp"));
}

void writeColours(Writer &w)
{
    w.section(QStringLiteral("Colours"));
    const std::pair<const char *, QRgb> named[] = {{"WindowText", kInk}, {"ButtonFace", kFace},
        {"Scrollbar", 0xffe9eff4}, {"HilightText", kWhite}, {"Hilight", kAccent}, {"Menubar", kFace}, {"Menu", kWhite},
        {"MenuText", kInk}, {"ButtonText", kInk}, {"ButtonHilight", kWhite}, {"Buttonlight", kPaper},
        {"ButtonShadow", kBorder}, {"ButtonDkShadow", 0xff6b7c8d}, {"MenuBarText", kInk}, {"TitleTextActive", kWhite},
        {"TitleTextNoActive", kTextInactive}};
    for (const auto &[key, colour] : named) {
        w.key(QLatin1String(key), rgb(colour));
    }
    const QRgb numbered[] = {kAccent, kAccentLight, kAccentDark, kInk, kNavy};
    for (int n = 0; n < int(std::size(numbered)); ++n) {
        w.section(QStringLiteral("Colour%1").arg(n + 1));
        w.key(QStringLiteral("color"), rgb(numbered[n]));
    }
    w.section(QStringLiteral("Customcolors"));
    const QRgb custom[] = {kAccent, kAccentLight, kAccentDark, kNavyDeep, kNavy, kInk, kPaper, kMist, kFace, kBorder};
    for (int n = 0; n < int(std::size(custom)); ++n) {
        w.key(QStringLiteral("Color%1").arg(n), rgb(custom[n]));
    }
    w.section(QStringLiteral("Fonts"));
    w.key(QStringLiteral("FontHeight"), 13);
}

void writeControls(Writer &w)
{
    w.section(QStringLiteral("Buttons"));
    w.key(QStringLiteral("Bitmap"), QStringLiteral("button.bmp"));
    w.key(QStringLiteral("LeftWidth"), kButtonMarginPx);
    w.key(QStringLiteral("TopHeight"), kButtonMarginPx);
    w.key(QStringLiteral("RightWidth"), kButtonMarginPx);
    w.key(QStringLiteral("BottomHeight"), kButtonMarginPx);
    w.key(QStringLiteral("Trans"), 1);
    w.key(QStringLiteral("CheckButton"), QStringLiteral("checkbox.bmp"));
    w.key(QStringLiteral("CheckButtonFrame"), kCheckFrames);
    w.key(QStringLiteral("RadioButton"), QStringLiteral("radio.bmp"));
    w.key(QStringLiteral("RadioButtonFrame"), kRadioFrames);

    w.object(QStringLiteral("Progress"), QStringLiteral("progress.bmp"), 4, 4, 4, 4, 2, true, "Bitmap");
    w.key(QStringLiteral("Style"), 0);
    w.object(QStringLiteral("Progress.Chunk"), QStringLiteral("progresschunk.bmp"), 0, 2, 2, 2, 1, true);
    w.object(QStringLiteral("GroupBoxEdge"), QStringLiteral("groupboxedge.bmp"), 5, 5, 5, 5, 2, true);
    w.object(QStringLiteral("GroupBox"), QStringLiteral("groupboxlabel.bmp"), 4, 4, 4, 4, 1, true);
    w.key(QStringLiteral("BackgroundLeftShift"), 4);
    w.key(QStringLiteral("BackgroundRightShift"), 4);
    w.key(QStringLiteral("BackgroundAlignment"), 0);
    w.object(QStringLiteral("Tabs"), QStringLiteral("tabs.bmp"), 4, 4, 4, 4, 5, true);
    w.key(QStringLiteral("Border"), QStringLiteral("tabborder.bmp"));
    w.object(QStringLiteral("StatusBarEdges"), QStringLiteral("statusbar.bmp"), 3, 3, 3, 3, 3, false);
    w.object(QStringLiteral("Tab.Pane"), QStringLiteral("tabpane.bmp"), 3, 3, 3, 3, 1, false);
    w.object(QStringLiteral("ToolBars"), QStringLiteral("toolbutton.bmp"), 4, 4, 4, 4, 5, true);
    w.object(QStringLiteral("ComboButton"), QStringLiteral("combobutton.bmp"), 2, 3, 3, 3, 4, true);
    w.key(QStringLiteral("Style"), 1);
    w.object(QStringLiteral("SunkEdge"), QStringLiteral("sunkedge.bmp"), 3, 3, 3, 3, 4, true);
    w.object(QStringLiteral("ExtraImages"), QStringLiteral("extraimages.bmp"), 0, 0, 0, 0, 5, true);
    w.object(QStringLiteral("Headerbar"), QStringLiteral("header.bmp"), 2, 2, 2, 2, 5, false);
    w.object(QStringLiteral("MenuItem"), QStringLiteral("menuitem.bmp"), 4, 4, 4, 4, 5, true);
    w.object(QStringLiteral("MenuBackground"), QStringLiteral("menubackground.bmp"), 4, 4, 4, 4, 1, false);
    w.object(QStringLiteral("Scrollbar"), QStringLiteral("scrollbar.bmp"), 0, 0, 0, 0, 23, true);
    w.object(QStringLiteral("HorzScroll"), QStringLiteral("horzscroll.bmp"), 0, 0, 0, 0, 4, false);
    w.object(QStringLiteral("VertScroll"), QStringLiteral("vertscroll.bmp"), 0, 0, 0, 0, 4, false);
    w.object(QStringLiteral("HorzScrollThumb"), QStringLiteral("horzthumb.bmp"), kThumbMarginPx, 0, kThumbMarginPx, 0,
        3, true);
    w.key(QStringLiteral("FrameCount"), 3);
    w.object(QStringLiteral("VertScrollThumb"), QStringLiteral("vertthumb.bmp"), 0, kThumbMarginPx, 0, kThumbMarginPx,
        3, true);
    w.key(QStringLiteral("FrameCount"), 3);
    const std::pair<const char *, const char *> thumbs[]
        = {{"Trackbar.ThumbHorz", "thumbhorz.bmp"}, {"Trackbar.ThumbVert", "thumbvert.bmp"},
            {"Trackbar.ThumbLeft", "thumbleft.bmp"}, {"Trackbar.ThumbRight", "thumbright.bmp"},
            {"Trackbar.ThumbUp", "thumbup.bmp"}, {"Trackbar.ThumbDown", "thumbdown.bmp"}};
    for (const auto &[section, file] : thumbs) {
        w.object(QLatin1String(section), QLatin1String(file), 0, 0, 0, 0, 5, true);
    }
    w.object(QStringLiteral("UpDown.Horz"), QStringLiteral("updownhorz.bmp"), 3, 3, 3, 3, 8, true);
    w.key(QStringLiteral("GlyphImage"), QStringLiteral("updownhorzglyphs.bmp"));
    w.object(QStringLiteral("UpDown.Vert"), QStringLiteral("updownvert.bmp"), 3, 3, 3, 3, 8, true);
    w.key(QStringLiteral("GlyphImage"), QStringLiteral("updownvertglyphs.bmp"));
}

} // namespace

QByteArray skinDescription()
{
    Writer w;
    w.comment(
        QStringLiteral("Framewright's own skin. Generated by framewright-skinart; edit the generator, not this file."));
    writeFrame(w);
    writeColours(w);
    writeControls(w);
    return w.text();
}

} // namespace skinart
