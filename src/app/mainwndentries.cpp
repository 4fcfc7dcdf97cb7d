// The Add, Edit and Copy commands: the entry dialog names an entry and its window title; the placement values
// always come from the placement controls at the moment the dialog is confirmed.
#include "mainwnd.h"

#include "adddlg.h"
#include "placementpanel.h"
#include "savedpanel.h"

std::unique_ptr<TAddDlg> TMainWnd::createEntryDialog(EntryDialogMode mode, int editedRow)
{
    QStringList titles;
    for (const auto &window : m_controller.offeredWindows()) {
        titles << window.title;
    }
    return std::make_unique<TAddDlg>(this, titles, m_saved->dialogCaption(mode), m_services.messageBoxes,
        [this, editedRow](
            const QString &description) { return m_controller.entries().descriptionProblem(description, editedRow); });
}

void TMainWnd::AddBtnClick()
{
    const auto dialog = createEntryDialog(EntryDialogMode::Add, -1);
    if (dialog->exec() == QDialog::Accepted) {
        m_controller.addEntry(dialog->description(), dialog->title(), dialog->regex(), m_placement->placement());
        m_saved->show(m_controller.entries());
    }
}

void TMainWnd::EditBtnClick()
{
    const int row = m_controller.entries().firstSelected();
    if (row < 0) {
        return;
    }
    const auto dialog = createEntryDialog(EntryDialogMode::Edit, row);
    dialog->fillFrom(m_controller.entries().at(row));
    if (dialog->exec() == QDialog::Accepted) {
        m_controller.changeEntry(
            row, dialog->description(), dialog->title(), dialog->regex(), m_placement->placement());
        m_saved->show(m_controller.entries());
    }
}

void TMainWnd::CopyBtnClick()
{
    const int source = m_controller.entries().firstSelected();
    if (source < 0) {
        return;
    }
    const auto dialog = createEntryDialog(EntryDialogMode::Copy, -1);
    dialog->fillFrom(m_controller.entries().at(source));
    if (dialog->exec() == QDialog::Accepted) {
        m_controller.addEntry(dialog->description(), dialog->title(), dialog->regex(), m_placement->placement());
        m_saved->show(m_controller.entries());
    }
}
