// cParameters: one saved entry, a named placement kept as the settings-file section named by its Description.
// The loading constructor reads the section's fifteen keys; save() writes them back when the owner discards it.
#pragma once

#include <QString>

#include "placement/applyentry.h"

class SettingsFile;

// Title, Regex and the placement come from TitledPlacement, which is what applying an entry reads.
class cParameters : public TitledPlacement
{
public:
    QString Description; // the section's name; not stored as a key
    bool Selected = false;

    // Reads the fifteen keys of the section named description, each with its default (empty, 0, false) when
    // missing or unreadable. With no settings file (null) every field but Description keeps its default.
    cParameters(const QString &description, const SettingsFile *settings);

    // Sets the fields from the arguments and Selected to false; reads nothing.
    cParameters(const QString &description, const QString &title, bool regex, const Placement &placement);

    // What discarding the entry writes: all fifteen keys into the section named Description, always, in the fixed
    // key order; nothing when settings is null. Changes the in-memory copy only; SettingsFile::save() stores it.
    void save(SettingsFile *settings) const;
};
