// Applying a saved entry over a fake window system: plain and regular-expression titles, expressions that do not
// compile or exceed the engine's budget, an entry without a title, the rectangle as the controls would compute it
// (values clamped to their unit, a missing monitor replaced by the primary one), and what is reported.
#include "placement/applyentry.h"

#include "fakewindowsystem.h"

#include <QTest>

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
        const auto applied = applyEntry(entry(title, regex), windowSystem);
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
        QCOMPARE(placementRect(e.placement, windowSystem),
            (PlacementRect {1366 + 1920 - 960 - 10, 0, 960, 50, Qt::AlignRight | Qt::AlignTop}));
        // A monitor that is not there: the primary one. Values beyond their unit's limits are clamped, as the
        // placement controls clamp them when the entry is shown.
        e.placement.screenIndex = 5;
        e.placement.horzAlignment = HorzAlignment(7);
        e.placement.horzOffset = {40000, Unit::Pixels};
        e.placement.width = {900, Unit::Percent};
        QCOMPARE(placementRect(e.placement, windowSystem), (PlacementRect {32000, 0, 1366 * 5, 50}));
    }

    void reportsWhatDidNotLand()
    {
        FakeWindowSystem windowSystem;
        windowSystem.setWindows(kWindows);
        TitledPlacement e = entry(QStringLiteral("notepad"), false);
        e.placement.maximized = true;
        // The window list was read before window 2 closed: it is asked for and reported as not landed.
        const std::vector<TopLevelWindow> listed = {kWindows[0], kWindows[1]};
        windowSystem.closeWindow(2);
        const auto applied = applyEntry(e, windowSystem, listed);
        QCOMPARE(applied.size(), size_t(2));
        QVERIFY(applied[0].landed);
        QVERIFY(!applied[1].landed);
        QCOMPARE(windowSystem.requests[0].placement.showState, ShowState::Maximized);
    }
};

QTEST_GUILESS_MAIN(ApplyEntryTest)
#include "applyentry_test.moc"
