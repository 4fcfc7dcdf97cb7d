// The Add, Edit and Copy commands: the entry dialog names an entry and its window title; the placement values
// always come from the placement controls at the moment the dialog is confirmed.
#include "mainwnd.h"

#include "adddlg.h"

#include "placement/windowlist.h"

#include <QPushButton>

namespace {

// The command button's caption without its "...".
QString dialogCaption(const QPushButton *button)
{
    return button->text().chopped(3);
}

} // namespace

std::unique_ptr<TAddDlg> TMainWnd::createEntryDialog(EntryDialogMode mode, int editedRow)
{
    QStringList titles;
    for (const auto &window : offeredWindows(*m_services.windowSystem)) {
        titles << window.title;
    }
    const QPushButton *button = mode == EntryDialogMode::Add ? AddBtn
        : mode == EntryDialogMode::Edit                      ? EditBtn
                                                             : CopyBtn;
    return std::make_unique<TAddDlg>(this, titles, dialogCaption(button), m_services.messageBoxes,
        [this, editedRow](const QString &description) { return m_entries.descriptionProblem(description, editedRow); });
}

void TMainWnd::addEntryFromDialog(const TAddDlg &dialog)
{
    cParameters entry(dialog.description(), m_settingsFile.get());
    StoreControls(entry);
    entry.Title = dialog.title();
    entry.Regex = dialog.regex();
    entry.Selected = false;
    m_entries.append(std::move(entry));
    showEntries();
}

void TMainWnd::AddBtnClick()
{
    const auto dialog = createEntryDialog(EntryDialogMode::Add, -1);
    if (dialog->exec() == QDialog::Accepted) {
        addEntryFromDialog(*dialog);
    }
}

void TMainWnd::EditBtnClick()
{
    const int row = m_entries.firstSelected();
    if (row < 0) {
        return;
    }
    const auto dialog = createEntryDialog(EntryDialogMode::Edit, row);
    dialog->fillFrom(m_entries.at(row));
    if (dialog->exec() == QDialog::Accepted) {
        cParameters &entry = m_entries.at(row);
        StoreControls(entry);
        entry.Description = dialog->description();
        entry.Title = dialog->title();
        entry.Regex = dialog->regex();
        showEntries();
    }
}

void TMainWnd::CopyBtnClick()
{
    const int source = m_entries.firstSelected();
    if (source < 0) {
        return;
    }
    const auto dialog = createEntryDialog(EntryDialogMode::Copy, -1);
    dialog->fillFrom(m_entries.at(source));
    if (dialog->exec() == QDialog::Accepted) {
        addEntryFromDialog(*dialog);
    }
}
