// SavedEntries: the saved entries in their list order with their selection, and the Auto entry that keeps the
// placement controls' state from one run to the next. Loaded from the settings file at start-up and written back
// at exit; the saved list's commands change them here. Needs no widgets: the main window shows them, the command
// line reads them.
#pragma once

#include "cparameters.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class SettingsFile;

class SavedEntries
{
public:
    SavedEntries();

    // The start-up: with no file at the settings path the presets come first; then the Auto entry, the entries
    // the file lists (PresetCount, Preset1, ...; empty descriptions skipped), each selected as it was saved, and
    // the Focus row selected as well (a negative Focus unselects the first selected entry).
    void load(const SettingsFile &settings);
    // The shut-down's part: Focus (the first selected row, or -1), every entry's section in list order with its
    // Preset key, PresetCount, and the Auto entry's section. Changes the in-memory copy only. First the entries that
    // another writer (an editor, another program) has listed in the file since it was loaded or last saved here are
    // appended to this list, in their order and as that writer saved them, so the save keeps them listed; entries
    // removed here stay removed.
    void save(SettingsFile &settings);
    // Those of `sections` (as SettingsFile::save() names them) that are this list's entries.
    QStringList entriesAmong(const QStringList &sections) const;

    int count() const { return int(m_entries.size()); }
    const cParameters &at(int row) const { return m_entries[size_t(row)]; }
    cParameters &at(int row) { return m_entries[size_t(row)]; }
    cParameters &autoEntry() { return m_auto; }
    const cParameters &autoEntry() const { return m_auto; }

    bool isSelected(int row) const { return at(row).Selected; }
    void setSelected(int row, bool selected) { at(row).Selected = selected; }
    int selectedCount() const;
    // The selected row with the lowest index, or -1.
    int firstSelected() const;

    // The row of the entry with this description: an exact match first, else one that differs only in letter case
    // (the settings file's sections are case-blind); -1 when there is none.
    int find(const QString &description) const;

    // Appends an entry at the end of the list.
    void append(cParameters entry);
    // Drops the selected entries without writing them: their sections stay as they were. Returns how many.
    int removeSelected();
    // Each selected entry whose upper (lower) neighbour is not selected changes places with it, from the top down
    // (from the bottom up), so a block moves as a whole and a block at the edge stays. Returns the new row of the
    // first entry that moved (the upper of the first pair for up, the lower for down), or -1 when none moved.
    int moveSelectedUp();
    int moveSelectedDown();
    // Sorts by description, or by title where there is one (the others by their description among the titles),
    // comparing by the user's locale without regard to case; descending reverses the ascending order.
    void sort(bool byDescription, bool ascending);
    // Replaces every entry whose description equals a preset's (ignoring case) by that preset, appended at the
    // end unselected, in the presets' order. A replaced entry is written first, as discarding it does.
    void restorePresets(SettingsFile *settings);
    // Removes every entry whose description equals `description` ignoring case, writing each one.
    void removeByDescription(const QString &description, SettingsFile *settings);

    // Why `description` cannot be given to an entry (the text of the entry dialog's error box); empty when it
    // can. `editedRow` is the entry being renamed, which may keep its own description; -1 for a new entry.
    std::optional<QString> descriptionProblem(const QString &description, int editedRow = -1) const;

private:
    void adoptEntriesListedMeanwhile(const QString &path);

    std::vector<cParameters> m_entries;
    QSet<QString> m_listed; // the descriptions the file listed at the last load or save, folded as it folds names
    cParameters m_auto;
};
