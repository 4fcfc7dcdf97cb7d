// cParameters: one saved entry, a named placement kept as the settings-file section named by its Description.
// The loading constructor reads the section's fifteen keys; save() writes them back when the owner discards it.
#pragma once

#include <QString>

class SettingsFile;

class cParameters
{
public:
    QString Description; // the section's name; not stored as a key
    QString Title;
    bool Regex = false;
    int ScreenIndex = 0;
    int HorzIndex = 0;
    int VertIndex = 0;
    int HorzValue = 0;
    int VertValue = 0;
    int WidthValue = 0;
    int HeightValue = 0;
    bool HorzPx = false;
    bool VertPx = false;
    bool WidthPx = false;
    bool HeightPx = false;
    bool Maximized = false;
    bool Selected = false;

    // Reads the fifteen keys of the section named description, each with its default (empty, 0, false) when
    // missing or unreadable. With no settings file (null) every field but Description keeps its default.
    cParameters(const QString &description, const SettingsFile *settings);

    // Sets the fields from the arguments and Selected to false; reads nothing.
    cParameters(const QString &description, const QString &title, bool regex, int screenIndex, int horzIndex,
        int vertIndex, int horzValue, int vertValue, int widthValue, int heightValue, bool horzPx, bool vertPx,
        bool widthPx, bool heightPx, bool maximized);

    // What discarding the entry writes: all fifteen keys into the section named Description, always, in the fixed
    // key order; nothing when settings is null. Changes the in-memory copy only; SettingsFile::save() stores it.
    void save(SettingsFile *settings) const;
};
