// The Direct group over a fake window system: which windows are listed, the button states, Refresh list,
// Apply (button and double click) and Read window.
#include "entryvalues.h"
#include "mainwndfixture.h"
#include "terminaltext.h"

#include <QStyledItemDelegate>
#include <QTest>

using platform::ShowState;
using platform::TopLevelWindow;
using platform::WindowPlacement;

Q_DECLARE_METATYPE(WindowPlacement)

namespace {

const std::vector<platform::Monitor> kMonitors
    = {{"Main", QRect(0, 0, 1920, 1080), true}, {"Side", QRect(1920, 0, 1280, 1024), false}};

const std::vector<TopLevelWindow> kWindows = {
    {11, "Editor", true, false},
    {12, "", true, false},
    {13, "Hidden", false, false},
    {14, "Dialog", true, true},
    {15, "Terminal", true, false},
    {16, "Editor", true, false},
};

} // namespace

class DirectGroupTest : public QObject
{
    Q_OBJECT

private:
    QListWidget *titles(MainWndFixture &f) { return f.control<QListWidget>("TitleLst"); }

    TMainWnd &start(MainWndFixture &f)
    {
        f.windowSystem.setMonitors(kMonitors);
        f.windowSystem.setWindows(kWindows);
        f.writeSettings("");
        return f.start();
    }

    QStringList listed(MainWndFixture &f)
    {
        QStringList texts;
        for (int i = 0; i < titles(f)->count(); ++i) {
            texts << titles(f)->item(i)->text();
        }
        return texts;
    }

private slots:
    void listsTitledVisibleUnownedWindowsInStackingOrder()
    {
        MainWndFixture f;
        start(f);
        QCOMPARE(listed(f), (QStringList {"Editor", "Terminal", "Editor"}));
        QCOMPARE(titles(f)->item(2)->data(Qt::UserRole).toUInt(), 16u);
    }

    void buttonsFollowTheSelection()
    {
        MainWndFixture f;
        start(f);
        auto *read = f.control<QPushButton>("ReadBtn");
        auto *apply = f.control<QPushButton>("Apply1Btn");
        QVERIFY(!read->isEnabled() && !apply->isEnabled());
        titles(f)->item(0)->setSelected(true);
        QVERIFY(read->isEnabled() && apply->isEnabled());
        titles(f)->item(1)->setSelected(true);
        QVERIFY(!read->isEnabled() && apply->isEnabled());
        titles(f)->clearSelection();
        QVERIFY(!read->isEnabled() && !apply->isEnabled());

        // Refresh drops the selection and keeps the buttons as they were.
        titles(f)->item(0)->setSelected(true);
        f.windowSystem.setWindows({{21, "New", true, false}, {15, "Terminal", true, false}});
        f.control<QPushButton>("RefreshBtn")->click();
        QCOMPARE(listed(f), (QStringList {"New", "Terminal"}));
        QVERIFY(titles(f)->selectedItems().isEmpty());
        QVERIFY(read->isEnabled() && apply->isEnabled());
        // Apply with nothing selected does nothing.
        apply->click();
        QVERIFY(f.windowSystem.requests.empty());
    }

    void applyGivesEverySelectedWindowTheComputedRectangle()
    {
        MainWndFixture f;
        TMainWnd &w = start(f);
        cParameters entry
            = entryWith(QStringLiteral("x"), QString(), false, 1, 1, 1, 0, 0, 50, 50, false, false, false, false, true);
        w.LoadControls(entry);
        titles(f)->item(2)->setSelected(true);
        titles(f)->item(0)->setSelected(true);
        f.windowSystem.closeWindow(11); // closed since the list was filled: passed over
        f.control<QPushButton>("Apply1Btn")->click();
        // Centred both ways: a window that cannot take the size keeps the centre.
        const WindowPlacement expected {ShowState::Maximized, QRect(2240, 256, 640, 512), Qt::AlignCenter};
        QCOMPARE(f.windowSystem.requests.size(), size_t(2));
        QCOMPARE(f.windowSystem.requests[0], (FakeWindowSystem::Request {11, expected}));
        QCOMPARE(f.windowSystem.requests[1], (FakeWindowSystem::Request {16, expected}));
        QCOMPARE(f.windowSystem.windowPlacement(16), expected);
    }

