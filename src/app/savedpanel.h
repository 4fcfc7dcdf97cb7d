// The Saved group of the main window: the saved list (a row per entry: description, window title, selection) and
// the commands beside it. The panel shows the entries as SavedEntries holds them and hands the list's selection
// back; the commands are the main window's.
#pragma once

#include <QObject>

class QGroupBox;
class QPushButton;
class QTreeWidget;
class QWidget;
class SavedEntries;
enum class EntryDialogMode;

class SavedPanel : public QObject
{
    Q_OBJECT

public:
    // Creates the group on `window`, with its controls in tab order.
    explicit SavedPanel(QWidget *window);

    void assignCaptions();
    // Shows the entries' descriptions, titles and selection, without emitting selectionChanged.
    void show(const SavedEntries &entries);
    // Sets each entry's selection from its row's.
    void takeSelection(SavedEntries &entries) const;
    // Edit and Copy need exactly one selected row; Remove, Up, Down and Apply at least one.
    void enableCommands(int selectedCount);
    void scrollToRow(int row);
    // The caption of the entry dialog for a command: the command button's caption without its "...".
    QString dialogCaption(EntryDialogMode mode) const;
    QTreeWidget *savedList() const { return SavedLvw; }

signals:
    void selectionChanged();
    void columnClicked(int column);
    void addClicked();
    void editClicked();
    void copyClicked();
    void removeClicked();
    void upClicked();
    void downClicked();
    void presetsClicked();
    // Apply clicked, or a row double-clicked.
    void applyClicked();

private:
    QGroupBox *SavedGrp = nullptr;
    QTreeWidget *SavedLvw = nullptr;
    QPushButton *AddBtn = nullptr;
    QPushButton *EditBtn = nullptr;
    QPushButton *CopyBtn = nullptr;
    QPushButton *RemoveBtn = nullptr;
    QPushButton *UpBtn = nullptr;
    QPushButton *DownBtn = nullptr;
    QPushButton *PresetsBtn = nullptr;
    QPushButton *Apply2Btn = nullptr;
};
