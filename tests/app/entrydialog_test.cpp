// The entry dialog and the Add, Edit and Copy commands: enabling rules, captions, the title list, the refused
// descriptions, and what the commands store.
#include "adddlg.h"
#include "mainwndfixture.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `act` on the entry dialog as soon as the command has opened it modally.
void whenDialogOpens(std::function<void(TAddDlg &)> act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<TAddDlg *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(*dialog);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
}

template<typename Widget> Widget *in(TAddDlg &dialog, const char *name)
{
    return dialog.findChild<Widget *>(QLatin1String(name));
}

void type(TAddDlg &dialog, const QString &description)
{
    in<QLineEdit>(dialog, "DescriptionEdt")->setText(description);
}

void confirm(TAddDlg &dialog)
{
    QTest::keyClick(in<QLineEdit>(dialog, "DescriptionEdt"), Qt::Key_Return);
}

} // namespace

class EntryDialogTest : public QObject
{
    Q_OBJECT

private:
    void start(MainWndFixture &f)
    {
        f.windowSystem.setWindows({{7, "Mail - Inbox", true, false}, {8, "", true, false}, {9, "Owned", true, true},
            {10, "Terminal", true, false}, {11, "Terminal", true, false}});
        f.writeSettings("[General]\nPresetCount=2\nPreset1=Mine\nPreset2=Other\nFocus=0\n"
                        "[Mine]\nTitle=Editor\nRegex=1\nWidthValue=640\nWidthPx=1\n"
                        "[Left over]\nTitle=stale\nHeightValue=77\nHeightPx=1\n");
        f.start();
    }

private slots:
    void addOpensEmptyWithTheWindowTitles()
    {
        MainWndFixture f;
        start(f);
        bool checked = false;
        whenDialogOpens([&](TAddDlg &dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Add"));
            QCOMPARE(dialog.contentsRect().size(), QSize(604, 123)); // inside the skin's frame
            QCOMPARE(in<QLineEdit>(dialog, "DescriptionEdt")->text(), QString());
            QCOMPARE(dialog.focusWidget(), in<QLineEdit>(dialog, "DescriptionEdt"));
            QVERIFY(!in<QPushButton>(dialog, "OkBtn")->isEnabled());
            QVERIFY(!in<QComboBox>(dialog, "TitleCbo")->isEnabled());
            QVERIFY(!in<QCheckBox>(dialog, "RegexChk")->isEnabled());
            QCOMPARE(in<QLabel>(dialog, "DescriptionLbl")->text(), QStringLiteral("Description"));
            QCOMPARE(in<QCheckBox>(dialog, "TitleChk")->text(), QStringLiteral("Save title"));
            QCOMPARE(in<QCheckBox>(dialog, "RegexChk")->text(), QStringLiteral("Regular expressions"));
            QCOMPARE(in<QPushButton>(dialog, "CancelBtn")->text(), QStringLiteral("Cancel"));
            auto *titles = in<QComboBox>(dialog, "TitleCbo");
            QStringList items;
            for (int i = 0; i < titles->count(); ++i) {
                items << titles->itemText(i);
            }
            QCOMPARE(items, (QStringList {"Mail - Inbox", "Terminal", "Terminal"}));
            QCOMPARE(titles->currentText(), QString());
            QStringList order;
            for (QWidget *w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain()) {
                if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty()) {
                    order << w->objectName();
                }
            }
            QCOMPARE(order, (QStringList {"DescriptionEdt", "TitleChk", "TitleCbo", "RegexChk", "OkBtn", "CancelBtn"}));

            type(dialog, QStringLiteral("x"));
            QVERIFY(in<QPushButton>(dialog, "OkBtn")->isEnabled());
            type(dialog, QString());
            QVERIFY(!in<QPushButton>(dialog, "OkBtn")->isEnabled());
            confirm(dialog); // Enter does nothing while OK is disabled
            QVERIFY(dialog.isVisible());

            in<QCheckBox>(dialog, "TitleChk")->setChecked(true);
            QVERIFY(in<QComboBox>(dialog, "TitleCbo")->isEnabled());
            QVERIFY(in<QCheckBox>(dialog, "RegexChk")->isEnabled());
            in<QComboBox>(dialog, "TitleCbo")->setEditText(QStringLiteral("kept"));
            in<QCheckBox>(dialog, "RegexChk")->setChecked(true);
            in<QCheckBox>(dialog, "TitleChk")->setChecked(false);
            QVERIFY(!in<QComboBox>(dialog, "TitleCbo")->isEnabled());
            QVERIFY(!in<QCheckBox>(dialog, "RegexChk")->isEnabled());
            QCOMPARE(in<QComboBox>(dialog, "TitleCbo")->currentText(), QStringLiteral("kept"));
            QVERIFY(in<QCheckBox>(dialog, "RegexChk")->isChecked());
            checked = true;
        });
        f.control<QPushButton>("AddBtn")->click();
        QVERIFY(checked);
        QCOMPARE(f.rowCaptions(), (QStringList {"Mine", "Other"}));
    }

    void addStoresTheControlsAndTheDialog()
    {
        MainWndFixture f;
        start(f);
        f.control<QLineEdit>("HorzEdt")->setText(QStringLiteral("12"));
        whenDialogOpens([](TAddDlg &dialog) {
            type(dialog, QStringLiteral("Left over"));
            in<QCheckBox>(dialog, "RegexChk")->setChecked(true);
            in<QCheckBox>(dialog, "TitleChk")->setChecked(true);
            in<QComboBox>(dialog, "TitleCbo")->setCurrentIndex(0);
            confirm(dialog);
            QVERIFY(!dialog.isVisible());
        });
        f.control<QPushButton>("AddBtn")->click();
        QCOMPARE(f.rowCaptions(), (QStringList {"Mine", "Other", "Left over"}));
        QCOMPARE(f.savedList()->topLevelItem(2)->text(1), QStringLiteral("Mail - Inbox"));
        QVERIFY(!f.savedList()->topLevelItem(2)->isSelected());
        f.end();
        // The section left behind was loaded first and then overwritten: the placement from the controls (which
        // showed "Mine"), the title and regex from the dialog.
        SettingsFile file(f.settingsPath);
        QCOMPARE(file.readString("Left over", "Title", {}), QStringLiteral("Mail - Inbox"));
        QCOMPARE(file.readBool("Left over", "Regex", false), true);
        QCOMPARE(file.readInteger("Left over", "HorzValue", -1), 12);
        QCOMPARE(file.readInteger("Left over", "WidthValue", -1), 640);
        QCOMPARE(file.readInteger("Left over", "HeightValue", -1), 0);
    }

    void regexWithoutTitleGivesEmptyTitleAndRegex()
    {
        MainWndFixture f;
        start(f);
        whenDialogOpens([](TAddDlg &dialog) {
            type(dialog, QStringLiteral("New"));
            in<QCheckBox>(dialog, "TitleChk")->setChecked(true);
            in<QComboBox>(dialog, "TitleCbo")->setEditText(QStringLiteral("typed"));
            in<QCheckBox>(dialog, "RegexChk")->setChecked(true);
            in<QCheckBox>(dialog, "TitleChk")->setChecked(false);
            confirm(dialog);
        });
        f.control<QPushButton>("AddBtn")->click();
        f.end();
        SettingsFile file(f.settingsPath);
        QCOMPARE(file.readString("New", "Title", "missing"), QString());
        QCOMPARE(file.readBool("New", "Regex", false), true);
    }

    void refusedDescriptions_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("error");
        const QString duplicate
            = "There already is an entry by that description. Please choose a different description.";
        QTest::newRow("copy unchanged") << QByteArray("CopyBtn") << "Mine" << duplicate;
        QTest::newRow("add: other letter case") << QByteArray("AddBtn") << "MINE" << duplicate;
        QTest::newRow("edit: another row's description in other case") << QByteArray("EditBtn") << "other" << duplicate;
        QTest::newRow("closing bracket") << QByteArray("AddBtn") << "a]b"
                                         << "A description cannot contain \"]\" or a line break. Please choose a "
                                            "different description.";
        QTest::newRow("line break") << QByteArray("EditBtn") << "two\nlines"
                                    << "A description cannot contain \"]\" or a line break. Please choose a "
                                       "different description.";
        QTest::newRow("the program's own section") << QByteArray("AddBtn") << "general"
                                                   << "The description \"general\" is used by the program's own "
                                                      "settings. Please choose a different description.";
        QTest::newRow("blank at the end") << QByteArray("AddBtn") << "Mine2 "
                                          << "A description cannot begin or end with a blank. Please remove the "
                                             "blanks.";
        QTest::newRow("longer than the settings file reads back")
            << QByteArray("AddBtn") << QString(2048, u'd')
            << "A description can have at most 2047 characters. Please choose a shorter description.";
        QTest::newRow("in quotation marks") << QByteArray("EditBtn") << "'quoted'"
                                            << "A description cannot be enclosed in quotation marks. Please remove "
                                               "them.";
        QTest::newRow("blanks only") << QByteArray("CopyBtn") << "   "
                                     << "The description is blank. Please enter a description.";
    }

    void refusedDescriptions()
    {
        QFETCH(QByteArray, command);
        QFETCH(QString, description);
        QFETCH(QString, error);
        MainWndFixture f;
        start(f);
        bool stayedOpen = false;
        whenDialogOpens([&](TAddDlg &dialog) {
            type(dialog, description);
            confirm(dialog);
            stayedOpen = dialog.isVisible();
            QCOMPARE(in<QLineEdit>(dialog, "DescriptionEdt")->text(), description);
        });
        f.control<QPushButton>(command.constData())->click();
        QVERIFY(stayedOpen);
        QCOMPARE(f.messageBoxes.errors, QStringList {error});
        QCOMPARE(f.rowCaptions(), (QStringList {"Mine", "Other"}));
    }

    void editKeepsItsOwnDescriptionAndStoresTheControls()
    {
        MainWndFixture f;
        start(f);
        f.control<QLineEdit>("WidthEdt")->setText(QStringLiteral("800"));
        whenDialogOpens([](TAddDlg &dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit"));
            QCOMPARE(in<QLineEdit>(dialog, "DescriptionEdt")->text(), QStringLiteral("Mine"));
            QVERIFY(in<QCheckBox>(dialog, "TitleChk")->isChecked());
            QCOMPARE(in<QComboBox>(dialog, "TitleCbo")->currentText(), QStringLiteral("Editor"));
            QVERIFY(in<QCheckBox>(dialog, "RegexChk")->isChecked());
            type(dialog, QStringLiteral("MINE")); // its own description in other case is fine
            confirm(dialog);
            QVERIFY(!dialog.isVisible());
        });
        f.control<QPushButton>("EditBtn")->click();
        QVERIFY(f.messageBoxes.errors.isEmpty());
        QCOMPARE(f.rowCaptions(), (QStringList {"MINE", "Other"}));
        f.end();
        SettingsFile file(f.settingsPath);
        QCOMPARE(file.readInteger("Mine", "WidthValue", -1), 800);
        QCOMPARE(file.readString("General", "Preset1", {}), QStringLiteral("MINE"));
    }

    void copyWithANewDescriptionAddsARow()
    {
        MainWndFixture f;
        start(f);
        whenDialogOpens([](TAddDlg &dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Copy"));
            QCOMPARE(in<QComboBox>(dialog, "TitleCbo")->currentText(), QStringLiteral("Editor"));
            type(dialog, QStringLiteral("Mine too"));
            confirm(dialog);
        });
        f.control<QPushButton>("CopyBtn")->click();
        QCOMPARE(f.rowCaptions(), (QStringList {"Mine", "Other", "Mine too"}));
        QCOMPARE(f.savedList()->topLevelItem(2)->text(1), QStringLiteral("Editor"));
    }

    void noTwoRowsEverShareASection()
    {
        MainWndFixture f;
        start(f);
        for (const QString &attempt :
            {QStringLiteral("mine"), QStringLiteral("Other"), QStringLiteral("Third"), QStringLiteral("THIRD")}) {
            whenDialogOpens([attempt](TAddDlg &dialog) {
                type(dialog, attempt);
                confirm(dialog);
            });
            f.control<QPushButton>("AddBtn")->click();
        }
        QCOMPARE(f.rowCaptions(), (QStringList {"Mine", "Other", "Third"}));
        f.end();
        const QByteArray text = f.settingsText();
        QCOMPARE(text.count("\n[Third]"), 1);
        QCOMPARE(text.count("[Mine]"), 1);
    }
};

QTEST_MAIN(EntryDialogTest)
#include "entrydialog_test.moc"
