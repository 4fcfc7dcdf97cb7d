// The placement controls of the main window: normalisation of typed values, the up-down arrows, unit switches
// with their conversions, showing or storing an entry, and the monitor list as monitors come and go.
#include "entryvalues.h"
#include "mainwndfixture.h"
#include "updown.h"

#include <QTest>

using platform::Monitor;

class PlacementControlsTest : public QObject
{
    Q_OBJECT

private:
    // A main window on monitors 1366 x 768 (primary) and 1920 x 1200, with an empty settings file.
    TMainWnd &startOnTwoMonitors(MainWndFixture &f)
    {
        f.windowSystem.setMonitors(
            {{"Laptop", QRect(0, 0, 1366, 768), true}, {"Desk", QRect(1366, 0, 1920, 1200), false}});
        f.writeSettings("");
        return f.start();
    }

private slots:
    void typedValuesAreNormalised_data()
    {
        QTest::addColumn<QByteArray>("edit");
        QTest::addColumn<bool>("pixels");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("minusInFront");
        QTest::addColumn<QString>("shown");
        QTest::newRow("600 % shows 500") << QByteArray("WidthEdt") << false << "600" << false << "500";
        QTest::newRow("minus in front of 600 % shows -500")
            << QByteArray("HorzEdt") << false << "600" << true << "-500";
        QTest::newRow("-40000 px shows -32000") << QByteArray("VertEdt") << true << "40000" << true << "-32000";
        QTest::newRow("a minus typed first turns into 0 at once")
            << QByteArray("HorzEdt") << false << "-6" << false << "6";
        QTest::newRow("letters show 0") << QByteArray("HeightEdt") << false << "ab" << false << "0";
        QTest::newRow("a lone minus shows 0") << QByteArray("HorzEdt") << true << "-" << false << "0";
    }

    void typedValuesAreNormalised()
    {
        QFETCH(QByteArray, edit);
        QFETCH(bool, pixels);
        QFETCH(QString, typed);
        QFETCH(bool, minusInFront);
        QFETCH(QString, shown);
        MainWndFixture f;
        TMainWnd &w = startOnTwoMonitors(f);
        cParameters entry(QStringLiteral("x"), nullptr);
        const Unit unit = pixels ? Unit::Pixels : Unit::Percent;
        entry.placement.horzOffset.unit = entry.placement.vertOffset.unit = unit;
        entry.placement.width.unit = entry.placement.height.unit = unit;
        w.LoadControls(entry);
        auto *line = f.control<QLineEdit>(edit.constData());
        line->selectAll();
        QTest::keyClicks(line, typed);
        if (minusInFront) {
            QTest::keyClick(line, Qt::Key_Home);
            QTest::keyClick(line, Qt::Key_Minus);
        }
        QCOMPARE(line->text(), shown);
    }

    void typingLengthFollowsTheUnit_data()
    {
        QTest::addColumn<bool>("pixels");
        QTest::addColumn<QString>("full");
        QTest::newRow("percent: 4 characters") << false << "-123";
        QTest::newRow("pixels: 6 characters") << true << "-12345";
    }

    void typingLengthFollowsTheUnit()
    {
        QFETCH(bool, pixels);
        QFETCH(QString, full);
        MainWndFixture f;
        TMainWnd &w = startOnTwoMonitors(f);
        cParameters entry(QStringLiteral("x"), nullptr);
        entry.placement.width.unit = pixels ? Unit::Pixels : Unit::Percent;
        w.LoadControls(entry);
        auto *line = f.control<QLineEdit>("WidthEdt");
        line->setText(full);
        line->end(false);
        QTest::keyClick(line, Qt::Key_1);
        QCOMPARE(line->text(), full);
    }

    void arrowsStepWithinTheLimits()
    {
        MainWndFixture f;
        TMainWnd &w = startOnTwoMonitors(f);
        auto *edit = f.control<QLineEdit>("WidthEdt");
        auto *upDown = f.control<UpDown>("WidthUpd");
        edit->setText(QStringLiteral("499"));
        QTest::keyClick(edit, Qt::Key_Up);
        QCOMPARE(edit->text(), QStringLiteral("500"));
        QTest::keyClick(edit, Qt::Key_Up);
        QCOMPARE(edit->text(), QStringLiteral("500")); // no wrapping
        upDown->stepBy(-1);
        QCOMPARE(edit->text(), QStringLiteral("499"));
        edit->setText(QStringLiteral("-500"));
        QTest::keyClick(edit, Qt::Key_Down);
        QCOMPARE(edit->text(), QStringLiteral("-500"));
        QCOMPARE(upDown->position(), -500);
        Q_UNUSED(w);
    }

