// FrameOverlay: the child widget of a framed window that lies over its frame ring (masked to the ring, so
// the client area below gets its own input). It paints the frame and turns mouse input into the frame's
// behaviour: hot and pressed title-bar buttons and their actions, caption drags (the window follows the pointer from
// the press, and the window manager's move takes over, or a manual one where that does not work), resizing of
// sizeable windows, double clicks and the system menu on a right click.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include "framehittest.h"
#include "nativemove.h"

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
    bool settleAfterPlacement(QPoint at);
    void stopWatchingHandOver();
    void releaseStaleGrab(QMouseEvent *event);
    void updateCursor(const FrameHitResult &hit);

    FrameHost *m_frame;
    Drag m_drag = Drag::None;
    Qt::Edges m_dragEdges; // empty for a move
    QPoint m_dragStart;    // global pointer position at the press
    QPointF m_grabbed;     // the pointer's position in the window at the press
    QRect m_startGeometry; // the window's geometry at the press

    // A move handed over to the window manager while the program still moves the window (until the window manager
    // has the pointer). A window manager that sees no motion before the release, or that is told the drag is
    // cancelled, puts the window back where it stood at the hand-over (openbox, KWin); the program then puts it back
    // where it last had it. Watched until a window manager's own move shows it follows the pointer, the next press,
    // or a few corrections.
    struct HandOver
    {
        bool watching = false;
        QPoint at;               // where the window stood when the window manager was asked
        QList<QPoint> ownPlaces; // where the program put it since
        int correctionsLeft = 0;
    };
    HandOver m_handOver;
    PlacementWatch m_placements;
};
