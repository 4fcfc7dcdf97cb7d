// FrameHost: what the overlay over a frame's ring asks of the frame: the window's facts, what lies under a point,
// the ring's painting, the title-bar buttons' states and actions, and the window's commands.
#pragma once

#include <QPoint>

#include "framefacts.h"
#include "framehittest.h"
#include "systemmenu.h"

class QPainter;

class FrameHost
{
public:
    // The window's current facts with the frame's thicknesses.
    virtual FrameFacts facts() const = 0;
    // What lies under a point of the window.
    virtual FrameHitResult hitTest(QPoint point) const = 0;
    // Paints the ring (edges, caption and title-bar buttons in their states) over the whole window.
    virtual void paintRing(QPainter &painter) const = 0;

    // Title-bar buttons by index: the one held down (-1 for none), the hot and pressed ones as the pointer
    // makes them, the action of one clicked (released over itself) at globalPos, and whether a button draws the
    // window's icon (a double click on it closes the window).
    virtual int pressedButton() const = 0;
    virtual void setHotButton(int button) = 0;
    virtual void setPressedButton(int button) = 0;
    virtual void clickButton(int button, QPoint globalPos) = 0;
    virtual bool isIconButton(int button) const = 0;

    // The skinned system menu at globalPos, and a command of it.
    virtual void openSystemMenu(QPoint globalPos) = 0;
    virtual void runSystemCommand(SystemCommand command) = 0;

protected:
    ~FrameHost() = default;
};
