// What the frame reads from a Qt window: its border kind, title-bar functions and state as FrameFacts, and
// the frame thicknesses the skin gives such a window.
#pragma once

#include <QMargins>
#include <QRect>
#include <Qt>

#include "framefacts.h"

class QWidget;
struct SkinObjects;

// A message box (QMessageBox): framed with the dialog border, widened for its caption.
bool isMessageBox(const QWidget *window);

// A top-level window's outer rectangle in global coordinates, frame included. A frameless window's own geometry
// (Qt's frame geometry of one can be stale on X11).
QRect outerGeometry(const QWidget *window);

// The facts of window as its own flags describe it (flags: the window's flags before framing made it
// frameless). Border kind: no title → NoCaption; a size that may change → Sizeable; a dialog → Dialog;
// otherwise FixedSingle; a message box is always Dialog. A fixed-size window has no maximize box.
FrameFacts readWindowFacts(const QWidget *window, Qt::WindowFlags flags, const QMargins &thickness);

// The edges' thicknesses: top = Top image height / frames, left = Left image width / frames, and so on; all 0
// for a window without a caption. An absent edge is 0 thick.
QMargins frameThickness(const SkinObjects &skin, BorderKind border);
