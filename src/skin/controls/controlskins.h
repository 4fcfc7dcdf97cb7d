// The seam between a framed window and its skinned controls. skinWindowControls makes the skin style the
// application's style (once; it paints only what the registry lists, so unskinned windows keep Fusion's
// look), gives the window the skin's colours, matches every control of the window and registers the
// parts the style paints (scroll bars, the list view's header, the up-down halves, the drop-down list's
// scroll bar). Popup menus opened from a skinned window are painted from its skin while the skin has the
// menu objects. unskinWindowControls forgets the window and gives it its palette back.
#pragma once

class QWidget;
class TSkinData;

// Skins the controls of a framed window (companions and the skin style); safe to call twice.
void skinWindowControls(QWidget *window, TSkinData *skinData);
// Gives the window's controls their platform look back.
void unskinWindowControls(QWidget *window);
