// The skinned system menu: its items for a window's state (the usual commands in the usual order, the
// built-in glyphs, which are enabled) and the menu built from them. The menu is rebuilt at every opening.
#pragma once

#include <QImage>
#include <QString>
#include <optional>
#include <vector>

#include "framefacts.h"
#include "skin/style/stylemetrics.h"

class QMenu;
class QWidget;

enum class SystemCommand { Restore, Move, Size, Minimize, Maximize, Close };

struct SystemMenuItem
{
    std::optional<SystemCommand> command; // none: a separator
    QString text;                         // with its mnemonic
    int glyph = -1;                       // index into the 16 x 16 menu glyphs, -1 for none
    bool enabled = true;
};

// Restore, Move, Size, Minimize, Maximize, a separator and Close; a dialog without minimize and maximize
// boxes has only Move, a separator and Close. Enabled: Move and Size when not maximized (Size only for a
// resizable window), Minimize when not minimized and with a minimize box, Maximize when not maximized and
// with a maximize box, Restore when maximized or minimized, Close always.
std::vector<SystemMenuItem> systemMenuItems(const FrameFacts &facts);

// A menu of the items, owned by parent; each action carries its command (int) as data, Close is the default
// item with the Alt+F4 shortcut shown. glyphs: the built-in glyph strip.
QMenu *buildSystemMenu(QWidget *parent, const std::vector<SystemMenuItem> &items, const QImage &glyphs);
