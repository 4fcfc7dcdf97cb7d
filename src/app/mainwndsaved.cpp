// The saved list's commands: sorting by a column, removing, moving rows up and down, and applying the selected
// entries to the windows whose titles match.
#include "mainwnd.h"

#include "collation.h"
#include "messageboxes.h"
#include "placement/titlematch.h"
#include "placement/windowlist.h"
#include "savedrow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTreeWidget>

#include <algorithm>

namespace {

SavedRow *rowAt(QTreeWidget *list, int index)
{
    return static_cast<SavedRow *>(list->topLevelItem(index));
}

} // namespace

void TMainWnd::SavedLvwColumnClick(int column)
{
    SortByDescription = column == 0;
    SortAscending = !SortAscending;

    struct Keyed
    {
        QString key;
        SavedRow *row;
    };
    std::vector<Keyed> keyed;
    for (int i = 0; i < SavedLvw->topLevelItemCount(); ++i) {
        SavedRow *row = rowAt(SavedLvw, i);
        row->entry().Selected = row->isSelected();
        const bool byTitle = !SortByDescription && !row->entry().Title.isEmpty();
        keyed.push_back({byTitle ? row->entry().Title : row->text(0), row});
    }
    {
        const QSignalBlocker blocker(SavedLvw);
        while (SavedLvw->topLevelItemCount() > 0) {
            SavedLvw->takeTopLevelItem(0); // the rows, and with them their entries, stay alive in `keyed`
        }
        std::stable_sort(keyed.begin(), keyed.end(),
            [](const Keyed &a, const Keyed &b) { return compareIgnoringCase(a.key, b.key) < 0; });
        if (!SortAscending) {
            std::reverse(keyed.begin(), keyed.end());
        }
        for (const Keyed &k : keyed) {
            SavedLvw->addTopLevelItem(k.row);
            k.row->refresh();
            k.row->setSelected(k.row->entry().Selected);
        }
    }
    SavedLvwSelectItem();
}

void TMainWnd::RemoveBtnClick()
{
    const qsizetype n = SavedLvw->selectedItems().size();
    const QString question = n > 1 ? QStringLiteral("Do you want to remove the %1 selected entries?").arg(n)
                                   : QStringLiteral("Do you want to remove the selected entry?");
    if (!m_services.messageBoxes->question(this, question)) {
        return;
    }
    {
        const QSignalBlocker blocker(SavedLvw);
        for (int i = SavedLvw->topLevelItemCount() - 1; i >= 0; --i) {
            if (SavedLvw->topLevelItem(i)->isSelected()) {
                delete SavedLvw->takeTopLevelItem(i); // dropped without writing: its section stays as it was
            }
        }
    }
    SavedLvwSelectItem();
}

// Moves `row` to `index` and keeps it selected; the row it passes keeps its own (unselected) state.
void TMainWnd::moveSavedRow(int from, int to)
{
    QTreeWidgetItem *moving = SavedLvw->takeTopLevelItem(from);
    SavedLvw->insertTopLevelItem(to, moving);
    moving->setSelected(true);
}

void TMainWnd::UpBtnClick()
{
    const int count = SavedLvw->topLevelItemCount();
    int firstMoved = -1;
    {
        const QSignalBlocker blocker(SavedLvw);
        for (int i = 1; i < count; ++i) {
            if (SavedLvw->topLevelItem(i)->isSelected() && !SavedLvw->topLevelItem(i - 1)->isSelected()) {
                moveSavedRow(i, i - 1);
                if (firstMoved < 0) {
                    firstMoved = i - 1;
                }
            }
        }
    }
    if (firstMoved >= 0) {
        SavedLvw->scrollToItem(SavedLvw->topLevelItem(firstMoved));
    }
    SavedLvwSelectItem();
}

void TMainWnd::DownBtnClick()
{
    const int count = SavedLvw->topLevelItemCount();
    int firstMoved = -1;
    {
        const QSignalBlocker blocker(SavedLvw);
        for (int i = count - 2; i >= 0; --i) {
            if (SavedLvw->topLevelItem(i)->isSelected() && !SavedLvw->topLevelItem(i + 1)->isSelected()) {
                moveSavedRow(i, i + 1);
                if (firstMoved < 0) {
                    firstMoved = i + 1;
                }
            }
        }
    }
    if (firstMoved >= 0) {
        SavedLvw->scrollToItem(SavedLvw->topLevelItem(firstMoved));
    }
    SavedLvwSelectItem();
}

void TMainWnd::Apply2BtnClick()
{
    const std::vector<platform::TopLevelWindow> WindowList = offeredWindows(*m_services.windowSystem);
    const qsizetype selectedRows = SavedLvw->selectedItems().size();
    for (int i = 0; i < SavedLvw->topLevelItemCount(); ++i) {
        SavedRow *row = rowAt(SavedLvw, i);
        if (!row->isSelected()) {
            continue;
        }
        const cParameters &entry = row->entry();
        LoadControls(entry);
        const PlacementRect rect = ComputePlacement(MonitorCbo->currentIndex());
        if (!entry.Title.isEmpty()) {
            for (const auto &window : WindowList) {
                if (titleMatches(entry.Title, entry.Regex, window.title)) {
                    ApplyPlacement(window.id, rect, entry.Maximized);
                }
            }
        } else if (selectedRows == 1) {
            applyToSelectedTitles(rect, entry.Maximized);
        }
    }
}
