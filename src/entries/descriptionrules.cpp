// The rules for entry descriptions.
#include "descriptionrules.h"

#include "collation.h"
#include "settings/settingsfile.h"
#include "settings/settingstext.h"

namespace {

// Sections the settings file keeps for itself.
const QStringList kReservedSections = {QStringLiteral("General"), QStringLiteral("Auto")};

bool isBlank(QChar ch)
{
    return ch == u' ' || ch == u'\t';
}

} // namespace

std::optional<QString> descriptionProblem(const QString &description, const QStringList &otherDescriptions)
{
    if (description.trimmed().isEmpty()) {
        return QStringLiteral("The description is blank. Please enter a description.");
    }
    if (isBlank(description.front()) || isBlank(description.back())) {
        return QStringLiteral("A description cannot begin or end with a blank. Please remove the blanks.");
    }
    if (description.contains(u']') || description.contains(u'\n') || description.contains(u'\r')) {
        return QStringLiteral("A description cannot contain \"]\" or a line break. Please choose a different "
                              "description.");
    }
    // Longer descriptions, or ones in quotation marks, would read back from the settings file as another text.
    if (description.size() > SettingsFile::kMaxValueLength) {
        return QStringLiteral("A description can have at most %1 characters. Please choose a shorter description.")
            .arg(SettingsFile::kMaxValueLength);
    }
    if (description.size() >= 2 && description.front() == description.back()
        && (description.front() == u'"' || description.front() == u'\'')) {
        return QStringLiteral("A description cannot be enclosed in quotation marks. Please remove them.");
    }
    for (const QString &reserved : kReservedSections) {
        if (description.compare(reserved, Qt::CaseInsensitive) == 0) {
            return QStringLiteral("The description \"%1\" is used by the program's own settings. Please choose a "
                                  "different description.")
                .arg(description);
        }
    }
    // Case folding is how the settings file compares section names; the locale's rules are how the user reads them.
    const QString folded = foldedSettingsName(description);
    for (const QString &other : otherDescriptions) {
        if (foldedSettingsName(other) == folded || sameIgnoringCase(description, other)) {
            return QStringLiteral("There already is an entry by that description. Please choose a different "
                                  "description.");
        }
    }
    return std::nullopt;
}
