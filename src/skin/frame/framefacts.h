// What the frame's drawing and input rules know of a framed window: its outer size, the frame thicknesses,
// its border kind, its state and which title-bar functions it offers. Plain values, so that layout, hit
// testing, painting and the system menu can be computed and tested without a window.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

// How a window is bordered: sizeable, fixed, without a caption (no frame is drawn) or a dialog.
enum class BorderKind { Sizeable = 0, FixedSingle = 1, NoCaption = 2, Dialog = 3 };

struct FrameFacts
{
    QSize size;         // outer size, frame included
    QMargins thickness; // frame edges: left L, top T (the title bar), right R, bottom B
    BorderKind border = BorderKind::Sizeable;
    bool messageBox = false;
    bool active = false;
    bool maximized = false;
    bool minimized = false;
    bool hasMaximizeBox = false;
    bool hasMinimizeBox = false;
    bool hasSystemMenu = false;
    bool resizable = false; // the size may change (the window manager's Size works)
    bool rightToLeft = false;

    QRect outerRect() const { return QRect(QPoint(0, 0), size); }
    // The client area: the outer rectangle less the frame.
    QRect clientRect() const { return outerRect().marginsRemoved(thickness); }
    // The title bar between the left and right edges.
    QRect titleArea() const
    {
        return QRect(thickness.left(), 0, size.width() - thickness.left() - thickness.right(), thickness.top());
    }
};
