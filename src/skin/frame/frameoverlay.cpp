// FrameOverlay: frame painting and mouse handling.
#include "frameoverlay.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>

#include "framehost.h"
#include "framemetrics.h"
#include "nativemove.h"

namespace {

// The window manager's restore, and the program's own moves reported late, each take one.
constexpr int kMaxCorrections = 3;
// Motion that reaches the program before the window manager has the pointer: a few events.
constexpr qsizetype kMaxOwnPlaces = 64;

} // namespace

FrameOverlay::FrameOverlay(FrameHost *frame, QWidget *window)
    : QWidget(window)
    , m_frame(frame)
    , m_placements([this](QPoint at) { return settleAfterPlacement(at); })
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
    if (m_drag != Drag::None) {
        endDrag();
    }
    stopWatchingHandOver();
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
        m_drag = Drag::Pending;
        m_dragEdges = hit.hit == FrameHit::Resize ? hit.edges : Qt::Edges();
        m_dragStart = event->globalPosition().toPoint();
        m_grabbed = mapTo(window(), event->position());
        m_startGeometry = window()->geometry();
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
        followPointer(event->globalPosition().toPoint());
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

// A move follows the pointer from the press, moved by this program; a resize waits for the drag distance. Past the
// drag distance the window manager is asked to take the drag over (its snapping and edge resistance apply), holding
// the window at the point the press grabbed. Until it has taken the pointer, and all along where it cannot or does
// not, the pointer's motion still reaches the window and the program goes on following it.
void FrameOverlay::followPointer(QPoint globalPos)
{
    const QPoint travel = globalPos - m_dragStart;
    if (m_drag == Drag::Pending) {
        const bool resizing = bool(m_dragEdges);
        if (!resizing) {
            followByHand(travel);
        }
        if (travel.manhattanLength() < QApplication::startDragDistance()) {
            return;
        }
        m_drag = Drag::Following;
        if (startWindowManagerDrag(window()->windowHandle(), m_grabbed, m_dragEdges)) {
            if (!resizing) {
                m_handOver = {true, window()->pos(), {}, kMaxCorrections};
                m_placements.watch(window()->windowHandle());
            }
            return;
        }
        if (!resizing) {
            return;
        }
    }
    followByHand(travel);
}

// The window's geometry for the pointer `travel` away from the press, set by the program itself.
void FrameOverlay::followByHand(QPoint travel)
{
    QWidget *window = this->window();
    if (!m_dragEdges) {
        const QPoint place = m_startGeometry.topLeft() + travel;
        // Noted first: Qt reports the move to the window at once.
        if (m_handOver.watching) {
            if (m_handOver.ownPlaces.size() == kMaxOwnPlaces) {
                m_handOver.ownPlaces.removeFirst();
            }
            m_handOver.ownPlaces.append(place);
        }
        window->move(place);
        return;
    }
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

// The window manager has placed the window while a hand-over is watched. A place the program did not ask for is the
// window manager's own move, whose end follows the pointer. The hand-over place itself, with the button let go, after
// the program moved the window on, is the window manager putting it back: it is undone (true), and Qt, which still
// holds the program's place, never hears of it.
bool FrameOverlay::settleAfterPlacement(QPoint at)
{
    if (at != m_handOver.at) {
        if (!m_handOver.ownPlaces.contains(at)) {
            stopWatchingHandOver();
        }
        return false;
    }
    if (m_handOver.ownPlaces.isEmpty() || m_handOver.ownPlaces.last() == at
        || primaryButtonHeld(window()->windowHandle())) {
        return false;
    }
    const QPoint lastOwn = m_handOver.ownPlaces.last();
    if (--m_handOver.correctionsLeft <= 0) {
        stopWatchingHandOver();
    }
    placeWindow(window()->windowHandle(), lastOwn);
    return true;
}

void FrameOverlay::stopWatchingHandOver()
{
    m_handOver = {};
    m_placements.watch(nullptr);
}

void FrameOverlay::endDrag()
{
    m_drag = Drag::None;
    m_dragEdges = {};
}

// After the window manager has moved the window it may keep the button release from us, and Qt then sends
// every later mouse event to this overlay (the widget the button went down on) until a release arrives, so
// the first click in the client area would be lost. A release is given to the window in its place, and a press
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
    if (m_drag == Drag::Following) {
        // The release reached the window, so the window manager never took the pointer.
        cancelWindowManagerDrag(window()->windowHandle());
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
    if (facts.maximized || facts.minimized) {
        m_frame->runSystemCommand(SystemCommand::Restore);
    } else if (facts.hasMaximizeBox) {
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
