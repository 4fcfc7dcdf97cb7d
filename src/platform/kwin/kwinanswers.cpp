// Reading the KWin scripts' answers: JSON parsed by Qt, then every field looked up by name and checked.
#include "kwinanswers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>

namespace platform::kwin {

namespace {

std::optional<int> boundedInt(const QJsonValue &value, int min, int max)
{
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double number = value.toDouble();
    if (!(number >= min && number <= max) || std::floor(number) != number) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

std::optional<QRect> rectFrom(const QJsonValue &value)
{
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.size() != 4) {
        return std::nullopt;
    }
    const auto x = boundedInt(array[0], -kMaxCoordinate, kMaxCoordinate);
    const auto y = boundedInt(array[1], -kMaxCoordinate, kMaxCoordinate);
    const auto width = boundedInt(array[2], 0, kMaxCoordinate);
    const auto height = boundedInt(array[3], 0, kMaxCoordinate);
    if (!x || !y || !width || !height) {
        return std::nullopt;
    }
    return QRect(*x, *y, *width, *height);
}

// Sizes up to KWin's "unlimited" (the largest int), which stays as it is.
std::optional<QSize> sizeFrom(const QJsonValue &value)
{
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.size() != 2) {
        return std::nullopt;
    }
    const auto width = boundedInt(array[0], 0, std::numeric_limits<int>::max());
    const auto height = boundedInt(array[1], 0, std::numeric_limits<int>::max());
    if (!width || !height) {
        return std::nullopt;
    }
    return QSize(*width, *height);
}

bool isWindowId(const QJsonValue &value)
{
    const QString id = value.toString();
    if (!value.isString() || id.isEmpty() || id.size() > kMaxWindowIdChars) {
        return false;
    }
    return std::all_of(id.begin(), id.end(), [](QChar c) {
        return c.isDigit() || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F') || c == u'{' || c == u'}'
            || c == u'-';
    });
}

std::optional<bool> boolFrom(const QJsonValue &value)
{
    return value.isBool() ? std::optional<bool>(value.toBool()) : std::nullopt;
}

std::optional<WindowState> windowStateFrom(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    if (!value.isObject() || !isWindowId(object[u"id"]) || !object[u"title"].isString()) {
        return std::nullopt;
    }
    const auto stacking = boundedInt(object[u"stacking"], -kMaxCoordinate, kMaxCoordinate);
    const auto visible = boolFrom(object[u"visible"]);
    const auto owned = boolFrom(object[u"owned"]);
    const auto minimized = boolFrom(object[u"minimized"]);
    const auto maximized = boolFrom(object[u"maximized"]);
    const auto decorated = boolFrom(object[u"decorated"]);
    const auto frame = rectFrom(object[u"frame"]);
    const auto surface = rectFrom(object[u"surface"]);
    const auto minSize = sizeFrom(object[u"minSize"]);
    const auto maxSize = sizeFrom(object[u"maxSize"]);
    if (!stacking || !visible || !owned || !minimized || !maximized || !decorated || !frame || !surface || !minSize
        || !maxSize) {
        return std::nullopt;
    }
    WindowState state;
    state.id = object[u"id"].toString();
    state.title = cutToUtf8Bytes(object[u"title"].toString(), kMaxTitleBytes);
    state.stacking = *stacking;
    state.visible = *visible;
    state.owned = *owned;
    state.minimized = *minimized;
    state.maximized = *maximized;
    state.frame = *frame;
    state.surface = *surface;
    state.decorated = *decorated;
    state.minSize = *minSize;
    state.maxSize = *maxSize;
    return state;
}

std::optional<Monitor> monitorFrom(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    const auto rect = rectFrom(object[u"rect"]);
    const auto primary = boolFrom(object[u"primary"]);
    const QString name = object[u"name"].toString();
    if (!value.isObject() || !object[u"name"].isString() || !rect || rect->isEmpty() || !primary) {
        return std::nullopt;
    }
    return Monitor {cutToUtf8Bytes(name, kMaxTitleBytes), *rect, *primary};
}

} // namespace

ScriptAnswer readAnswer(QByteArrayView json)
{
    ScriptAnswer answer;
    if (json.size() > kMaxAnswerBytes) {
        answer.error = QStringLiteral("an answer of %1 bytes is too large").arg(json.size());
        return answer;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &parseError);
    const QJsonObject object = document.object();
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        answer.error = QStringLiteral("an answer that is no JSON object");
    } else if (object.contains(u"ok")) {
        answer.value = object[u"ok"];
    } else if (object[u"error"].isString()) {
        answer.error = QStringLiteral("the script failed: ") + object[u"error"].toString().left(kMaxErrorChars);
    } else {
        answer.error = QStringLiteral("an answer without a result");
    }
    return answer;
}

std::optional<std::vector<Monitor>> monitorsFrom(const QJsonValue &value)
{
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.isEmpty() || array.size() > kMaxMonitors) {
        return std::nullopt;
    }
    std::vector<Monitor> monitors;
    for (const QJsonValue &entry : array) {
        const std::optional<Monitor> monitor = monitorFrom(entry);
        if (!monitor) {
            return std::nullopt;
        }
        monitors.push_back(*monitor);
    }
    return monitors;
}

std::optional<std::vector<WindowState>> windowsFrom(const QJsonValue &value)
{
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.size() > kMaxWindows) {
        return std::nullopt;
    }
    std::vector<WindowState> windows;
    windows.reserve(array.size());
    for (const QJsonValue &entry : array) {
        std::optional<WindowState> window = windowStateFrom(entry);
        if (!window) {
            return std::nullopt;
        }
        windows.push_back(std::move(*window));
    }
    return windows;
}

WindowAnswer windowFrom(const QJsonValue &value)
{
    if (value.isNull()) {
        return {true, std::nullopt};
    }
    std::optional<WindowState> window = windowStateFrom(value);
    return {window.has_value(), std::move(window)};
}

IdAnswer windowIdFrom(const QJsonValue &value)
{
    if (value.isNull()) {
        return {true, QString()};
    }
    if (!isWindowId(value)) {
        return {};
    }
    return {true, value.toString()};
}

QString cutToUtf8Bytes(const QString &text, int maxBytes)
{
    QString cut;
    int bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const bool unpaired = c.isSurrogate() && !pair;
        const int length = pair ? 4 : c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 ? 2 : 3;
        if (bytes + length > maxBytes) {
            break;
        }
        bytes += length;
        if (unpaired) {
            cut += QChar(QChar::ReplacementCharacter);
        } else {
            cut += c;
            if (pair) {
                cut += text[++i];
            }
        }
    }
    return cut;
}

} // namespace platform::kwin
