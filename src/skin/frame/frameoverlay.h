// FrameOverlay: the child widget of a framed window that lies over its frame ring (masked to the ring, so
// the client area below gets its own input). It paints the frame and turns mouse input into the frame's
// behaviour: hot and pressed title-bar buttons and their actions, caption drags and resizing of sizeable windows (the
// window follows the pointer from the press, moved by the program itself under the pointer grab the press gives it),
// double clicks and the system menu on a right click.
#pragma once

#include <QPointF>
#include <QRect>
#include <QWidget>

#include "framehittest.h"

class FrameHost;

class FrameOverlay : public QWidget
{
    Q_OBJECT

public:
    // Lies over window; frame is the window's frame, which outlives the overlay.
    FrameOverlay(FrameHost *frame, QWidget *window);

    // Follows the window's size: covers it and is masked to the frame ring.
    void frameResized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // Pending: pressed, within the drag distance, where only the platform can move the window (a Wayland
    // compositor). Following: the program moves or resizes the window after the pointer.
    enum class Drag { None, Pending, Following };

    FrameHitResult hitAt(QPoint point) const;
    void pressButtonOrStartDrag(QMouseEvent *event, const FrameHitResult &hit);
    void pointerMoved(QPointF global);
    void startPlatformDrag();
    void takeStep();
    void followPointer(QPointF global);
    void resizeByHand(QPoint travel);
    void endDrag();
    void releaseStaleGrab(QMouseEvent *event);
    void updateCursor(const FrameHitResult &hit);

    FrameHost *m_frame;
    Drag m_drag = Drag::None;
    Qt::Edges m_dragEdges; // empty for a move
    QPointF m_dragStart;   // global pointer position at the press
    QPointF m_grabbed;     // the pointer's position in the window at the press
    QRect m_startGeometry; // the window's geometry at the press
    QPointF m_pointer;     // the pointer's latest global position
    bool m_stepQueued = false;
};
