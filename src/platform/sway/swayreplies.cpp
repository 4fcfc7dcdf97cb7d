// The small replies (outputs, command results, subscription, events) and the checks every reader shares.
#include "swayreplies.h"

#include "swayjson.h"

#include <QJsonArray>
#include <QJsonObject>

namespace platform::sway {

std::optional<QJsonValue> parseJson(const QByteArray &json)
{
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        return std::nullopt;
    }
    if (document.isArray()) {
        return QJsonValue(document.array());
    }
    if (document.isObject()) {
        return QJsonValue(document.object());
    }
    return std::nullopt;
}

std::optional<int> intField(const QJsonObject &object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double number = value.toDouble();
    if (!(number >= -kCoordinateLimitPx && number <= kCoordinateLimitPx) || number != double(int(number))) {
        return std::nullopt;
    }
    return int(number);
}

std::optional<QRect> rectField(const QJsonObject &object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (!value.isObject()) {
        return std::nullopt;
    }
    const QJsonObject rect = value.toObject();
    const auto x = intField(rect, QLatin1StringView("x"));
    const auto y = intField(rect, QLatin1StringView("y"));
    const auto width = intField(rect, QLatin1StringView("width"));
    const auto height = intField(rect, QLatin1StringView("height"));
    if (!x || !y || !width || !height || *width < 0 || *height < 0) {
        return std::nullopt;
    }
    return QRect(*x, *y, *width, *height);
}

std::optional<QString> optionalStringField(const QJsonObject &object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull()) {
        return QString();
    }
    if (!value.isString()) {
        return std::nullopt;
    }
    return value.toString();
}

std::optional<std::vector<Monitor>> readOutputs(const QByteArray &json)
{
    const std::optional<QJsonValue> document = parseJson(json);
    if (!document || !document->isArray()) {
        return std::nullopt;
    }
    std::vector<Monitor> monitors;
    for (const QJsonValue &entry : document->toArray()) {
        if (!entry.isObject()) {
            return std::nullopt;
        }
        const QJsonObject output = entry.toObject();
        const QJsonValue active = output.value(QLatin1StringView("active"));
        const std::optional<QString> name = optionalStringField(output, QLatin1StringView("name"));
        const std::optional<QRect> rect = rectField(output, QLatin1StringView("rect"));
        if (!active.isBool() || !name || !rect) {
            return std::nullopt;
        }
        // An inactive output (switched off, or disconnected but configured) has no place in the layout.
        if (active.toBool() && !rect->isEmpty()) {
            monitors.push_back({titleWithinLimit(*name), *rect, false});
        }
    }
    return monitors;
}

std::optional<bool> readCommandReply(const QByteArray &json, QString *error)
{
    const std::optional<QJsonValue> document = parseJson(json);
    if (!document || !document->isArray()) {
        return std::nullopt;
    }
    bool succeeded = true;
    for (const QJsonValue &entry : document->toArray()) {
        const QJsonValue success = entry.toObject().value(QLatin1StringView("success"));
        if (!entry.isObject() || !success.isBool()) {
            return std::nullopt;
        }
        if (!success.toBool() && succeeded) {
            succeeded = false;
            if (error) {
                *error = titleWithinLimit(entry.toObject().value(QLatin1StringView("error")).toString());
            }
        }
    }
    return succeeded;
}

std::optional<bool> readSubscribeReply(const QByteArray &json)
{
    const std::optional<QJsonValue> document = parseJson(json);
    if (!document || !document->isObject()) {
        return std::nullopt;
    }
    const QJsonValue success = document->toObject().value(QLatin1StringView("success"));
    return success.isBool() ? std::optional<bool>(success.toBool()) : std::nullopt;
}

std::optional<QString> readWindowEventChange(const QByteArray &json)
{
    const std::optional<QJsonValue> document = parseJson(json);
    if (!document || !document->isObject()) {
        return std::nullopt;
    }
    const QJsonValue change = document->toObject().value(QLatin1StringView("change"));
    return change.isString() ? std::optional<QString>(change.toString()) : std::nullopt;
}

QString titleWithinLimit(const QString &title)
{
    const qsizetype nul = title.indexOf(QChar(0));
    QByteArray utf8 = (nul < 0 ? title : title.left(nul)).toUtf8();
    if (utf8.size() <= kMaxTitleBytes) {
        return QString::fromUtf8(utf8);
    }
    qsizetype end = kMaxTitleBytes;
    // Back over continuation bytes (10xxxxxx) to the start of the character that does not fit.
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) {
        --end;
    }
    utf8.truncate(end);
    return QString::fromUtf8(utf8);
}

} // namespace platform::sway
