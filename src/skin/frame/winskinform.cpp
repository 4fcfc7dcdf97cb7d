// TWinSkinForm: attaching and detaching a frame, the window's state, button actions and the system menu.
#include "winskinform.h"

#include <QApplication>
#include <QDialog>
#include <QLayout>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include "framehittest.h"
#include "framemask.h"
#include "framemetrics.h"
#include "frameoverlay.h"
#include "framepainter.h"
#include "nativeposition.h"
#include "skin/component/skindata.h"
#include "skin/controls/controlskins.h"
#include "windowfacts.h"

namespace {

// Marks a window as already skinned (the manager frames a window only once).
constexpr char kSkinnedProperty[] = "skinned";

// Sets a window's flags without hiding and re-showing it: the native window takes them as they are.
void setFlagsInPlace(QWidget *window, Qt::WindowFlags flags)
{
    window->overrideWindowFlags(flags);
    if (QWindow *handle = window->windowHandle()) {
        handle->setFlags(flags);
    }
}

int grown(int value, int delta)
{
    return value >= QWIDGETSIZE_MAX ? value : std::max(0, value + delta);
}

} // namespace

TWinSkinForm::TWinSkinForm(QWidget *window, TSkinData *skinData)
    : QObject(window)
    , m_window(window)
    , m_skinData(skinData)
    , m_flags(window->windowFlags())
{
    setObjectName(QStringLiteral("WinSkinForm"));
    m_hoverTimer.setInterval(kHoverCheckMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &TWinSkinForm::checkHover);
    connect(skinData, &TSkinData::OnSkinChanged, this, &TWinSkinForm::refresh);
}

TWinSkinForm::~TWinSkinForm() = default;

TSkinData *TWinSkinForm::skinData() const
{
    return m_skinData;
}

const SkinObjects *TWinSkinForm::skin() const
{
    return m_skinData ? m_skinData->skin() : nullptr;
}

FrameFacts TWinSkinForm::facts() const
{
    return readWindowFacts(m_window, m_flags, m_thickness);
}

TitleBarLayout TWinSkinForm::titleBarLayout() const
{
    const SkinObjects *objects = skin();
    if (!objects || !m_window) {
        return {};
    }
    QWidget *window = m_window;
    const ButtonVisibilityQuery query = [window](int code, int action) {
        bool visible = false;
        QMetaObject::invokeMethod(window, "skinButtonVisible", Qt::DirectConnection, Q_RETURN_ARG(bool, visible),
            Q_ARG(int, code), Q_ARG(int, action));
        return visible;
    };
    return layoutTitleBar(*objects, facts(), m_window->windowTitle(), QFontMetrics(captionFont()),
        QSize(FrameMetrics::kIconPx, FrameMetrics::kIconPx), query);
}

FrameHitResult TWinSkinForm::hitTest(QPoint point) const
{
    return frameHitTest(point, facts(), titleBarLayout());
}

void TWinSkinForm::paintRing(QPainter &painter) const
{
    const SkinObjects *objects = skin();
    if (!objects) {
        return;
    }
    paintFrame(
        painter, *objects, facts(), titleBarLayout(), [this](int button) { return buttonState(button); }, m_icon,
        captionFont());
}

QFont TWinSkinForm::captionFont() const
{
    const SkinObjects *objects = skin();
    const QFont base = m_skinData ? m_skinData->captionFont() : QFont();
    return objects ? captionFontFor(*objects, base) : base;
}

void TWinSkinForm::attach()
{
    const SkinObjects *objects = skin();
    if (m_attached || !objects || !m_window) {
        return;
    }
    m_attached = true;
    m_window->setProperty(kSkinnedProperty, true);
    captureIcon();
    skinWindowControls(m_window, m_skinData);
    const FrameFacts initial = facts();
    if (initial.border == BorderKind::NoCaption) {
        return;
    }
    m_thickness = frameThickness(*objects, initial.border);
    setFlagsInPlace(m_window, m_flags | Qt::FramelessWindowHint);
    applyThickness({}, m_thickness);
    m_overlay = new FrameOverlay(this, m_window);
    m_window->installEventFilter(this);
    if (QWindow *handle = m_window->windowHandle(); handle && !handle->isExposed()) {
        handle->installEventFilter(this);
    }
    m_menuShortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), m_window);
    connect(m_menuShortcut, &QShortcut::activated, this, [this] {
        const QPoint client = m_window->contentsRect().topLeft();
        openSystemMenu(m_window->mapToGlobal(client));
    });
    m_starting = true;
    m_centre = qobject_cast<QDialog *>(m_window.data()) && !m_window->testAttribute(Qt::WA_Moved);
    frameResized();
    fitCaption();
    centreDialog();
    updateActive();
    QMetaObject::invokeMethod(
        this, [this] { m_starting = false; }, Qt::QueuedConnection);
}

