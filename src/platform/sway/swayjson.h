// Checked access to sway's JSON, shared by the readers: a value of the wrong type or a number out of range gives
// nothing, so that a reader refuses the whole reply.
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLatin1StringView>
#include <QRect>

#include <optional>

namespace platform::sway {

// The document's top-level array or object; empty for anything that is not valid JSON.
std::optional<QJsonValue> parseJson(const QByteArray &json);

// An integral number within ±kCoordinateLimitPx.
std::optional<int> intField(const QJsonObject &object, QLatin1StringView key);

// {x, y, width, height} with integral coordinates and sizes that are not negative.
std::optional<QRect> rectField(const QJsonObject &object, QLatin1StringView key);

// A string, or an empty one for null or a missing key; empty optional for any other type.
std::optional<QString> optionalStringField(const QJsonObject &object, QLatin1StringView key);

} // namespace platform::sway
