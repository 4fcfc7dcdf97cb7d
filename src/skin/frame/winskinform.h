// TWinSkinForm: the skinned frame of one top-level window. Attaching makes the window frameless, moves its
// contents in by the frame's thicknesses and grows it so that the client area keeps its size, lays an
// overlay over the frame ring (painting and mouse, frameoverlay.h, which reaches the frame as its FrameHost),
// shapes the window from transparent edges and skins its controls. Detaching gives all of it back. Owned by
// the window (a child object).
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QTimer>

#include "framefacts.h"
#include "framehost.h"
#include "systemmenu.h"
#include "titlebarlayout.h"

class FrameOverlay;
class QMenu;
class QShortcut;
class QWidget;
class TSkinData;
struct SkinObjects;

class TWinSkinForm : public QObject, public FrameHost
{
    Q_OBJECT

public:
    // The interval of the timer that drops a hot button once the cursor has left it.
    static constexpr int kHoverCheckMs = 250;

    TWinSkinForm(QWidget *window, TSkinData *skinData);
    // Leaves the window as it is: a frame destroyed with its window has nothing to give back.
    ~TWinSkinForm() override;

    // Takes the window over; once, when it is first shown. A window without a caption keeps its frame and
    // only has its controls skinned.
    void attach();
    // Gives back the platform frame, the contents' places, the client size, the mask and the controls' look.
    void detach();
    bool isAttached() const { return m_attached; }
    // Follows a new skin of the component: new thicknesses (the client size kept), shape and painting.
    void refresh();

    QWidget *window() const { return m_window; }
    TSkinData *skinData() const;
    // The skin drawn from; null once the component has gone.
    const SkinObjects *skin() const;
    QMargins thickness() const { return m_thickness; }
    // The window's current facts (size, state, functions) with this frame's thicknesses.
    FrameFacts facts() const override;
    TitleBarLayout titleBarLayout() const;
    FrameHitResult hitTest(QPoint point) const override;
    void paintRing(QPainter &painter) const override;
    QFont captionFont() const;
    QImage icon() const { return m_icon; }

    // Title-bar button states (ButtonState): the pressed button is pressed while the cursor is over it.
    int buttonState(int button) const;
    int hotButton() const { return m_hot; }
    int pressedButton() const override { return m_pressed; }
    void setHotButton(int button) override;
    void setPressedButton(int button) override;
    // Runs the button's action.
    void clickButton(int button, QPoint globalPos) override;
    bool isIconButton(int button) const override;

    // A title-bar button's action: 0 close, 1/22 maximize or restore, 2/23 minimize, 3/11/12 the system menu
    // at globalPos; MDI actions do nothing; any other is reported by customAction.
    void runAction(int action, QPoint globalPos);
    void runSystemCommand(SystemCommand command) override;
    // Builds the system menu afresh and opens it at globalPos.
    void openSystemMenu(QPoint globalPos) override;
    // The menu last opened; null before the first opening.
    QMenu *systemMenu() const;
    // The shape last applied.
    QRegion windowMask() const { return m_mask; }

signals:
    void customAction(int action);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The system menu asked for by a title-bar button: within the double-click interval of the last such
    // opening (a double click on the icon) it closes the window instead.
    void openSystemMenuFromButton(QPoint globalPos);
    void showSystemMenu(QPoint globalPos);
    void applyThickness(const QMargins &from, const QMargins &to);
    void shiftContents(const QMargins &delta);
    void growWindow(QSize delta);
    void fitCaption();
    void centreDialog();
    void frameResized();
    void captureIcon();
    void syncPositionWithServer();
    void checkHover();
    void updateActive();

    QPointer<QWidget> m_window;
    QPointer<TSkinData> m_skinData;
    QPointer<FrameOverlay> m_overlay;
    QPointer<QMenu> m_systemMenu;
    QShortcut *m_menuShortcut = nullptr;
    Qt::WindowFlags m_flags; // the window's own flags, before framing
    QMargins m_thickness;
    QMargins m_widening; // added around a message box's contents for its caption
    bool m_attached = false;
    bool m_starting = false;  // between attaching and the next turn of the event loop
    bool m_adjusting = false; // while the frame itself changes the window's geometry
    bool m_centre = false;    // a dialog Qt placed: centred at its framed size while starting
    QRegion m_mask;
    QSize m_maskSize;
    QImage m_icon;
    int m_hot = -1;
    int m_pressed = -1;
    QTimer m_hoverTimer;
    QElapsedTimer m_menuOpened;
};
