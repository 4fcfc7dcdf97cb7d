// The saved list's commands over a fake window system: the selection handler, Remove with its questions, Up and
// Down with blocks at the edges, sorting by either column, and applying the selected entries.
#include "mainwndfixture.h"
#include "terminaltext.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTest>

using platform::ShowState;
using platform::WindowPlacement;

namespace {

// A settings file listing `rows` (description, title, regex, selected) with distinct widths in pixels.
QByteArray settingsWithRows(const QList<std::tuple<QString, QString, bool, bool>> &rows)
{
    QByteArray text = "[General]\nPresetCount=" + QByteArray::number(rows.size()) + "\nFocus=0\n";
    for (int i = 0; i < rows.size(); ++i) {
        text += "Preset" + QByteArray::number(i + 1) + "=" + std::get<0>(rows[i]).toUtf8() + "\n";
    }
    for (int i = 0; i < rows.size(); ++i) {
        const auto &[description, title, regex, selected] = rows[i];
        text += "[" + description.toUtf8() + "]\nTitle=" + title.toUtf8() + "\nRegex=" + (regex ? "1" : "0")
            + "\nWidthValue=" + QByteArray::number(100 + i)
            + "\nWidthPx=1\nHeightValue=50\nHeightPx=1\nSelected=" + (selected ? "1" : "0") + "\n";
    }
    return text;
}

} // namespace

class SavedListTest : public QObject
{
    Q_OBJECT

private:
    void start(MainWndFixture &f, const QList<std::tuple<QString, QString, bool, bool>> &rows)
    {
        f.writeSettings(settingsWithRows(rows));
        f.start();
    }

    QStringList titleColumn(MainWndFixture &f)
    {
        QStringList titles;
        for (int i = 0; i < f.savedList()->topLevelItemCount(); ++i) {
            titles << f.savedList()->topLevelItem(i)->text(1);
        }
        return titles;
    }

    void select(MainWndFixture &f, const QList<int> &rows)
    {
        f.savedList()->clearSelection();
        for (int row : rows) {
            f.savedList()->topLevelItem(row)->setSelected(true);
        }
    }

    void clickHeader(MainWndFixture &f, int column) { emit f.savedList()->header()->sectionClicked(column); }

private slots:
    void selectionEnablesTheButtonsAndShowsTheFirstSelectedEntry()
    {
        MainWndFixture f;
        start(f, {{"A", "", false, false}, {"B", "", false, false}, {"C", "", false, false}, {"D", "", false, false}});
        select(f, {3, 1, 2});
        for (const char *name : {"RemoveBtn", "UpBtn", "DownBtn", "Apply2Btn", "AddBtn", "PresetsBtn"}) {
            QVERIFY2(f.control<QPushButton>(name)->isEnabled(), name);
        }
        QVERIFY(!f.control<QPushButton>("EditBtn")->isEnabled());
        QVERIFY(!f.control<QPushButton>("CopyBtn")->isEnabled());
        QCOMPARE(f.control<QLineEdit>("WidthEdt")->text(), QStringLiteral("101"));
        select(f, {2});
        QVERIFY(f.control<QPushButton>("EditBtn")->isEnabled());
        QVERIFY(f.control<QPushButton>("CopyBtn")->isEnabled());
    }