void TWinSkinForm::detach()
{
    if (!m_attached || !m_window) {
        return;
    }
    m_attached = false;
    unskinWindowControls(m_window);
    m_window->removeEventFilter(this);
    m_hoverTimer.stop();
    delete m_menuShortcut;
    m_menuShortcut = nullptr;
    delete m_overlay;
    delete m_systemMenu;
    if (!m_thickness.isNull() || !m_widening.isNull()) {
        setFlagsInPlace(m_window, m_flags);
        applyThickness(m_thickness + m_widening, {});
        m_window->clearMask();
    }
    m_thickness = {};
    m_widening = {};
    m_mask = {};
    m_maskSize = {};
    m_window->setProperty(kSkinnedProperty, QVariant());
}

void TWinSkinForm::refresh()
{
    const SkinObjects *objects = skin();
    if (!m_attached || !objects || !m_overlay) {
        return;
    }
    const QMargins thickness = frameThickness(*objects, facts().border);
    applyThickness(m_thickness, thickness);
    m_thickness = thickness;
    m_maskSize = {};
    frameResized();
}

// Moves the contents in by the change of the frame's thicknesses and grows the window by it, so that the
// client area keeps its size. A window with a layout takes the change as contents margins; the children of
// one without are moved.
void TWinSkinForm::applyThickness(const QMargins &from, const QMargins &to)
{
    const QScopedValueRollback<bool> adjusting(m_adjusting, true);
    const QMargins delta = to - from;
    shiftContents(delta);
    growWindow(QSize(delta.left() + delta.right(), delta.top() + delta.bottom()));
}

void TWinSkinForm::shiftContents(const QMargins &delta)
{
    m_window->setContentsMargins(m_window->contentsMargins() + delta);
    if (m_window->layout()) {
        return;
    }
    const QPoint offset(delta.left(), delta.top());
    for (QObject *child : m_window->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && !widget->isWindow() && widget != m_overlay) {
            widget->move(widget->pos() + offset);
        }
    }
}

void TWinSkinForm::growWindow(QSize delta)
{
    const QSize minimum = m_window->minimumSize();
    const QSize maximum = m_window->maximumSize();
    const bool fixed = minimum == maximum;
    // A layout keeps the minimum size of a window that is not fixed; explicit sizes grow with the frame.
    if (fixed || !m_window->layout()) {
        const QSize newMinimum(grown(minimum.width(), delta.width()), grown(minimum.height(), delta.height()));
        const QSize newMaximum(grown(maximum.width(), delta.width()), grown(maximum.height(), delta.height()));
        if (delta.width() + delta.height() >= 0) {
            m_window->setMaximumSize(newMaximum);
            m_window->setMinimumSize(minimum.isNull() ? minimum : newMinimum);
        } else {
            m_window->setMinimumSize(minimum.isNull() ? minimum : newMinimum);
            m_window->setMaximumSize(newMaximum);
        }
    }
    if (!m_window->isMaximized() && !m_window->isFullScreen()) {
        m_window->resize(m_window->size() + delta);
    }
}

// A message box whose caption does not fit is widened, its contents staying in the middle.
void TWinSkinForm::fitCaption()
{
    const SkinObjects *objects = skin();
    if (!objects || !isMessageBox(m_window)) {
        return;
    }
    const int extra
        = captionFitWidth(*objects, facts(), m_window->windowTitle(), QFontMetrics(captionFont())) - m_window->width();
    if (extra <= 0) {
        return;
    }
    const QMargins widening(extra / 2, 0, extra - extra / 2, 0);
    m_widening += widening;
    applyThickness({}, widening);
}

