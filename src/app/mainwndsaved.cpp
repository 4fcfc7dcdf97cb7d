// The saved list's commands: sorting by a column, removing, moving rows up and down, and applying the selected
// entries to the windows whose titles match. The entries change in the model; the list then shows them again.
#include "mainwnd.h"

#include "messageboxes.h"

#include "placement/applyentry.h"
#include "placement/windowlist.h"

#include <QComboBox>
#include <QTreeWidget>

void TMainWnd::SavedLvwColumnClick(int column)
{
    SortByDescription = column == 0;
    SortAscending = !SortAscending;
    m_entries.sort(SortByDescription, SortAscending);
    showEntries();
    SavedLvwSelectItem();
}

void TMainWnd::RemoveBtnClick()
{
    const int n = m_entries.selectedCount();
    const QString question = n > 1 ? QStringLiteral("Do you want to remove the %1 selected entries?").arg(n)
                                   : QStringLiteral("Do you want to remove the selected entry?");
    if (!m_services.messageBoxes->question(this, question)) {
        return;
    }
    m_entries.removeSelected();
    showEntries();
    SavedLvwSelectItem();
}

// Scrolls the row that moved first into view (nothing moved: -1) and runs the selection handler.
void TMainWnd::showMovedRow(int row)
{
    showEntries();
    if (row >= 0) {
        SavedLvw->scrollToItem(SavedLvw->topLevelItem(row));
    }
    SavedLvwSelectItem();
}

void TMainWnd::UpBtnClick()
{
    showMovedRow(m_entries.moveSelectedUp());
}

void TMainWnd::DownBtnClick()
{
    showMovedRow(m_entries.moveSelectedDown());
}

void TMainWnd::Apply2BtnClick()
{
    const std::vector<platform::TopLevelWindow> WindowList = offeredWindows(*m_services.windowSystem);
    const int selectedRows = m_entries.selectedCount();
    for (int i = 0; i < m_entries.count(); ++i) {
        if (!m_entries.isSelected(i)) {
            continue;
        }
        const cParameters &entry = m_entries.at(i);
        // The controls show each entry in turn and keep the last one.
        LoadControls(entry);
        if (!entry.Title.isEmpty()) {
            applyEntry(entry, *m_services.windowSystem, WindowList);
        } else if (selectedRows == 1) {
            applyToSelectedTitles(ComputePlacement(MonitorCbo->currentIndex()), entry.placement.maximized);
        }
    }
}
