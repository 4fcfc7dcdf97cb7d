// The GNOME Shell backend against a real gnome-shell (tests/support/gnome-session: headless, two virtual monitors,
// the extension enabled) and real Wayland windows of framewright-waylandclient: monitors, listing, placing in
// pixels on the second monitor, the anchor of a size the window refuses, maximized and back, a window that
// vanishes, and watching. Every result is read back from the shell with gdbus, beside the backend's own reading.
#include "platform/anchoredrect.h"
#include "platform/gnome/gnomereplies.h"
#include "platform/gnome/gnomewindowsystem.h"
#include "shellprobe.h"

#include <QTest>

using platform::ShowState;
using platform::TopLevelWindow;
using platform::WindowId;
using platform::WindowPlacement;
using platform::gnome::GnomeWindowSystem;

namespace {

const QRect kPrimary(0, 0, 1920, 1080);
const QRect kSecond(1920, 0, 1280, 1024);

} // namespace

class GnomeWindowSystemTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        auto opened = GnomeWindowSystem::open();
        QVERIFY2(opened.windowSystem, qPrintable(opened.error));
        m_system = std::move(opened.windowSystem);
        QVERIFY(m_client.start());
    }

    // Every window a test opened is closed, also after a failure.
    void cleanup()
    {
        for (auto it = m_numbers.cbegin(); it != m_numbers.cend(); ++it) {
            m_client.send(QStringLiteral("close %1").arg(it.value()));
            m_client.answer();
        }
        QTRY_VERIFY(std::none_of(m_numbers.keyBegin(), m_numbers.keyEnd(),
            [](const QString &title) { return shellWindow(title).has_value(); }));
        m_numbers.clear();
    }

    void monitorsPrimaryFirst()
    {
        const auto monitors = m_system->monitors();
        QCOMPARE(monitors.size(), size_t(2));
        QCOMPARE(monitors[0].rect, kPrimary);
        QVERIFY(monitors[0].primary);
        QCOMPARE(monitors[1].rect, kSecond);
        QVERIFY(!monitors[1].primary);
        const auto shell = shellJsonArray(QStringLiteral("Monitors"));
        QVERIFY(shell);
        QCOMPARE(shell->size(), 2);
    }

    void listsTitlesTopmostFirst()
    {
        const int first = m_client.open(QStringLiteral("Listed first"));
        const int second = m_client.open(QStringLiteral("Listed second – ünïcode"));
        QVERIFY(first && second);
        QTRY_VERIFY(titles().contains(QStringLiteral("Listed second – ünïcode")));
        QStringList shellOrder;
        const auto shellWindows = shellJsonArray(QStringLiteral("Windows"));
        QVERIFY(shellWindows);
        for (const QJsonValue &window : *shellWindows) {
            shellOrder << window[QLatin1String("title")].toString();
        }
        QCOMPARE(titles(), shellOrder);
        for (const TopLevelWindow &window : m_system->topLevelWindows()) {
            QVERIFY(window.id != 0);
            QVERIFY(window.visible);
            QVERIFY(!window.owned);
        }
        QVERIFY(m_client.close(first));
        QVERIFY(m_client.close(second));
        QTRY_VERIFY(!titles().contains(QStringLiteral("Listed first")));
    }

    void placesExactly_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::newRow("second monitor") << QRect(kSecond.x() + 100, 50, 500, 400);
        QTest::newRow("second monitor, bottom right corner") << QRect(kSecond.right() - 599, 1024 - 300, 600, 300);
        QTest::newRow("primary monitor") << QRect(30, 60, 800, 600);
        QTest::newRow("across both monitors") << QRect(1700, 300, 500, 300);
    }

    void placesExactly()
    {
        QFETCH(QRect, rect);
        const QString title = QStringLiteral("Placed exactly");
        const WindowId window = openWindow(title);
        QVERIFY(window);
        QVERIFY(m_system->setWindowPlacement(window, {ShowState::Normal, rect}));
        QCOMPARE(frameOf(*shellWindow(title)), rect);
        QCOMPARE(m_system->windowPlacement(window), (WindowPlacement {ShowState::Normal, rect}));
        QCOMPARE(m_system->activeWindow(), window);
        closeWindow(title);
    }

    // The window's minimum is 400 x 300 (client area); asked for less, it keeps the anchor point of the rectangle.
    void refusedSizeKeepsTheAnchor_data()
    {
        QTest::addColumn<int>("anchor");
        const std::pair<const char *, Qt::Alignment> horizontal[]
            = {{"left", Qt::AlignLeft}, {"centre", Qt::AlignHCenter}, {"right", Qt::AlignRight}};
        const std::pair<const char *, Qt::Alignment> vertical[]
            = {{"top", Qt::AlignTop}, {"middle", Qt::AlignVCenter}, {"bottom", Qt::AlignBottom}};
        for (const auto &[hName, h] : horizontal) {
            for (const auto &[vName, v] : vertical) {
                QTest::addRow("%s %s", hName, vName) << int(h | v);
            }
        }
    }

    void refusedSizeKeepsTheAnchor()
    {
        QFETCH(int, anchor);
        const QString title = QStringLiteral("Refuses small sizes");
        const WindowId window = openWindow(title, QStringLiteral("size=500x400 min=400x300"));
        QVERIFY(window);
        const QRect asked(kSecond.x() + 200, 200, 200, 100);
        WindowPlacement placement {ShowState::Normal, asked};
        placement.anchor = Qt::Alignment(anchor);
        QVERIFY(m_system->setWindowPlacement(window, placement));
        const QRect frame = frameOf(*shellWindow(title));
        QVERIFY2(frame.width() >= 400 && frame.height() >= 300,
            qPrintable(QStringLiteral("%1x%2").arg(frame.width()).arg(frame.height())));
        QCOMPARE(frame, platform::anchoredRect(asked, frame.size(), placement.anchor, 1 << 20));
        closeWindow(title);
    }

    void maximizedAndBack()
    {
        const QString title = QStringLiteral("Maximized and back");
        const WindowId window = openWindow(title);
        QVERIFY(window);
        const QRect restore(kSecond.x() + 100, 100, 640, 480);
        QVERIFY(m_system->setWindowPlacement(window, {ShowState::Maximized, restore}));
        QJsonObject shell = *shellWindow(title);
        QVERIFY(shell[QLatin1String("maximized")].toBool());
        QCOMPARE(frameOf(shell), kSecond); // no top bar on the second monitor
        const auto maximized = m_system->windowPlacement(window);
        QVERIFY(maximized);
        QCOMPARE(maximized->showState, ShowState::Maximized);
        QCOMPARE(maximized->normalRect, restore);

        const QRect normal(kSecond.x() + 300, 200, 500, 350);
        QVERIFY(m_system->setWindowPlacement(window, {ShowState::Normal, normal}));
        shell = *shellWindow(title);
        QVERIFY(!shell[QLatin1String("maximized")].toBool());
        QCOMPARE(frameOf(shell), normal);
        QCOMPARE(m_system->windowPlacement(window), (WindowPlacement {ShowState::Normal, normal}));
        closeWindow(title);
    }

    // A window that closes itself when it is given another size vanishes while the shell waits for it: the
    // placement fails, and its handle never names another window.
    void vanishedWindow()
    {
        const QString title = QStringLiteral("Vanishes");
        const WindowId window = openWindow(title, QStringLiteral("vanish-on-resize"));
        QVERIFY(window);
        QVERIFY(!m_system->setWindowPlacement(window, {ShowState::Maximized, QRect(100, 100, 400, 300)}));
        QTRY_VERIFY(!shellWindow(title));
        QVERIFY(!m_system->windowPlacement(window));
        QVERIFY(!m_system->setWindowPlacement(window, {ShowState::Normal, QRect(100, 100, 400, 300)}));
        QVERIFY(!titles().contains(title));
        const WindowId later = openWindow(title);
        QVERIFY(later && later != window);
        closeWindow(title);
    }

    // Windows placed together are placed at the same time; each reports its own outcome, and the one asked for last
    // ends on top with the focus, as when they are placed one after another.
    void placesSeveralTogether()
    {
        const QStringList titles {QStringLiteral("Together one"), QStringLiteral("Together vanishing"),
            QStringLiteral("Together three"), QStringLiteral("Together four")};
        std::vector<WindowId> windows;
        for (const QString &title : titles) {
            windows.push_back(openWindow(title, title == titles[1] ? QStringLiteral("vanish-on-resize") : QString()));
            QVERIFY(windows.back());
        }
        const QRect rect(kSecond.x() + 60, 40, 520, 380);
        QCOMPARE(m_system->setWindowPlacements(windows, {ShowState::Normal, rect}),
            (std::vector<bool> {true, false, true, true}));
        for (const QString &title : {titles[0], titles[2], titles[3]}) {
            QCOMPARE(frameOf(*shellWindow(title)), rect);
        }
        QTRY_VERIFY(!shellWindow(titles[1]));
        m_numbers.remove(titles[1]);
        QCOMPARE(m_system->activeWindow(), windows.back());
        QCOMPARE(this->titles().mid(0, 3), (QStringList {titles[3], titles[2], titles[0]}));
        for (const QString &title : {titles[0], titles[2], titles[3]}) {
            closeWindow(title);
        }
    }

    void watchReportsAppearingRetitledAndVanishing()
    {
        std::vector<std::optional<std::vector<TopLevelWindow>>> reports;
        const auto watch = m_system->watchTopLevelWindows([&](auto windows) { reports.push_back(windows); });
        QVERIFY(watch);
        QCOMPARE(reports.size(), size_t(1));
        const auto lastTitles = [&] {
            QStringList titles;
            for (const TopLevelWindow &window : reports.back().value_or(std::vector<TopLevelWindow>())) {
                titles << window.title;
            }
            return titles;
        };
        const int number = m_client.open(QStringLiteral("Watched later"));
        QVERIFY(number);
        QTRY_VERIFY(lastTitles().contains(QStringLiteral("Watched later")));
        QVERIFY(m_client.retitle(number, QStringLiteral("Watched retitled")));
        QTRY_VERIFY(lastTitles().contains(QStringLiteral("Watched retitled")));
        QVERIFY(m_client.close(number));
        QTRY_VERIFY(!lastTitles().contains(QStringLiteral("Watched retitled")));
        for (const auto &report : reports) {
            QVERIFY(report.has_value());
        }
    }

    // GTK draws its own title bar and a shadow around it; the frame rectangle leaves the shadow out.
    void clientSideDecorations()
    {
        QProcess demo;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("wayland"));
        demo.setProcessEnvironment(environment);
        demo.start(QStringLiteral("gtk3-demo"), QStringList());
        QVERIFY(demo.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(handleOf(QStringLiteral("Application Class")), 20000);
        const WindowId window = handleOf(QStringLiteral("Application Class"));
        const QRect rect(kSecond.x() + 40, 30, 700, 500);
        QVERIFY(m_system->setWindowPlacement(window, {ShowState::Normal, rect}));
        QCOMPARE(frameOf(*shellWindow(QStringLiteral("Application Class"))), rect);
        demo.terminate();
        QVERIFY(demo.waitForFinished());
        QTRY_VERIFY(!shellWindow(QStringLiteral("Application Class")));
    }

private:
    QStringList titles()
    {
        QStringList titles;
        for (const TopLevelWindow &window : m_system->topLevelWindows()) {
            titles << window.title;
        }
        return titles;
    }

    WindowId handleOf(const QString &title)
    {
        for (const TopLevelWindow &window : m_system->topLevelWindows()) {
            if (window.title == title) {
                return window.id;
            }
        }
        return 0;
    }

    WindowId openWindow(const QString &title, const QString &options = {})
    {
        m_numbers[title] = m_client.open(title, options);
        if (m_numbers[title] == 0) {
            return 0;
        }
        return QTest::qWaitFor([&] { return handleOf(title) != 0; }, 10000) ? handleOf(title) : 0;
    }

    void closeWindow(const QString &title)
    {
        QVERIFY(m_client.close(m_numbers.take(title)));
        QTRY_VERIFY(!shellWindow(title));
    }

    std::unique_ptr<GnomeWindowSystem> m_system;
    WaylandClient m_client;
    QHash<QString, int> m_numbers;
};

QTEST_GUILESS_MAIN(GnomeWindowSystemTest)
#include "gnomewindowsystem_test.moc"
