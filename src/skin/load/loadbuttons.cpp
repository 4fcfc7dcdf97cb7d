// Loading steps 6 and 7: push buttons with their check-box and radio images ("Buttons"), and the caption
// layout of the title bar ("Personality", "Fonts").
#include "skinloadsteps.h"

#include <algorithm>

#include "skin/model/skinmetrics.h"

namespace skinload {

namespace {

constexpr const char *kButtons = "Buttons";
constexpr const char *kPersonality = "Personality";
constexpr int kPushButtonFrames = ButtonFrame::kCount;
constexpr int kTitleFrames = FrameLook::kTitleCount;
constexpr int kMinimumBoxFrames = 4;

// A check or radio strip without a frame count holds square-ish boxes of 13 (small) or 16 pixels.
int boxFrameCount(const QImage &image, int given)
{
    if (given != 0) {
        return std::max(1, given);
    }
    const int boxWidth = image.height() < 16 ? 13 : 16;
    return std::max(kMinimumBoxFrames, image.width() / boxWidth);
}

} // namespace

void readButtonsAndTitle(const SkinDescription &description, SkinObjects &skin)
{
    skin.buttons.reset();
    if (description.has(kButtons, "Bitmap") || description.has(kButtons, "CheckButton")
        || description.has(kButtons, "RadioButton")) {
        TDataSkinButton &b = skin.buttons.emplace();
        description.readCommon(kButtons, b, skin.colours.buttonText);
        b.image = description.image(kButtons, "Bitmap");
        b.frameCount = kPushButtonFrames;
        b.checkImage = description.image(kButtons, "CheckButton");
        b.radioImage = description.image(kButtons, "RadioButton");
        b.checkFrameCount = boxFrameCount(b.checkImage, description.integer(kButtons, "CheckButtonFrame", 0));
        b.radioFrameCount = boxFrameCount(b.radioImage, description.integer(kButtons, "RadioButtonFrame", 0));
        b.hasNormalColour2 = description.has(kButtons, "NormalColour2");
        b.hasMouseOverColour2 = description.has(kButtons, "MouseOverColour2");
        b.hasPressedColour2 = description.has(kButtons, "PressedColour2");
    }

    TDataSkinTitle &t = skin.title;
    t = TDataSkinTitle();
    t.name = QString::fromLatin1(kPersonality);
    t.image = description.image(kPersonality, "TextBack");
    t.frameCount = kTitleFrames;
    t.leftWidth = description.integer(kPersonality, "TextShift", 0);
    t.topHeight = description.integer(kPersonality, "TextShiftVert", 0);
    t.rightWidth = description.integer(kPersonality, "TextRightClip", 0);
    t.textAlignment = description.integer(kPersonality, "TextAlignment", 0);
    t.textBackground = description.integer(kPersonality, "Textbackground", 0);
    t.fontHeight = description.integer("Fonts", "FontHeight", 14);
    t.txtBackLeft = description.integer(kPersonality, "TXTBackleft", 0);
    t.txtBackRight = description.integer(kPersonality, "TXTBackRight", 0);
    const QColor active = description.colourFromComponents(kPersonality, "CaptionActive");
    const QColor inactive = description.colourFromComponents(kPersonality, "CaptionInactive");
    if (active.isValid()) {
        t.activeColour = active;
    }
    if (inactive.isValid()) {
        t.inactiveColour = inactive;
    }
}

} // namespace skinload