// Dialogs are placed by Qt before they are framed, from guesses about the platform frame; a dialog not placed
// by the program is centred over its parent window (or its screen) at its framed size instead.
void TWinSkinForm::centreDialog()
{
    auto *dialog = qobject_cast<QDialog *>(m_window.data());
    if (!dialog || !m_centre || !m_starting) {
        return;
    }
    const QWidget *parent = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
    QScreen *screen = parent ? parent->screen() : dialog->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QPoint centre = parent && parent->isVisible() ? outerGeometry(parent).center() : available.center();
    QRect placed(QPoint(0, 0), dialog->size());
    placed.moveCenter(centre);
    if (available.isValid()) {
        placed.moveLeft(std::max(available.left(), std::min(placed.left(), available.right() + 1 - placed.width())));
        placed.moveTop(std::max(available.top(), std::min(placed.top(), available.bottom() + 1 - placed.height())));
    }
    dialog->move(placed.topLeft());
}

void TWinSkinForm::frameResized()
{
    const SkinObjects *objects = skin();
    if (!objects || !m_overlay) {
        return;
    }
    m_overlay->frameResized();
    if (m_window->size() != m_maskSize) {
        m_maskSize = m_window->size();
        m_mask = frameMask(*objects, facts());
        if (m_mask == QRegion(QRect(QPoint(0, 0), m_maskSize))) {
            m_window->clearMask();
        } else {
            m_window->setMask(m_mask);
        }
        // Qt sends the shape with its next batch of requests; until then the window takes input only within its old
        // shape, and a click on a window just maximized would fall through to whatever lies below.
        flushNativeRequests(m_window->windowHandle());
    }
}

void TWinSkinForm::captureIcon()
{
    const QIcon icon = m_window->windowIcon();
    m_icon = icon.isNull() ? (m_skinData ? m_skinData->smallIcon() : QImage())
                           : icon.pixmap(FrameMetrics::kIconPx, FrameMetrics::kIconPx).toImage();
}

int TWinSkinForm::buttonState(int button) const
{
    if (button == m_pressed) {
        return button == m_hot ? kButtonPressed : kButtonNormal;
    }
    return button == m_hot && m_pressed < 0 ? kButtonHot : kButtonNormal;
}

void TWinSkinForm::setHotButton(int button)
{
    if (button != m_hot) {
        m_hot = button;
        if (m_overlay) {
            m_overlay->update();
        }
    }
}

void TWinSkinForm::setPressedButton(int button)
{
    if (button != m_pressed) {
        m_pressed = button;
        if (m_overlay) {
            m_overlay->update();
        }
    }
}

void TWinSkinForm::checkHover()
{
    if (m_hot < 0 || !m_window) {
        return;
    }
    const QRect rect = titleBarLayout().rectOf(m_hot);
    if (!rect.contains(m_window->mapFromGlobal(QCursor::pos()))) {
        setHotButton(-1);
    }
}

void TWinSkinForm::updateActive()
{
    if (m_window && m_window->isActiveWindow()) {
        m_hoverTimer.start();
    } else {
        m_hoverTimer.stop();
        setHotButton(-1);
    }
    if (m_overlay) {
        m_overlay->update();
    }
}

void TWinSkinForm::clickButton(int button, QPoint globalPos)
{
    const SkinObjects *objects = skin();
    if (objects && button >= 0 && size_t(button) < objects->sysButtons.size()) {
        runAction(objects->sysButtons[size_t(button)].action, globalPos);
    }
}

bool TWinSkinForm::isIconButton(int button) const
{
    const SkinObjects *objects = skin();
    return objects && button >= 0 && size_t(button) < objects->sysButtons.size()
        && isIconAction(objects->sysButtons[size_t(button)].action);
}

void TWinSkinForm::runAction(int action, QPoint globalPos)
{
    using namespace ButtonAction;
    switch (action) {
    case kClose:
        m_window->close();
        break;
    case kMaximize:
    case kMaximizeAlt:
        runSystemCommand(m_window->isMaximized() ? SystemCommand::Restore : SystemCommand::Maximize);
        break;
    case kMinimize:
    case kMinimizeAlt:
        runSystemCommand(SystemCommand::Minimize);
        break;
    case kIconMenu:
    case kIconMenuAlt:
    case kSystemMenu:
        openSystemMenuFromButton(globalPos + QPoint(FrameMetrics::kMenuFromButtonPx, FrameMetrics::kMenuFromButtonPx));
        break;
    case kMdiMinimize:
    case kMdiRestore:
    case kMdiClose:
    case kMdiMinimizeAlt:
    case kMdiRestoreAlt:
    case kMdiCloseAlt:
        break; // MDI children: these windows have none
    default:
        emit customAction(action);
        break;
    }
}

