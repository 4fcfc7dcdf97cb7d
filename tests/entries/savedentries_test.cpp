// The saved entries without any widget: loading and saving through the settings file (first start, the Focus rule,
// round trips, a load that writes nothing), the list's order and selection (up, down, remove, sort), the presets
// restore, lookups by description, and the description rules with the edited entry excluded.
#include "entries/savedentries.h"

#include "entries/presets.h"
#include "entryvalues.h"
#include "filebytes.h"
#include "settings/settingsfile.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList descriptions(const SavedEntries &entries)
{
    QStringList list;
    for (int i = 0; i < entries.count(); ++i) {
        list << entries.at(i).Description;
    }
    return list;
}

QList<int> selectedRows(const SavedEntries &entries)
{
    QList<int> rows;
    for (int i = 0; i < entries.count(); ++i) {
        if (entries.isSelected(i)) {
            rows << i;
        }
    }
    return rows;
}

// Entries with these descriptions and titles (title i for description i, empty when there are fewer titles),
// `selected` selected.
SavedEntries listOf(const QStringList &names, const QList<int> &selected, const QStringList &titles = {})
{
    SavedEntries entries;
    for (int i = 0; i < names.size(); ++i) {
        entries.append(
            entryWith(names[i], titles.value(i), false, 0, 0, 0, i, 0, 0, 0, true, false, false, false, false));
        entries.setSelected(i, selected.contains(i));
    }
    return entries;
}

} // namespace

class SavedEntriesTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

