// FrameOverlay: the child widget of a framed window that lies over its frame ring (masked to the ring, so
// the client area below gets its own input). It paints the frame and turns mouse input into the frame's
// behaviour: hot and pressed title-bar buttons and their actions, caption drags (the window follows the pointer from
// the press, and the window manager's move takes over, or a manual one where that does not work), resizing of
// sizeable windows, double clicks and the system menu on a right click.
#pragma once

#include <QPoint>
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
    // Pending: pressed, within the drag distance. Following: past it, the window manager asked to take over.
    enum class Drag { None, Pending, Following };

    FrameHitResult hitAt(QPoint point) const;
    void pressButtonOrStartDrag(QMouseEvent *event, const FrameHitResult &hit);
    void followPointer(QPoint globalPos);
    void followByHand(QPoint travel);
    void endDrag();
    void releaseStaleGrab(QMouseEvent *event);
    void updateCursor(const FrameHitResult &hit);

    FrameHost *m_frame;
    Drag m_drag = Drag::None;
    Qt::Edges m_dragEdges; // empty for a move
    QPoint m_dragStart;    // global pointer position at the press
    QPointF m_grabbed;     // the pointer's position in the window at the press
    QRect m_startGeometry; // the window's geometry at the press
};
