// The main window: the placement controls, the window-title list, the saved list and the program's lifecycle.
// It is a view over the saved entries (SavedEntries) and the window system: construction runs the start-up
// sequence (FormCreate); destruction runs the shut-down sequence (FormDestroy), which writes the settings file.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

#include "entries/savedentries.h"
#include "placement/placementarithmetic.h"
#include "platform/windowsystem.h"

class MessageBoxes;
class TAddDlg;
enum class EntryDialogMode;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class SettingsFile;
class TClickImage;
class TSkinData;
class UpDown;
class ValueField;

// What the main window needs from outside; tests pass fakes.
struct MainWndServices
{
    platform::WindowSystem *windowSystem = nullptr;
    MessageBoxes *messageBoxes = nullptr;
    QString settingsPath;
    QString settingsNote; // added to every error box about the settings file: why it is kept where it is, or empty
    QString helpFile; // the help page's full path
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
    int MonitorAtPoint(QPoint point) const;
    PlacementRect ComputePlacement(int monitorIndex) const;
    bool ApplyPlacement(platform::WindowId window, const PlacementRect &rect, bool maximized);
    void LoadWindowPlacement(platform::WindowPlacement placement);

    int MonitorCount = 0;
    bool Updating = false;
    bool SortByDescription = true;
    bool SortAscending = false;

private:
    void createControls();
    void createSkinData();
    void assignCaptions();
    void FormCreate();
    void FormDestroy();
    void fillMonitorList();
    void restoreWindowPosition();
    void restoreFocus();
    // Shows the entries' descriptions, titles and selection in the saved list, without running its handler.
    void showEntries();
    // The placement the controls hold, monitor included.
    Placement controlsPlacement() const;
    void settingsFailure(QWidget *parent, const QString &message);
    void fillTitleList();
    void EnumTitlesProc(const platform::TopLevelWindow &window);

    void ExitBtnClick();
    void HelpBtnClick();
    void SideImgClick();
    void PresetsBtnClick();
    void SavedLvwSelectItem();
    void TitleLstClick();
    void RefreshBtnClick();
    void Apply1BtnClick();
    void applyToSelectedTitles(const PlacementRect &rect, bool maximized);
    void ReadBtnClick();
    void SavedLvwColumnClick(int column);
    void RemoveBtnClick();
    void showMovedRow(int row);
    void UpBtnClick();
    void DownBtnClick();
    void Apply2BtnClick();
    // `editedRow`: the entry the dialog renames (edit mode), else -1.
    std::unique_ptr<TAddDlg> createEntryDialog(EntryDialogMode mode, int editedRow);
    void addEntryFromDialog(const TAddDlg &dialog);
    void AddBtnClick();
    void EditBtnClick();
    void CopyBtnClick();
    void HorzRdoClick();
    void VertRdoClick();
    void WidthRdoClick();
    void HeightRdoClick();
    int referenceWidth() const;
    int referenceHeight() const;

    MainWndServices m_services;
    std::unique_ptr<SettingsFile> m_settingsFile;
    SavedEntries m_entries; // AutoEntry is m_entries.autoEntry()

    TClickImage *SideImg = nullptr;
    QGroupBox *PositionGrp = nullptr;
    QLabel *ScreenLbl = nullptr;
    QComboBox *MonitorCbo = nullptr;
    QLabel *HorzLbl = nullptr;
    QComboBox *HorzCbo = nullptr;
    ValueField *m_horz = nullptr;
    QLabel *VertLbl = nullptr;
    QComboBox *VertCbo = nullptr;
    ValueField *m_vert = nullptr;
    QGroupBox *SizeGrp = nullptr;
    QCheckBox *MaximizedChk = nullptr;
    QLabel *WidthLbl = nullptr;
    ValueField *m_width = nullptr;
    QLabel *HeightLbl = nullptr;
    ValueField *m_height = nullptr;
    QGroupBox *DirectGrp = nullptr;
    QLabel *TitleLbl = nullptr;
    QListWidget *TitleLst = nullptr;
    QPushButton *RefreshBtn = nullptr;
    QPushButton *ReadBtn = nullptr;
    QPushButton *Apply1Btn = nullptr;
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
    QPushButton *ExitBtn = nullptr;
    QPushButton *HelpBtn = nullptr;
    TSkinData *SkinData = nullptr;
};
