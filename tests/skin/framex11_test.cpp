// The skinned frame on a real X server with openbox (tests/support/x11-session) and real pointer input (XTEST):
// the window manager draws no frame and the window stands where it was put; a caption drag moves the window and a
// border drag resizes it by the pointer's movement, holding the pressed point under the pointer at every step, and the
// next click in the window works; the minimize button iconifies and activation restores; the system menu from a right
// click has the right items enabled; and the close button of the real program ends it with its settings written.
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

// The outer rectangle a drag should give: moved by the pointer's travel (no edges), or with those edges moved by it.
QRect draggedRect(QRect start, Qt::Edges edges, QPoint travel)
{
    if (!edges) {
        return start.translated(travel);
    }
    QRect rect = start;
    rect.setLeft(rect.left() + (edges.testFlag(Qt::LeftEdge) ? travel.x() : 0));
    rect.setRight(rect.right() + (edges.testFlag(Qt::RightEdge) ? travel.x() : 0));
    rect.setTop(rect.top() + (edges.testFlag(Qt::TopEdge) ? travel.y() : 0));
    rect.setBottom(rect.bottom() + (edges.testFlag(Qt::BottomEdge) ? travel.y() : 0));
    return rect;
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

    // A caption drag as a hand makes it: press, a few pixels, on to the end, release; each step waits for the pointer's
    // motion to reach the window. The window ends moved by the pointer's whole travel and nothing holds the pointer.
    bool dragCaption(QWidget &window, QPoint from, QPoint to)
    {
        QWidget *overlay = window.findChild<QWidget *>(QStringLiteral("FrameOverlay"));
        QPoint seen;
        EventWatch watch(overlay, [&seen](QEvent *event) {
            if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove) {
                seen = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
            }
        });
        const QPoint startPos = m_raw.outerFromFrame(idOf(window))->topLeft();
        const auto position = [&] { return m_raw.outerFromFrame(idOf(window))->topLeft(); };
        m_pointer.moveTo(from);
        m_pointer.press();
        bool ok = QTest::qWaitFor([&] { return seen == from; });
        for (const QPoint step : {from + QPoint(3, 1), from + QPoint(12, 6), to}) {
            m_pointer.moveTo(step);
            ok = ok && QTest::qWaitFor([&] { return seen == step && position() == startPos + (step - from); });
        }
        m_pointer.release();
        return ok && QTest::qWaitFor([&] { return !m_pointer.grabbedElsewhere(); });
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

    void dragHoldsTheGrabbedPointAtEveryStep_data()
    {
        QTest::addColumn<QPoint>("pressed"); // in the window; negative counts from the right or bottom edge
        QTest::addColumn<int>("edges");      // Qt::Edges; none for a move by the caption
        QTest::addColumn<QPoint>("sense");   // the path's direction on each axis
        QTest::newRow("caption") << QPoint(120, 15) << 0 << QPoint(1, 1);
        QTest::newRow("caption, up and left") << QPoint(120, 15) << 0 << QPoint(-1, -1);
        QTest::newRow("bottom-right corner") << QPoint(-2, -2) << int(Qt::BottomEdge | Qt::RightEdge) << QPoint(1, 1);
        QTest::newRow("top-left corner") << QPoint(1, 10) << int(Qt::TopEdge | Qt::LeftEdge) << QPoint(-1, -1);
        QTest::newRow("left edge") << QPoint(1, 100) << int(Qt::LeftEdge) << QPoint(-1, 1);
    }

    // The point of the frame that was pressed stays under the pointer (within 1 px) at every step of a path: from the
    // first pixel, across the drag distance and on, for a move by the caption and for a resize by the borders. The
    // release leaves the window exactly where the last step put it, Qt agrees, nothing holds the pointer, and the next
    // click in the window works.
    void dragHoldsTheGrabbedPointAtEveryStep()
    {
        QFETCH(QPoint, pressed);
        QFETCH(int, edges);
        QFETCH(QPoint, sense);
        QWidget window;
        window.resize(kClient);
        auto *button = new QPushButton(QStringLiteral("Push"), &window);
        button->setGeometry(140, 80, 100, 30);
        TWinSkinForm *frame = showFramed(window, QPoint(300, 200));
        QVERIFY(frame);
        const QRect start(QPoint(300, 200), window.size());
        QTRY_COMPARE(m_raw.outerFromFrame(idOf(window)), std::optional<QRect>(start));
        const QPoint local(
            (pressed.x() + start.width()) % start.width(), (pressed.y() + start.height()) % start.height());
        const FrameHitResult hit = frame->hitTest(local);
        QCOMPARE(hit.hit, edges ? FrameHit::Resize : FrameHit::Caption);
        QCOMPARE(int(hit.edges), edges);

        QWidget *overlay = window.findChild<QWidget *>(QStringLiteral("FrameOverlay"));
        QPoint seen;
        EventWatch watch(overlay, [&seen](QEvent *event) {
            if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove) {
                seen = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
            }
        });
        const QPoint press = start.topLeft() + local;
        m_pointer.moveTo(press);
        m_pointer.press();
        auto releaseOnFailure = qScopeGuard([this] { m_pointer.release(); });
        QTRY_COMPARE(seen, press);
        const auto outer = [&] { return m_raw.outerFromFrame(idOf(window)).value_or(QRect()); };
        const auto within1Px = [](const QRect &a, const QRect &b) {
            return std::abs(a.left() - b.left()) <= 1 && std::abs(a.top() - b.top()) <= 1
                && std::abs(a.right() - b.right()) <= 1 && std::abs(a.bottom() - b.bottom()) <= 1;
        };
        const QList<QPoint> path {{1, 0}, {2, 1}, {4, 1}, {6, 3}, {9, 4}, {13, 7}, {18, 10}, {26, 14}, {37, 20},
            {52, 28}, {73, 39}, {98, 53}, {126, 68}, {146, 78}, {158, 92}, {141, 101}, {120, 90}, {150, 80}};
        QRect expected;
        for (const QPoint step : path) {
            const QPoint travel(step.x() * sense.x(), step.y() * sense.y());
            expected = draggedRect(start, Qt::Edges(edges), travel);
            m_pointer.moveTo(press + travel);
            QTRY_VERIFY2(within1Px(outer(), expected),
                qPrintable(QStringLiteral("pointer moved by %1,%2: window at %3,%4 %5x%6, expected %7,%8 %9x%10")
                               .arg(travel.x())
                               .arg(travel.y())
                               .arg(outer().x())
                               .arg(outer().y())
                               .arg(outer().width())
                               .arg(outer().height())
                               .arg(expected.x())
                               .arg(expected.y())
                               .arg(expected.width())
                               .arg(expected.height())));
        }
        releaseOnFailure.dismiss();
        m_pointer.release();
        QTRY_VERIFY(!m_pointer.grabbedElsewhere());
        QTRY_COMPARE(window.geometry(), expected);
        QCOMPARE(outer(), expected);

        QSignalSpy clicked(button, &QPushButton::clicked);
        m_pointer.click(button->mapToGlobal(button->rect().center()));
        QTRY_COMPARE(clicked.count(), 1);
        QVERIFY(!button->isDown());
        QCOMPARE(outer(), expected);
    }

    void doubleClickOnTheCaptionMaximizesAndRestores()
    {
        QWidget window;
        window.resize(kClient);
        TWinSkinForm *frame = showFramed(window, QPoint(150, 150));
        QVERIFY(frame);
        const QPoint caption = window.mapToGlobal(QPoint(150, 15));
        m_pointer.doubleClick(caption);
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
        m_pointer.doubleClick(maximizedCaption);
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
