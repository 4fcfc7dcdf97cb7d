// The extension's JSON replies, read field by field.
#include "gnomereplies.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace platform::gnome {

namespace {

std::optional<QJsonDocument> parse(const QString &json)
{
    if (json.size() > kMaxReplyChars) {
        return std::nullopt;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        return std::nullopt;
    }
    return document;
}

// An integral number within [minimum, maximum].
std::optional<int64_t> integer(const QJsonObject &object, QLatin1StringView key, int64_t minimum, int64_t maximum)
{
    const QJsonValue value = object.value(key);
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double number = value.toDouble();
    if (!std::isfinite(number) || number != std::trunc(number) || number < double(minimum)
        || number > double(maximum)) {
        return std::nullopt;
    }
    return static_cast<int64_t>(number);
}

std::optional<bool> boolean(const QJsonObject &object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    return value.isBool() ? std::optional<bool>(value.toBool()) : std::nullopt;
}

// x, y, width and height; an empty size is allowed (a window not shown yet has one).
std::optional<QRect> rect(const QJsonObject &object)
{
    const auto x = integer(object, QLatin1StringView("x"), -kCoordinateLimitPx, kCoordinateLimitPx);
    const auto y = integer(object, QLatin1StringView("y"), -kCoordinateLimitPx, kCoordinateLimitPx);
    const auto width = integer(object, QLatin1StringView("width"), 0, kCoordinateLimitPx);
    const auto height = integer(object, QLatin1StringView("height"), 0, kCoordinateLimitPx);
    if (!x || !y || !width || !height) {
        return std::nullopt;
    }
    return QRect(int(*x), int(*y), int(*width), int(*height));
}

// The text cut to `maxBytes` of UTF-8 without splitting a character.
QString cutToUtf8Bytes(const QString &text, int maxBytes)
{
    QByteArray utf8 = text.toUtf8();
    if (utf8.size() <= maxBytes) {
        return text;
    }
    qsizetype end = maxBytes;
    while (end > 0 && (uchar(utf8[end]) & 0xC0) == 0x80) {
        --end;
    }
    utf8.truncate(end);
    return QString::fromUtf8(utf8);
}

std::optional<Monitor> monitor(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    const auto bounds = rect(object);
    const auto primary = boolean(object, QLatin1StringView("primary"));
    const QJsonValue name = object.value(QLatin1StringView("name"));
    if (!value.isObject() || !bounds || bounds->isEmpty() || !primary || !(name.isString() || name.isUndefined())) {
        return std::nullopt;
    }
    return Monitor {cutToUtf8Bytes(name.toString(), kMaxTitleBytes), *bounds, *primary};
}

std::optional<ShellWindow> window(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    const auto id = integer(object, QLatin1StringView("id"), 1, int64_t(kMaxWindowId));
    const QJsonValue title = object.value(QLatin1StringView("title"));
    const auto frame = rect(object);
    const auto minimized = boolean(object, QLatin1StringView("minimized"));
    const auto maximized = boolean(object, QLatin1StringView("maximized"));
    const auto transient = boolean(object, QLatin1StringView("transient"));
    const auto shown = boolean(object, QLatin1StringView("shown"));
    const QJsonValue restoreValue = object.value(QLatin1StringView("restore"));
    const auto restore = restoreValue.isUndefined() ? std::optional<QRect>(QRect()) : rect(restoreValue.toObject());
    if (!value.isObject() || !id || !title.isString() || !frame || !restore || !minimized || !maximized || !transient
        || !shown) {
        return std::nullopt;
    }
    return ShellWindow {uint64_t(*id), cutToUtf8Bytes(title.toString(), kMaxTitleBytes), *frame, *restore, *minimized,
        *maximized, *transient, *shown};
}

} // namespace

std::optional<std::vector<Monitor>> readMonitors(const QString &json)
{
    const auto document = parse(json);
    if (!document || !document->isArray() || document->array().isEmpty() || document->array().size() > kMaxMonitors) {
        return std::nullopt;
    }
    std::vector<Monitor> monitors;
    for (const QJsonValue &value : document->array()) {
        const auto read = monitor(value);
        if (!read) {
            return std::nullopt;
        }
        monitors.push_back(*read);
    }
    return monitors;
}

std::optional<std::vector<ShellWindow>> readWindows(const QString &json)
{
    const auto document = parse(json);
    if (!document || !document->isArray() || document->array().size() > kMaxWindows) {
        return std::nullopt;
    }
    std::vector<ShellWindow> windows;
    for (const QJsonValue &value : document->array()) {
        const auto read = window(value);
        if (!read) {
            return std::nullopt;
        }
        windows.push_back(*read);
    }
    return windows;
}

std::optional<PlaceResult> readPlaceResult(const QString &json)
{
    const auto document = parse(json);
    if (!document || !document->isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = document->object();
    const auto found = boolean(object, QLatin1StringView("found"));
    if (!found) {
        return std::nullopt;
    }
    if (!*found) {
        return PlaceResult {};
    }
    const auto normal = rect(object);
    const auto maximized = boolean(object, QLatin1StringView("maximized"));
    if (!normal || !maximized) {
        return std::nullopt;
    }
    return PlaceResult {true, *normal, *maximized};
}

} // namespace platform::gnome
