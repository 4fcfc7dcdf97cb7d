// Loading steps 8 to 21: the control objects (progress, menu bar, group boxes, tabs, status bar, tool bars,
// combo boxes, scroll bars, headers, menus, track bars, up-down buttons) with their frame-count rules.
#include "skinloadsteps.h"

#include <algorithm>

#include "skin/model/skinmetrics.h"

namespace skinload {

namespace {

constexpr int kTabPaneMarginCap = 4;
constexpr int kDefaultThumbFrames = ScrollFrame::kThumbDefaultCount;

template<typename T>
std::optional<T> read(
    const SkinDescription &description, const SkinObjects &skin, const char *section, const char *imageKey = "Image")
{
    return readObject<T>(description, section, imageKey, skin.colours);
}

std::optional<TDataSkinObject> readPlain(
    const SkinDescription &description, const SkinObjects &skin, const char *section, int frameCount)
{
    std::optional<TDataSkinObject> object = read<TDataSkinObject>(description, skin, section);
    setFrameCount(object, frameCount);
    return object;
}

std::optional<TDataSkinBorder> readBorder(const SkinDescription &description, const SkinObjects &skin,
    const char *section, const char *secondImageKey, int frameCount)
{
    std::optional<TDataSkinBorder> object = read<TDataSkinBorder>(description, skin, section);
    if (object && secondImageKey) {
        object->secondImage = description.image(section, secondImageKey);
    }
    setFrameCount(object, frameCount);
    return object;
}

// Step 10: the menu-bar strip of "Personality", tiled unless "TileMenu" is 0 or less.
std::optional<TDataSkinObject> readMenuBar(const SkinDescription &description)
{
    constexpr const char *kPersonality = "Personality";
    if (!description.has(kPersonality, "menuBar")) {
        return std::nullopt;
    }
    TDataSkinObject object;
    object.name = QString::fromLatin1(kPersonality);
    object.image = description.image(kPersonality, "menuBar");
    object.tile = std::min(description.integer(kPersonality, "TileMenu", 1), 1) == 1 ? 1 : 0;
    object.leftWidth = description.integer(kPersonality, "TileLeftMenu", 1);
    object.rightWidth = description.integer(kPersonality, "TileRightMenu", 1);
    object.frameCount = 2;
    return object;
}

void readThumbs(const SkinDescription &description, SkinObjects &skin)
{
    constexpr int kThumbFrames = 5;
    skin.trackThumbHorz = readPlain(description, skin, "Trackbar.ThumbHorz", kThumbFrames);
    skin.trackThumbVert = readPlain(description, skin, "Trackbar.ThumbVert", kThumbFrames);
    skin.trackThumbLeft = readPlain(description, skin, "Trackbar.ThumbLeft", kThumbFrames);
    skin.trackThumbRight = readPlain(description, skin, "Trackbar.ThumbRight", kThumbFrames);
    skin.trackThumbUp = readPlain(description, skin, "Trackbar.ThumbUp", kThumbFrames);
    skin.trackThumbDown = readPlain(description, skin, "Trackbar.ThumbDown", kThumbFrames);
}

void readScrollBars(const SkinDescription &description, SkinObjects &skin)
{
    skin.scrollbar = readPlain(description, skin, "Scrollbar", ScrollFrame::kCount);
    skin.horzScroll = readPlain(description, skin, "HorzScroll", ScrollFrame::kTrackCount);
    skin.vertScroll = readPlain(description, skin, "VertScroll", ScrollFrame::kTrackCount);
    // Thumbs take their count from "FrameCount", not from "Frame".
    skin.horzScrollThumb = readPlain(description, skin, "HorzScrollThumb",
        description.integer("HorzScrollThumb", "FrameCount", kDefaultThumbFrames));
    skin.vertScrollThumb = readPlain(description, skin, "VertScrollThumb",
        description.integer("VertScrollThumb", "FrameCount", kDefaultThumbFrames));
}

} // namespace

void readControls(const SkinDescription &description, SkinObjects &skin)
{
    skin.progress = read<TDataSkinBorder>(description, skin, "Progress", "Bitmap");
    setFrameCount(skin.progress, skin.progress && skin.progress->style != 0 ? 1 : 2);
    skin.progressChunk = read<TDataSkinObject>(description, skin, "Progress.Chunk");
    keepFrameCount(skin.progressChunk);
    skin.menuBar = readMenuBar(description);
    skin.groupBoxEdge = readPlain(description, skin, "GroupBoxEdge", 2);
    skin.groupBox = read<TDataSkinBoxLabel>(description, skin, "GroupBox");
    if (skin.groupBox) {
        skin.groupBox->backgroundLeftShift = description.integer("GroupBox", "BackgroundLeftShift", 0);
        skin.groupBox->backgroundRightShift = description.integer("GroupBox", "BackgroundRightShift", 0);
        skin.groupBox->backgroundAlignment = description.integer("GroupBox", "BackgroundAlignment", 0);
        setFrameCount(skin.groupBox, 1);
    }
    skin.tabs = readBorder(description, skin, "Tabs", "Border", 5);
    skin.statusBarEdges = readPlain(description, skin, "StatusBarEdges", 3);
    skin.tabPane = readPlain(description, skin, "Tab.Pane", 1);
    if (skin.tabPane) {
        TDataSkinObject &pane = *skin.tabPane;
        pane.leftWidth = std::min(pane.leftWidth, kTabPaneMarginCap);
        pane.topHeight = std::min(pane.topHeight, kTabPaneMarginCap);
        pane.rightWidth = std::min(pane.rightWidth, kTabPaneMarginCap);
        pane.bottomHeight = std::min(pane.bottomHeight, kTabPaneMarginCap);
    }
    skin.toolBars = readPlain(description, skin, "ToolBars", 5);
    skin.comboButton = readBorder(description, skin, "ComboButton", nullptr, ComboFrame::kCount);
    skin.sunkEdge = readPlain(description, skin, "SunkEdge", ComboFrame::kCount);

    skin.extraImages = readPlain(description, skin, "ExtraImages", 5);
    skin.headerbar = read<TDataSkinObject>(description, skin, "Headerbar");
    if (skin.headerbar && skin.headerbar->frameCount == 0) {
        skin.headerbar->frameCount = HeaderFrame::kDefaultCount;
    }
    keepFrameCount(skin.headerbar);
    skin.menuItem = readPlain(description, skin, "MenuItem", MenuFrame::kItemCount);
    skin.menuBackground = readPlain(description, skin, "MenuBackground", MenuFrame::kBackgroundCount);
    readScrollBars(description, skin);
    readThumbs(description, skin);

    skin.upDownHorz = readBorder(description, skin, "UpDown.Horz", "GlyphImage", UpDownFrame::kCount);
    skin.upDownVert = readBorder(description, skin, "UpDown.Vert", "GlyphImage", UpDownFrame::kCount);

    skin.track = read<TDataSkinObject>(description, skin, "Track");
    keepFrameCount(skin.track);
    skin.trackVert = read<TDataSkinObject>(description, skin, "TRACKVERT");
    keepFrameCount(skin.trackVert);
}

} // namespace skinload
