// The main window's state and commands, without widgets.
#include "maincontroller.h"

#include <QFileInfo>

#include <cstdio>
#include <limits>

#include "placement/monitors.h"
#include "placement/windowlist.h"
#include "settings/settingsfile.h"
#include "settings/settingstext.h"

namespace {

const QString kGeneral = QStringLiteral("General");
constexpr int kNeverSaved = std::numeric_limits<int>::max();

} // namespace

MainController::MainController(platform::WindowSystem &windowSystem)
    : m_windowSystem(windowSystem)
{ }

MainController::~MainController() = default;

QStringList MainController::readMonitorList()
{
    m_monitorCount = GetMonitorCount(m_windowSystem);
    QStringList names;
    for (int i = 0; i < m_monitorCount; ++i) {
        names << monitorListEntry(i, GetMonitorName(m_windowSystem, i));
    }
    return names;
}

int MainController::monitorAtPoint(QPoint point) const
{
    return MonitorAtPoint(m_windowSystem, m_monitorCount, point);
}

QSize MainController::referenceSize(int monitorIndex) const
{
    return monitorIndex < 0 ? primaryScreenSize(m_windowSystem) : GetMonitorRect(m_windowSystem, monitorIndex).size();
}

std::vector<platform::TopLevelWindow> MainController::offeredWindows() const
{
    return ::offeredWindows(m_windowSystem);
}

void MainController::openSettings(const QString &path)
{
    m_settingsFile = std::make_unique<SettingsFile>(path);
    m_entries.load(*m_settingsFile); // the presets when there is no file, Auto, the listed entries, their selection
}

QString MainController::settingsRefusal() const
{
    return m_settingsFile ? m_settingsFile->refusal() : QString();
}

QString MainController::settingsPath() const
{
    return QFileInfo(m_settingsFile->path()).absoluteFilePath();
}

// Left and Top are in screen pixels whatever the scale, as the window system counts: a file keeps its meaning when
// the scale changes, and files written at scale 1 mean what they always did.
QPoint MainController::windowPositionPx(const std::function<QSize(QPoint)> &outerSizePxAt) const
{
    const QPoint saved(m_settingsFile->readInteger(kGeneral, QStringLiteral("Left"), kNeverSaved),
        m_settingsFile->readInteger(kGeneral, QStringLiteral("Top"), kNeverSaved));
    if (RectFitsMonitor(m_windowSystem, m_monitorCount, saved, outerSizePxAt(saved))) {
        return saved;
    }
    // Centred on the primary monitor. Its origin is added because on X11 the primary monitor need not be at (0, 0).
    const QRect primary = GetMonitorRect(m_windowSystem, 0);
    const QSize screen = primaryScreenSize(m_windowSystem);
    const QSize outer = outerSizePxAt(primary.topLeft());
    return {
        primary.left() + (screen.width() - outer.width()) / 2, primary.top() + (screen.height() - outer.height()) / 2};
}

ActiveList MainController::savedActiveList() const
{
    switch (m_settingsFile->readInteger(kGeneral, QStringLiteral("ActiveList"), int(ActiveList::TitleList))) {
    case int(ActiveList::TitleList):
        return ActiveList::TitleList;
    case int(ActiveList::SavedList):
        return ActiveList::SavedList;
    default:
        return ActiveList::Other;
    }
}

