// The saved list's commands: selecting, sorting by a column, removing, moving rows up and down, restoring the
// presets, and applying the selected entries to the windows whose titles match. The entries change in the
// controller; the panel then shows them again.
#include "mainwnd.h"

#include "directpanel.h"
#include "messageboxes.h"
#include "savedpanel.h"

#include "settings/settingsfile.h"

void TMainWnd::SavedLvwSelectItem()
{
    SavedEntries &entries = m_controller.entries();
    m_saved->takeSelection(entries);
    if (const int first = entries.firstSelected(); first >= 0) {
        LoadControls(entries.at(first));
    }
    m_saved->enableCommands(entries.selectedCount());
}

void TMainWnd::showEntriesAfter(int selectedBefore)
{
    m_saved->show(m_controller.entries());
    // Replacing or removing a selected entry changes the selection, and that runs the list's handler.
    if (m_controller.entries().selectedCount() != selectedBefore) {
        SavedLvwSelectItem();
    }
}

void TMainWnd::SavedLvwColumnClick(int column)
{
    SortByDescription = column == 0;
    SortAscending = !SortAscending;
    m_controller.entries().sort(SortByDescription, SortAscending);
    m_saved->show(m_controller.entries());
    SavedLvwSelectItem();
}

void TMainWnd::RemoveBtnClick()
{
    const int n = m_controller.entries().selectedCount();
    const QString question = n > 1 ? QStringLiteral("Do you want to remove the %1 selected entries?").arg(n)
                                   : QStringLiteral("Do you want to remove the selected entry?");
    if (!m_services.messageBoxes->question(this, question)) {
        return;
    }
    m_controller.entries().removeSelected();
    m_saved->show(m_controller.entries());
    SavedLvwSelectItem();
}

// Scrolls the row that moved first into view (nothing moved: -1) and runs the selection handler.
void TMainWnd::showMovedRow(int row)
{
    m_saved->show(m_controller.entries());
    if (row >= 0) {
        m_saved->scrollToRow(row);
    }
    SavedLvwSelectItem();
}

void TMainWnd::UpBtnClick()
{
    showMovedRow(m_controller.entries().moveSelectedUp());
}

void TMainWnd::DownBtnClick()
{
    showMovedRow(m_controller.entries().moveSelectedDown());
}

void TMainWnd::PresetsBtnClick()
{
    if (!m_services.messageBoxes->question(this, QStringLiteral("Do you want to restore the presets?"))) {
        return;
    }
    try {
        RestorePresets();
        m_controller.saveSettingsFile();
    } catch (const SettingsWriteError &error) {
        settingsFailure(this, QString::fromUtf8(error.what()));
    }
}

void TMainWnd::RestorePresets()
{
    const int selectedBefore = m_controller.entries().selectedCount();
    m_controller.restorePresets();
    showEntriesAfter(selectedBefore);
}

void TMainWnd::RemoveByDescription(const QString &description)
{
    const int selectedBefore = m_controller.entries().selectedCount();
    m_controller.removeByDescription(description);
    showEntriesAfter(selectedBefore);
}

void TMainWnd::Apply2BtnClick()
{
    // The controls show the last applied entry afterwards, as if each had been shown in turn.
    QString refusal;
    if (const int last = m_controller.applySelectedEntries(m_direct->chosenWindows(), &refusal); last >= 0) {
        LoadControls(m_controller.entries().at(last));
    }
    if (!refusal.isEmpty()) {
        m_services.messageBoxes->failure(this, refusal);
    }
}
