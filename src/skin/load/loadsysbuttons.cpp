// Loading steps 4 and 5: the title-bar buttons (every "BUTTON..." section but the control sections) and the
// three MDI buttons cut from "MDICONTROLS".
#include "skin/format/quickini.h"
#include "skinloadsteps.h"

#include <array>
#include <string>
#include <string_view>

#include "skin/model/skinmetrics.h"

namespace skinload {

namespace {

constexpr int kMdiButtonCount = 3;
constexpr int kMdiFrameCount = 4;

// Sections of push buttons, check boxes and radio buttons share the prefix but are no title-bar buttons.
bool isTitleBarButtonSection(const std::string &upper)
{
    constexpr std::array<std::string_view, 4> kControlSections
        = {"BUTTONS", "BUTTON.RADIO", "BUTTON.CHECKBOX", "BUTTON"};
    if (!upper.starts_with("BUTTON")) {
        return false;
    }
    for (std::string_view control : kControlSections) {
        if (upper == control) {
            return false;
        }
    }
    return true;
}

TDataSkinSysButton readSysButton(const SkinDescription &description, const std::string &section)
{
    TDataSkinSysButton button;
    button.name = QString::fromLatin1(section);
    button.action = description.integer(section, "Action", 0);
    button.align = description.integer(section, "Align", 0);
    button.xcoord = description.integer(section, "Xcoord", 0);
    button.ycoord = description.integer(section, "Ycoord", 0);
    button.visibility = description.integer(section, "Visibility", 0);
    button.visibility1 = description.integer(section, "Visibility1", button.action == ButtonAction::kNone ? -1 : 0);
    button.combineOp = description.integer(section, "CombineOp", -1);
    button.image = description.image(section, "ButtonImage");
    // Without a frame count the image's shape decides: up to 3.8 times as wide as high holds 3 states.
    int frames = description.integer(section, "frame", 0);
    if (frames == 0) {
        frames = 6;
        if (!button.image.isNull()) {
            frames = button.image.width() * 5 <= button.image.height() * 19 ? 3 : 6;
        }
        if (button.action < 0) {
            frames = 6;
        }
    }
    button.frameCount = frames < 1 ? 1 : frames;
    // These buttons draw the window's icon instead of an image.
    if (button.action == ButtonAction::kIconMenu || button.action == ButtonAction::kIconMenuAlt) {
        button.image = QImage();
    }
    return button;
}

void appendMdiButtons(const SkinDescription &description, SkinObjects &skin)
{
    const QImage image = description.image("MDICONTROLS", "Image");
    const int a = image.width() / 12;
    for (int i = 0; i < kMdiButtonCount; ++i) {
        TDataSkinSysButton button;
        button.name = QStringLiteral("MDICONTROLS");
        button.action = ButtonAction::kMdiMinimize + i;
        button.align = ButtonAlign::kMdi;
        button.visibility = ButtonVisibility::kMdiMaximized;
        button.visibility1 = ButtonVisibility::kMdiMaximized;
        button.frameCount = kMdiFrameCount;
        if (!image.isNull()) {
            button.image = image.copy(4 * a * i, 0, 4 * a, image.height());
            button.xcoord = (a + 4) * (kMdiButtonCount - i);
        }
        skin.sysButtons.push_back(button);
    }
}

} // namespace

void readSysButtons(const SkinDescription &description, SkinObjects &skin)
{
    skin.sysButtons.clear();
    for (const std::string &section : description.ini().readSections()) {
        if (!isTitleBarButtonSection(upperCased(section))) {
            continue;
        }
        // A button without an action is kept only when it is declared always visible.
        if (description.integer(section, "Action", 0) == ButtonAction::kNone
            && description.integer(section, "Visibility", -1) != 0) {
            continue;
        }
        skin.sysButtons.push_back(readSysButton(description, section));
    }
    appendMdiButtons(description, skin);
}

} // namespace skinload