    void doubleClickApplies()
    {
        MainWndFixture f;
        TMainWnd &w = start(f);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QListWidget *list = titles(f);
        const QRect itemRect = list->visualItemRect(list->item(1));
        // A real double click: press and release, then the second press arrives as a double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, itemRect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, itemRect.center());
        QCOMPARE(f.windowSystem.requests.size(), size_t(1));
        QCOMPARE(f.windowSystem.requests[0].window, 15u);
        QCOMPARE(f.windowSystem.requests[0].placement.showState, ShowState::Normal);
    }

    void noMonitorSelectedUsesThePrimary()
    {
        MainWndFixture f;
        TMainWnd &w = start(f);
        f.control<QComboBox>("MonitorCbo")->setCurrentIndex(-1);
        const PlacementRect rect = w.ComputePlacement(-1);
        QCOMPARE(QRect(rect.left, rect.top, rect.width, rect.height), QRect(0, 0, 0, 0));
        cParameters entry = entryWith(
            QStringLiteral("x"), QString(), false, 5, 2, 2, 0, 0, 50, 50, false, false, false, false, false);
        w.LoadControls(entry); // monitor 5 does not exist: no selection
        const PlacementRect onPrimary = w.ComputePlacement(f.control<QComboBox>("MonitorCbo")->currentIndex());
        QCOMPARE(QRect(onPrimary.left, onPrimary.top, onPrimary.width, onPrimary.height), QRect(960, 540, 960, 540));
    }

    void readWindow_data()
    {
        QTest::addColumn<WindowPlacement>("placement");
        QTest::addColumn<int>("monitor");
        QTest::addColumn<QStringList>("edits"); // horizontal, vertical, width, height
        QTest::addColumn<bool>("maximized");
        QTest::newRow("corner on the side monitor")
            << WindowPlacement {ShowState::Normal, QRect(QPoint(2020, 50), QPoint(2819, 649))} << 1
            << QStringList {"100", "50", "800", "600"} << false;
        QTest::newRow("maximized reads its restored rectangle")
            << WindowPlacement {ShowState::Maximized, QRect(100, 80, 640, 480)} << 0
            << QStringList {"100", "80", "640", "480"} << true;
        QTest::newRow("minimized is not maximized") << WindowPlacement {ShowState::Minimized, QRect(10, 20, 30, 40)}
                                                    << 0 << QStringList {"10", "20", "30", "40"} << false;
        QTest::newRow("corner on the right edge of the side monitor: no monitor, raw coordinates")
            << WindowPlacement {ShowState::Normal, QRect(3200, 10, 300, 200)} << 0
            << QStringList {"3200", "10", "300", "200"} << false;
        QTest::newRow("beyond the pixel limits is clamped")
            << WindowPlacement {ShowState::Normal, QRect(-40000, 0, 50000, 100)} << 0
            << QStringList {"-32000", "0", "32000", "100"} << false;
    }

