// The main window's logic without widgets, over a fake window system and a settings file in a temporary folder:
// the Saved group's Apply (which entries go to which windows), the Direct group's Apply, a window's placement read
// back as placement values, where the window starts, and what the shut-down writes.
#include "app/maincontroller.h"

#include "fakewindowsystem.h"
#include "filebytes.h"

#include "settings/settingsfile.h"

#include <QTemporaryDir>
#include <QTest>

using platform::ShowState;
using platform::TopLevelWindow;
using platform::WindowId;

namespace {

const std::vector<TopLevelWindow> kWindows
    = {{1, "Untitled - Notepad", true, false}, {2, "NOTEPAD++ settings", true, false}, {3, "Note pad", true, false},
        {4, "Document - Untitled", true, false}, {5, "Notepad owned", true, true}};

// Four entries, each sized so that its requests can be told apart: Plain 100 wide, Regex 101, Broken 102,
// NoTitle 103.
const char kSettings[] = "[General]\nPresetCount=4\nPreset1=Plain\nPreset2=Regex\nPreset3=Broken\nPreset4=NoTitle\n"
                         "[Plain]\nTitle=Notepad\nWidthValue=100\nWidthPx=1\nHeightValue=50\nHeightPx=1\n"
                         "[Regex]\nTitle=^Untitled\nRegex=1\nWidthValue=101\nWidthPx=1\nHeightValue=50\nHeightPx=1\n"
                         "[Broken]\nTitle=(Notepad\nRegex=1\nWidthValue=102\nWidthPx=1\nHeightValue=50\nHeightPx=1\n"
                         "[NoTitle]\nWidthValue=103\nWidthPx=1\nHeightValue=50\nHeightPx=1\n";

} // namespace

class MainControllerTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_windowSystem = std::make_unique<FakeWindowSystem>();
        m_windowSystem->setMonitors({{"A", QRect(0, 0, 1920, 1080), true}, {"B", QRect(1920, 0, 1280, 1024)}});
        m_windowSystem->setWindows(kWindows);
        m_path = m_dir.filePath(QStringLiteral("KTZ.ini"));
        QFile::remove(m_path);
    }

    void applySelectedEntries_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QList<WindowId>>("chosen");
        QTest::addColumn<QList<WindowId>>("requested");
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("last");
        QTest::newRow("a plain title: every offered window that contains it")
            << QList<int> {0} << QList<WindowId> {3} << QList<WindowId> {1, 2} << QList<int> {100, 100} << 0;
        QTest::newRow("entries in list order; a broken expression and a lone-less entry without title do nothing")
            << QList<int> {1, 2, 3} << QList<WindowId> {3} << QList<WindowId> {1} << QList<int> {101} << 3;
        QTest::newRow("the only selected entry, without title: the chosen windows")
            << QList<int> {3} << QList<WindowId> {2, 4} << QList<WindowId> {2, 4} << QList<int> {103, 103} << 3;
        QTest::newRow("a window matching two entries gets both, the last one last")
            << QList<int> {0, 1} << QList<WindowId> {} << QList<WindowId> {1, 2, 1} << QList<int> {100, 100, 101} << 1;
        QTest::newRow("nothing selected")
            << QList<int> {} << QList<WindowId> {1} << QList<WindowId> {} << QList<int> {} << -1;
    }

    void applySelectedEntries()
    {
        QFETCH(QList<int>, selected);
        QFETCH(QList<WindowId>, chosen);
        QFETCH(QList<WindowId>, requested);
        QFETCH(QList<int>, widths);
        QFETCH(int, last);
        writeAll(m_path, kSettings);
        MainController controller(*m_windowSystem);
        controller.readMonitorList();
        controller.openSettings(m_path);
        for (int i = 0; i < controller.entries().count(); ++i) {
            controller.entries().setSelected(i, selected.contains(i));
        }
        QCOMPARE(controller.applySelectedEntries(windows(chosen)), last);
        QList<WindowId> requestedIds;
        QList<int> requestedWidths;
        for (const auto &request : m_windowSystem->requests) {
            requestedIds << request.window;
            requestedWidths << request.placement.normalRect.width();
        }
        QCOMPARE(requestedIds, requested);
        QCOMPARE(requestedWidths, widths);
    }

    // The Direct group's Apply: one rectangle for every chosen window, in the chosen order, on the entry's monitor
    // when it is listed and on the primary one otherwise.
    void applyToWindows_data()
    {
        QTest::addColumn<int>("screenIndex");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("the second monitor") << 1 << QRect(1920 + 640, 0, 640, 512);
        QTest::newRow("no monitor selected: the primary one") << -1 << QRect(960, 0, 960, 540);
    }

    void applyToWindows()
    {
        QFETCH(int, screenIndex);
        QFETCH(QRect, rect);
        MainController controller(*m_windowSystem);
        controller.readMonitorList();
        Placement placement;
        placement.screenIndex = screenIndex;
        placement.horzAlignment = HorzAlignment::Right;
        placement.width = {50, Unit::Percent};
        placement.height = {50, Unit::Percent};
        placement.maximized = true;
        controller.applyToWindows(placement, windows({4, 3}));
        QCOMPARE(m_windowSystem->requests.size(), size_t(2));
        QCOMPARE(m_windowSystem->requests[0].window, 4u);
        QCOMPARE(m_windowSystem->requests[1].window, 3u);
        for (const auto &request : m_windowSystem->requests) {
            QCOMPARE(request.placement.normalRect, rect);
            QCOMPARE(request.placement.showState, ShowState::Maximized);
        }
        QCOMPARE(controller.computePlacement(placement),
            (PlacementRect {rect.left(), rect.top(), rect.width(), rect.height(), Qt::AlignRight | Qt::AlignTop}));
    }

    void placementOfWindow_data()
    {
        QTest::addColumn<QRect>("normal");
        QTest::addColumn<ShowState>("state");
        QTest::addColumn<int>("screenIndex");
        QTest::addColumn<QPoint>("offsets");
        QTest::newRow("on the second monitor: offsets from its corner")
            << QRect(2000, 30, 400, 300) << ShowState::Normal << 1 << QPoint(80, 30);
        QTest::newRow("maximized on the first monitor")
            << QRect(10, 20, 400, 300) << ShowState::Maximized << 0 << QPoint(10, 20);
        QTest::newRow("off every monitor: the first one, offsets from the origin")
            << QRect(-500, 2000, 400, 300) << ShowState::Normal << 0 << QPoint(-500, 2000);
    }

    void placementOfWindow()
    {
        QFETCH(QRect, normal);
        QFETCH(ShowState, state);
        QFETCH(int, screenIndex);
        QFETCH(QPoint, offsets);
        MainController controller(*m_windowSystem);
        controller.readMonitorList();
        Placement expected;
        expected.screenIndex = screenIndex;
        expected.horzOffset = {offsets.x(), Unit::Pixels};
        expected.vertOffset = {offsets.y(), Unit::Pixels};
        expected.width = {normal.width(), Unit::Pixels};
        expected.height = {normal.height(), Unit::Pixels};
        expected.maximized = state == ShowState::Maximized;
        platform::WindowPlacement placement;
        placement.showState = state;
        placement.normalRect = normal;
        QCOMPARE(controller.placementOfWindow(placement), expected);
    }

    void windowPosition_data()
    {
        QTest::addColumn<QByteArray>("general");
        QTest::addColumn<int>("secondMonitorScale");
        QTest::addColumn<QPoint>("expected");
        const QPoint centred((1920 - 800) / 2, (1080 - 600) / 2);
        QTest::newRow("wholly on the second monitor") << QByteArray("Left=2000\nTop=100\n") << 1 << QPoint(2000, 100);
        QTest::newRow("straddling both monitors") << QByteArray("Left=1500\nTop=100\n") << 1 << centred;
        QTest::newRow("never saved") << QByteArray() << 1 << centred;
        // 1600 x 1200 screen pixels there: too tall for the second monitor; centred at the primary's size.
        QTest::newRow("too large at the second monitor's scale") << QByteArray("Left=2000\nTop=100\n") << 2 << centred;
    }

    void windowPosition()
    {
        QFETCH(QByteArray, general);
        QFETCH(int, secondMonitorScale);
        QFETCH(QPoint, expected);
        writeAll(m_path, "[General]\n" + general);
        MainController controller(*m_windowSystem);
        controller.readMonitorList();
        controller.openSettings(m_path);
        const auto outerSizePxAt = [secondMonitorScale](QPoint cornerPx) {
            return QSize(800, 600) * (cornerPx.x() >= 1920 ? secondMonitorScale : 1);
        };
        QCOMPARE(controller.windowPositionPx(outerSizePxAt), expected);
    }

    void referenceSize()
    {
        MainController controller(*m_windowSystem);
        QCOMPARE(controller.readMonitorList(), (QStringList {"1 - A", "2 - B"}));
        QCOMPARE(controller.referenceSize(1), QSize(1280, 1024));
        QCOMPARE(controller.referenceSize(-1), QSize(1920, 1080));
        QCOMPARE(controller.monitorAtPoint(QPoint(1920, 5)), 1);
    }

    void savedAtExit()
    {
        MainController controller(*m_windowSystem);
        controller.readMonitorList();
        controller.openSettings(m_path);
        QCOMPARE(controller.savedActiveList(), ActiveList::TitleList);
        Placement controls;
        controls.width = {42, Unit::Pixels};
        controller.saveSettings({ActiveList::SavedList, controls, QPoint(7, 9)});
        controller.releaseSettings();

        MainController next(*m_windowSystem);
        next.readMonitorList();
        next.openSettings(m_path);
        QCOMPARE(next.savedActiveList(), ActiveList::SavedList);
        QCOMPARE(next.entries().autoEntry().placement, controls);
        QCOMPARE(next.entries().count(), 16); // the presets, listed on the first start
        const SettingsFile file(m_path);
        QCOMPARE(file.readInteger(QStringLiteral("General"), QStringLiteral("Left"), 0), 7);
        QCOMPARE(file.readInteger(QStringLiteral("General"), QStringLiteral("Top"), 0), 9);
    }

    // A settings file that could not be read is never written: nothing the user had is lost.
    void refusedFileIsNotWritten()
    {
        writeAll(m_path, "[General]\nLeft=3\n");
        {
            QFile file(m_path);
            QVERIFY(file.resize(SettingsFile::kMaxFileBytes + 1));
        }
        const QByteArray before = readAll(m_path);
        MainController controller(*m_windowSystem);
        controller.readMonitorList();
        controller.openSettings(m_path);
        QVERIFY(!controller.settingsRefusal().isEmpty());
        controller.saveSettings({ActiveList::Other, Placement(), QPoint(1, 1)});
        QVERIFY(readAll(m_path) == before);
    }

private:
    std::vector<TopLevelWindow> windows(const QList<WindowId> &ids) const
    {
        std::vector<TopLevelWindow> found;
        for (const WindowId id : ids) {
            found.push_back(kWindows[id - 1]);
        }
        return found;
    }

    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<FakeWindowSystem> m_windowSystem;
};

QTEST_GUILESS_MAIN(MainControllerTest)
#include "maincontroller_test.moc"