private slots:
    void firstStartGivesThePresetsUnselected()
    {
        const SettingsFile missing(path("missing.ini"));
        SavedEntries entries;
        entries.load(missing);
        QStringList presets;
        for (const cParameters &preset : builtInPresets()) {
            presets << preset.Description;
        }
        QCOMPARE(descriptions(entries), presets);
        QVERIFY(selectedRows(entries).isEmpty());
        QCOMPARE(entryFields(entries.autoEntry()), entryFields(cParameters(QStringLiteral("Auto"), nullptr)));
        QVERIFY(!QFile::exists(path("missing.ini")));

        writeAll(path("empty.ini"), "");
        entries.load(SettingsFile(path("empty.ini")));
        QCOMPARE(entries.count(), 0);
    }

    void loadingListsSelectsAndWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("general");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QList<int>>("selected");
        // B is saved selected in every row below.
        QTest::newRow("focus adds its row") << QByteArray("PresetCount=3\nPreset1=A\nPreset2=B\nPreset3=C\nFocus=2\n")
                                            << QStringList {"A", "B", "C"} << QList<int> {1, 2};
        QTest::newRow("negative focus unselects the first selected")
            << QByteArray("PresetCount=3\nPreset1=A\nPreset2=B\nPreset3=C\nFocus=-1\n") << QStringList {"A", "B", "C"}
            << QList<int> {};
        QTest::newRow("focus past the end selects nothing more")
            << QByteArray("PresetCount=2\nPreset1=A\nPreset2=B\nFocus=9\n") << QStringList {"A", "B"} << QList<int> {1};
        QTest::newRow("empty keys are skipped, missing ones too")
            << QByteArray("PresetCount=5\nPreset1=A\nPreset2=\nPreset3=B\nFocus=0\n") << QStringList {"A", "B"}
            << QList<int> {0, 1};
        QTest::newRow("keys past PresetCount are ignored")
            << QByteArray("PresetCount=1\nPreset1=B\nPreset2=A\nFocus=0\n") << QStringList {"B"} << QList<int> {0};
    }

    void loadingListsSelectsAndWritesNothing()
    {
        QFETCH(QByteArray, general);
        QFETCH(QStringList, listed);
        QFETCH(QList<int>, selected);
        const QByteArray text = "[General]\n" + general + "[B]\nTitle=bee\nSelected=1\n[Auto]\nWidthValue=33\n";
        writeAll(path("list.ini"), text);
        SavedEntries entries;
        {
            const SettingsFile settings(path("list.ini"));
            entries.load(settings);
        }
        QCOMPARE(descriptions(entries), listed);
        QCOMPARE(selectedRows(entries), selected);
        QCOMPARE(entries.autoEntry().placement.width.value, 33);
        QCOMPARE(readAll(path("list.ini")), text);
    }

    void saveAndLoadRoundTrip()
    {
        SavedEntries entries = listOf({"One", "Two", "Three"}, {1, 2}, {"t1", "", "^t3$"});
        entries.at(2).Regex = true;
        entries.autoEntry().placement.maximized = true;
        entries.autoEntry().placement.width = {640, Unit::Pixels};
        {
            SettingsFile settings(path("roundtrip.ini"));
            entries.save(settings);
            settings.save();
        }
        const SettingsFile settings(path("roundtrip.ini"));
        QCOMPARE(settings.readInteger("General", "Focus", -7), 1);
        QCOMPARE(settings.readInteger("General", "PresetCount", -7), 3);
        SavedEntries loaded;
        loaded.load(settings);
        QCOMPARE(descriptions(loaded), descriptions(entries));
        for (int i = 0; i < entries.count(); ++i) {
            QCOMPARE(entryFields(loaded.at(i)), entryFields(entries.at(i)));
        }
        QCOMPARE(entryFields(loaded.autoEntry()), entryFields(entries.autoEntry()));
    }

    // An editor (or another program) changed the file while the list was open: its new entries stay listed after
    // ours, in its order; an entry both changed is ours and named once; an entry removed here stays removed.
    void anotherWritersEntriesKept_data()
    {
        QTest::addColumn<bool>("fileAtStart");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("overridden");
        QStringList presets;
        for (const cParameters &preset : builtInPresets()) {
            presets << preset.Description;
        }
        QTest::newRow("while running") << true << QStringList {"Red", "Green", "Ours", "mauve", "Blue"}
                                       << QStringList {"Red"};
        QTest::newRow("first start: the presets and the editor's entries")
            << false << presets + QStringList {"Red", "Gone", "Green", "mauve", "Blue"} << QStringList {};
    }

    void anotherWritersEntriesKept()
    {
        QFETCH(bool, fileAtStart);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, overridden);
        const QString file = path(fileAtStart ? "editor-running.ini" : "editor-first.ini");
        if (fileAtStart) {
            writeAll(file,
                "[General]\nPresetCount=3\nPreset1=Red\nPreset2=Gone\nPreset3=Green\n"
                "[Red]\nTitle=red\n[Gone]\nTitle=gone\n[Green]\nTitle=green\n");
        }
        SettingsFile settings(file);
        SavedEntries entries;
        entries.load(settings);
        if (fileAtStart) {
            entries.setSelected(1, true);
            QCOMPARE(entries.removeSelected(), 1);
            entries.append(entryWith("Ours", "ours", false, 0, 0, 0, 0, 0, 0, 0, false, false, false, false, false));
            entries.at(0).Title = QStringLiteral("red, ours");
        }
        // The editor lists two new entries (one section's name spelled otherwise) and changes Red.
        writeAll(file,
            "[General]\nPresetCount=5\nPreset1=Red\nPreset2=Gone\nPreset3=Green\nPreset4=mauve\nPreset5=Blue\n"
            "[Red]\nTitle=red, theirs\n[Gone]\nTitle=gone\n[Green]\nTitle=green\n[Blue]\nTitle=blue\nWidthValue=25\n"
            "[Mauve]\nTitle=mauve\n");

        entries.save(settings);
        QCOMPARE(entries.entriesAmong(settings.save().overridden), overridden);

        SavedEntries loaded;
        loaded.load(SettingsFile(file));
        QCOMPARE(descriptions(loaded), expected);
        QCOMPARE(loaded.at(int(expected.indexOf("Blue"))).Title, "blue");
        QCOMPARE(loaded.at(int(expected.indexOf("Blue"))).placement.width.value, 25);
        QCOMPARE(loaded.at(int(expected.indexOf("Red"))).Title, fileAtStart ? "red, ours" : "red, theirs");
        QCOMPARE(loaded.at(int(expected.indexOf("mauve"))).Title, "mauve");
    }

    // A description longer than a read gives back keeps its section: it is listed whole, reads its own keys, and
    // the exit rewrites neither its Preset key nor its section.
    void longDescriptionKeepsItsSection()
    {
        const QByteArray longName = QByteArray(2047, 'x') + "yz";
        const QByteArray text = "[General]\nPresetCount=2\nPreset1=" + longName + "\nPreset2=" + longName.chopped(1)
            + "\n[" + longName + "]\nTitle=whole\n[" + longName.chopped(1) + "]\nTitle=shorter\n";
        writeAll(path("long.ini"), text);
        SettingsFile settings(path("long.ini"));
        SavedEntries entries;
        entries.load(settings);
        QCOMPARE(descriptions(entries),
            (QStringList {QString::fromLatin1(longName), QString::fromLatin1(longName.chopped(1))}));
        QCOMPARE(entries.at(0).Title, "whole");
        QCOMPARE(entries.at(1).Title, "shorter");

        entries.save(settings);
        settings.save();
        const QByteArray saved = readAll(path("long.ini"));
        QVERIFY(saved.contains("Preset1=" + longName + "\nPreset2=" + longName.chopped(1) + "\n"));
        QVERIFY(saved.contains("[" + longName + "]\nTitle=whole\n"));
        QVERIFY(saved.contains("[" + longName.chopped(1) + "]\nTitle=shorter\n"));
        QCOMPARE(saved.count("[x"), 2);

        // Moved to each other's places, the two long descriptions are written whole.
        entries.setSelected(1, true);
        QCOMPARE(entries.moveSelectedUp(), 0);
        entries.save(settings);
        settings.save();
        SavedEntries reloaded;
        reloaded.load(SettingsFile(path("long.ini")));
        QCOMPARE(descriptions(reloaded),
            (QStringList {QString::fromLatin1(longName.chopped(1)), QString::fromLatin1(longName)}));
        QCOMPARE(reloaded.at(0).Title, "shorter");
    }

    // The same description in Latin-1 and in UTF-8 names two sections: both entries are listed with their own keys,
    // and the exit writes each back to its own section, byte for byte.
    void latin1AndUtf8SpellingsStayApart()
    {
        const QByteArray text = "[General]\nPresetCount=2\nPreset1=Caf\xE9\nPreset2=Caf\xC3\xA9\n"
                                "[Caf\xE9]\nTitle=latin\n[Caf\xC3\xA9]\nTitle=utf8\n";
        writeAll(path("cafe.ini"), text);
        SettingsFile settings(path("cafe.ini"));
        SavedEntries entries;
        entries.load(settings);
        QCOMPARE(entries.count(), 2);
        QCOMPARE(entries.at(0).Title, "latin");
        QCOMPARE(entries.at(1).Title, "utf8");
        QCOMPARE(entries.at(1).Description, QStringLiteral("Caf\u00E9"));

        entries.at(0).placement.width.value = 40;
        entries.at(1).placement.width.value = 60;
        entries.save(settings);
        settings.save();
        const QByteArray saved = readAll(path("cafe.ini"));
        QVERIFY(saved.contains("Preset1=Caf\xE9\nPreset2=Caf\xC3\xA9\n"));
        QCOMPARE(saved.count("[Caf"), 2);
        SavedEntries reloaded;
        reloaded.load(SettingsFile(path("cafe.ini")));
        QCOMPARE(reloaded.count(), 2);
        QCOMPARE(reloaded.at(0).Title, "latin");
        QCOMPARE(reloaded.at(0).placement.width.value, 40);
        QCOMPARE(reloaded.at(1).Title, "utf8");
        QCOMPARE(reloaded.at(1).placement.width.value, 60);
    }

    void moving_data()
    {
        QTest::addColumn<bool>("up");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QList<int>>("selectedAfter");
        QTest::addColumn<int>("firstMoved");
        QTest::newRow("up moves a block")
            << true << QList<int> {1, 2} << QStringList {"Green", "Blue", "Red", "Gray"} << QList<int> {0, 1} << 0;
        QTest::newRow("up: a block at the top stays")
            << true << QList<int> {0, 1} << QStringList {"Red", "Green", "Blue", "Gray"} << QList<int> {0, 1} << -1;
        QTest::newRow("up: the row below a gap moves")
            << true << QList<int> {0, 2} << QStringList {"Red", "Blue", "Green", "Gray"} << QList<int> {0, 1} << 1;
        QTest::newRow("down moves a block")
            << false << QList<int> {0, 1} << QStringList {"Blue", "Red", "Green", "Gray"} << QList<int> {1, 2} << 2;
        QTest::newRow("down: a block at the bottom stays")
            << false << QList<int> {2, 3} << QStringList {"Red", "Green", "Blue", "Gray"} << QList<int> {2, 3} << -1;
        QTest::newRow("down: separate rows each move, the lowest first")
            << false << QList<int> {0, 2} << QStringList {"Green", "Red", "Gray", "Blue"} << QList<int> {1, 3} << 3;
    }

    void moving()
    {
        QFETCH(bool, up);
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, order);
        QFETCH(QList<int>, selectedAfter);
        QFETCH(int, firstMoved);
        SavedEntries entries = listOf({"Red", "Green", "Blue", "Gray"}, selected, {"r", "g", "b", "y"});
        QCOMPARE(up ? entries.moveSelectedUp() : entries.moveSelectedDown(), firstMoved);
        QCOMPARE(descriptions(entries), order);
        QCOMPARE(selectedRows(entries), selectedAfter);
        const QHash<QString, QString> titleOf = {{"Red", "r"}, {"Green", "g"}, {"Blue", "b"}, {"Gray", "y"}};
        for (int i = 0; i < entries.count(); ++i) {
            QCOMPARE(entries.at(i).Title, titleOf[order[i]]);
        }
    }

    void removingDropsWithoutWriting()
    {
        SavedEntries entries = listOf({"A", "B", "C", "D"}, {0, 2, 3});
        QCOMPARE(entries.selectedCount(), 3);
        QCOMPARE(entries.firstSelected(), 0);
        QCOMPARE(entries.removeSelected(), 3);
        QCOMPARE(descriptions(entries), QStringList {"B"});
        QCOMPARE(entries.firstSelected(), -1);
    }

    void sorting()
    {
        SavedEntries entries = listOf({"Zed", "alpha", "Mid", "ABC"}, {0}, {"bravo", "", "delta", ""});
        entries.sort(true, true);
        QCOMPARE(descriptions(entries), (QStringList {"ABC", "alpha", "Mid", "Zed"}));
        QCOMPARE(selectedRows(entries), QList<int> {3});
        entries.sort(true, false);
        QCOMPARE(descriptions(entries), (QStringList {"Zed", "Mid", "alpha", "ABC"}));
        // By title: an entry without a title sorts by its description among the titles.
        entries.sort(false, true);
        QCOMPARE(descriptions(entries), (QStringList {"ABC", "alpha", "Zed", "Mid"}));
        QCOMPARE(selectedRows(entries), QList<int> {2});
    }

    void restoringPresetsReplacesByDescription()
    {
        SavedEntries entries = listOf({"left half of screen", "Mine", "Left half of screen"}, {1});
        entries.at(0).Title = QStringLiteral("lower-case copy");
        SettingsFile settings(path("presets.ini"));
        entries.restorePresets(&settings);
        QCOMPARE(entries.count(), 17);
        QCOMPARE(entries.at(0).Description, QStringLiteral("Mine"));
        QCOMPARE(selectedRows(entries), QList<int> {0});
        QCOMPARE(entries.at(10).Description, QStringLiteral("Left half of screen"));
        QVERIFY(entries.at(10).Title.isEmpty());
        // Both replaced rows were written, into the one case-blind section; the later one (visited first) is
        // overwritten by the earlier one.
        QCOMPARE(settings.readString("Left Half Of Screen", "Title", "missing"), QStringLiteral("lower-case copy"));
    }

    void findingByDescription()
    {
        const SavedEntries entries = listOf({"Editor", "EDITOR", "Left half"}, {});
        QCOMPARE(entries.find(QStringLiteral("EDITOR")), 1);
        QCOMPARE(entries.find(QStringLiteral("editor")), 0);
        QCOMPARE(entries.find(QStringLiteral("LEFT HALF")), 2);
        QCOMPARE(entries.find(QStringLiteral("Left")), -1);
    }

    void descriptionRules_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("editedRow");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("new and different") << "Third" << -1 << true;
        QTest::newRow("new, equal to another") << "First" << -1 << false;
        QTest::newRow("new, another in other case") << "SECOND" << -1 << false;
        QTest::newRow("edited keeps its own description") << "First" << 0 << true;
        QTest::newRow("edited keeps its own in other case") << "FIRST" << 0 << true;
        QTest::newRow("edited takes another's") << "Second" << 0 << false;
        QTest::newRow("reserved section") << "auto" << -1 << false;
        QTest::newRow("blank") << "  " << -1 << false;
    }

    void descriptionRules()
    {
        QFETCH(QString, description);
        QFETCH(int, editedRow);
        QFETCH(bool, accepted);
        const SavedEntries entries = listOf({"First", "Second"}, {});
        QCOMPARE(!entries.descriptionProblem(description, editedRow).has_value(), accepted);
    }
};

QTEST_GUILESS_MAIN(SavedEntriesTest)
#include "savedentries_test.moc"
