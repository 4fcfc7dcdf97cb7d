// cParameters: one saved entry and the fifteen keys of its settings-file section.
#include "cparameters.h"

#include "settings/settingsfile.h"

namespace {

// A unit is stored as its "Px" key: "1" for pixels, "0" for percent.
Unit unitOf(bool pixels)
{
    return pixels ? Unit::Pixels : Unit::Percent;
}

bool inPixels(const Measure &measure)
{
    return measure.unit == Unit::Pixels;
}

} // namespace

cParameters::cParameters(const QString &description, const SettingsFile *settings)
    : Description(description)
{
    if (!settings) {
        return;
    }
    // The key order is part of the file format: keep it in step with save().
    const auto integer = [&](const char *key) { return settings->readInteger(Description, QLatin1String(key), 0); };
    const auto boolean = [&](const char *key) { return settings->readBool(Description, QLatin1String(key), false); };
    Title = settings->readString(Description, QStringLiteral("Title"), QString());
    Regex = boolean("Regex");
    placement.screenIndex = integer("ScreenIndex");
    placement.horzAlignment = HorzAlignment(integer("HorzIndex"));
    placement.horzOffset.value = integer("HorzValue");
    placement.horzOffset.unit = unitOf(boolean("HorzPx"));
    placement.vertAlignment = VertAlignment(integer("VertIndex"));
    placement.vertOffset.value = integer("VertValue");
    placement.vertOffset.unit = unitOf(boolean("VertPx"));
    placement.width.value = integer("WidthValue");
    placement.width.unit = unitOf(boolean("WidthPx"));
    placement.height.value = integer("HeightValue");
    placement.height.unit = unitOf(boolean("HeightPx"));
    placement.maximized = boolean("Maximized");
    Selected = boolean("Selected");
}

cParameters::cParameters(const QString &description, const QString &title, bool regex, const Placement &placement)
    : TitledPlacement {title, regex, placement}
    , Description(description)
{ }

void cParameters::save(SettingsFile *settings) const
{
    if (!settings) {
        return;
    }
    const auto integer
        = [&](const char *key, int value) { settings->writeInteger(Description, QLatin1String(key), value); };
    const auto boolean
        = [&](const char *key, bool value) { settings->writeBool(Description, QLatin1String(key), value); };
    settings->writeString(Description, QStringLiteral("Title"), Title);
    boolean("Regex", Regex);
    integer("ScreenIndex", placement.screenIndex);
    integer("HorzIndex", int(placement.horzAlignment));
    integer("HorzValue", placement.horzOffset.value);
    boolean("HorzPx", inPixels(placement.horzOffset));
    integer("VertIndex", int(placement.vertAlignment));
    integer("VertValue", placement.vertOffset.value);
    boolean("VertPx", inPixels(placement.vertOffset));
    integer("WidthValue", placement.width.value);
    boolean("WidthPx", inPixels(placement.width));
    integer("HeightValue", placement.height.value);
    boolean("HeightPx", inPixels(placement.height));
    boolean("Maximized", placement.maximized);
    boolean("Selected", Selected);
}
