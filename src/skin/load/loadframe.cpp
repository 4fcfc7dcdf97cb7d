// Loading steps 1 and 2: the skin's name and the four frame edges of section "Personality".
#include "skin/format/quickini.h"
#include "skinloadsteps.h"

#include <algorithm>
#include <string>

namespace skinload {

namespace {

constexpr const char *kPersonality = "Personality";

// Edge E reads the image E and the keys E + "TopHeight"/"BotHeight" (its fixed start and end parts),
// "Frame" (default 1), "Stretch" (default 1, at most 1; 1 stretches the centre) and "Trans" (default 1).
std::optional<TDataSkinBorder> readEdge(const SkinDescription &description, const std::string &edge, bool horizontal)
{
    if (!description.has(kPersonality, edge)) {
        return std::nullopt;
    }
    TDataSkinBorder object;
    object.name = QString::fromLatin1(kPersonality);
    object.image = description.image(kPersonality, edge);
    const int fixedStart = description.integer(kPersonality, edge + "TopHeight", 0);
    const int fixedEnd = description.integer(kPersonality, edge + "BotHeight", 0);
    if (horizontal) {
        object.leftWidth = fixedStart;
        object.rightWidth = fixedEnd;
    } else {
        object.topHeight = fixedStart;
        object.bottomHeight = fixedEnd;
    }
    object.frameCount = std::max(1, description.integer(kPersonality, edge + "Frame", 1));
    const int stretch = std::min(description.integer(kPersonality, edge + "Stretch", 1), 1);
    object.tile = stretch == 1 ? 0 : 1;
    object.trans = description.integer(kPersonality, edge + "Trans", 1);
    return object;
}

} // namespace

void readFrame(const SkinDescription &description, SkinObjects &skin)
{
    skin.skinName = QString::fromLatin1(description.ini().readString("TitlebarSkin", "SkinName", {}));
    skin.left = readEdge(description, "Left", false);
    skin.right = readEdge(description, "Right", false);
    skin.top = readEdge(description, "Top", true);
    skin.bottom = readEdge(description, "Bottom", true);
}

} // namespace skinload