    void readWindow()
    {
        QFETCH(WindowPlacement, placement);
        QFETCH(int, monitor);
        QFETCH(QStringList, edits);
        QFETCH(bool, maximized);
        MainWndFixture f;
        TMainWnd &w = start(f);
        cParameters percent = entryWith(
            QStringLiteral("x"), QString(), false, 1, 2, 2, 10, 10, 50, 50, false, false, false, false, !maximized);
        w.LoadControls(percent);
        f.windowSystem.setPlacement(15, placement);
        // Read window acts on the current item, selected or not.
        titles(f)->item(0)->setSelected(true);
        titles(f)->setCurrentItem(titles(f)->item(1), QItemSelectionModel::NoUpdate); // "Terminal"
        QVERIFY(!titles(f)->item(1)->isSelected());
        f.control<QPushButton>("ReadBtn")->click();
        QCOMPARE(f.control<QComboBox>("MonitorCbo")->currentIndex(), monitor);
        QCOMPARE(f.control<QComboBox>("HorzCbo")->currentText(), QStringLiteral("Left"));
        QCOMPARE(f.control<QComboBox>("VertCbo")->currentText(), QStringLiteral("Top"));
        const char *editNames[] = {"HorzEdt", "VertEdt", "WidthEdt", "HeightEdt"};
        const char *pixelNames[] = {"Horz2Rdo", "Vert2Rdo", "Width2Rdo", "Height2Rdo"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(f.control<QLineEdit>(editNames[i])->text(), edits[i]);
            QVERIFY(f.control<QRadioButton>(pixelNames[i])->isChecked());
        }
        QCOMPARE(f.control<QCheckBox>("MaximizedChk")->isChecked(), maximized);
    }

    void readThenApplyLeavesTheWindowInPlace()
    {
        MainWndFixture f;
        TMainWnd &w = start(f);
        const WindowPlacement placement {ShowState::Normal, QRect(2020, 50, 800, 600)};
        f.windowSystem.setPlacement(15, placement);
        titles(f)->setCurrentRow(1);
        QVERIFY(titles(f)->item(1)->isSelected());
        f.control<QPushButton>("ReadBtn")->click();
        f.control<QPushButton>("Apply1Btn")->click();
        QCOMPARE(f.windowSystem.requests.size(), size_t(1));
        QCOMPARE(f.windowSystem.requests[0].placement, placement);
        Q_UNUSED(w);
    }

    // A title is any program's text: listed in one row of the usual height, shown escaped, and kept as it is.
    void hostileTitlesShowAsOneRowOfText_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("newline") << "first line\nsecond line";
        QTest::newRow("CR LF") << "first\r\nsecond";
        QTest::newRow("tab") << "field\tfield";
        QTest::newRow("escape sequence") << "\x1b[2J\x1b[31mred";
        QTest::newRow("C1 next line") << QStringView(u"first\u0085second").toString();
        QTest::newRow("line and paragraph separators") << QStringView(u"first\u2028second\u2029third").toString();
        QTest::newRow("bidirectional override") << QStringView(u"invoice\u202egnp.exe").toString();
    }

    void hostileTitlesShowAsOneRowOfText()
    {
        QFETCH(QString, title);
        MainWndFixture f;
        f.windowSystem.setMonitors(kMonitors);
        f.windowSystem.setWindows({{31, title, true, false}, {32, "Plain", true, false}});
        f.writeSettings("");
        f.start();
        QListWidget *list = titles(f);
        QCOMPARE(listed(f), (QStringList {title, "Plain"}));
        const auto *delegate = qobject_cast<QStyledItemDelegate *>(list->itemDelegate());
        QVERIFY(delegate);
        const QString shown = delegate->displayText(title, QLocale());
        QVERIFY2(std::none_of(shown.begin(), shown.end(), [](QChar c) { return actsOnTerminal(c.unicode()); }),
            qPrintable(shown));
        QCOMPARE(readBackEscaped(shown), std::optional<QString>(title));
        QCOMPARE(list->sizeHintForRow(0), list->sizeHintForRow(1));
    }

    void readingAClosedWindowChangesNothing()
    {
        MainWndFixture f;
        start(f);
        titles(f)->setCurrentRow(1);
        f.windowSystem.closeWindow(15);
        f.control<QLineEdit>("WidthEdt")->setText(QStringLiteral("42"));
        f.control<QPushButton>("ReadBtn")->click();
        QCOMPARE(f.control<QLineEdit>("WidthEdt")->text(), QStringLiteral("42"));
        QVERIFY(f.control<QRadioButton>("Width1Rdo")->isChecked());
    }
};

QTEST_MAIN(DirectGroupTest)
#include "directgroup_test.moc"
