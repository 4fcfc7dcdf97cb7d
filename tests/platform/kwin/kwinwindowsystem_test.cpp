// The KWin backend against a real KWin (tests/support/kwin-session: two 1920x1080 outputs side by side) and real
// Wayland clients (framewright-waylandclient, gtk3-demo for a client that draws its own decoration and shadows).
// Every result is read back through KWin's own scripting (KWinOracle) and, where the client knows it, from the
// client itself; waits poll.
#include "kwinoracle.h"
#include "platform/anchoredrect.h"
#include "platform/kwin/kwinwindowsystem.h"
#include "platform/sessionwindowsystem.h"
#include "waylandclient.h"

#include <QProcess>
#include <QTest>

using platform::ShowState;
using platform::TopLevelWindow;
using platform::WindowId;
using platform::WindowPlacement;
using platform::kwin::KWinWindowSystem;

namespace {

const QRect kSecondOutput(1920, 0, 1920, 1080);

// The client's size and maximized state as the client itself has them ("state" of the test client).
QString clientState(bool maximized, QSize size)
{
    return QStringLiteral("maximized=%1 size=%2x%3").arg(maximized ? 1 : 0).arg(size.width()).arg(size.height());
}

} // namespace

class KWinWindowSystemTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"), "run through tests/support/kwin-session");
        QVERIFY(m_oracle.start());
        QVERIFY2(m_client.start(), qPrintable(m_client.lastError()));
        m_system = KWinWindowSystem::open();
        QVERIFY2(m_system, "KWin is not on the session bus");
    }

    void theSessionChoosesKWin()
    {
        const platform::SessionWindowSystem opened = platform::openSessionWindowSystem();
        QVERIFY(dynamic_cast<KWinWindowSystem *>(opened.windowSystem.get()));
        QVERIFY(opened.error.isEmpty());
        QVERIFY(opened.note.isEmpty());
    }

    void monitorsAreKWinsOutputs()
    {
        const std::optional<OracleView> view = m_oracle.view();
        QVERIFY(view);
        const std::vector<platform::Monitor> monitors = m_system->monitors();
        QCOMPARE(monitors.size(), size_t(2));
        QCOMPARE(monitors[0].rect, view->screens[0]);
        QCOMPARE(monitors[1].rect, view->screens[1]);
        QVERIFY(monitors[0].primary && !monitors[1].primary);
        QCOMPARE(monitors[1].rect, kSecondOutput);
    }

    void listsWindowsTopmostFirstWithTheirFrames()
    {
        const QString first = QStringLiteral("Listing first");
        const QString second = QStringLiteral("Listing \u00fcn\u00efc\u00f6d\u00e9 \u2603");
        const int a = m_client.open(first, QStringLiteral("size=320x200"));
        const int b = m_client.open(second, QStringLiteral("size=280x150"));
        QVERIFY(a && b);
        const std::optional<OracleView> view = m_oracle.view();
        QVERIFY(view);
        QStringList expected;
        for (const OracleWindow &window : view->windows) {
            if (window.caption == first || window.caption == second) {
                expected << window.caption;
            }
        }
        QStringList listed;
        for (const TopLevelWindow &window : m_system->topLevelWindows()) {
            if (window.title == first || window.title == second) {
                listed << window.title;
                QVERIFY(window.visible && !window.owned);
                const std::optional<WindowPlacement> placement = m_system->windowPlacement(window.id);
                QVERIFY(placement);
                QCOMPARE(placement->showState, ShowState::Normal);
                QCOMPARE(placement->normalRect, view->window(window.title).value_or(OracleWindow()).frame);
            }
        }
        QCOMPARE(listed, expected);
        QCOMPARE(listed.size(), 2);
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(a)));
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(b)));
    }

    void placesExactlyOrAnchored_data()
    {
        QTest::addColumn<QString>("minimum"); // the client's minimum size, or empty
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<int>("anchor");
        const QRect side(1920 + 100, 80, 800, 600);
        const QRect small(1920 + 600, 300, 200, 100);
        QTest::newRow("pixels on the second output") << QString() << side << int(Qt::AlignLeft | Qt::AlignTop);
        QTest::newRow("across both outputs")
            << QString() << QRect(1700, 500, 500, 300) << int(Qt::AlignLeft | Qt::AlignTop);
        QTest::newRow("refused size keeps the left top") << "500x400" << small << int(Qt::AlignLeft | Qt::AlignTop);
        QTest::newRow("refused size keeps the right bottom")
            << "500x400" << small << int(Qt::AlignRight | Qt::AlignBottom);
        QTest::newRow("refused size keeps the centre") << "500x400" << small << int(Qt::AlignCenter);
        QTest::newRow("refused width only, right") << "500x50" << small << int(Qt::AlignRight | Qt::AlignTop);
    }

    void placesExactlyOrAnchored()
    {
        QFETCH(QString, minimum);
        QFETCH(QRect, wanted);
        QFETCH(int, anchor);
        const QString title = QStringLiteral("Placed %1").arg(QTest::currentDataTag());
        const int number = m_client.open(title,
            QStringLiteral("size=300x200") + (minimum.isEmpty() ? QString() : QStringLiteral(" min=") + minimum));
        QVERIFY2(number, qPrintable(m_client.lastError()));
        const WindowId window = findWindow(title);
        QVERIFY(window);
        const QString opened = m_client.command(QStringLiteral("state %1").arg(number)).value_or(QString());
        const QStringList size = opened.section(QStringLiteral("size="), 1).split(u'x');
        QCOMPARE(size.size(), 2);
        const QSize decoration = oracleWindow(title).frame.size() - QSize(size[0].toInt(), size[1].toInt());

        QSize landedSize = wanted.size();
        if (!minimum.isEmpty()) {
            const QStringList parts = minimum.split(u'x');
            landedSize = landedSize.expandedTo(QSize(parts[0].toInt(), parts[1].toInt()) + decoration);
        }
        const QRect expected = platform::anchoredRect(wanted, landedSize, Qt::Alignment(anchor), 1 << 24);
        QVERIFY(m_system->setWindowPlacement(window, {ShowState::Normal, wanted, Qt::Alignment(anchor)}));
        // Landed when setWindowPlacement returns: KWin and the client both show it at once.
        const std::optional<OracleView> view = m_oracle.view();
        QVERIFY(view);
        QCOMPARE(view->window(title).value_or(OracleWindow()).frame, expected);
        QCOMPARE(view->activeCaption, title);
        QCOMPARE(
            m_client.command(QStringLiteral("state %1").arg(number)), clientState(false, expected.size() - decoration));
        QCOMPARE(m_system->windowPlacement(window)->normalRect, expected);
        QCOMPARE(m_system->activeWindow(), window);
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(number)));
    }

    void maximizedAndBack()
    {
        const QString title = QStringLiteral("Maximized and back");
        const int number = m_client.open(title);
        const WindowId window = findWindow(title);
        QVERIFY(number && window);
        const QRect restore(1920 + 200, 150, 640, 480);
        QVERIFY(m_system->setWindowPlacement(window, {ShowState::Maximized, restore}));
        QCOMPARE(oracleWindow(title).frame, kSecondOutput);
        QVERIFY(m_client.command(QStringLiteral("state %1").arg(number))
                    .value_or(QString())
                    .startsWith(QLatin1String("maximized=1")));
        const std::optional<WindowPlacement> maximized = m_system->windowPlacement(window);
        QCOMPARE(maximized->showState, ShowState::Maximized);
        QCOMPARE(maximized->normalRect, restore);

        const QRect normal(300, 200, 500, 400);
        QVERIFY(m_system->setWindowPlacement(window, {ShowState::Normal, normal}));
        QCOMPARE(oracleWindow(title).frame, normal);
        QVERIFY(m_client.command(QStringLiteral("state %1").arg(number))
                    .value_or(QString())
                    .startsWith(QLatin1String("maximized=0")));
        QCOMPARE(m_system->windowPlacement(window), (WindowPlacement {ShowState::Normal, normal}));
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(number)));
    }

    void clientSideDecorationIsPlacedWithoutShadows()
    {
        QProcess demo;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("wayland"));
        demo.setProcessEnvironment(environment);
        demo.start(QStringLiteral("gtk3-demo"), QStringList());
        QVERIFY2(demo.waitForStarted(), "gtk3-demo is missing (scripts/setup --tests: gtk-3-examples)");
        // gtk3-demo's main window, with a header bar and shadows of its own.
        const QString title = QStringLiteral("Application Class");
        const WindowId window = findWindow(title);
        QVERIFY(window);
        const QRect wanted(1920 + 300, 100, 900, 700);
        QVERIFY(m_system->setWindowPlacement(window, {ShowState::Normal, wanted}));
        QCOMPARE(oracleWindow(title).frame, wanted);
        QCOMPARE(m_system->windowPlacement(window)->normalRect, wanted);
        demo.kill();
        demo.waitForFinished();
    }

    void aWindowThatVanishesDuringThePlacement()
    {
        const QString title = QStringLiteral("Vanishes when resized");
        const int number = m_client.open(title, QStringLiteral("vanish-on-resize"));
        const WindowId window = findWindow(title);
        QVERIFY(number && window);
        QVERIFY(!m_system->setWindowPlacement(window, {ShowState::Normal, QRect(100, 100, 640, 480)}));
        QTRY_VERIFY(oracleWindow(title).caption.isEmpty());
        QCOMPARE(m_system->windowPlacement(window), std::nullopt);
        QVERIFY(!m_system->setWindowPlacement(window, {ShowState::Normal, QRect(100, 100, 640, 480)}));
    }

    void handlesAreNeverReused()
    {
        const QString title = QStringLiteral("Closed and opened again");
        const int first = m_client.open(title);
        const WindowId before = findWindow(title);
        QVERIFY(first && before);
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(first)));
        QTRY_COMPARE(listedWindow(title), WindowId(0));
        QVERIFY(!m_system->setWindowPlacement(before, {ShowState::Normal, QRect(0, 0, 300, 300)}));
        const int second = m_client.open(title);
        const WindowId after = findWindow(title);
        QVERIFY(second && after && after != before);
        QCOMPARE(m_system->windowPlacement(before), std::nullopt);
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(second)));
    }

    void watchReportsWindowsAsTheyComeChangeAndGo()
    {
        std::vector<QStringList> reports;
        const auto watch = m_system->watchTopLevelWindows([&reports](const auto &windows) {
            QStringList titles;
            for (const TopLevelWindow &window : windows.value_or(std::vector<TopLevelWindow>())) {
                titles << window.title;
            }
            reports.push_back(titles);
        });
        QVERIFY(watch);
        QCOMPARE(reports.size(), size_t(1)); // once before it returns
        const auto lastHas = [&reports](const QString &title) { return reports.back().contains(title); };
        const int number = m_client.open(QStringLiteral("Watched later"));
        QVERIFY(number);
        QTRY_VERIFY(lastHas(QStringLiteral("Watched later")));
        QVERIFY(m_client.command(QStringLiteral("title %1 -- Watched and renamed").arg(number)));
        QTRY_VERIFY(lastHas(QStringLiteral("Watched and renamed")));
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(number)));
        QTRY_VERIFY(!lastHas(QStringLiteral("Watched and renamed")));
    }

private:
    // The window with this caption as KWin has it now, or an empty window.
    OracleWindow oracleWindow(const QString &caption)
    {
        const std::optional<OracleView> view = m_oracle.view();
        return view ? view->window(caption).value_or(OracleWindow()) : OracleWindow();
    }

    // The handle of the window with this title as the backend lists it now, or 0.
    WindowId listedWindow(const QString &title)
    {
        for (const TopLevelWindow &window : m_system->topLevelWindows()) {
            if (window.title == title) {
                return window.id;
            }
        }
        return 0;
    }

    // The handle of the window with this title, polled until the backend lists it; 0 when it never does.
    WindowId findWindow(const QString &title)
    {
        WindowId found = 0;
        return QTest::qWaitFor([&] { return (found = listedWindow(title)) != 0; }, 10000) ? found : 0;
    }

    KWinOracle m_oracle;
    WaylandClient m_client;
    std::unique_ptr<KWinWindowSystem> m_system;
};

QTEST_GUILESS_MAIN(KWinWindowSystemTest)
#include "kwinwindowsystem_test.moc"