    void unitSwitchConverts_data()
    {
        QTest::addColumn<int>("monitor");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("toPixels");
        QTest::addColumn<QString>("converted");
        QTest::newRow("50 % of 1920 is 960 px") << 1 << QByteArray("Width") << "50" << true << "960";
        QTest::newRow("960 px of 1920 is 50 %") << 1 << QByteArray("Horz") << "960" << false << "50";
        QTest::newRow("1000 px of 1366 is 73 %") << 0 << QByteArray("Width") << "1000" << false << "73";
        QTest::newRow("-10 % of 1366 is -136 px") << 0 << QByteArray("Horz") << "-10" << true << "-136";
        QTest::newRow("-136 px of 1366 is -9 %") << 0 << QByteArray("Horz") << "-136" << false << "-9";
        QTest::newRow("height uses the monitor's height") << 1 << QByteArray("Height") << "25" << true << "300";
        QTest::newRow("vertical offset uses the height") << 0 << QByteArray("Vert") << "384" << false << "50";
        QTest::newRow("no monitor: the primary's size") << -1 << QByteArray("Width") << "50" << true << "683";
        QTest::newRow("500 % of 1920 is 9600 px") << 1 << QByteArray("Width") << "500" << true << "9600";
        QTest::newRow("32000 px of 1366 is clamped to 500 %") << 0 << QByteArray("Width") << "32000" << false << "500";
    }

    void unitSwitchConverts()
    {
        QFETCH(int, monitor);
        QFETCH(QByteArray, field);
        QFETCH(QString, value);
        QFETCH(bool, toPixels);
        QFETCH(QString, converted);
        MainWndFixture f;
        TMainWnd &w = startOnTwoMonitors(f);
        cParameters entry(QStringLiteral("x"), nullptr);
        const Unit unit = toPixels ? Unit::Percent : Unit::Pixels;
        entry.placement.horzOffset.unit = entry.placement.vertOffset.unit = unit;
        entry.placement.width.unit = entry.placement.height.unit = unit;
        w.LoadControls(entry);
        f.control<QComboBox>("MonitorCbo")->setCurrentIndex(monitor);
        auto *edit = f.control<QLineEdit>(field + "Edt");
        edit->setText(value);
        QTest::mouseClick(f.control<QRadioButton>(field + (toPixels ? "2Rdo" : "1Rdo")), Qt::LeftButton);
        QCOMPARE(edit->text(), converted);
        // Selecting another monitor afterwards converts nothing.
        f.control<QComboBox>("MonitorCbo")->setCurrentIndex(monitor == 1 ? 0 : 1);
        QCOMPARE(edit->text(), converted);
        // Clicking the button that is already on runs nothing.
        QTest::mouseClick(f.control<QRadioButton>(field + (toPixels ? "2Rdo" : "1Rdo")), Qt::LeftButton);
        QCOMPARE(edit->text(), converted);
    }

    void percentLimitsAfterSwitchingBack()
    {
        MainWndFixture f;
        startOnTwoMonitors(f);
        auto *edit = f.control<QLineEdit>("WidthEdt");
        QTest::mouseClick(f.control<QRadioButton>("Width2Rdo"), Qt::LeftButton);
        edit->setText(QStringLiteral("30000"));
        QTest::mouseClick(f.control<QRadioButton>("Width1Rdo"), Qt::LeftButton);
        QCOMPARE(edit->text(), QStringLiteral("500"));
        edit->setText(QStringLiteral("700"));
        QCOMPARE(edit->text(), QStringLiteral("500"));
    }

    void loadControlsInstallsLimitsWithoutConverting()
    {
        MainWndFixture f;
        TMainWnd &w = startOnTwoMonitors(f);
        cParameters entry = entryWith(
            QStringLiteral("Wide"), QString(), false, 1, 2, 1, 1500, -20, 1280, 1024, true, false, true, true, true);
        w.LoadControls(entry);
        QCOMPARE(f.control<QComboBox>("MonitorCbo")->currentIndex(), 1);
        QCOMPARE(f.control<QComboBox>("HorzCbo")->currentText(), QStringLiteral("Right"));
        QCOMPARE(f.control<QLineEdit>("HorzEdt")->text(), QStringLiteral("1500"));
        QCOMPARE(f.control<QLineEdit>("VertEdt")->text(), QStringLiteral("-20"));
        QCOMPARE(f.control<QLineEdit>("WidthEdt")->text(), QStringLiteral("1280"));
        QVERIFY(f.control<QCheckBox>("MaximizedChk")->isChecked());
        QCOMPARE(f.control<UpDown>("HorzUpd")->maximum(), 32000);
        QCOMPARE(f.control<UpDown>("VertUpd")->maximum(), 500);

        cParameters stored(QStringLiteral("Stored"), nullptr);
        w.StoreControls(stored);
        QCOMPARE(entryFields(stored),
            (QStringList {
                "Stored", "", "0", "1", "2", "1", "1500", "-20", "1280", "1024", "1", "0", "1", "1", "1", "0"}));

        // The next entry shows its own Maximized state, also when that is false.
        cParameters plain(QStringLiteral("Plain"), nullptr);
        w.LoadControls(plain);
        QVERIFY(!f.control<QCheckBox>("MaximizedChk")->isChecked());
    }