void TWinSkinForm::runSystemCommand(SystemCommand command)
{
    if (!m_window) {
        return;
    }
    QWindow *handle = m_window->windowHandle();
    switch (command) {
    case SystemCommand::Restore:
        m_window->showNormal();
        break;
    case SystemCommand::Move:
        if (handle) {
            handle->startSystemMove();
        }
        break;
    case SystemCommand::Size:
        if (handle) {
            handle->startSystemResize(Qt::RightEdge | Qt::BottomEdge);
        }
        break;
    case SystemCommand::Minimize:
        m_window->showMinimized();
        break;
    case SystemCommand::Maximize:
        if (facts().hasMaximizeBox) {
            m_window->showMaximized();
        }
        break;
    case SystemCommand::Close:
        m_window->close();
        break;
    }
}

QMenu *TWinSkinForm::systemMenu() const
{
    return m_systemMenu;
}

void TWinSkinForm::openSystemMenu(QPoint globalPos)
{
    if (!m_window || !m_skinData) {
        return;
    }
    m_menuOpened.invalidate();
    showSystemMenu(globalPos);
}

void TWinSkinForm::openSystemMenuFromButton(QPoint globalPos)
{
    if (!m_window || !m_skinData) {
        return;
    }
    if (m_menuOpened.isValid() && m_menuOpened.elapsed() < QApplication::doubleClickInterval()) {
        m_menuOpened.invalidate();
        m_window->close();
        return;
    }
    m_menuOpened.start();
    showSystemMenu(globalPos);
}

void TWinSkinForm::showSystemMenu(QPoint globalPos)
{
    delete m_systemMenu;
    m_systemMenu = buildSystemMenu(m_window, systemMenuItems(facts()), m_skinData->menuGlyphs());
    connect(
        m_systemMenu, &QMenu::triggered, this,
        [this](QAction *action) { runSystemCommand(SystemCommand(action->data().toInt())); }, Qt::QueuedConnection);
    m_systemMenu->popup(globalPos);
}

// The frame resizes the window after its native window exists but before it is mapped. The X server reports
// that resize after the window manager has put the window into its (still unplaced) frame window, and Qt
// takes the frame window's provisional position for the window's own; the window manager does not report the
// real one when it places a frameless window, nor always when it maximizes or restores one. Once shown and
// after each change of state, Qt is told the rectangle the server has.
void TWinSkinForm::syncPositionWithServer()
{
    if (m_window && m_window->isVisible()) {
        syncWithServerGeometry(m_window->windowHandle());
    }
}

bool TWinSkinForm::eventFilter(QObject *watched, QEvent *event)
{
    if (m_window && watched == m_window->windowHandle()) {
        if (event->type() == QEvent::Expose && m_window->windowHandle()->isExposed()) {
            watched->removeEventFilter(this);
            syncPositionWithServer();
        }
        return false;
    }
    if (watched != m_window) {
        return false;
    }
    switch (event->type()) {
    case QEvent::Resize:
        frameResized();
        if (m_starting && !m_adjusting) {
            fitCaption();
            centreDialog();
        }
        break;
    case QEvent::ChildAdded:
        if (m_overlay) {
            m_overlay->raise();
        }
        break;
    case QEvent::ActivationChange:
        updateActive();
        break;
    case QEvent::WindowStateChange:
        // The window manager has moved the window by now (maximized or restored) and may not have said so.
        QMetaObject::invokeMethod(this, &TWinSkinForm::syncPositionWithServer, Qt::QueuedConnection);
        if (m_overlay) {
            m_overlay->update();
        }
        break;
    case QEvent::WindowIconChange:
        captureIcon();
        [[fallthrough]];
    case QEvent::WindowTitleChange:
    case QEvent::LayoutDirectionChange:
        if (m_overlay) {
            m_overlay->update();
        }
        break;
    default:
        break;
    }
    return false;
}
