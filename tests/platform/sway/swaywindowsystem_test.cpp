// The sway backend against a private headless sway (tests/support/sway-session: HEADLESS-1 1920x1080 at 0,0 and
// HEADLESS-2 1280x1024 at 1920,0) with real Wayland clients: Qt windows, gtk3-demo for client-side decorations.
// Every result is read back through sway's own IPC (RawSway), not only through the backend.
#include "rawsway.h"
#include "waylandclients.h"

#include "platform/anchoredrect.h"
#include "platform/sway/swaywindowsystem.h"

#include <QJsonObject>
#include <QScopeGuard>
#include <QTest>

#include <atomic>
#include <thread>

#include <csignal>

using platform::ShowState;
using platform::TopLevelWindow;
using platform::WindowId;
using platform::WindowPlacement;
using platform::sway::SwayWindowSystem;

Q_DECLARE_METATYPE(Qt::Alignment)

namespace {

const QRect kSecondOutput(1920, 0, 1280, 1024);
// The Qt client's minimum in the refusal rows; sway adds its title bar and borders around it.
const QSize kMinimum(400, 300);
// gtk3-demo's main window keeps a width larger than this (and than sway's floating minimum of 75).
constexpr int kGtkMinimumBound = 100;
// How long a placement is watched for a change after it returned: many frames of a client under load.
constexpr int kLateAnswerWatchMs = 500;

std::optional<WindowId> handleOf(const std::vector<TopLevelWindow> &windows, const QString &title)
{
    for (const TopLevelWindow &window : windows) {
        if (window.title == title) {
            return window.id;
        }
    }
    return std::nullopt;
}

} // namespace

class SwayWindowSystemTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(m_raw.connect(), "no sway: run through tests/support/sway-session");
        m_system = SwayWindowSystem::open(qgetenv("SWAYSOCK"));
        QVERIFY(m_system);
        QVERIFY2(m_client.start(), qPrintable(m_client.lastError()));
    }

    void monitorsAreTheOutputs()
    {
        const std::vector<platform::Monitor> monitors = m_system->monitors();
        QCOMPARE(monitors.size(), size_t(2));
        QCOMPARE(monitors[0], (platform::Monitor {"HEADLESS-1", QRect(0, 0, 1920, 1080), true}));
        QCOMPARE(monitors[1], (platform::Monitor {"HEADLESS-2", kSecondOutput, false}));
        const auto raw = m_raw.outputs();
        QCOMPARE(raw.size(), size_t(2));
    }

    void listsTitlesAndRectanglesAsSwayHasThem()
    {
        const QString plain = "Listed plainly";
        const QString accented = QString::fromUtf8("Liste \xC3\xA9t\xC3\xA9 \xE2\x9C\x93");
        QVERIFY(open(plain));
        QVERIFY(open(accented));
        const auto windows = m_system->topLevelWindows();
        for (const QString &title : {plain, accented}) {
            const std::optional<WindowId> id = handleOf(windows, title);
            QVERIFY2(id, qPrintable(title));
            const auto placement = m_system->windowPlacement(*id);
            QVERIFY(placement);
            QCOMPARE(placement->showState, ShowState::Normal);
            QCOMPARE(placement->normalRect, m_raw.view(title)->outer);
            QCOMPARE(handleOf(m_system->topLevelWindows(), title), id); // handles stay
        }
        // Client-side decorations: the rectangle is the window's geometry, GTK's shadows left out.
        GtkDemo gtk;
        QVERIFY(gtk.start());
        QTRY_VERIFY_WITH_TIMEOUT(m_raw.view(GtkDemo::kTitle), 20000);
        const std::optional<WindowId> id = handleOf(m_system->topLevelWindows(), GtkDemo::kTitle);
        QVERIFY(id);
        QCOMPARE(m_system->windowPlacement(*id)->normalRect, m_raw.view(GtkDemo::kTitle)->outer);
    }

    void places_data()
    {
        QTest::addColumn<QString>("options"); // of the Qt client's window
        QTest::addColumn<QRect>("target");
        QTest::addColumn<Qt::Alignment>("anchor");
        QTest::newRow("a tiled window, floated, on the second output")
            << QString() << QRect(2000, 100, 500, 400) << Qt::Alignment(Qt::AlignLeft | Qt::AlignTop);
        QTest::newRow("larger than it was")
            << QString("size=200x100") << QRect(1930, 10, 1200, 900) << Qt::Alignment(Qt::AlignLeft | Qt::AlignTop);
        QTest::newRow("across both outputs")
            << QString() << QRect(1500, 300, 900, 500) << Qt::Alignment(Qt::AlignLeft | Qt::AlignTop);
        const std::pair<const char *, Qt::Alignment> anchors[] = {
            {"left top", Qt::AlignLeft | Qt::AlignTop},
            {"centre top", Qt::AlignHCenter | Qt::AlignTop},
            {"right top", Qt::AlignRight | Qt::AlignTop},
            {"left centre", Qt::AlignLeft | Qt::AlignVCenter},
            {"centre", Qt::AlignCenter},
            {"right centre", Qt::AlignRight | Qt::AlignVCenter},
            {"left bottom", Qt::AlignLeft | Qt::AlignBottom},
            {"centre bottom", Qt::AlignHCenter | Qt::AlignBottom},
            {"right bottom", Qt::AlignRight | Qt::AlignBottom},
        };
        for (const auto &[name, anchor] : anchors) {
            QTest::addRow("below its minimum, kept at the %s", name)
                << QString("min=400x300") << QRect(2100, 200, 200, 150) << anchor;
        }
        QTest::newRow("below its minimum in one direction")
            << QString("min=400x300") << QRect(2100, 200, 800, 100) << Qt::Alignment(Qt::AlignRight | Qt::AlignBottom);
    }

    void places()
    {
        QFETCH(QString, options);
        QFETCH(QRect, target);
        QFETCH(Qt::Alignment, anchor);
        const QString title = QString("Placed: ") + QTest::currentDataTag();
        QVERIFY(open(title, options));
        const std::optional<WindowId> id = handleOf(m_system->topLevelWindows(), title);
        QVERIFY(id);

        QVERIFY(m_system->setWindowPlacement(*id, {ShowState::Normal, target, anchor}));
        const RawView placed = *m_raw.view(title);
        QVERIFY(placed.floating);
        QVERIFY(placed.focused);
        if (options.startsWith("min=")) {
            // The client keeps its minimum; the window keeps the point the anchor names.
            QVERIFY2(placed.outer.width() >= kMinimum.width() || placed.outer.width() == target.width(),
                qPrintable(QString::number(placed.outer.width())));
            QVERIFY(placed.outer.height() >= kMinimum.height());
            QCOMPARE(placed.outer, platform::anchoredRect(target, placed.outer.size(), anchor, 1 << 24));
        } else {
            QCOMPARE(placed.outer, target);
        }
        QCOMPARE(m_system->windowPlacement(*id)->normalRect, placed.outer);

        // Again, from where it is now: a floating window moved.
        const QRect again = target.translated(-40, 30);
        QVERIFY(m_system->setWindowPlacement(*id, {ShowState::Normal, again, anchor}));
        QCOMPARE(m_raw.view(title)->outer, platform::anchoredRect(again, placed.outer.size(), anchor, 1 << 24));
    }

    // Client-side decorations: gtk3-demo, started tiled each time, answers every configuration in turn, and under
    // load some of them late. The placement holds once setWindowPlacement has returned: no late answer to an earlier
    // request changes the window afterwards.
    void placesAGtkWindow_data()
    {
        QTest::addColumn<QRect>("target");
        QTest::addColumn<Qt::Alignment>("anchor");
        QTest::newRow("pixels on the second output")
            << QRect(2020, 50, 700, 500) << Qt::Alignment(Qt::AlignLeft | Qt::AlignTop);
        QTest::newRow("half the second output, 10 px from its right bottom corner") << QRect(
            1920 + 1280 - 640 - 10, 1024 - 512 - 10, 640, 512) << Qt::Alignment(Qt::AlignRight | Qt::AlignBottom);
        QTest::newRow("below its minimum, kept at the right bottom")
            << QRect(2100, 200, 60, 40) << Qt::Alignment(Qt::AlignRight | Qt::AlignBottom);
        QTest::newRow("below its minimum, kept at the centre")
            << QRect(2100, 200, 60, 40) << Qt::Alignment(Qt::AlignCenter);
    }

    void placesAGtkWindow()
    {
        QFETCH(QRect, target);
        QFETCH(Qt::Alignment, anchor);
        QTRY_VERIFY_WITH_TIMEOUT(m_raw.views(GtkDemo::kTitle).empty(), 20000); // the previous row's is gone
        GtkDemo gtk;
        QVERIFY(gtk.start());
        QTRY_VERIFY_WITH_TIMEOUT(m_raw.view(GtkDemo::kTitle), 20000);
        const std::optional<WindowId> id = handleOf(m_system->topLevelWindows(), GtkDemo::kTitle);
        QVERIFY(id);

        for (const QRect &asked : {target, target.translated(-30, 40)}) {
            QVERIFY(m_system->setWindowPlacement(*id, {ShowState::Normal, asked, anchor}));
            const RawView placed = *m_raw.view(GtkDemo::kTitle);
            QVERIFY(placed.floating);
            if (asked.width() > kGtkMinimumBound) {
                QCOMPARE(placed.outer, asked);
            } else {
                // GTK's own minimum, not sway's smaller floating minimum that shows before GTK has answered.
                QVERIFY2(placed.outer.width() > kGtkMinimumBound, qPrintable(QString::number(placed.outer.width())));
                QCOMPARE(placed.outer, platform::anchoredRect(asked, placed.outer.size(), anchor, 1 << 24));
            }
            QCOMPARE(m_system->windowPlacement(*id)->normalRect, placed.outer);
            // A late answer would come within a few frames of the client; none may change the window.
            QVERIFY(!QTest::qWaitFor(
                [&] {
                    const std::optional<RawView> now = m_raw.view(GtkDemo::kTitle);
                    return !now || now->outer != placed.outer;
                },
                kLateAnswerWatchMs));
        }
    }

    void topmostFirst()
    {
        QVERIFY(open("Stacked below"));
        QVERIFY(open("Stacked above"));
        const auto windows = m_system->topLevelWindows();
        const WindowId below = *handleOf(windows, "Stacked below");
        const WindowId above = *handleOf(windows, "Stacked above");
        QVERIFY(m_system->setWindowPlacement(above, {ShowState::Normal, QRect(100, 100, 400, 300)}));
        QVERIFY(m_system->setWindowPlacement(below, {ShowState::Normal, QRect(150, 150, 400, 300)}));
        const auto listed = m_system->topLevelWindows();
        QCOMPARE(listed.front().id, below); // placed last, so focused and raised
        QCOMPARE(m_system->activeWindow(), std::optional<WindowId>(below));
        QVERIFY(m_raw.view("Stacked below")->focused);
    }

    void maximizedIsRefused()
    {
        QVERIFY(open("Not to be maximized"));
        const WindowId id = *handleOf(m_system->topLevelWindows(), "Not to be maximized");
        const RawView before = *m_raw.view("Not to be maximized");
        const WindowPlacement maximized {ShowState::Maximized, QRect(1920, 0, 640, 512)};
        QVERIFY(!m_system->placementRefusal(maximized).isEmpty());
        QVERIFY(m_system->placementRefusal({ShowState::Normal, QRect(1920, 0, 640, 512)}).isEmpty());
        QVERIFY(!m_system->setWindowPlacement(id, maximized));
        QCOMPARE(m_raw.view("Not to be maximized")->outer, before.outer);
    }

    void aVanishedWindowIsPassedOver()
    {
        QtClient doomed;
        QVERIFY(doomed.start());
        QVERIFY(open(doomed, "Vanishing"));
        const WindowId id = *handleOf(m_system->topLevelWindows(), "Vanishing");
        QVERIFY(doomed.command("close 1"));
        QTRY_VERIFY(!m_raw.view("Vanishing"));
        QVERIFY(!m_system->setWindowPlacement(id, {ShowState::Normal, QRect(10, 10, 300, 200)}));
        QCOMPARE(m_system->windowPlacement(id), std::nullopt);
        QVERIFY(!handleOf(m_system->topLevelWindows(), "Vanishing"));
    }

    // The client is killed as soon as sway reports the window floating: after the placement's first command, while
    // the backend waits for the client's answer.
    void aWindowVanishingDuringAPlacement()
    {
        QtClient doomed;
        QVERIFY(doomed.start());
        QVERIFY(open(doomed, "Vanishing while placed"));
        const qint64 conId = m_raw.view("Vanishing while placed")->id;
        const WindowId id = *handleOf(m_system->topLevelWindows(), "Vanishing while placed");
        RawWindowEvents events;
        QVERIFY(events.subscribe());
        std::atomic<bool> killed = false;
        const qint64 pid = doomed.pid();
        std::thread killer([&] {
            if (events.waitFor("floating", conId)) {
                ::kill(pid_t(pid), SIGKILL);
                killed = true;
            }
        });
        QVERIFY(!m_system->setWindowPlacement(id, {ShowState::Normal, QRect(2000, 100, 350, 250)}));
        killer.join();
        QVERIFY(killed);
        QTRY_VERIFY(!m_raw.view("Vanishing while placed"));
        QCOMPARE(m_system->windowPlacement(id), std::nullopt);
        QVERIFY(m_system->topLevelWindows().size() > 0); // the backend goes on
    }

    // A client stopped before the placement never answers: the placement is reported as not taken, after its
    // bounded waits, whether the window was tiled or already floating.
    void aClientThatDoesNotAnswerIsNotPlaced()
    {
        QtClient frozen;
        QVERIFY(frozen.start());
        QVERIFY(open(frozen, "Not answering"));
        const WindowId id = *handleOf(m_system->topLevelWindows(), "Not answering");
        QVERIFY(m_system->setWindowPlacement(id, {ShowState::Normal, QRect(100, 100, 400, 300)}));
        const pid_t pid = pid_t(frozen.pid());
        QCOMPARE(::kill(pid, SIGSTOP), 0);
        const auto resume = qScopeGuard([pid] { ::kill(pid, SIGCONT); });
        QVERIFY(!m_system->setWindowPlacement(id, {ShowState::Normal, QRect(2000, 100, 500, 400)}));
    }

    void watchReportsAppearingRetitledAndClosedWindows()
    {
        std::vector<std::optional<std::vector<TopLevelWindow>>> reports;
        const auto watch = m_system->watchTopLevelWindows([&](auto windows) { reports.push_back(windows); });
        QVERIFY(watch);
        QCOMPARE(reports.size(), size_t(1)); // at once, with the windows now
        const auto lastHas = [&](const QString &title) {
            return !reports.empty() && reports.back() && handleOf(*reports.back(), title).has_value();
        };
        const std::optional<int> number = m_client.open("Watched appearing");
        QVERIFY(number);
        QTRY_VERIFY(lastHas("Watched appearing"));
        QVERIFY(m_client.command(QString("title %1 -- Watched retitled").arg(*number)));
        QTRY_VERIFY(lastHas("Watched retitled"));
        QVERIFY(m_client.command(QString("close %1").arg(*number)));
        QTRY_VERIFY(!lastHas("Watched retitled") && reports.back());
    }

    // Last: sway is ended.
    void watchReportsNothingOnceSwayIsGone()
    {
        std::vector<std::optional<std::vector<TopLevelWindow>>> reports;
        const auto watch = m_system->watchTopLevelWindows([&](auto windows) { reports.push_back(windows); });
        QVERIFY(watch);
        m_raw.request(0, "exit");
        QTRY_VERIFY(!reports.back().has_value());
        QCOMPARE(std::count(reports.begin(), reports.end(), std::nullopt), 1);
        QVERIFY(m_system->topLevelWindows().empty());
    }

private:
    bool open(QtClient &client, const QString &title, const QString &options = {})
    {
        return openMapped(client, m_raw, title, options).has_value();
    }
    bool open(const QString &title, const QString &options = {}) { return open(m_client, title, options); }

    RawSway m_raw;
    std::unique_ptr<SwayWindowSystem> m_system;
    QtClient m_client;
};

QTEST_GUILESS_MAIN(SwayWindowSystemTest)
#include "swaywindowsystem_test.moc"
