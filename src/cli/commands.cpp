// --list, --windows, --match and --apply, and what they share: the settings file, the named entries, the display.
#include "commands.h"

#include "executablepath.h"
#include "placementwords.h"

#include "placement/monitors.h"
#include "placement/windowlist.h"
#include "platform/sessionwindowsystem.h"
#include "settings/settingsfile.h"
#include "settings/settingslocation.h"
#include "settings/settingstext.h"

#include <algorithm>

namespace {

QString stateName(platform::ShowState state)
{
    switch (state) {
    case platform::ShowState::Minimized:
        return QStringLiteral("minimized");
    case platform::ShowState::Maximized:
        return QStringLiteral("maximized");
    case platform::ShowState::Normal:
        break;
    }
    return QStringLiteral("normal");
}

QString rectText(const QRect &rect)
{
    return QStringLiteral("%1,%2 %3x%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

QString titleInWords(const cParameters &entry)
{
    if (entry.Title.isEmpty()) {
        return QStringLiteral("no title: the active window");
    }
    return (entry.Regex ? QStringLiteral("regular expression: ") : QStringLiteral("title: ")) + entry.Title;
}

int listWindows(platform::WindowSystem &windowSystem, QTextStream &out)
{
    for (const auto &window : offeredWindows(windowSystem)) {
        printWindow(windowSystem, window, out);
    }
    return kExitOk;
}

int matchEntry(const cParameters &entry, platform::WindowSystem &windowSystem, QTextStream &out)
{
    // An entry without a title (the presets) is for the active window, as the window applies such an entry to the
    // windows chosen in its title list.
    const auto matching = targetWindows(entry, activeWindowScope(windowSystem, entry));
    for (const auto &window : matching) {
        printWindow(windowSystem, window, out);
    }
    return matching.empty() ? kExitNoMatch : kExitOk;
}

} // namespace

QString windowId(platform::WindowId id)
{
    return QStringLiteral("0x%1").arg(id, 8, 16, QLatin1Char('0'));
}

std::optional<int> loadEntries(const Invocation &invocation, SavedEntries &entries, QTextStream &errors)
{
    const bool named = !invocation.settingsFile.isEmpty();
    const SettingsFile settings(
        named ? invocation.settingsFile : settingsFilePath(executableFolder(), configHomePath(), installedBinDir()));
    // A missing usual file is no problem: the window would list the presets then, and so do the modes here. A
    // missing file named on the command line is a mistake.
    const QString problem = named && !settings.exists() ? QStringLiteral("no such file") : settings.refusal();
    if (!problem.isEmpty()) {
        printError(errors, QStringLiteral("cannot read the settings file %1: %2").arg(settings.path(), problem));
        return kExitSettings;
    }
    entries.load(settings);
    return std::nullopt;
}

std::optional<int> findEntries(
    const SavedEntries &entries, const QStringList &descriptions, std::vector<cParameters> &found, QTextStream &errors)
{
    for (const QString &description : descriptions) {
        const int row = entries.find(description);
        if (row < 0) {
            printError(errors, QStringLiteral("no saved entry \"%1\" (see framewright --list)").arg(description));
            return kExitUnknownEntry;
        }
        found.push_back(entries.at(row));
    }
    if (descriptions.isEmpty()) {
        for (int i = 0; i < entries.count(); ++i) {
            if (!entries.at(i).Title.isEmpty()) {
                found.push_back(entries.at(i));
            }
        }
    }
    return std::nullopt;
}

std::unique_ptr<platform::WindowSystem> openWindowSystem(QTextStream &errors)
{
    auto opened = platform::openSessionWindowSystem();
    if (!opened.windowSystem) {
        printError(errors, opened.error);
    } else if (!opened.note.isEmpty()) {
        printError(errors, opened.note);
    }
    return std::move(opened.windowSystem);
}

void printError(QTextStream &errors, const QString &message)
{
    errors << "framewright: " << printableSettingsText(message) << Qt::endl;
}

void listEntries(const SavedEntries &entries, QTextStream &out)
{
    for (int i = 0; i < entries.count(); ++i) {
        const cParameters &entry = entries.at(i);
        out << printableSettingsText(entry.Description) << '\t' << printableSettingsText(titleInWords(entry)) << '\t'
            << placementInWords(entry.placement) << '\n';
    }
}

bool printWindow(platform::WindowSystem &windowSystem, const platform::TopLevelWindow &window, QTextStream &out)
{
    const auto placement = windowSystem.windowPlacement(window.id);
    if (!placement) {
        return false;
    }
    const QRect &rect = placement->normalRect;
    const std::vector<platform::Monitor> monitors = windowSystem.monitorLayout();
    const int monitor = MonitorAtPoint(monitors, std::max(1, int(monitors.size())), rect.topLeft());
    const QString monitorText = monitor >= 0 ? QStringLiteral("monitor %1").arg(monitor + 1) : QStringLiteral("-");
    out << windowId(window.id) << '\t' << monitorText << '\t' << stateName(placement->showState) << '\t'
        << rectText(rect) << '\t' << printableSettingsText(window.title) << '\n';
    return true;
}

int applyEntries(const std::vector<cParameters> &entries, platform::WindowSystem &windowSystem, QTextStream &out,
    QTextStream &errors)
{
    bool matched = false;
    bool allLanded = true;
    for (const cParameters &entry : entries) {
        const std::vector<AppliedWindow> placed
            = applyEntry(entry, windowSystem, activeWindowScope(windowSystem, entry));
        // A placement the window system can never carry out is one line for the entry, not one per window.
        if (const QString refusal = refusalOf(placed); !refusal.isEmpty()) {
            matched = true;
            allLanded = false;
            printError(errors, QStringLiteral("cannot apply \"%1\": %2").arg(entry.Description, refusal));
            continue;
        }
        for (const AppliedWindow &applied : placed) {
            matched = true;
            printWindow(windowSystem, applied.window, out);
            if (!applied.landed) {
                allLanded = false;
                printError(errors,
                    QStringLiteral("window %1 (%2) did not take %3")
                        .arg(windowId(applied.window.id), applied.window.title, rectText(applied.requested)));
            }
        }
    }
    return !allLanded ? kExitNotLanded : matched ? kExitOk : kExitNoMatch;
}

int runCommand(const Invocation &invocation)
{
    QTextStream out(stdout);
    QTextStream errors(stderr);
    SavedEntries entries;
    if (const auto status = loadEntries(invocation, entries, errors)) {
        return *status;
    }
    if (invocation.mode == Mode::List) {
        listEntries(entries, out);
        return kExitOk;
    }
    std::vector<cParameters> named;
    if (invocation.mode != Mode::Windows) {
        if (const auto status = findEntries(entries, invocation.descriptions, named, errors)) {
            return *status;
        }
    }
    const auto windowSystem = openWindowSystem(errors);
    if (!windowSystem) {
        return kExitNoDisplay;
    }
    switch (invocation.mode) {
    case Mode::Windows:
        return listWindows(*windowSystem, out);
    case Mode::Match:
        return matchEntry(named.front(), *windowSystem, out);
    default:
        return applyEntries(named, *windowSystem, out, errors);
    }
}
