// FrameOverlay: frame painting and mouse handling.
#include "frameoverlay.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>

#include "framehost.h"
#include "nativeposition.h"
#include "screenpixels.h"

FrameOverlay::FrameOverlay(FrameHost *frame, QWidget *window)
    : QWidget(window)
    , m_frame(frame)
{
    setObjectName(QStringLiteral("FrameOverlay"));
    setMouseTracking(true);
    frameResized();
    show();
    raise();
}

void FrameOverlay::frameResized()
{
    const QRect outer = parentWidget()->rect();
    setGeometry(outer);
    setMask(QRegion(outer) - QRegion(m_frame->facts().clientRect()));
    update();
}

void FrameOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_frame->paintRing(painter);
}

FrameHitResult FrameOverlay::hitAt(QPoint point) const
{
    return m_frame->hitTest(point);
}

void FrameOverlay::mousePressEvent(QMouseEvent *event)
{
    const FrameHitResult hit = hitAt(event->position().toPoint());
    if (hit.hit == FrameHit::Client) {
        releaseStaleGrab(event);
        return;
    }
    endDrag();
    if (event->button() == Qt::LeftButton) {
        pressButtonOrStartDrag(event, hit);
    } else if (event->button() == Qt::RightButton && hit.hit == FrameHit::Caption) {
        m_frame->openSystemMenu(event->globalPosition().toPoint());
    }
}

void FrameOverlay::pressButtonOrStartDrag(QMouseEvent *event, const FrameHitResult &hit)
{
    const FrameFacts facts = m_frame->facts();
    if (hit.hit == FrameHit::Button) {
        if (!facts.active) {
            window()->activateWindow();
        }
        m_frame->setHotButton(hit.button);
        m_frame->setPressedButton(hit.button);
        return;
    }
    // The caption of an active maximized window does not drag it.
    if ((hit.hit == FrameHit::Caption && !(facts.active && facts.maximized)) || hit.hit == FrameHit::Resize) {
        m_drag = xcbConnectionOf(window()->windowHandle()) ? Drag::Following : Drag::Pending;
        m_dragEdges = hit.hit == FrameHit::Resize ? hit.edges : Qt::Edges();
        m_dragStart = event->globalPosition();
        m_grabbed = mapTo(window(), event->position());
        m_startGeometry = window()->geometry();
        m_pointer = m_dragStart;
    }
}

void FrameOverlay::mouseMoveEvent(QMouseEvent *event)
{
    const bool leftHeld = event->buttons().testFlag(Qt::LeftButton);
    if (m_drag != Drag::None) {
        if (!leftHeld) {
            // The window manager took the pointer and kept the release: the drag is over.
            releaseStaleGrab(event);
            return;
        }
        pointerMoved(event->globalPosition());
        return;
    }
    const FrameHitResult hit = hitAt(event->position().toPoint());
    if (hit.hit == FrameHit::Client && !leftHeld) {
        releaseStaleGrab(event);
        return;
    }
    updateCursor(hit);
    if (m_frame->pressedButton() >= 0) {
        m_frame->setHotButton(hit.hit == FrameHit::Button ? hit.button : -1);
    } else if (m_frame->facts().active) {
        m_frame->setHotButton(hit.hit == FrameHit::Button ? hit.button : -1);
    }
}

// On X11 the program moves and resizes its window itself from the press to the release: the press gave it an implicit
// grab of the pointer, so every motion and the release reach it wherever the pointer goes. The window manager is not
// asked to take the drag over: its grab would race the program's own steps (a move it takes up after the last
// motion, or a release it never sees). Motion is compressed: queued steps all go to the latest position. Where the
// program cannot place its window (a Wayland client), the platform's move or resize is asked for past the drag
// distance; where that is refused too (offscreen, no window manager), the program follows from then on.
void FrameOverlay::pointerMoved(QPointF global)
{
    if (m_drag == Drag::Pending) {
        if ((global - m_dragStart).manhattanLength() < QApplication::startDragDistance()) {
            return;
        }
        startPlatformDrag();
        if (m_drag != Drag::Following) {
            return;
        }
    }
    m_pointer = global;
    if (!m_stepQueued) {
        m_stepQueued = true;
        QMetaObject::invokeMethod(this, &FrameOverlay::takeStep, Qt::QueuedConnection);
    }
}

void FrameOverlay::startPlatformDrag()
{
    QWindow *handle = window()->windowHandle();
    const bool started = handle && (m_dragEdges ? handle->startSystemResize(m_dragEdges) : handle->startSystemMove());
    if (started) {
        endDrag();
    } else {
        m_drag = Drag::Following;
    }
}

void FrameOverlay::takeStep()
{
    if (m_stepQueued && m_drag == Drag::Following) {
        followPointer(m_pointer);
    }
    m_stepQueued = false;
}