    void loadControlsOutOfRangeIndices()
    {
        MainWndFixture f;
        TMainWnd &w = startOnTwoMonitors(f);
        cParameters entry(QStringLiteral("x"), nullptr);
        entry.placement.screenIndex = 3;
        entry.placement.horzAlignment = HorzAlignment(-1);
        entry.placement.vertAlignment = VertAlignment(7);
        w.LoadControls(entry);
        QCOMPARE(f.control<QComboBox>("MonitorCbo")->currentIndex(), -1);
        QCOMPARE(f.control<QComboBox>("HorzCbo")->currentIndex(), -1);
        QCOMPARE(f.control<QComboBox>("VertCbo")->currentIndex(), -1);
        cParameters stored(QStringLiteral("y"), nullptr);
        w.StoreControls(stored);
        QCOMPARE(stored.placement.screenIndex, -1);
        QCOMPARE(int(stored.placement.horzAlignment), -1);
    }

    void monitorListAndMonitorAtPoint()
    {
        MainWndFixture f;
        TMainWnd &w = startOnTwoMonitors(f);
        auto *monitors = f.control<QComboBox>("MonitorCbo");
        QCOMPARE(monitors->count(), 2);
        QCOMPARE(monitors->itemText(0), QStringLiteral("1 - Laptop"));
        QCOMPARE(monitors->itemText(1), QStringLiteral("2 - Desk"));
        QCOMPARE(w.MonitorCount, 2);
        QCOMPARE(w.MonitorAtPoint(QPoint(1366, 0)), 1);
        QCOMPARE(w.MonitorAtPoint(QPoint(1365, 767)), 0);
        QCOMPARE(w.MonitorAtPoint(QPoint(1000, 768)), -1);
    }

    // Monitors that go and come while the window is open: the list follows, the chosen monitor is not selected while
    // it is gone (the primary monitor stands in) and is selected again when it is back; the user's own pick is the
    // one remembered.
    void monitorListFollowsTheMonitors()
    {
        MainWndFixture f;
        TMainWnd &w = startOnTwoMonitors(f);
        auto *monitors = f.control<QComboBox>("MonitorCbo");
        const auto screensChanged
            = [&f] { QVERIFY(QMetaObject::invokeMethod(f.control<QObject>("ScreenChanges"), "changed")); };
        cParameters onDesk(QStringLiteral("x"), nullptr);
        onDesk.placement.screenIndex = 1;
        onDesk.placement.width = {50, Unit::Percent};
        w.LoadControls(onDesk);

        f.windowSystem.setMonitors({{"Laptop", QRect(0, 0, 1366, 768), true}});
        screensChanged();
        QCOMPARE(monitors->count(), 1);
        QCOMPARE(w.MonitorCount, 1);
        QCOMPARE(monitors->currentIndex(), -1);
        QCOMPARE(w.ComputePlacement(1).width, 683);
        cParameters stored(QStringLiteral("y"), nullptr);
        w.StoreControls(stored);
        QCOMPARE(stored.placement.screenIndex, -1);

        const std::vector<Monitor> three = {{"Laptop", QRect(0, 0, 1366, 768), true},
            {"Desk", QRect(1366, 0, 1920, 1200), false}, {"Beamer", QRect(3286, 0, 1024, 768), false}};
        f.windowSystem.setMonitors(three);
        screensChanged();
        QCOMPARE(monitors->count(), 3);
        QCOMPARE(monitors->itemText(2), QStringLiteral("3 - Beamer"));
        QCOMPARE(monitors->currentIndex(), 1);
        QCOMPARE(w.MonitorCount, 3);
        QCOMPARE(w.ComputePlacement(2).width, 512);

        monitors->setFocus();
        QTest::keyClick(monitors, Qt::Key_Down);
        QCOMPARE(monitors->currentIndex(), 2);
        f.windowSystem.setMonitors({three[0], three[1]});
        screensChanged();
        QCOMPARE(monitors->currentIndex(), -1);
        f.windowSystem.setMonitors(three);
        screensChanged();
        QCOMPARE(monitors->currentIndex(), 2);
    }
};

QTEST_MAIN(PlacementControlsTest)
#include "placementcontrols_test.moc"
