// Start-up and shut-down of the main window against the settings file: first start, restoring a previous run,
// the saved list, selection and focus, the window position, the presets, and writes that fail.
#include "entries/presets.h"
#include "mainwndfixture.h"
#include "skin/component/skindata.h"

#include <QLabel>
#include <QTest>

namespace {

QStringList presetDescriptions()
{
    QStringList descriptions;
    for (const auto &preset : builtInPresets()) {
        descriptions << preset.Description;
    }
    return descriptions;
}

} // namespace

class MainWndLifecycleTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartListsThePresetsAndExitWritesEverything()
    {
        MainWndFixture f;
        TMainWnd &w = f.start();
        QCOMPARE(w.windowTitle(), QStringLiteral("Framewright - Tarvelin Development"));
        QCOMPARE(f.rowCaptions(), presetDescriptions());
        QVERIFY(f.selectedRows().isEmpty());
        QVERIFY(!QFile::exists(f.settingsPath));
        QCOMPARE(f.control<QComboBox>("MonitorCbo")->currentText(), QStringLiteral("1 - Fake Display"));
        QCOMPARE(f.control<QComboBox>("HorzCbo")->currentText(), QStringLiteral("Left"));
        QCOMPARE(f.control<QComboBox>("VertCbo")->currentText(), QStringLiteral("Top"));
        for (const char *edit : {"HorzEdt", "VertEdt", "WidthEdt", "HeightEdt"}) {
            QCOMPARE(f.control<QLineEdit>(edit)->text(), QStringLiteral("0"));
        }
        for (const char *percent : {"Horz1Rdo", "Vert1Rdo", "Width1Rdo", "Height1Rdo"}) {
            QVERIFY(f.control<QRadioButton>(percent)->isChecked());
        }
        QVERIFY(!f.control<QCheckBox>("MaximizedChk")->isChecked());
        QCOMPARE(w.focusWidget(), f.control("TitleLst"));
        // Centred on the 1920 x 1080 primary monitor, with the skin's frame (4, 30, 4, 4) around 768 x 557.
        QCOMPARE(w.pos(), QPoint((1920 - 776) / 2, (1080 - 591) / 2));
        f.end();

        SettingsFile file(f.settingsPath);
        QCOMPARE(file.readInteger("General", "PresetCount", -7), 16);
        for (int n = 1; n <= 16; ++n) {
            QCOMPARE(file.readString("General", QStringLiteral("Preset%1").arg(n), {}), presetDescriptions()[n - 1]);
            QCOMPARE(file.readInteger(presetDescriptions()[n - 1], "WidthValue", -7),
                builtInPresets()[n - 1].placement.width.value);
        }
        QCOMPARE(file.readInteger("General", "Focus", -7), -1);
        QCOMPARE(file.readInteger("General", "ActiveList", -7), 0);
        QCOMPARE(file.readInteger("General", "Left", -7), (1920 - 776) / 2);
        QCOMPARE(file.readInteger("General", "Top", -7), (1080 - 591) / 2);
        QCOMPARE(file.readString("Auto", "Title", "missing"), QString());
        QCOMPARE(f.settingsText().count("\n["), 17); // General, Auto and sixteen entries: 18 sections
        QVERIFY(f.settingsText().startsWith('['));
        QCOMPARE(f.settingsText().count("HeightPx="), 17);
    }

    void secondStartRestoresListSelectionAndControls()
    {
        MainWndFixture f;
        f.start();
        f.savedList()->topLevelItem(2)->setSelected(true);
        f.savedList()->topLevelItem(9)->setSelected(true);
        // Row 2 is "800 x 600 right-aligned"; change the controls it filled, then leave the selection alone.
        f.control<QLineEdit>("HorzEdt")->setText(QStringLiteral("25"));
        f.control<QCheckBox>("MaximizedChk")->setChecked(true);
        f.end();

        TMainWnd &w = f.start();
        QCOMPARE(f.rowCaptions(), presetDescriptions());
        // Focus was 2, which is already selected; both rows come back selected.
        QCOMPARE(f.selectedRows(), (QList<int> {2, 9}));
        // The controls show the first selected row's entry, not what was typed over it.
        QCOMPARE(f.control<QComboBox>("HorzCbo")->currentText(), QStringLiteral("Right"));
        QCOMPARE(f.control<QLineEdit>("WidthEdt")->text(), QStringLiteral("800"));
        QVERIFY(f.control<QRadioButton>("Width2Rdo")->isChecked());
        QVERIFY(!f.control<QCheckBox>("MaximizedChk")->isChecked());
        QVERIFY(f.control<QPushButton>("RemoveBtn")->isEnabled());
        QVERIFY(!f.control<QPushButton>("EditBtn")->isEnabled());
        Q_UNUSED(w);

        // The typed values went to "Auto" at exit.
        SettingsFile file(f.settingsPath);
        QCOMPARE(file.readInteger("Auto", "HorzValue", -7), 25);
        QCOMPARE(file.readBool("Auto", "Maximized", false), true);
    }

    void autoEntryShownWhenNothingIsSelected()
    {
        MainWndFixture f;
        f.writeSettings("[Auto]\nScreenIndex=0\nHorzIndex=2\nHorzValue=40\nHorzPx=1\nVertIndex=1\nVertValue=-7\n"
                        "WidthValue=1500\nWidthPx=0\nHeightValue=40000\nHeightPx=1\nMaximized=1\n");
        f.start();
        QCOMPARE(f.control<QComboBox>("HorzCbo")->currentText(), QStringLiteral("Right"));
        QCOMPARE(f.control<QLineEdit>("HorzEdt")->text(), QStringLiteral("40"));
        QVERIFY(f.control<QRadioButton>("Horz2Rdo")->isChecked());
        QCOMPARE(f.control<QComboBox>("VertCbo")->currentText(), QStringLiteral("Center"));
        QCOMPARE(f.control<QLineEdit>("VertEdt")->text(), QStringLiteral("-7"));
        // A percent value beyond the unit's limits is clamped by the start-up's unit handlers, a pixel value
        // beyond the 16-bit range to the pixel limits.
        QCOMPARE(f.control<QLineEdit>("WidthEdt")->text(), QStringLiteral("500"));
        QCOMPARE(f.control<QLineEdit>("HeightEdt")->text(), QStringLiteral("32000"));
        QVERIFY(f.control<QCheckBox>("MaximizedChk")->isChecked());
        QVERIFY(f.rowCaptions().isEmpty());
    }

    void tabOrderFollowsTheControlTable()
    {
        MainWndFixture f;
        TMainWnd &w = f.start();
        QStringList order;
        for (QWidget *widget = w.nextInFocusChain(); widget != &w; widget = widget->nextInFocusChain()) {
            if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty()) {
                order << widget->objectName();
            }
        }
        const QStringList expected = {"MonitorCbo", "HorzCbo", "HorzEdt", "Horz1Rdo", "Horz2Rdo", "VertCbo", "VertEdt",
            "Vert1Rdo", "Vert2Rdo", "MaximizedChk", "WidthEdt", "Width1Rdo", "Width2Rdo", "HeightEdt", "Height1Rdo",
            "Height2Rdo", "TitleLst", "RefreshBtn", "ReadBtn", "Apply1Btn", "SavedLvw", "AddBtn", "EditBtn", "CopyBtn",
            "RemoveBtn", "UpBtn", "DownBtn", "PresetsBtn", "Apply2Btn", "ExitBtn", "HelpBtn"};
        QCOMPARE(order, expected);
    }

    void skinComponentCarriesTheShippedSkin()
    {
        MainWndFixture f;
        TMainWnd &w = f.start();
        auto *skin = w.findChild<TSkinData *>(QStringLiteral("SkinData"));
        QVERIFY(skin);
        QVERIFY(skin->isSkinLoaded());
        QVERIFY(skin->active());
        QCOMPARE(skin->options(), TSkinData::xoPreview | TSkinData::xoNoFocusRect | TSkinData::xoToolbarBK);
        QCOMPARE(skin->skinFormType(), TSkinData::sfMainform);
        QCOMPARE(skin->disableTag(), 99);
        QCOMPARE(skin->version(), QStringLiteral("1.0.0"));
        QVERIFY(f.messageBoxes.errors.isEmpty());
    }

    void emptyFileGivesEmptyList()
    {
        MainWndFixture f;
        f.writeSettings("");
        f.start();
        QVERIFY(f.rowCaptions().isEmpty());
        for (const char *name : {"EditBtn", "CopyBtn", "RemoveBtn", "UpBtn", "DownBtn", "Apply2Btn"}) {
            QVERIFY2(!f.control<QPushButton>(name)->isEnabled(), name);
        }
        QVERIFY(f.control<QPushButton>("AddBtn")->isEnabled());
        QVERIFY(f.control<QPushButton>("PresetsBtn")->isEnabled());
    }

    void presetKeys_data()
    {
        QTest::addColumn<QByteArray>("general");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("empty key skipped")
            << QByteArray("PresetCount=3\nPreset1=A\nPreset2=\nPreset3=C\n") << QStringList {"A", "C"};
        QTest::newRow("count beyond the keys")
            << QByteArray("PresetCount=5\nPreset1=A\nPreset2=B\n") << QStringList {"A", "B"};
        QTest::newRow("keys beyond the count ignored")
            << QByteArray("PresetCount=1\nPreset1=A\nPreset2=B\n") << QStringList {"A"};
        QTest::newRow("count not a number") << QByteArray("PresetCount=two\nPreset1=A\n") << QStringList {};
        // Only the keys the file holds are read, so the highest count costs no more than a small one.
        QTest::newRow("count at the integer limit")
            << QByteArray("PresetCount=2147483647\nPreset2147483647=Z\nPreset2=B\nPreset1=A\n")
            << QStringList {"A", "B", "Z"};
        QTest::newRow("numbers spelled otherwise are other keys")
            << QByteArray("PresetCount=3\nPreset01=X\nPreset+2=Y\npreSET3=C\nPreset 1=W\n") << QStringList {"C"};
    }

    void presetKeys()
    {
        QFETCH(QByteArray, general);
        QFETCH(QStringList, rows);
        MainWndFixture f;
        f.writeSettings("[General]\n" + general);
        f.start();
        QCOMPARE(f.rowCaptions(), rows);
        f.end();
        // The next exit numbers the keys without gaps.
        SettingsFile file(f.settingsPath);
        QCOMPARE(file.readInteger("General", "PresetCount", -7), rows.size());
        for (int n = 1; n <= rows.size(); ++n) {
            QCOMPARE(file.readString("General", QStringLiteral("Preset%1").arg(n), {}), rows[n - 1]);
        }
    }

    // A file of many entries, every one but the middle rows selected: start-up lists and selects them all, and the
    // exit writes the same list back. The rows are selected in one call, one range per run of selected rows; a
    // selection call per row costs time in proportion to the rows already selected, so start-up went quadratic.
    void manySelectedEntries()
    {
        constexpr int kEntries = 10000;
        constexpr int kGapFirst = 4000;
        constexpr int kGapLast = 4009;
        QByteArray general = "[General]\nPresetCount=" + QByteArray::number(kEntries) + "\nFocus=0\n";
        QByteArray sections;
        QList<int> selected;
        for (int n = 1; n <= kEntries; ++n) {
            const QByteArray name = "Entry " + QByteArray::number(n);
            const bool isSelected = n - 1 < kGapFirst || n - 1 > kGapLast;
            general += "Preset" + QByteArray::number(n) + "=" + name + "\n";
            sections += "[" + name + "]\nTitle=window " + QByteArray::number(n)
                + "\nWidthValue=" + QByteArray::number(n) + "\nSelected=" + (isSelected ? "1" : "0") + "\n";
            if (isSelected) {
                selected << n - 1;
            }
        }
        MainWndFixture f;
        f.writeSettings(general + sections);
        f.start();
        QCOMPARE(f.savedList()->topLevelItemCount(), kEntries);
        QCOMPARE(f.savedList()->topLevelItem(kEntries - 1)->text(1), QStringLiteral("window %1").arg(kEntries));
        QCOMPARE(f.selectedRows(), selected);
        QVERIFY(f.savedList()->selectionModel()->selection().size() < 10); // a few ranges, not one per row
        QCOMPARE(f.control<QLineEdit>("WidthEdt")->text(), QStringLiteral("1"));
        f.end();

        SettingsFile file(f.settingsPath);
        QCOMPARE(file.readInteger("General", "PresetCount", -7), kEntries);
        QCOMPARE(file.readString("General", QStringLiteral("Preset%1").arg(kEntries), {}),
            QStringLiteral("Entry %1").arg(kEntries));
        QCOMPARE(file.readBool(QStringLiteral("Entry %1").arg(kGapLast + 1), "Selected", true), false);
        QCOMPARE(file.readBool(QStringLiteral("Entry %1").arg(kGapLast + 2), "Selected", false), true);
        QCOMPARE(file.readInteger(QStringLiteral("Entry %1").arg(kEntries), "WidthValue", -7), kEntries);
    }

    void focusAndActiveList_data()
    {
        QTest::addColumn<QByteArray>("general");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QString>("focused");
        const QByteArray rows = "PresetCount=3\nPreset1=A\nPreset2=B\nPreset3=C\n";
        QTest::newRow("focus row selected, title list") << rows + "Focus=1\nActiveList=0\n"
                                                        << QList<int> {1} << "TitleLst";
        QTest::newRow("saved list") << rows + "Focus=-1\nActiveList=1\n" << QList<int> {} << "SavedLvw";
        QTest::newRow("any other value: Exit") << rows + "ActiveList=-1\n" << QList<int> {} << "ExitBtn";
        QTest::newRow("not a number: title list") << rows + "ActiveList=x\n" << QList<int> {} << "TitleLst";
        QTest::newRow("focus beyond the rows selects nothing") << rows + "Focus=3\n" << QList<int> {} << "TitleLst";
    }

    void focusAndActiveList()
    {
        QFETCH(QByteArray, general);
        QFETCH(QList<int>, selected);
        QFETCH(QString, focused);
        MainWndFixture f;
        f.writeSettings("[General]\n" + general);
        TMainWnd &w = f.start();
        QCOMPARE(f.selectedRows(), selected);
        QCOMPARE(w.focusWidget()->objectName(), focused);
    }

    void negativeFocusUnselectsTheFirstSelectedRow()
    {
        MainWndFixture f;
        f.writeSettings("[General]\nPresetCount=3\nPreset1=A\nPreset2=B\nPreset3=C\nFocus=-1\n"
                        "[A]\nSelected=1\n[B]\nSelected=1\n[C]\nSelected=1\n");
        f.start();
        QCOMPARE(f.selectedRows(), (QList<int> {1, 2}));
    }

    void activeListWrittenAtExit()
    {
        MainWndFixture f;
        TMainWnd &w = f.start();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        f.savedList()->setFocus();
        QTRY_COMPARE(w.focusWidget(), f.savedList());
        w.close();
        f.end();
        QCOMPARE(SettingsFile(f.settingsPath).readInteger("General", "ActiveList", -7), 1);

        TMainWnd &again = f.start();
        QCOMPARE(again.focusWidget(), f.savedList());
        again.show();
        again.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&again));
        QTest::mouseClick(f.control("ExitBtn"), Qt::LeftButton);
        QTRY_VERIFY(!again.isVisible());
        f.end();
        QCOMPARE(SettingsFile(f.settingsPath).readInteger("General", "ActiveList", -7), -1);
        TMainWnd &third = f.start();
        QCOMPARE(third.focusWidget(), f.control("ExitBtn"));
    }

    void windowPosition_data()
    {
        QTest::addColumn<QPoint>("saved");
        QTest::addColumn<QPoint>("expected");
        // The fit test and the centring use the framed size: 768 x 557 with the skin's frame (4, 30, 4, 4).
        const QPoint centred((1920 - 776) / 2, (1080 - 591) / 2);
        QTest::newRow("wholly on the second monitor") << QPoint(2000, 100) << QPoint(2000, 100);
        QTest::newRow("fits the second monitor only without the frame") << QPoint(2000, 450) << centred;
        QTest::newRow("straddling both monitors") << QPoint(1500, 100) << centred;
        QTest::newRow("partly below the second monitor") << QPoint(2000, 900) << centred;
        QTest::newRow("off every monitor") << QPoint(-3000, 0) << centred;
    }

    void windowPosition()
    {
        QFETCH(QPoint, saved);
        QFETCH(QPoint, expected);
        MainWndFixture f;
        f.windowSystem.setMonitors({{"A", QRect(0, 0, 1920, 1080), true}, {"B", QRect(1920, 0, 1280, 1024), false}});
        f.writeSettings(QStringLiteral("[General]\nLeft=%1\nTop=%2\n").arg(saved.x()).arg(saved.y()).toUtf8());
        QCOMPARE(f.start().pos(), expected);
    }

    void restoringPresets_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("only the presets") << presetDescriptions() << QStringList {};
        QTest::newRow("other letter case is replaced")
            << QStringList {"left half of screen", "Mine", "LOWER HALF OF SCREEN"} << QStringList {"Mine"};
        QTest::newRow("two rows of one preset become one")
            << QStringList {"Upper half of screen", "Upper half of screen"} << QStringList {};
        QTest::newRow("other entries keep their place")
            << QStringList {"First", "Second"} << QStringList {"First", "Second"};
    }

    void restoringPresets()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, kept);
        MainWndFixture f;
        QByteArray general = "[General]\nPresetCount=" + QByteArray::number(before.size()) + "\n";
        for (int i = 0; i < before.size(); ++i) {
            general += "Preset" + QByteArray::number(i + 1) + "=" + before[i].toUtf8() + "\n";
        }
        general += "Focus=" + QByteArray::number(before.indexOf("Mine")) + "\n";
        f.writeSettings(general + "[Mine]\nSelected=1\n");
        f.start();
        f.control<QPushButton>("PresetsBtn")->click();
        QCOMPARE(f.messageBoxes.questions, QStringList {"Do you want to restore the presets?"});
        QCOMPARE(f.rowCaptions(), kept + presetDescriptions());
        QCOMPARE(f.selectedRows(), kept.contains("Mine") ? QList<int> {0} : QList<int> {});
        QVERIFY(f.messageBoxes.errors.isEmpty());
    }

    void decliningThePresetsChangesNothing()
    {
        MainWndFixture f;
        f.writeSettings("[General]\nPresetCount=1\nPreset1=Left half of screen\n[Left half of screen]\nWidthValue=7\n");
        f.start();
        f.messageBoxes.answer = false;
        f.control<QPushButton>("PresetsBtn")->click();
        QCOMPARE(f.rowCaptions(), QStringList {"Left half of screen"});
    }

    void replacedEntryIsWrittenWhenPresetsAreRestored()
    {
        MainWndFixture f;
        f.writeSettings("[General]\nPresetCount=1\nPreset1=left HALF of screen\n[left HALF of screen]\nWidthValue=7\n");
        f.start();
        f.control<QPushButton>("PresetsBtn")->click();
        // The replaced entry's section was written (all fifteen keys) and the file replaced at once.
        QVERIFY(f.settingsText().contains("Maximized=0"));
        QCOMPARE(SettingsFile(f.settingsPath).readInteger("Left half of screen", "WidthValue", -7), 7);
    }

    // A file over the size limit is not read: the user is told why at start-up, and the exit leaves it untouched
    // (it used to be refused silently and then overwritten with the empty list, or failed as "Unable to write").
    void refusedFileIsReportedAndKept()
    {
        MainWndFixture f;
        f.writeSettings("[General]\nPresetCount=1\nPreset1=A\n");
        {
            QFile file(f.settingsPath);
            QVERIFY(file.resize(SettingsFile::kMaxFileBytes + 1));
        }
        const QByteArray before = f.settingsText();
        f.start();
        QVERIFY(f.rowCaptions().isEmpty());
        QCOMPARE(f.messageBoxes.errors,
            QStringList {"The settings file " + f.settingsPath
                + " cannot be read: it is larger than 16 MiB. The program starts without its settings and leaves the "
                  "file as it is."});
        f.end();
        QCOMPARE(f.messageBoxes.errors.size(), 1);
        QVERIFY(f.settingsText() == before);
    }

    void failedWritesAreReportedAndLoseNothing()
    {
        MainWndFixture f;
        // A regular file where the settings folder should be: no write can succeed, not even as root.
        QFile blocker(f.dir.filePath("folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        f.settingsPath = f.dir.filePath("folder/KTZ.ini");
        f.settingsNote = "The settings are elsewhere.";
        f.start();
        QCOMPARE(f.rowCaptions(), presetDescriptions());
        f.end();
        QCOMPARE(f.messageBoxes.errors,
            QStringList {"Unable to write to " + f.settingsPath + ": Not a directory.\n\nThe settings are elsewhere."});
    }

    void helpAndSidePicture()
    {
        MainWndFixture f;
        f.helpFile = f.dir.filePath("Framewright.html");
        TMainWnd &w = f.start();
        f.control<QPushButton>("HelpBtn")->click();
        QCOMPARE(f.messageBoxes.errors, QStringList {"Unable to open the help file " + f.helpFile + "."});
        QVERIFY(f.openedUrls.isEmpty());

        QFile help(f.helpFile);
        QVERIFY(help.open(QIODevice::WriteOnly));
        help.close();
        f.messageBoxes.errors.clear();
        f.control<QPushButton>("HelpBtn")->click();
        QCOMPARE(f.openedUrls.size(), 1);
        QCOMPARE(f.openedUrls[0].toLocalFile(), f.helpFile);
        QCOMPARE(f.openedUrls[0].fragment(), QStringLiteral("main-window"));
        QVERIFY(f.messageBoxes.errors.isEmpty());

        QWidget *picture = f.control("SideImg");
        QVERIFY(!static_cast<QLabel *>(picture)->pixmap().isNull());
        QCOMPARE(static_cast<QLabel *>(picture)->pixmap().size(), QSize(162, 557));
        f.openUrlSucceeds = false;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(80, 300));
        QCOMPARE(f.openedUrls.size(), 2);
        QCOMPARE(f.openedUrls[1].scheme(), QStringLiteral("https"));
        QCOMPARE(f.messageBoxes.errors,
            QStringList {"Unable to start the browser. Please make sure it is set up properly on your system."});
    }
};

QTEST_MAIN(MainWndLifecycleTest)
#include "mainwndlifecycle_test.moc"