// A move puts the window's top-left corner at the pointer's position less the offset grabbed at the press, counted
// in the X server's pixels, so that the grabbed point stays exactly under the pointer at any scale.
void FrameOverlay::followPointer(QPointF global)
{
    QWidget *window = this->window();
    if (window->isMaximized() || window->isFullScreen()) {
        return;
    }
    const QPoint travel = (global - m_dragStart).toPoint();
    if (m_dragEdges) {
        resizeByHand(travel);
        return;
    }
    QWindow *handle = window->windowHandle();
    const QPoint grabbedPx = (m_grabbed * handle->devicePixelRatio()).toPoint();
    if (!placeNativeWindow(handle, screenPxFromLogical(global) - grabbedPx)) {
        window->move(m_startGeometry.topLeft() + travel);
    }
}

// The window's geometry with the dragged edges moved by the pointer's `travel` from the press, within the window's
// size limits; a limited edge stays where the limit holds it.
void FrameOverlay::resizeByHand(QPoint travel)
{
    QWidget *window = this->window();
    QRect geometry = m_startGeometry;
    const QSize minimum = window->minimumSize();
    const QSize maximum = window->maximumSize();
    if (m_dragEdges & Qt::LeftEdge) {
        const int width = std::clamp(m_startGeometry.width() - travel.x(), minimum.width(), maximum.width());
        geometry.setLeft(m_startGeometry.right() + 1 - width);
    }
    if (m_dragEdges & Qt::RightEdge) {
        geometry.setWidth(std::clamp(m_startGeometry.width() + travel.x(), minimum.width(), maximum.width()));
    }
    if (m_dragEdges & Qt::TopEdge) {
        const int height = std::clamp(m_startGeometry.height() - travel.y(), minimum.height(), maximum.height());
        geometry.setTop(m_startGeometry.bottom() + 1 - height);
    }
    if (m_dragEdges & Qt::BottomEdge) {
        geometry.setHeight(std::clamp(m_startGeometry.height() + travel.y(), minimum.height(), maximum.height()));
    }
    window->setGeometry(geometry);
}

void FrameOverlay::endDrag()
{
    m_drag = Drag::None;
    m_dragEdges = {};
    m_stepQueued = false;
}

// After the platform has taken the pointer for its own move (a Wayland compositor), or another client grabbed it
// during a drag, the button release may never reach the window, and Qt then sends every later mouse event to this
// overlay (the widget the button went down on) until a release arrives, so the first click in the client area would
// be lost. A release is given to the window in its place, and a press
// that belongs to the client area is handed on to it.
void FrameOverlay::releaseStaleGrab(QMouseEvent *event)
{
    endDrag();
    QWindow *handle = window()->windowHandle();
    if (!handle) {
        return;
    }
    const QPointF local = mapTo(window(), event->position());
    const QPointF global = event->globalPosition();
    QMouseEvent release(QEvent::MouseButtonRelease, local, local, global, Qt::LeftButton, Qt::NoButton,
        event->modifiers(), event->pointingDevice());
    QCoreApplication::sendEvent(handle, &release);
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        QMouseEvent press(event->type(), local, local, global, event->button(), event->buttons(), event->modifiers(),
            event->pointingDevice());
        QCoreApplication::sendEvent(handle, &press);
    }
}

void FrameOverlay::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // The release may be the first news of the pointer's last position; a click that did not move moves nothing.
    if (m_drag == Drag::Following && (m_stepQueued || event->globalPosition() != m_pointer)) {
        followPointer(event->globalPosition());
    }
    endDrag();
    const int pressed = m_frame->pressedButton();
    if (pressed < 0) {
        return;
    }
    const FrameHitResult hit = hitAt(event->position().toPoint());
    if (hit.hit == FrameHit::Button && hit.button == pressed) {
        m_frame->setHotButton(pressed);
        m_frame->clickButton(pressed, event->globalPosition().toPoint());
    }
    m_frame->setPressedButton(-1);
}

void FrameOverlay::mouseDoubleClickEvent(QMouseEvent *event)
{
    const FrameHitResult hit = hitAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || hit.hit == FrameHit::Client) {
        mousePressEvent(event);
        return;
    }
    if (hit.hit == FrameHit::Button) {
        if (m_frame->isIconButton(hit.button)) {
            m_frame->runSystemCommand(SystemCommand::Close);
            return;
        }
        pressButtonOrStartDrag(event, hit);
        return;
    }
    const FrameFacts facts = m_frame->facts();
    // The second press began a drag, which would move the window on as the state changes.
    if (facts.maximized || facts.minimized) {
        endDrag();
        m_frame->runSystemCommand(SystemCommand::Restore);
    } else if (facts.hasMaximizeBox) {
        endDrag();
        m_frame->runSystemCommand(SystemCommand::Maximize);
    } else {
        pressButtonOrStartDrag(event, hit);
    }
}

void FrameOverlay::leaveEvent(QEvent *)
{
    if (m_frame->pressedButton() < 0) {
        m_frame->setHotButton(-1);
    }
    unsetCursor();
}

void FrameOverlay::updateCursor(const FrameHitResult &hit)
{
    if (hit.hit != FrameHit::Resize) {
        unsetCursor();
        return;
    }
    const Qt::Edges edges = hit.edges;
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling = (edges.testFlag(Qt::LeftEdge) && edges.testFlag(Qt::TopEdge))
            || (edges.testFlag(Qt::RightEdge) && edges.testFlag(Qt::BottomEdge));
        setCursor(falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    } else {
        setCursor(horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    }
}
