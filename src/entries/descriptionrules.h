// Which descriptions a saved entry may have. The description names the entry's section of the settings file,
// whose section names are case-blind, so two entries must differ in more than letter case, and the description
// must be something the file can hold as a section name.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Why `description` cannot be used, as the text of an error box; empty when it can. `otherDescriptions` are
// those of every other entry (in the edit command: all but the edited one).
std::optional<QString> descriptionProblem(const QString &description, const QStringList &otherDescriptions);
