// The main window: a form over MainController. It holds the side picture, three panels (the placement controls of
// the Position and Size groups, the Direct group, the Saved group), Exit and Help, and the skin component.
// Construction runs the start-up sequence (FormCreate); destruction runs the shut-down sequence (FormDestroy), which
// writes the settings file. Every command is a handler here that passes it on to the controller and the panels.
#pragma once

#include <QPoint>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

#include "maincontroller.h"
#include "placement/placementarithmetic.h"
#include "platform/windowsystem.h"

class DirectPanel;
class MessageBoxes;
class PlacementPanel;
class SavedPanel;
class TAddDlg;
enum class EntryDialogMode;
class QPushButton;
class TClickImage;
class TSkinData;
class cParameters;

// What the main window needs from outside; tests pass fakes.
struct MainWndServices
{
    platform::WindowSystem *windowSystem = nullptr;
    MessageBoxes *messageBoxes = nullptr;
    QString settingsPath;
    QString settingsNote; // added to every error box about the settings file: why it is kept where it is, or empty
    QString helpFile;     // the help page's full path
    std::function<bool(const QUrl &)> openUrl;
    bool noSkin = false; // --no-skin: the platform's frame and look; the settings are unaffected
};

class TMainWnd : public QWidget
{
    Q_OBJECT

public:
    explicit TMainWnd(MainWndServices services, QWidget *parent = nullptr);
    ~TMainWnd() override;

    void LoadControls(const cParameters &entry);
    void StoreControls(cParameters &entry) const;
    void RestorePresets();
    void RemoveByDescription(const QString &description);
    // Points, rectangles and placements here are in screen pixels, as the window system counts, whatever Qt's scale.
    int MonitorAtPoint(QPoint point) const;
    PlacementRect ComputePlacement(int monitorIndex) const;
    bool ApplyPlacement(platform::WindowId window, const PlacementRect &rect, bool maximized);
    void LoadWindowPlacement(platform::WindowPlacement placement);

    int MonitorCount = 0;
    bool SortByDescription = true;
    bool SortAscending = false;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createSkinData();
    void assignCaptions();
    void connectCommands();
    void FormCreate();
    void FormDestroy();
    enum class FailureReport { MessageBox, StandardError };
    void saveSettings(FailureReport failureReport);
    void fillMonitorList();
    // Monitors came or went: the monitor list is filled anew and the program's windows are brought onto the
    // monitors there are.
    void screensChanged();
    void restoreWindowPosition();
    void restoreFocus();
    // What the shut-down keeps of the window besides the entries.
    WindowState windowState() const;
    // The window's outer top-left corner in screen pixels: the X server's now, else as the server had it when the
    // window closed (the shut-down runs after the native window is gone), else Qt's.
    QPoint outerPositionPx() const;
    void settingsFailure(QWidget *parent, const QString &message);
    void fillTitleList();
    void EnumTitlesProc(const platform::TopLevelWindow &window);
    // Shows the entries in the saved list; runs its selection handler when the selection changed meanwhile.
    void showEntriesAfter(int selectedBefore);

    void ExitBtnClick();
    void HelpBtnClick();
    void SideImgClick();
    void PresetsBtnClick();
    void SavedLvwSelectItem();
    void TitleLstClick();
    void RefreshBtnClick();
    void Apply1BtnClick();
    void ReadBtnClick();
    void SavedLvwColumnClick(int column);
    void RemoveBtnClick();
    void showMovedRow(int row);
    void UpBtnClick();
    void DownBtnClick();
    void Apply2BtnClick();
    // `editedRow`: the entry the dialog renames (edit mode), else -1.
    std::unique_ptr<TAddDlg> createEntryDialog(EntryDialogMode mode, int editedRow);
    void AddBtnClick();
    void EditBtnClick();
    void CopyBtnClick();
    void HorzRdoClick();
    void VertRdoClick();
    void WidthRdoClick();
    void HeightRdoClick();

    MainWndServices m_services;
    MainController m_controller;

    TClickImage *SideImg = nullptr;
    PlacementPanel *m_placement = nullptr;
    DirectPanel *m_direct = nullptr;
    SavedPanel *m_saved = nullptr;
    QPushButton *ExitBtn = nullptr;
    QPushButton *HelpBtn = nullptr;
    TSkinData *SkinData = nullptr;
    std::optional<QPoint> m_closedAtPx;
};
