// cParameters: one saved entry and the fifteen keys of its settings-file section.
#include "app/cparameters.h"

#include "settings/settingsfile.h"

cParameters::cParameters(const QString &description, const SettingsFile *settings)
    : Description(description)
{
    if (!settings) {
        return;
    }
    // The key order is part of the file format: keep it in step with save().
    Title = settings->readString(Description, QStringLiteral("Title"), QString());
    Regex = settings->readBool(Description, QStringLiteral("Regex"), false);
    ScreenIndex = settings->readInteger(Description, QStringLiteral("ScreenIndex"), 0);
    HorzIndex = settings->readInteger(Description, QStringLiteral("HorzIndex"), 0);
    HorzValue = settings->readInteger(Description, QStringLiteral("HorzValue"), 0);
    HorzPx = settings->readBool(Description, QStringLiteral("HorzPx"), false);
    VertIndex = settings->readInteger(Description, QStringLiteral("VertIndex"), 0);
    VertValue = settings->readInteger(Description, QStringLiteral("VertValue"), 0);
    VertPx = settings->readBool(Description, QStringLiteral("VertPx"), false);
    WidthValue = settings->readInteger(Description, QStringLiteral("WidthValue"), 0);
    WidthPx = settings->readBool(Description, QStringLiteral("WidthPx"), false);
    HeightValue = settings->readInteger(Description, QStringLiteral("HeightValue"), 0);
    HeightPx = settings->readBool(Description, QStringLiteral("HeightPx"), false);
    Maximized = settings->readBool(Description, QStringLiteral("Maximized"), false);
    Selected = settings->readBool(Description, QStringLiteral("Selected"), false);
}

cParameters::cParameters(const QString &description, const QString &title, bool regex, int screenIndex, int horzIndex,
    int vertIndex, int horzValue, int vertValue, int widthValue, int heightValue, bool horzPx, bool vertPx,
    bool widthPx, bool heightPx, bool maximized)
    : Description(description)
    , Title(title)
    , Regex(regex)
    , ScreenIndex(screenIndex)
    , HorzIndex(horzIndex)
    , VertIndex(vertIndex)
    , HorzValue(horzValue)
    , VertValue(vertValue)
    , WidthValue(widthValue)
    , HeightValue(heightValue)
    , HorzPx(horzPx)
    , VertPx(vertPx)
    , WidthPx(widthPx)
    , HeightPx(heightPx)
    , Maximized(maximized)
{ }

void cParameters::save(SettingsFile *settings) const
{
    if (!settings) {
        return;
    }
    settings->writeString(Description, QStringLiteral("Title"), Title);
    settings->writeBool(Description, QStringLiteral("Regex"), Regex);
    settings->writeInteger(Description, QStringLiteral("ScreenIndex"), ScreenIndex);
    settings->writeInteger(Description, QStringLiteral("HorzIndex"), HorzIndex);
    settings->writeInteger(Description, QStringLiteral("HorzValue"), HorzValue);
    settings->writeBool(Description, QStringLiteral("HorzPx"), HorzPx);
    settings->writeInteger(Description, QStringLiteral("VertIndex"), VertIndex);
    settings->writeInteger(Description, QStringLiteral("VertValue"), VertValue);
    settings->writeBool(Description, QStringLiteral("VertPx"), VertPx);
    settings->writeInteger(Description, QStringLiteral("WidthValue"), WidthValue);
    settings->writeBool(Description, QStringLiteral("WidthPx"), WidthPx);
    settings->writeInteger(Description, QStringLiteral("HeightValue"), HeightValue);
    settings->writeBool(Description, QStringLiteral("HeightPx"), HeightPx);
    settings->writeBool(Description, QStringLiteral("Maximized"), Maximized);
    settings->writeBool(Description, QStringLiteral("Selected"), Selected);
}
