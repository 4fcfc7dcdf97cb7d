// The saved entries' list, selection and persistence.
#include "savedentries.h"

#include "collation.h"
#include "descriptionrules.h"
#include "presets.h"
#include "settings/settingsfile.h"
#include "settings/settingstext.h"

#include <algorithm>

namespace {

const QString kGeneral = QStringLiteral("General");
const QString kAutoDescription = QStringLiteral("Auto");

QString presetKey(int number)
{
    return QStringLiteral("Preset%1").arg(number);
}

// The numbers n from 1 to count for which `keys` holds "Preset<n>" (compared as the settings file compares names),
// in ascending order. Looking at the keys present rather than at every number up to the count keeps a hand-edited
// PresetCount of 2147483647 from reading (and overflowing) its way through two billion missing keys.
std::vector<int> presetNumbers(const QStringList &keys, int count)
{
    const QString prefix = QStringLiteral("preset");
    std::vector<int> numbers;
    for (const QString &key : keys) {
        const QString folded = key.toCaseFolded();
        if (!folded.startsWith(prefix)) {
            continue;
        }
        bool isNumber = false;
        const QStringView digits = QStringView(folded).sliced(prefix.size());
        const int number = digits.toInt(&isNumber);
        if (isNumber && number >= 1 && number <= count && presetKey(number).toCaseFolded() == folded) {
            numbers.push_back(number);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// The descriptions the file lists (PresetCount, Preset1, ...), in their order, empty ones skipped.
QStringList listedDescriptions(const SettingsFile &settings)
{
    QStringList descriptions;
    const int listed = settings.readInteger(kGeneral, QStringLiteral("PresetCount"), 0);
    for (const int n : presetNumbers(settings.keys(kGeneral), listed)) {
        // Read as a name: a description cut, or decoded as another spelling, would name another section.
        const QString description = settings.readName(kGeneral, presetKey(n), QString());
        if (!description.isEmpty()) {
            descriptions << description;
        }
    }
    return descriptions;
}

} // namespace

SavedEntries::SavedEntries()
    : m_auto(kAutoDescription, nullptr)
{ }

void SavedEntries::load(const SettingsFile &settings)
{
    m_entries.clear();
    if (!settings.exists()) {
        restorePresets(nullptr);
    }
    m_auto = cParameters(kAutoDescription, &settings);

    m_listed.clear();
    for (const QString &description : listedDescriptions(settings)) {
        m_entries.emplace_back(description, &settings);
        m_listed.insert(foldedSettingsName(description));
    }

    const int focus = settings.readInteger(kGeneral, QStringLiteral("Focus"), -1);
    if (focus >= 0) {
        if (focus < count()) {
            setSelected(focus, true);
        }
    } else if (const int first = firstSelected(); first >= 0) {
        setSelected(first, false);
    }
}

void SavedEntries::save(SettingsFile &settings)
{
    adoptEntriesListedMeanwhile(settings.path());
    settings.writeInteger(kGeneral, QStringLiteral("Focus"), firstSelected());
    for (int i = 0; i < count(); ++i) {
        at(i).save(&settings);
        settings.writeString(kGeneral, presetKey(i + 1), at(i).Description);
    }
    settings.writeInteger(kGeneral, QStringLiteral("PresetCount"), count());
    m_auto.save(&settings);
    m_listed.clear();
    for (const cParameters &entry : m_entries) {
        m_listed.insert(foldedSettingsName(entry.Description));
    }
}

void SavedEntries::adoptEntriesListedMeanwhile(const QString &path)
{
    const SettingsFile onDisk(path);
    if (!onDisk.exists() || !onDisk.refusal().isEmpty()) {
        return;
    }
    QSet<QString> known = m_listed;
    for (const cParameters &entry : m_entries) {
        known.insert(foldedSettingsName(entry.Description));
    }
    for (const QString &description : listedDescriptions(onDisk)) {
        if (const QString folded = foldedSettingsName(description); !known.contains(folded)) {
            known.insert(folded);
            m_entries.emplace_back(description, &onDisk);
        }
    }
}

QStringList SavedEntries::entriesAmong(const QStringList &sections) const
{
    QStringList entries;
    for (const QString &section : sections) {
        if (find(section) >= 0) {
            entries << section;
        }
    }
    return entries;
}

int SavedEntries::selectedCount() const
{
    return int(std::count_if(m_entries.begin(), m_entries.end(), [](const cParameters &e) { return e.Selected; }));
}

int SavedEntries::firstSelected() const
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(), [](const cParameters &e) { return e.Selected; });
    return it == m_entries.end() ? -1 : int(it - m_entries.begin());
}

int SavedEntries::find(const QString &description) const
{
    for (int i = 0; i < count(); ++i) {
        if (at(i).Description == description) {
            return i;
        }
    }
    const QString folded = foldedSettingsName(description);
    for (int i = 0; i < count(); ++i) {
        if (foldedSettingsName(at(i).Description) == folded) {
            return i;
        }
    }
    return -1;
}

void SavedEntries::append(cParameters entry)
{
    m_entries.push_back(std::move(entry));
}

int SavedEntries::removeSelected()
{
    return int(std::erase_if(m_entries, [](const cParameters &e) { return e.Selected; }));
}

int SavedEntries::moveSelectedUp()
{
    int firstMoved = -1;
    for (int i = 1; i < count(); ++i) {
        if (isSelected(i) && !isSelected(i - 1)) {
            std::swap(m_entries[size_t(i)], m_entries[size_t(i - 1)]);
            if (firstMoved < 0) {
                firstMoved = i - 1;
            }
        }
    }
    return firstMoved;
}

int SavedEntries::moveSelectedDown()
{
    int firstMoved = -1;
    for (int i = count() - 2; i >= 0; --i) {
        if (isSelected(i) && !isSelected(i + 1)) {
            std::swap(m_entries[size_t(i)], m_entries[size_t(i + 1)]);
            if (firstMoved < 0) {
                firstMoved = i + 1;
            }
        }
    }
    return firstMoved;
}

void SavedEntries::sort(bool byDescription, bool ascending)
{
    const auto key = [byDescription](const cParameters &e) -> const QString & {
        return !byDescription && !e.Title.isEmpty() ? e.Title : e.Description;
    };
    std::stable_sort(m_entries.begin(), m_entries.end(),
        [&key](const cParameters &a, const cParameters &b) { return compareIgnoringCase(key(a), key(b)) < 0; });
    if (!ascending) {
        std::reverse(m_entries.begin(), m_entries.end());
    }
}

void SavedEntries::restorePresets(SettingsFile *settings)
{
    for (cParameters &preset : builtInPresets()) {
        removeByDescription(preset.Description, settings);
        m_entries.push_back(std::move(preset));
    }
}

void SavedEntries::removeByDescription(const QString &description, SettingsFile *settings)
{
    for (int i = count() - 1; i >= 0; --i) {
        if (sameIgnoringCase(at(i).Description, description)) {
            const cParameters removed = std::move(m_entries[size_t(i)]);
            m_entries.erase(m_entries.begin() + i);
            removed.save(settings);
        }
    }
}

std::optional<QString> SavedEntries::descriptionProblem(const QString &description, int editedRow) const
{
    QStringList others;
    for (int i = 0; i < count(); ++i) {
        if (i != editedRow) {
            others << at(i).Description;
        }
    }
    return ::descriptionProblem(description, others);
}
