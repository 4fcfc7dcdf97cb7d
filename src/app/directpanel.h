// The Direct group of the main window: the titles of the offered windows (several can be chosen), and the Refresh
// list, Read window and Apply buttons. Each title keeps its window; the commands are the main window's.
#pragma once

#include <QObject>

#include <optional>
#include <vector>

#include "platform/windowsystem.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

class DirectPanel : public QObject
{
    Q_OBJECT

public:
    // Creates the group on `window`, with its controls in tab order.
    explicit DirectPanel(QWidget *window);

    void assignCaptions();
    // Appends a title to the list.
    void addTitle(const platform::TopLevelWindow &window);
    // Empties the list. The selection goes without touching Read window and Apply: they keep their state.
    void clearTitles();
    // The chosen windows, in list order, with the titles the list shows.
    std::vector<platform::TopLevelWindow> chosenWindows() const;
    // The window of the title with the keyboard's current item, if any.
    std::optional<platform::WindowId> currentWindow() const;
    // Read window needs exactly one chosen title, Apply at least one.
    void enableCommands();
    QListWidget *titleList() const { return TitleLst; }

signals:
    void titleSelectionChanged();
    void refreshClicked();
    void readClicked();
    // Apply clicked, or a title double-clicked.
    void applyClicked();

private:
    QGroupBox *DirectGrp = nullptr;
    QLabel *TitleLbl = nullptr;
    QListWidget *TitleLst = nullptr;
    QPushButton *RefreshBtn = nullptr;
    QPushButton *ReadBtn = nullptr;
    QPushButton *Apply1Btn = nullptr;
};
