// The saved list's controls and how the entries are shown in them.
#include "savedpanel.h"

#include "adddlg.h"
#include "formcontrols.h"
#include "gridlinedelegate.h"

#include "entries/savedentries.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelection>
#include <QPushButton>
#include <QTreeWidget>

SavedPanel::SavedPanel(QWidget *window)
    : QObject(window)
{
    SavedGrp = group(window, "SavedGrp", 176, 264, 586, 238);
    SavedLvw = inGroup(place(new QTreeWidget(SavedGrp), "SavedLvw", 12, 20, 456, 205));
    SavedLvw->setColumnCount(2);
    SavedLvw->setRootIsDecorated(false);
    SavedLvw->setUniformRowHeights(true);
    SavedLvw->setAllColumnsShowFocus(true);
    SavedLvw->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SavedLvw->setSelectionBehavior(QAbstractItemView::SelectRows);
    SavedLvw->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SavedLvw->setItemDelegate(new GridLineDelegate(SavedLvw));
    SavedLvw->header()->setSectionsClickable(true);
    SavedLvw->header()->setSectionsMovable(false);
    SavedLvw->header()->setStretchLastSection(false);
    SavedLvw->setColumnWidth(0, 272);
    SavedLvw->setColumnWidth(1, 150);
    AddBtn = button(SavedGrp, "AddBtn", 478, 20, 96, 25);
    EditBtn = button(SavedGrp, "EditBtn", 478, 50, 96, 25);
    CopyBtn = button(SavedGrp, "CopyBtn", 478, 80, 96, 25);
    RemoveBtn = button(SavedGrp, "RemoveBtn", 478, 110, 96, 25);
    UpBtn = button(SavedGrp, "UpBtn", 478, 140, 46, 25);
    DownBtn = button(SavedGrp, "DownBtn", 528, 140, 46, 25);
    PresetsBtn = button(SavedGrp, "PresetsBtn", 478, 170, 96, 25);
    Apply2Btn = button(SavedGrp, "Apply2Btn", 478, 200, 96, 25);
    enableCommands(0);

    connect(SavedLvw, &QTreeWidget::itemSelectionChanged, this, &SavedPanel::selectionChanged);
    connect(SavedLvw->header(), &QHeaderView::sectionClicked, this, &SavedPanel::columnClicked);
    connect(SavedLvw, &QTreeWidget::itemDoubleClicked, this, &SavedPanel::applyClicked);
    connect(AddBtn, &QPushButton::clicked, this, &SavedPanel::addClicked);
    connect(EditBtn, &QPushButton::clicked, this, &SavedPanel::editClicked);
    connect(CopyBtn, &QPushButton::clicked, this, &SavedPanel::copyClicked);
    connect(RemoveBtn, &QPushButton::clicked, this, &SavedPanel::removeClicked);
    connect(UpBtn, &QPushButton::clicked, this, &SavedPanel::upClicked);
    connect(DownBtn, &QPushButton::clicked, this, &SavedPanel::downClicked);
    connect(PresetsBtn, &QPushButton::clicked, this, &SavedPanel::presetsClicked);
    connect(Apply2Btn, &QPushButton::clicked, this, &SavedPanel::applyClicked);
}

void SavedPanel::assignCaptions()
{
    SavedGrp->setTitle(QStringLiteral(" Saved "));
    SavedLvw->setHeaderLabels({QStringLiteral("Description"), QStringLiteral("Window Title")});
    AddBtn->setText(QStringLiteral("Add..."));
    EditBtn->setText(QStringLiteral("Edit..."));
    CopyBtn->setText(QStringLiteral("Copy..."));
    RemoveBtn->setText(QStringLiteral("Remove..."));
    UpBtn->setText(QStringLiteral("Up"));
    DownBtn->setText(QStringLiteral("Down"));
    PresetsBtn->setText(QStringLiteral("Presets..."));
    Apply2Btn->setText(QStringLiteral("Apply"));
}

void SavedPanel::show(const SavedEntries &entries)
{
    const QSignalBlocker blocker(SavedLvw);
    const int count = entries.count();
    while (SavedLvw->topLevelItemCount() > count) {
        delete SavedLvw->takeTopLevelItem(SavedLvw->topLevelItemCount() - 1);
    }
    QList<QTreeWidgetItem *> added;
    for (int i = SavedLvw->topLevelItemCount(); i < count; ++i) {
        added << new QTreeWidgetItem;
    }
    SavedLvw->addTopLevelItems(added);
    for (int i = 0; i < count; ++i) {
        SavedLvw->topLevelItem(i)->setText(0, entries.at(i).Description);
        SavedLvw->topLevelItem(i)->setText(1, entries.at(i).Title);
    }
    // One selection call for all rows, a range per run of selected rows: selecting row by row costs an update
    // of the selection model per row, which makes a long list with many selected rows start slowly.
    QItemSelection selection;
    const QAbstractItemModel *model = SavedLvw->model();
    for (int first = 0; first < count; ++first) {
        if (!entries.isSelected(first)) {
            continue;
        }
        int last = first;
        while (last + 1 < count && entries.isSelected(last + 1)) {
            ++last;
        }
        selection.select(model->index(first, 0), model->index(last, model->columnCount() - 1));
        first = last;
    }
    SavedLvw->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void SavedPanel::takeSelection(SavedEntries &entries) const
{
    const QItemSelectionModel *selection = SavedLvw->selectionModel();
    for (int i = 0; i < entries.count(); ++i) {
        entries.setSelected(i, selection->isRowSelected(i));
    }
}

void SavedPanel::enableCommands(int selectedCount)
{
    EditBtn->setEnabled(selectedCount == 1);
    CopyBtn->setEnabled(selectedCount == 1);
    for (QPushButton *needsSelection : {RemoveBtn, UpBtn, DownBtn, Apply2Btn}) {
        needsSelection->setEnabled(selectedCount > 0);
    }
}

void SavedPanel::scrollToRow(int row)
{
    SavedLvw->scrollToItem(SavedLvw->topLevelItem(row));
}

QString SavedPanel::dialogCaption(EntryDialogMode mode) const
{
    const QPushButton *command = mode == EntryDialogMode::Add ? AddBtn
        : mode == EntryDialogMode::Edit                       ? EditBtn
                                                              : CopyBtn;
    return command->text().chopped(3);
}
