// The skinned frame on a real X server with openbox (tests/support/x11-session) and real pointer input (XTEST):
// the window manager draws no frame and the window stands where it was put; a caption drag moves the window by
// the pointer's movement, holding the pressed point under the pointer at every step, and the next click in the window
// works; the minimize button iconifies and activation restores; the system menu from a right click has the right items
// enabled; and the close button of the real program ends it with its settings written.
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

#include "rawx.h"
#include "skin/component/skindata.h"
#include "skin/frame/skinmanage.h"
#include "skin/frame/titlebarlayout.h"
#include "skin/frame/winskinform.h"
#include "skin/load/shippedskin.h"
#include "xpointer.h"

namespace {

const QSize kClient(300, 200);

// Calls back for every event an object receives, while it lives.
class EventWatch : public QObject
{
public:
    EventWatch(QObject *watched, std::function<void(QEvent *)> callback)
        : m_callback(std::move(callback))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        m_callback(event);
        return false;
    }

private:
    std::function<void(QEvent *)> m_callback;
};

xcb_window_t idOf(const QWidget &window)
{
    return xcb_window_t(window.winId());
}

} // namespace

class FrameX11Test : public QObject
{
    Q_OBJECT

private:
    TWinSkinForm *showFramed(QWidget &window, QPoint at)
    {
        window.move(at);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) {
            return nullptr;
        }
        // Pointer positions below come from Qt's idea of the window's place: wait until it is the server's.
        if (!QTest::qWaitFor([&] { return m_raw.clientRect(idOf(window)) == window.geometry(); })) {
            return nullptr;
        }
        return TSkinManage::instance()->findFrame(&window);
    }

    QPoint buttonCentre(TWinSkinForm *frame, int action)
    {
        for (const TitleButtonPlace &place : frame->titleBarLayout().buttons) {
            if (frame->skin()->sysButtons[size_t(place.button)].action == action) {
                return frame->window()->mapToGlobal(place.rect.center());
            }
        }
        return {};
    }

    // A caption drag as a hand makes it: press, move past the drag distance, then on to the end once the window
    // follows, release; the window ends moved by the pointer's whole travel. Each step waits for the last.
    bool dragCaption(QWidget &window, QPoint from, QPoint to)
    {
        QWidget *overlay = window.findChild<QWidget *>(QStringLiteral("FrameOverlay"));
        QPoint seen;
        EventWatch watch(overlay, [&seen](QEvent *event) {
            if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove) {
                seen = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
            }
        });
        m_pointer.moveTo(from);
        m_pointer.press();
        const QPoint started = from + QPoint(12, 6);
        const QPoint startPos = m_raw.outerFromFrame(idOf(window))->topLeft();
        bool ok = QTest::qWaitFor([&] { return seen == from; });
        if (ok) {
            m_pointer.moveTo(started);
            ok = QTest::qWaitFor([&] { return seen == started; });
        }
        // The window manager takes the pointer a moment after it was asked to: move until the window follows.
        const auto position = [&] { return m_raw.outerFromFrame(idOf(window))->topLeft(); };
        bool moving = false;
        for (int k = 0; ok && !moving && k < 50; ++k) {
            m_pointer.moveTo(to + QPoint(k % 2, 0));
            moving = QTest::qWaitFor([&] { return position() != startPos; }, 100);
        }
        m_pointer.moveTo(to);
        const QPoint expected = startPos + (to - from);
        ok = ok && moving && QTest::qWaitFor([&] { return position() == expected; });
        m_pointer.release();
        return ok;
    }

    QList<bool> openMenuStates(QWidget &window, TWinSkinForm *frame)
    {
        m_pointer.click(window.mapToGlobal(QPoint(window.width() / 2, 15)), 3);
        if (!QTest::qWaitFor([frame] { return frame->systemMenu() && frame->systemMenu()->isVisible(); })) {
            return {};
        }
        QList<bool> enabled;
        for (QAction *action : frame->systemMenu()->actions()) {
            enabled << action->isEnabled();
        }
        frame->systemMenu()->close();
        return enabled;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_raw.connected() && m_pointer.available(), "no X server with XTEST: run through x11-session");
        m_skinData = new TSkinData(&m_host);
        m_skinData->setActive(true);
        m_skinData->setSkinStream(TSkinData::framedSkinStream(shippedSkinPackage()));
        m_skinData->loaded();
        QVERIFY(m_skinData->isSkinLoaded());
    }

    void windowManagerDrawsNoFrame()
    {
        QWidget window;
        window.resize(kClient);
        TWinSkinForm *frame = showFramed(window, QPoint(300, 200));
        QVERIFY(frame);
        const QSize outer = kClient.grownBy(frame->thickness());
        QTRY_COMPARE(m_raw.outerFromFrame(idOf(window)), std::optional<QRect>(QRect(QPoint(300, 200), outer)));
        QCOMPARE(m_raw.clientRect(idOf(window)), std::optional<QRect>(QRect(QPoint(300, 200), outer)));
        const std::vector<quint32> extents = m_raw.values(idOf(window), "_NET_FRAME_EXTENTS");
        QVERIFY(extents.empty() || extents == (std::vector<quint32> {0, 0, 0, 0}));
        QTRY_COMPARE(window.geometry(), QRect(QPoint(300, 200), outer));
    }

    void captionDragMovesTheWindowAndTheNextClickWorks()
    {
        QWidget window;
        window.resize(kClient);
        auto *button = new QPushButton(QStringLiteral("Push"), &window);
        button->setGeometry(40, 40, 100, 30);
        TWinSkinForm *frame = showFramed(window, QPoint(200, 150));
        QVERIFY(frame);
        QTRY_COMPARE(m_raw.outerFromFrame(idOf(window))->topLeft(), QPoint(200, 150));
        const QPoint caption = window.mapToGlobal(QPoint(120, 15));
        QVERIFY(dragCaption(window, caption, caption + QPoint(172, 96)));
        QTRY_COMPARE(m_raw.outerFromFrame(idOf(window))->topLeft(), QPoint(372, 246));
        QTRY_COMPARE(window.pos(), QPoint(372, 246));

        QSignalSpy clicked(button, &QPushButton::clicked);
        m_pointer.click(button->mapToGlobal(button->rect().center()));
        QTRY_COMPARE(clicked.count(), 1);
        QVERIFY(!button->isDown());
        // The frame itself still answers: a second drag.
        const QPoint again = window.mapToGlobal(QPoint(120, 15));
        QVERIFY(dragCaption(window, again, again + QPoint(-88, -34)));
        QTRY_COMPARE(m_raw.outerFromFrame(idOf(window))->topLeft(), QPoint(284, 212));
    }

    // The point of the caption that was pressed stays under the pointer (within 1 px) at every step of a path: while
    // the program moves the window within the drag distance, across it, and on under the window manager's move, which
    // has the pointer by the end. The window ends moved by the pointer's whole travel.
    void captionDragHoldsThePointAtEveryStep()
    {
        QWidget window;
        window.resize(kClient);
        TWinSkinForm *frame = showFramed(window, QPoint(300, 200));
        QVERIFY(frame);
        const QPoint start(300, 200);
        QTRY_COMPARE(m_raw.outerFromFrame(idOf(window))->topLeft(), start);
        QWidget *overlay = window.findChild<QWidget *>(QStringLiteral("FrameOverlay"));
        QPoint seen;
        EventWatch watch(overlay, [&seen](QEvent *event) {
            if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove) {
                seen = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
            }
        });
        const QPoint press = window.mapToGlobal(QPoint(120, 15));
        m_pointer.moveTo(press);
        m_pointer.press();
        auto releaseOnFailure = qScopeGuard([this] { m_pointer.release(); });
        QTRY_COMPARE(seen, press);
        const auto moved = [&] { return m_raw.outerFromFrame(idOf(window))->topLeft() - start; };
        const auto heldWithin1Px = [](QPoint moved, QPoint travel) {
            return std::abs(moved.x() - travel.x()) <= 1 && std::abs(moved.y() - travel.y()) <= 1;
        };
        const QList<QPoint> path {{1, 0}, {2, 1}, {4, 1}, {6, 3}, {9, 4}, {13, 7}, {18, 10}, {26, 14}, {37, 20},
            {52, 28}, {73, 39}, {98, 53}, {126, 68}, {146, 78}, {158, 92}, {141, 101}, {120, 90}, {150, 80}};
        for (const QPoint travel : path) {
            m_pointer.moveTo(press + travel);
            QTRY_VERIFY2(heldWithin1Px(moved(), travel),
                qPrintable(QStringLiteral("pointer moved by %1,%2, window by %3,%4")
                               .arg(travel.x())
                               .arg(travel.y())
                               .arg(moved().x())
                               .arg(moved().y())));
        }
        // The window manager moved the window over the last steps: their motion never reached the window.
        QVERIFY(seen != press + path.last());
        releaseOnFailure.dismiss();
        m_pointer.release();
        QTRY_VERIFY(!m_pointer.grabbedElsewhere());
        QCOMPARE(moved(), path.last());
        QTRY_COMPARE(window.pos(), start + path.last());
    }

    void doubleClickOnTheCaptionMaximizesAndRestores()
    {
        QWidget window;
        window.resize(kClient);
        TWinSkinForm *frame = showFramed(window, QPoint(150, 150));
        QVERIFY(frame);
        const QPoint caption = window.mapToGlobal(QPoint(150, 15));
        m_pointer.click(caption);
        m_pointer.click(caption);
        QTRY_VERIFY(m_raw.maximized(idOf(window)));
        QTRY_VERIFY(window.isMaximized());
        QTRY_COMPARE(window.geometry(), *m_raw.clientRect(idOf(window)));
        // A maximized window's caption does not drag it; a double click restores it.
        const QPoint dragged = window.mapToGlobal(QPoint(700, 15));
        m_pointer.moveTo(dragged);
        m_pointer.press();
        m_pointer.moveTo(dragged + QPoint(40, 30));
        m_pointer.moveTo(dragged + QPoint(80, 60));
        m_pointer.release();
        QTRY_VERIFY(!m_pointer.grabbedElsewhere());
        QVERIFY(m_raw.maximized(idOf(window)));
        QCOMPARE(m_raw.outerFromFrame(idOf(window))->topLeft(), QPoint(0, 0));
        const QPoint maximizedCaption = window.mapToGlobal(QPoint(400, 15));
        m_pointer.click(maximizedCaption);
        m_pointer.click(maximizedCaption);
        QTRY_VERIFY(!m_raw.maximized(idOf(window)));
        QTRY_COMPARE(m_raw.outerFromFrame(idOf(window)), std::optional<QRect>(QRect({150, 150}, window.size())));
        QCOMPARE(window.size(), kClient.grownBy(frame->thickness()));
    }

    void minimizeIconifiesAndActivationRestores()
    {
        QWidget window;
        window.resize(kClient);
        TWinSkinForm *frame = showFramed(window, QPoint(250, 250));
        QVERIFY(frame);
        m_pointer.click(buttonCentre(frame, 2));
        QTRY_COMPARE(m_raw.wmState(idOf(window)), quint32(3));
        QTRY_VERIFY(window.isMinimized());
        // Qt has taken the iconified state in (it reads the state when it handles the change).
        QTRY_VERIFY(!window.windowHandle()->isExposed());
        m_raw.activate(idOf(window));
        QTRY_COMPARE(m_raw.wmState(idOf(window)), quint32(1));
        QTRY_VERIFY(!window.isMinimized());
    }

    void systemMenuStates()
    {
        QWidget normal;
        normal.resize(kClient);
        TWinSkinForm *frame = showFramed(normal, QPoint(100, 100));
        QVERIFY(frame);
        // Restore, Move, Size, Minimize, Maximize, separator, Close.
        QCOMPARE(openMenuStates(normal, frame), (QList<bool> {false, true, true, true, true, true, true}));

        normal.showMaximized();
        QTRY_VERIFY(m_raw.maximized(idOf(normal)));
        QTRY_VERIFY(normal.isMaximized() && normal.isActiveWindow());
        QTRY_COMPARE(normal.geometry(), *m_raw.clientRect(idOf(normal)));
        QCOMPARE(openMenuStates(normal, frame), (QList<bool> {true, false, false, true, false, true, true}));
        normal.close();

        QWidget fixed(nullptr,
            Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        fixed.setFixedSize(kClient);
        frame = showFramed(fixed, QPoint(120, 120));
        QVERIFY(frame);
        QCOMPARE(openMenuStates(fixed, frame), (QList<bool> {false, true, false, true, false, true, true}));
    }

    void closeButtonEndsTheProgramWithItsSettingsWritten()
    {
        QTemporaryDir folder;
        const QString program = folder.filePath(QStringLiteral("framewright"));
        QVERIFY(QFile::copy(QStringLiteral(FRAMEWRIGHT_PROGRAM), program));
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(program, {});
        QVERIFY(process.waitForStarted());
        xcb_window_t main = XCB_NONE;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const quint32 client : m_raw.values(m_raw.root(), "_NET_CLIENT_LIST")) {
                    const std::vector<quint32> pid = m_raw.values(client, "_NET_WM_PID");
                    if (!pid.empty() && qint64(pid[0]) == process.processId() && m_raw.wmState(client) == 1) {
                        main = client;
                        return true;
                    }
                }
                return false;
            }(),
            20000);
        std::optional<QRect> outer;
        QTRY_VERIFY((outer = m_raw.outerFromFrame(main)) && outer->width() == 776);
        // The shipped skin's close button: 36 pixels from the right, 4 down, 30 x 22.
        m_pointer.click(QPoint(outer->right() + 1 - 36 + 15, outer->top() + 4 + 11));
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QFile settings(folder.filePath(QStringLiteral("KTZ.ini")));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray text = settings.readAll();
        QVERIFY(text.contains("Left=" + QByteArray::number(outer->left()) + "\n"));
        QVERIFY(text.contains("Top=" + QByteArray::number(outer->top()) + "\n"));
        QVERIFY(text.contains("PresetCount=16"));
    }

private:
    QObject m_host;
    TSkinData *m_skinData = nullptr;
    RawX m_raw;
    XPointer m_pointer;
};

QTEST_MAIN(FrameX11Test)
#include "framex11_test.moc"
