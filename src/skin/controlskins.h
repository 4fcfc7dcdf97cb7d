// The seam between a framed window and its skinned controls: skinWindowControls hands a window's controls
// to the skin style and its companions, unskinWindowControls gives them back their platform look.
#pragma once

class QWidget;
class TSkinData;

// Skins the controls of a framed window (companions and the skin style); safe to call twice.
void skinWindowControls(QWidget *window, TSkinData *skinData);
// Gives the window's controls their platform look back.
void unskinWindowControls(QWidget *window);
