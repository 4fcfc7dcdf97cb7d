// Where the title bar's pieces go: which title-bar buttons a window shows (the Visibility and Visibility1
// condition codes and the allowed actions), their rectangles by Align, and the caption text's place,
// clip and elision. Pure functions of the skin and the window's facts.
#pragma once

#include <QRect>
#include <QString>
#include <functional>
#include <vector>

#include "framefacts.h"
#include "skin/model/skinmetrics.h"

class QFontMetrics;
struct SkinObjects;
struct TDataSkinSysButton;

// Answers visibility codes 1000 to 2000 (the window's own buttons): true shows the button.
using ButtonVisibilityQuery = std::function<bool(int code, int action)>;

// Whether a visibility code holds. `first` tells Visibility from Visibility1: codes 6 and 8 need a system
// menu only as Visibility, codes 1000 to 2000 ask the window only as Visibility (as Visibility1 they hold).
bool visibilityHolds(int code, bool first, const FrameFacts &facts, int action, const ButtonVisibilityQuery &query);
// Whether the window offers a button's action: close needs the system menu, maximize and minimize their
// boxes; the window-menu buttons (3, 11, 12) are hidden on dialog borders.
bool actionAllowed(int action, const FrameFacts &facts);
bool buttonVisible(const TDataSkinSysButton &button, const FrameFacts &facts, const ButtonVisibilityQuery &query);
// The buttons that draw the window's icon instead of an image (and open the system menu).
inline bool isIconAction(int action)
{
    return action == ButtonAction::kIconMenu || action == ButtonAction::kIconMenuAlt;
}

struct TitleButtonPlace
{
    int button = -1; // index into SkinObjects::sysButtons
    QRect rect;      // window coordinates
};

struct TitleBarLayout
{
    QRect captionRect; // the caption with its text background, before clipping
    QRect captionClip; // the part of the title bar the caption may cover
    QRect textRect;    // the text proper (caption rect less the text background's fixed parts, shifted)
    QString text;      // the padded window title, elided to fit the clip
    std::vector<TitleButtonPlace> buttons;

    // The first visible button whose rectangle holds the point, or -1.
    int buttonAt(QPoint point) const;
    QRect rectOf(int button) const;
};

// The caption is the title padded with a blank on each side, in the caption font (metrics); icons are
// iconSize. Align 100 (MDI) buttons belong to a menu bar and are left out.
TitleBarLayout layoutTitleBar(const SkinObjects &skin, const FrameFacts &facts, const QString &title,
    const QFontMetrics &metrics, QSize iconSize, const ButtonVisibilityQuery &query);

// The smallest outer width at which the whole caption fits between its shift and its right clip.
int captionFitWidth(
    const SkinObjects &skin, const FrameFacts &facts, const QString &title, const QFontMetrics &metrics);