void MainController::saveSettings(const WindowState &state)
{
    // A file that was not read is not written either: the user was told at start-up.
    if (!m_settingsFile || !m_settingsFile->refusal().isEmpty()) {
        return;
    }
    m_settingsFile->writeInteger(kGeneral, QStringLiteral("ActiveList"), int(state.activeList));
    m_entries.autoEntry().placement = state.controls;
    m_entries.save(*m_settingsFile);
    if (state.positionPx) {
        m_settingsFile->writeInteger(kGeneral, QStringLiteral("Top"), state.positionPx->y());
        m_settingsFile->writeInteger(kGeneral, QStringLiteral("Left"), state.positionPx->x());
    }
    const SettingsSaveReport report = m_settingsFile->save();
    const QString file = printableSettingsText(settingsPath());
    for (const QString &entry : m_entries.entriesAmong(report.overridden)) {
        std::fprintf(stderr,
            "framewright: the entry \"%s\" was changed in %s by another program too; this window's version of it "
            "was saved\n",
            qPrintable(printableSettingsText(entry)), qPrintable(file));
    }
    if (!report.unsyncedReason.isEmpty()) {
        std::fprintf(stderr,
            "framewright: %s was saved, but its folder could not be synced (%s): a power failure now could still "
            "bring back the old file\n",
            qPrintable(file), qPrintable(report.unsyncedReason));
    }
}

void MainController::releaseSettings()
{
    m_settingsFile.reset();
}

void MainController::restorePresets()
{
    m_entries.restorePresets(m_settingsFile.get());
}

void MainController::removeByDescription(const QString &description)
{
    m_entries.removeByDescription(description, m_settingsFile.get());
}

void MainController::saveSettingsFile()
{
    m_settingsFile->save();
}

void MainController::addEntry(const QString &description, const QString &title, bool regex, const Placement &placement)
{
    cParameters entry(description, m_settingsFile.get());
    entry.placement = placement;
    entry.Title = title;
    entry.Regex = regex;
    entry.Selected = false;
    m_entries.append(std::move(entry));
}

void MainController::changeEntry(
    int row, const QString &description, const QString &title, bool regex, const Placement &placement)
{
    cParameters &entry = m_entries.at(row);
    entry.placement = placement;
    entry.Description = description;
    entry.Title = title;
    entry.Regex = regex;
}

PlacementRect MainController::computePlacement(const Placement &placement) const
{
    return placementRect(placement, m_windowSystem, m_monitorCount);
}

bool MainController::applyPlacement(platform::WindowId window, const PlacementRect &rect, bool maximized) const
{
    return placeWindow(m_windowSystem, window, rect, maximized);
}

QString MainController::applyToWindows(
    const Placement &placement, const std::vector<platform::TopLevelWindow> &chosen) const
{
    return refusalOf(applyEntry(
        TitledPlacement {QString(), false, placement}, m_windowSystem, ApplyScope {m_monitorCount, {}, chosen}));
}

int MainController::applySelectedEntries(const std::vector<platform::TopLevelWindow> &chosen, QString *refusal) const
{
    // The windows are listed afresh: windows opened since the title list was filled take part.
    ApplyScope scope {m_monitorCount, ::offeredWindows(m_windowSystem), {}};
    if (m_entries.selectedCount() == 1) {
        scope.chosen = chosen;
    }
    int last = -1;
    for (int i = 0; i < m_entries.count(); ++i) {
        if (m_entries.isSelected(i)) {
            const QString refused = refusalOf(applyEntry(m_entries.at(i), m_windowSystem, scope));
            if (refusal && refusal->isEmpty()) {
                *refusal = refused;
            }
            last = i;
        }
    }
    return last;
}

Placement MainController::placementOfWindow(const platform::WindowPlacement &placement) const
{
    const QRect normal = placement.normalRect;
    const int monitor = monitorAtPoint(normal.topLeft());
    const QPoint origin = monitor != -1 ? GetMonitorRect(m_windowSystem, monitor).topLeft() : QPoint(0, 0);
    Placement values;
    values.screenIndex = monitor != -1 ? monitor : 0;
    values.horzOffset = {normal.left() - origin.x(), Unit::Pixels};
    values.vertOffset = {normal.top() - origin.y(), Unit::Pixels};
    values.width = {normal.width(), Unit::Pixels};
    values.height = {normal.height(), Unit::Pixels};
    values.maximized = placement.showState == platform::ShowState::Maximized;
    return values;
}
