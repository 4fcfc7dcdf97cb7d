// The Add, Edit and Copy commands: the entry dialog names an entry and its window title; the placement values
// always come from the placement controls at the moment the dialog is confirmed.
#include "mainwnd.h"

#include "adddlg.h"
#include "descriptionrules.h"
#include "placement/windowlist.h"
#include "savedrow.h"

#include <QPushButton>
#include <QTreeWidget>

namespace {

// The command button's caption without its "...".
QString dialogCaption(const QPushButton *button)
{
    return button->text().chopped(3);
}

} // namespace

std::unique_ptr<TAddDlg> TMainWnd::createEntryDialog(EntryDialogMode mode, const SavedRow *edited)
{
    QStringList titles;
    for (const auto &window : offeredWindows(*m_services.windowSystem)) {
        titles << window.title;
    }
    QStringList others;
    for (int i = 0; i < SavedLvw->topLevelItemCount(); ++i) {
        if (SavedLvw->topLevelItem(i) != edited) {
            others << SavedLvw->topLevelItem(i)->text(0);
        }
    }
    const QPushButton *button = mode == EntryDialogMode::Add ? AddBtn
        : mode == EntryDialogMode::Edit                      ? EditBtn
                                                             : CopyBtn;
    auto dialog = std::make_unique<TAddDlg>(this, titles, dialogCaption(button), m_services.messageBoxes,
        [others](const QString &description) { return descriptionProblem(description, others); });
    return dialog;
}

SavedRow *TMainWnd::firstSelectedRow() const
{
    for (int i = 0; i < SavedLvw->topLevelItemCount(); ++i) {
        if (SavedLvw->topLevelItem(i)->isSelected()) {
            return static_cast<SavedRow *>(SavedLvw->topLevelItem(i));
        }
    }
    return nullptr;
}

void TMainWnd::addEntryFromDialog(const TAddDlg &dialog)
{
    auto entry = std::make_unique<cParameters>(dialog.description(), m_settingsFile.get());
    StoreControls(*entry);
    entry->Title = dialog.title();
    entry->Regex = dialog.regex();
    entry->Selected = false;
    appendRow(std::move(entry));
}

void TMainWnd::AddBtnClick()
{
    const auto dialog = createEntryDialog(EntryDialogMode::Add, nullptr);
    if (dialog->exec() == QDialog::Accepted) {
        addEntryFromDialog(*dialog);
    }
}

void TMainWnd::EditBtnClick()
{
    SavedRow *row = firstSelectedRow();
    if (row == nullptr) {
        return;
    }
    const auto dialog = createEntryDialog(EntryDialogMode::Edit, row);
    dialog->fillFrom(row->entry());
    if (dialog->exec() == QDialog::Accepted) {
        cParameters &entry = row->entry();
        StoreControls(entry);
        entry.Description = dialog->description();
        entry.Title = dialog->title();
        entry.Regex = dialog->regex();
        row->refresh();
    }
}

void TMainWnd::CopyBtnClick()
{
    const SavedRow *source = firstSelectedRow();
    if (source == nullptr) {
        return;
    }
    const auto dialog = createEntryDialog(EntryDialogMode::Copy, nullptr);
    dialog->fillFrom(source->entry());
    if (dialog->exec() == QDialog::Accepted) {
        addEntryFromDialog(*dialog);
    }
}
