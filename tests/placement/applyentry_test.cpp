// Applying a saved entry over a fake window system: plain and regular-expression titles, expressions that do not
// compile or exceed the engine's budget, an entry without a title (the chosen windows, or the active one), the
// rectangle as the controls would compute it (values clamped to their unit, a monitor that is not in the list
// replaced by the primary one), and what is reported.
#include "placement/applyentry.h"
#include "placement/monitors.h"

#include "fakewindowsystem.h"

#include <QTest>

Q_DECLARE_METATYPE(std::optional<platform::WindowId>)

using platform::ShowState;
using platform::TopLevelWindow;

namespace {

const std::vector<TopLevelWindow> kWindows = {{1, "Untitled - Notepad", true, false},
    {2, "NOTEPAD++ settings", true, false}, {3, "Note pad", true, false}, {4, "Document - Untitled", true, false},
    {5, "Notepad owned", true, true}, {6, QString(255, u'a'), true, false}};

TitledPlacement entry(const QString &title, bool regex)
{
    TitledPlacement e {title, regex, {}};
    e.placement.width = {100, Unit::Pixels};
    e.placement.height = {50, Unit::Pixels};
    return e;
}

} // namespace

class ApplyEntryTest : public QObject
{
    Q_OBJECT

private slots:
    void matching_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("regex");
        QTest::addColumn<QList<platform::WindowId>>("moved");
        QTest::newRow("plain: a case-insensitive part of the title")
            << "Notepad" << false << QList<platform::WindowId> {1, 2};
        QTest::newRow("regex anchored at the start") << "^Untitled" << true << QList<platform::WindowId> {1};
        QTest::newRow("regex that does not compile moves nothing")
            << "(Notepad" << true << QList<platform::WindowId> {};
        QTest::newRow("regex beyond the engine's budget moves nothing")
            << "^(a|aa)*c" << true << QList<platform::WindowId> {};
        QTest::newRow("no title names no window") << "" << false << QList<platform::WindowId> {};
    }

    void matching()
    {
        QFETCH(QString, title);
        QFETCH(bool, regex);
        QFETCH(QList<platform::WindowId>, moved);
        FakeWindowSystem windowSystem;
        windowSystem.setWindows(kWindows);
        const auto applied = applyEntry(entry(title, regex), windowSystem, activeWindowScope(windowSystem));
        QList<platform::WindowId> reported;
        QList<platform::WindowId> requested;
        for (const auto &a : applied) {
            reported << a.window.id;
            QCOMPARE(a.requested, QRect(0, 0, 100, 50));
            QVERIFY(a.landed);
        }
        for (const auto &r : windowSystem.requests) {
            requested << r.window;
        }
        QCOMPARE(reported, moved);
        QCOMPARE(requested, moved);
    }

    void rectangleAsTheControlsComputeIt()
    {
        FakeWindowSystem windowSystem;
        windowSystem.setMonitors({{"Laptop", QRect(0, 0, 1366, 768), true}, {"Desk", QRect(1366, 0, 1920, 1080)}});
        TitledPlacement e = entry(QStringLiteral("Notepad"), false);
        e.placement.screenIndex = 1;
        e.placement.horzAlignment = HorzAlignment::Right;
        e.placement.horzOffset = {10, Unit::Pixels};
        e.placement.width = {50, Unit::Percent};
        const int count = GetMonitorCount(windowSystem);
        QCOMPARE(placementRect(e.placement, windowSystem, count),
            (PlacementRect {1366 + 1920 - 960 - 10, 0, 960, 50, Qt::AlignRight | Qt::AlignTop}));
        // A monitor that is not there: the primary one. Values beyond their unit's limits are clamped, as the
        // placement controls clamp them when the entry is shown.
        e.placement.screenIndex = 5;
        e.placement.horzAlignment = HorzAlignment(7);
        e.placement.horzOffset = {40000, Unit::Pixels};
        e.placement.width = {900, Unit::Percent};
        QCOMPARE(placementRect(e.placement, windowSystem, count), (PlacementRect {32000, 0, 1366 * 5, 50}));
    }

    void reportsWhatDidNotLand()
    {
        FakeWindowSystem windowSystem;
        windowSystem.setWindows(kWindows);
        TitledPlacement e = entry(QStringLiteral("notepad"), false);
        e.placement.maximized = true;
        // The window list was read before window 2 closed: it is asked for and reported as not landed.
        const ApplyScope listed {1, {kWindows[0], kWindows[1]}, {}};
        windowSystem.closeWindow(2);
        const auto applied = applyEntry(e, windowSystem, listed);
        QCOMPARE(applied.size(), size_t(2));
        QVERIFY(applied[0].landed);
        QVERIFY(!applied[1].landed);
        QCOMPARE(windowSystem.requests[0].placement.showState, ShowState::Maximized);
    }

    // The monitor list the index was chosen from decides, not the monitors there are now.
    void referenceMonitor_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("listed");
        QTest::addColumn<QRect>("reference");
        const QRect primary(1366, 0, 1920, 1080);
        const QRect second(0, 0, 1366, 768);
        QTest::newRow("a listed monitor") << 1 << 2 << second;
        QTest::newRow("the primary monitor, first in the list") << 0 << 2 << primary;
        QTest::newRow("no selection: the primary monitor") << -1 << 2 << primary;
        QTest::newRow("beyond the list: the primary monitor") << 2 << 2 << primary;
        QTest::newRow("added since the list was filled: the primary monitor") << 1 << 1 << primary;
    }

    void referenceMonitor()
    {
        QFETCH(int, index);
        QFETCH(int, listed);
        QFETCH(QRect, reference);
        FakeWindowSystem windowSystem;
        // The window system lists the primary monitor first.
        windowSystem.setMonitors({{"Desk", QRect(1366, 0, 1920, 1080), true}, {"Laptop", QRect(0, 0, 1366, 768)}});
        QCOMPARE(referenceRect(windowSystem.monitors(), index, listed), reference);
        Placement placement;
        placement.screenIndex = index;
        placement.width = {100, Unit::Percent};
        placement.height = {100, Unit::Percent};
        const PlacementRect rect = placementRect(placement, windowSystem, listed);
        QCOMPARE(QRect(rect.left, rect.top, rect.width, rect.height), reference);
    }

    // An entry without a title goes to the chosen windows, in their order, whatever their titles; with a title it
    // goes to the matching windows of the scope and never to the chosen ones.
    void targets_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QList<platform::WindowId>>("chosen");
        QTest::addColumn<QList<platform::WindowId>>("moved");
        QTest::newRow("no title: the chosen windows")
            << "" << QList<platform::WindowId> {4, 3} << QList<platform::WindowId> {4, 3};
        QTest::newRow("no title, nothing chosen: no window")
            << "" << QList<platform::WindowId> {} << QList<platform::WindowId> {};
        QTest::newRow("a title: the matching windows only")
            << "untitled" << QList<platform::WindowId> {3} << QList<platform::WindowId> {1, 4};
    }

    void targets()
    {
        QFETCH(QString, title);
        QFETCH(QList<platform::WindowId>, chosen);
        QFETCH(QList<platform::WindowId>, moved);
        FakeWindowSystem windowSystem;
        windowSystem.setWindows(kWindows);
        ApplyScope scope {1, kWindows, {}};
        for (const platform::WindowId id : chosen) {
            scope.chosen.push_back(kWindows[id - 1]);
        }
        QList<platform::WindowId> requested;
        for (const auto &applied : applyEntry(entry(title, false), windowSystem, scope)) {
            requested << applied.window.id;
        }
        QCOMPARE(requested, moved);
    }

    // Outside the window an entry without a title is for the active window, when the filter offers it.
    void activeWindow_data()
    {
        QTest::addColumn<std::optional<platform::WindowId>>("active");
        QTest::addColumn<QList<platform::WindowId>>("chosen");
        QTest::newRow("an offered window") << std::optional<platform::WindowId>(3) << QList<platform::WindowId> {3};
        QTest::newRow("an owned window") << std::optional<platform::WindowId>(5) << QList<platform::WindowId> {};
        QTest::newRow("none") << std::optional<platform::WindowId>() << QList<platform::WindowId> {};
    }

    void activeWindow()
    {
        QFETCH(std::optional<platform::WindowId>, active);
        QFETCH(QList<platform::WindowId>, chosen);
        FakeWindowSystem windowSystem;
        windowSystem.setWindows(kWindows);
        windowSystem.active = active;
        const auto ids = [](const std::vector<TopLevelWindow> &windows) {
            QList<platform::WindowId> list;
            for (const auto &window : windows) {
                list << window.id;
            }
            return list;
        };
        const ApplyScope scope = activeWindowScope(windowSystem);
        QCOMPARE(ids(scope.chosen), chosen);
        QCOMPARE(scope.windows.size(), size_t(5));
        QVERIFY(!scope.monitorCount);

        // The scope of one entry: the active window for an entry without a title, none needed for one with a title,
        // whose windows are the same either way.
        const ApplyScope untitled = activeWindowScope(windowSystem, entry(QString(), false));
        QCOMPARE(ids(untitled.chosen), chosen);
        QCOMPARE(ids(untitled.windows), ids(scope.windows));
        const ApplyScope titled = activeWindowScope(windowSystem, entry(QStringLiteral("Notepad"), false));
        QVERIFY(titled.chosen.empty());
        QCOMPARE(ids(titled.windows), ids(scope.windows));
        QCOMPARE(
            ids(targetWindows(entry(QStringLiteral("Notepad"), false), titled)), (QList<platform::WindowId> {1, 2}));
    }
};

QTEST_GUILESS_MAIN(ApplyEntryTest)
#include "applyentry_test.moc"
