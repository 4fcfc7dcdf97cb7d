// Reading a window's frame facts; frame thicknesses.
#include "windowfacts.h"

#include <QMessageBox>
#include <QWidget>

#include "skin/model/skinobjects.h"

bool isMessageBox(const QWidget *window)
{
    return qobject_cast<const QMessageBox *>(window) != nullptr;
}

QRect outerGeometry(const QWidget *window)
{
    return window->windowFlags().testFlag(Qt::FramelessWindowHint) ? window->geometry() : window->frameGeometry();
}

FrameFacts readWindowFacts(const QWidget *window, Qt::WindowFlags flags, const QMargins &thickness)
{
    FrameFacts facts;
    facts.size = window->size();
    facts.thickness = thickness;
    facts.messageBox = isMessageBox(window);
    facts.resizable
        = window->minimumSize() != window->maximumSize() && !flags.testFlag(Qt::MSWindowsFixedSizeDialogHint);
    const bool noTitle = flags.testFlag(Qt::FramelessWindowHint)
        || (flags.testFlag(Qt::CustomizeWindowHint) && !flags.testFlag(Qt::WindowTitleHint));
    if (noTitle) {
        facts.border = BorderKind::NoCaption;
    } else if (facts.messageBox) {
        facts.border = BorderKind::Dialog;
    } else if (facts.resizable) {
        facts.border = BorderKind::Sizeable;
    } else if ((flags & Qt::WindowType_Mask) == Qt::Dialog) {
        facts.border = BorderKind::Dialog;
    } else {
        facts.border = BorderKind::FixedSingle;
    }
    facts.active = window->isActiveWindow();
    facts.maximized = window->isMaximized();
    facts.minimized = window->isMinimized();
    facts.hasSystemMenu = flags.testFlag(Qt::WindowSystemMenuHint);
    facts.hasMinimizeBox = flags.testFlag(Qt::WindowMinimizeButtonHint);
    facts.hasMaximizeBox = flags.testFlag(Qt::WindowMaximizeButtonHint) && facts.resizable;
    facts.rightToLeft = window->layoutDirection() == Qt::RightToLeft;
    return facts;
}

namespace {

int across(const std::optional<TDataSkinBorder> &edge, bool horizontal)
{
    if (!edge || edge->image.isNull()) {
        return 0;
    }
    const int frames = std::max(1, edge->frameCount);
    return horizontal ? edge->image.height() / frames : edge->image.width() / frames;
}

} // namespace

QMargins frameThickness(const SkinObjects &skin, BorderKind border)
{
    if (border == BorderKind::NoCaption) {
        return {};
    }
    return QMargins(
        across(skin.left, false), across(skin.top, true), across(skin.right, false), across(skin.bottom, true));
}
