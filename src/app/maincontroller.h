// The main window's logic without widgets: it owns the saved entries and the settings file, works with the window
// system, reads what the start-up needs, writes what the shut-down keeps, and applies placements. The main window
// (TMainWnd) is a form over it: it shows what the controller holds and passes the user's commands on.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "entries/savedentries.h"
#include "placement/applyentry.h"
#include "platform/windowsystem.h"

class SettingsFile;

// Which list had the keyboard focus, as the settings file keeps it (General/ActiveList).
enum class ActiveList : int { TitleList = 0, SavedList = 1, Other = -1 };

// What the shut-down keeps of the window besides the entries.
struct WindowState
{
    ActiveList activeList = ActiveList::Other;
    Placement controls; // the placement controls, kept as the Auto entry
    // The window's outer top-left corner in screen pixels; empty when the window cannot know it (a Wayland client,
    // which the compositor places): the saved one is kept.
    std::optional<QPoint> positionPx;
};

class MainController
{
public:
    explicit MainController(platform::WindowSystem &windowSystem);
    ~MainController();
    MainController(const MainController &) = delete;
    MainController &operator=(const MainController &) = delete;

    platform::WindowSystem &windowSystem() const { return m_windowSystem; }

    // The monitor list's entries, read at start-up and again whenever monitors come or go; a monitor index is looked
    // up in the list as last read (see ApplyScope).
    QStringList readMonitorList();
    int monitorCount() const { return m_monitorCount; }
    // The first listed monitor that holds the point, or -1.
    int monitorAtPoint(QPoint point) const;
    // The size a unit conversion refers to: the monitor's, or the primary monitor's for -1.
    QSize referenceSize(int monitorIndex) const;
    std::vector<platform::TopLevelWindow> offeredWindows() const;

    // The start-up's part: the settings file object on `path` and the entries read from it (the presets when there
    // is no file).
    void openSettings(const QString &path);
    // Why the settings file could not be read (then nothing is written back), or empty.
    QString settingsRefusal() const;
    QString settingsPath() const;
    SettingsFile *settingsFile() const { return m_settingsFile.get(); }
    SavedEntries &entries() { return m_entries; }
    const SavedEntries &entries() const { return m_entries; }

    // Where the window's outer top-left corner goes, in screen pixels: its saved position when the window lies there
    // wholly on one monitor, else centred on the primary monitor. `outerSizePxAt` gives the window's outer size in
    // screen pixels with its corner at a point, which depends on the scale of the screen there.
    QPoint windowPositionPx(const std::function<QSize(QPoint)> &outerSizePxAt) const;
    ActiveList savedActiveList() const;

    // The shut-down's writing, the one place where the settings file is written at the end: ActiveList, the Auto
    // entry from the controls, every entry with the list's order and selection, the window's position; then the
    // file is replaced. Standard error names each entry that another program changed meanwhile too (this window's
    // version was saved), and a folder that could not be synced after the replacement. Writes nothing when the
    // file could not be read. Throws SettingsWriteError.
    void saveSettings(const WindowState &state);
    // Releases the settings file; entries discarded later write nothing.
    void releaseSettings();
    // Replaces the entries that have a preset's description by the presets (see SavedEntries::restorePresets).
    void restorePresets();
    // Removes the entries with this description, writing each one.
    void removeByDescription(const QString &description);
    // Replaces the settings file with what has been written into it (the preset restore does so at once).
    // Throws SettingsWriteError.
    void saveSettingsFile();

    // The saved entry from the entry dialog, placed as the controls show it; `Selected` false.
    void addEntry(const QString &description, const QString &title, bool regex, const Placement &placement);
    void changeEntry(int row, const QString &description, const QString &title, bool regex, const Placement &placement);

    // The rectangle of `placement` on its monitor.
    PlacementRect computePlacement(const Placement &placement) const;
    bool applyPlacement(platform::WindowId window, const PlacementRect &rect, bool maximized) const;
    // The Direct group's Apply: the placement to the chosen windows, in their order. Why the window system can never
    // carry it out (sway: maximized), or empty.
    QString applyToWindows(const Placement &placement, const std::vector<platform::TopLevelWindow> &chosen) const;
    // The Saved group's Apply: each selected entry, in list order, to the windows offered now whose titles match;
    // an entry without a title to the chosen windows, but only when it is the only selected entry. Returns the row
    // of the last selected entry, or -1; `refusal` (when given) gets the first reason the window system gave for an
    // entry it can never carry out.
    int applySelectedEntries(const std::vector<platform::TopLevelWindow> &chosen, QString *refusal = nullptr) const;

    // The placement values that describe a window's placement: its normal rectangle in pixels against the left and
    // top edges of the listed monitor that holds its corner (the first monitor, at the screen's origin, when none
    // does), and whether it is maximized.
    Placement placementOfWindow(const platform::WindowPlacement &placement) const;

private:
    platform::WindowSystem &m_windowSystem;
    std::unique_ptr<SettingsFile> m_settingsFile;
    SavedEntries m_entries; // the Auto entry is m_entries.autoEntry()
    int m_monitorCount = 0;
};