    void remove_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("one") << QList<int> {1} << true << "Do you want to remove the selected entry?"
                             << QStringList {"A", "C", "D"};
        QTest::newRow("three") << QList<int> {0, 2, 3} << true << "Do you want to remove the 3 selected entries?"
                               << QStringList {"B"};
        QTest::newRow("declined") << QList<int> {0, 1} << false << "Do you want to remove the 2 selected entries?"
                                  << QStringList {"A", "B", "C", "D"};
    }

    void remove()
    {
        QFETCH(QList<int>, selected);
        QFETCH(bool, answer);
        QFETCH(QString, question);
        QFETCH(QStringList, left);
        MainWndFixture f;
        start(f, {{"A", "", false, false}, {"B", "", false, false}, {"C", "", false, false}, {"D", "", false, false}});
        select(f, selected);
        f.messageBoxes.answer = answer;
        f.control<QPushButton>("RemoveBtn")->click();
        QCOMPARE(f.messageBoxes.questions, QStringList {question});
        QCOMPARE(f.rowCaptions(), left);
        f.end();
        // Removed entries are dropped without writing; their sections stay as they were.
        SettingsFile file(f.settingsPath);
        QCOMPARE(file.readInteger("A", "WidthValue", -1), 100);
        QCOMPARE(file.readInteger("General", "PresetCount", -1), left.size());
    }

    void upAndDown_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QList<int>>("selectedAfter");
        QTest::newRow("up moves a block") << QByteArray("UpBtn") << QList<int> {1, 2}
                                          << QStringList {"Green", "Blue", "Red", "Gray"} << QList<int> {0, 1};
        QTest::newRow("up: a block at the top stays")
            << QByteArray("UpBtn") << QList<int> {0, 1} << QStringList {"Red", "Green", "Blue", "Gray"}
            << QList<int> {0, 1};
        QTest::newRow("up: top stays, the row below the gap moves")
            << QByteArray("UpBtn") << QList<int> {0, 2} << QStringList {"Red", "Blue", "Green", "Gray"}
            << QList<int> {0, 1};
        QTest::newRow("down moves a block") << QByteArray("DownBtn") << QList<int> {0, 1}
                                            << QStringList {"Blue", "Red", "Green", "Gray"} << QList<int> {1, 2};
        QTest::newRow("down: a block at the bottom stays")
            << QByteArray("DownBtn") << QList<int> {2, 3} << QStringList {"Red", "Green", "Blue", "Gray"}
            << QList<int> {2, 3};
        QTest::newRow("down: separate rows each move")
            << QByteArray("DownBtn") << QList<int> {0, 2} << QStringList {"Green", "Red", "Gray", "Blue"}
            << QList<int> {1, 3};
    }

    void upAndDown()
    {
        QFETCH(QByteArray, button);
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, order);
        QFETCH(QList<int>, selectedAfter);
        MainWndFixture f;
        start(f,
            {{"Red", "r", false, false}, {"Green", "g", false, false}, {"Blue", "b", false, false},
                {"Gray", "y", false, false}});
        select(f, selected);
        f.control<QPushButton>(button.constData())->click();
        QCOMPARE(f.rowCaptions(), order);
        QCOMPARE(f.selectedRows(), selectedAfter);
        // Each row still shows its own entry's title.
        const QHash<QString, QString> titleOf = {{"Red", "r"}, {"Green", "g"}, {"Blue", "b"}, {"Gray", "y"}};
        QStringList titles;
        for (const QString &caption : order) {
            titles << titleOf[caption];
        }
        QCOMPARE(titleColumn(f), titles);
        f.end();
        SettingsFile file(f.settingsPath);
        for (int i = 0; i < order.size(); ++i) {
            QCOMPARE(file.readString("General", QStringLiteral("Preset%1").arg(i + 1), {}), order[i]);
        }
    }

    void upScrollsTheMovedRowIntoView()
    {
        MainWndFixture f;
        QList<std::tuple<QString, QString, bool, bool>> rows;
        for (int i = 0; i < 40; ++i) {
            rows.append({QStringLiteral("Row %1").arg(i, 2, 10, QLatin1Char('0')), QString(), false, false});
        }
        start(f, rows);
        TMainWnd &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        select(f, {39});
        f.savedList()->scrollToTop();
        f.control<QPushButton>("UpBtn")->click();
        QCOMPARE(f.selectedRows(), QList<int> {38});
        const QRect moved = f.savedList()->visualItemRect(f.savedList()->topLevelItem(38));
        QVERIFY(f.savedList()->viewport()->rect().contains(moved));
    }

    void sorting()
    {
        MainWndFixture f;
        start(f,
            {{"Zed", "bravo", false, true}, {"alpha", "", false, false}, {"Mid", "delta", false, false},
                {"ABC", "", false, false}});
        QCOMPARE(f.selectedRows(), QList<int> {0});
        clickHeader(f, 0);
        QCOMPARE(f.rowCaptions(), (QStringList {"ABC", "alpha", "Mid", "Zed"}));
        QCOMPARE(f.selectedRows(), QList<int> {3});
        QCOMPARE(titleColumn(f), (QStringList {"", "", "delta", "bravo"}));
        clickHeader(f, 0);
        QCOMPARE(f.rowCaptions(), (QStringList {"Zed", "Mid", "alpha", "ABC"}));
        // The direction flips on every click, also when the column changes: this one is ascending again. Entries
        // without a title sort by their description among the titles.
        clickHeader(f, 1);
        QCOMPARE(f.rowCaptions(), (QStringList {"ABC", "alpha", "Zed", "Mid"}));
        QCOMPARE(f.selectedRows(), QList<int> {2});
        QCOMPARE(f.control<QLineEdit>("WidthEdt")->text(), QStringLiteral("100")); // Zed's entry is shown
        QVERIFY(!f.window->SortByDescription);
    }

    void equalKeysIgnoringCase()
    {
        MainWndFixture f;
        start(f, {{"abc", "", false, false}, {"ABD", "", false, false}, {"ABC", "", false, false}});
        clickHeader(f, 0);
        const QStringList captions = f.rowCaptions();
        QCOMPARE(captions.mid(2), QStringList {"ABD"});
        QCOMPARE(QSet<QString>(captions.begin(), captions.begin() + 2), (QSet<QString> {"abc", "ABC"}));
    }

    void applyingSavedEntries()
    {
        MainWndFixture f;
        f.windowSystem.setWindows({{1, "Untitled - Notepad", true, false}, {2, "NOTEPAD++ settings", true, false},
            {3, "Note pad", true, false}, {4, "Document - Untitled", true, false}, {5, "Notepad owned", true, true}});
        start(f,
            {{"Plain", "Notepad", false, false}, {"Regex", "^Untitled", true, false},
                {"Broken", "(Notepad", true, false}, {"NoTitle", "", false, false}});
        select(f, {0});
        f.control<QPushButton>("Apply2Btn")->click();
        QCOMPARE(f.windowSystem.requests.size(), size_t(2));
        QCOMPARE(
            f.windowSystem.requests[0], (FakeWindowSystem::Request {1, {ShowState::Normal, QRect(0, 0, 100, 50)}}));
        QCOMPARE(f.windowSystem.requests[1].window, 2u);

        f.windowSystem.requests.clear();
        select(f, {1, 2, 3});
        f.control<QPushButton>("Apply2Btn")->click();
        // Only the regular expression moves a window: the broken one matches nothing, the entry without title
        // does nothing while other rows are selected too. Nothing is reported.
        QCOMPARE(f.windowSystem.requests.size(), size_t(1));
        QCOMPARE(
            f.windowSystem.requests[0], (FakeWindowSystem::Request {1, {ShowState::Normal, QRect(0, 0, 101, 50)}}));
        QVERIFY(f.messageBoxes.errors.isEmpty());
        // The controls show the last applied entry.
        QCOMPARE(f.control<QLineEdit>("WidthEdt")->text(), QStringLiteral("103"));

        // The only selected entry without title goes to the windows selected in the title list.
        f.windowSystem.requests.clear();
        auto *titles = f.control<QListWidget>("TitleLst");
        titles->item(1)->setSelected(true);
        titles->item(3)->setSelected(true);
        select(f, {3});
        f.control<QPushButton>("Apply2Btn")->click();
        QCOMPARE(f.windowSystem.requests.size(), size_t(2));
        QCOMPARE(f.windowSystem.requests[0].window, 2u);
        QCOMPARE(f.windowSystem.requests[1].window, 4u);

        // A window that opened after the title list was filled is found by title.
        f.windowSystem.requests.clear();
        f.windowSystem.setWindows({{9, "New Notepad", true, false}});
        select(f, {0});
        f.control<QPushButton>("Apply2Btn")->click();
        QCOMPARE(f.windowSystem.requests.size(), size_t(1));
        QCOMPARE(f.windowSystem.requests[0].window, 9u);
    }

    // Descriptions and titles from the file are shown escaped, each entry in one row of the usual height.
    void controlCharactersShowAsOneRowOfText()
    {
        MainWndFixture f;
        start(f, {{"Plain", "plain", false, false}, {"Evil\x1b[31m\x07", "field\tfield\x1b]0;x\x07", false, false}});
        QTreeWidget *list = f.savedList();
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("field\tfield\x1b]0;x\x07"));
        const auto *delegate = qobject_cast<QStyledItemDelegate *>(list->itemDelegate());
        QVERIFY(delegate);
        for (int column : {0, 1}) {
            const QString text = list->topLevelItem(1)->text(column);
            const QString shown = delegate->displayText(text, QLocale());
            QVERIFY2(std::none_of(shown.begin(), shown.end(), [](QChar c) { return actsOnTerminal(c.unicode()); }),
                qPrintable(shown));
            QCOMPARE(readBackEscaped(shown), std::optional<QString>(text));
        }
        QCOMPARE(
            list->visualItemRect(list->topLevelItem(1)).height(), list->visualItemRect(list->topLevelItem(0)).height());
    }

    void doubleClickApplies()
    {
        MainWndFixture f;
        f.windowSystem.setWindows({{1, "Untitled - Notepad", true, false}});
        start(f, {{"Other", "Mail", false, false}, {"Plain", "Notepad", false, false}});
        TMainWnd &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTreeWidget *list = f.savedList();
        const QPoint row = list->visualItemRect(list->topLevelItem(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(f.selectedRows(), QList<int> {1});
        QCOMPARE(f.windowSystem.requests.size(), size_t(1));
        QCOMPARE(f.windowSystem.requests[0].window, 1u);
    }
};

QTEST_MAIN(SavedListTest)
#include "savedlist_test.moc"
