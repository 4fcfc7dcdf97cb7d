// framewright-skinart <skin folder>: draws the shipped skin (BMP images and the description) into the
// folder. Deterministic: the same build writes the same bytes. Runs on the offscreen platform.
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QList>
#include <utility>

#include "artcanvas.h"
#include "barart.h"
#include "controlart.h"
#include "description.h"
#include "frameart.h"

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "framewright-skinart: %s\n", qPrintable(message));
    return 1;
}

QList<std::pair<QString, QImage>> drawSkin()
{
    using namespace skinart;
    const FrameEdges edges = drawFrameEdges();
    const UpDownImages upDownHorz = drawUpDown(Qt::Horizontal);
    const UpDownImages upDownVert = drawUpDown(Qt::Vertical);
    return {
        {QStringLiteral("left.bmp"), edges.left},
        {QStringLiteral("right.bmp"), edges.right},
        {QStringLiteral("top.bmp"), edges.top},
        {QStringLiteral("bottom.bmp"), edges.bottom},
        {QStringLiteral("close.bmp"), drawSysButton(SysGlyph::Close)},
        {QStringLiteral("maximize.bmp"), drawSysButton(SysGlyph::Maximize)},
        {QStringLiteral("restore.bmp"), drawSysButton(SysGlyph::Restore)},
        {QStringLiteral("minimize.bmp"), drawSysButton(SysGlyph::Minimize)},
        {QStringLiteral("mdicontrols.bmp"), drawMdiControls()},
        {QStringLiteral("menubar.bmp"), drawMenuBar()},
        {QStringLiteral("button.bmp"), drawPushButton()},
        {QStringLiteral("checkbox.bmp"), drawCheckBox()},
        {QStringLiteral("radio.bmp"), drawRadioButton()},
        {QStringLiteral("combobutton.bmp"), drawComboButton()},
        {QStringLiteral("sunkedge.bmp"), drawSunkEdge()},
        {QStringLiteral("extraimages.bmp"), drawExtraImages()},
        {QStringLiteral("updownhorz.bmp"), upDownHorz.buttons},
        {QStringLiteral("updownhorzglyphs.bmp"), upDownHorz.glyphs},
        {QStringLiteral("updownvert.bmp"), upDownVert.buttons},
        {QStringLiteral("updownvertglyphs.bmp"), upDownVert.glyphs},
        {QStringLiteral("scrollbar.bmp"), drawScrollArrows()},
        {QStringLiteral("horzscroll.bmp"), drawScrollTrack(Qt::Horizontal)},
        {QStringLiteral("vertscroll.bmp"), drawScrollTrack(Qt::Vertical)},
        {QStringLiteral("horzthumb.bmp"), drawScrollThumb(Qt::Horizontal)},
        {QStringLiteral("vertthumb.bmp"), drawScrollThumb(Qt::Vertical)},
        {QStringLiteral("progress.bmp"), drawProgress()},
        {QStringLiteral("progresschunk.bmp"), drawProgressChunk()},
        {QStringLiteral("header.bmp"), drawHeaderSection()},
        {QStringLiteral("menuitem.bmp"), drawMenuItem()},
        {QStringLiteral("menubackground.bmp"), drawMenuBackground()},
        {QStringLiteral("tabs.bmp"), drawTab()},
        {QStringLiteral("tabborder.bmp"), drawTabBorder()},
        {QStringLiteral("tabpane.bmp"), drawTabPane()},
        {QStringLiteral("statusbar.bmp"), drawStatusBar()},
        {QStringLiteral("toolbutton.bmp"), drawToolButton()},
        {QStringLiteral("groupboxedge.bmp"), drawGroupBoxEdge()},
        {QStringLiteral("groupboxlabel.bmp"), drawGroupBoxLabel()},
        {QStringLiteral("thumbhorz.bmp"), drawTrackThumb(ThumbShape::Horizontal)},
        {QStringLiteral("thumbvert.bmp"), drawTrackThumb(ThumbShape::Vertical)},
        {QStringLiteral("thumbleft.bmp"), drawTrackThumb(ThumbShape::Left)},
        {QStringLiteral("thumbright.bmp"), drawTrackThumb(ThumbShape::Right)},
        {QStringLiteral("thumbup.bmp"), drawTrackThumb(ThumbShape::Up)},
        {QStringLiteral("thumbdown.bmp"), drawTrackThumb(ThumbShape::Down)},
    };
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        return fail(QStringLiteral("usage: framewright-skinart <skin folder>"));
    }
    const QDir folder(arguments.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        return fail(QStringLiteral("cannot create %1").arg(folder.path()));
    }
    for (const auto &[name, image] : drawSkin()) {
        if (!skinart::writeBmp(image, folder.filePath(name))) {
            return fail(QStringLiteral("cannot write %1").arg(folder.filePath(name)));
        }
    }
    const QString descriptionPath = folder.filePath(QLatin1String(skinart::kDescriptionName));
    QFile description(descriptionPath);
    const QByteArray text = skinart::skinDescription();
    if (!description.open(QIODevice::WriteOnly | QIODevice::Truncate) || description.write(text) != text.size()) {
        return fail(QStringLiteral("cannot write %1").arg(descriptionPath));
    }
    return 0;
}
