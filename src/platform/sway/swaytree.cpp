// Reading get_tree: the windows (views) of sway's tree, topmost first as far as the tree tells. sway publishes no
// stacking order, so it is put together from what it does publish:
// - outputs, and the workspaces of an output, in their focus order (the "focus" list of ids, most recent first):
//   the focused output's visible workspace comes first;
// - in a workspace the floating windows come before the tiled ones (they are drawn above them), topmost first:
//   sway draws the floating list in order and raises a floating window on focus by moving it to the end;
// - tiled containers in their focus order;
// - the scratchpad (the hidden "__i3" output) last: its windows are hidden, as minimized ones are elsewhere.
// The outer rectangle is the container's: sway's "rect" leaves out the title bar, which "deco_rect" measures (in
// a stacked container the title bars of all siblings stand above each one).
#include "swayreplies.h"

#include "swayjson.h"

#include <QJsonArray>

#include <algorithm>
#include <unordered_map>

namespace platform::sway {

namespace {

const QLatin1StringView kScratchpadOutput("__i3");

// What a node passes on to its children.
struct Context
{
    bool floating = false;
    bool scratchpad = false;
    int titleBars = 1; // title bars above each child: the number of siblings in a stacked container, else 1
};

class TreeReader
{
public:
    bool walk(const QJsonObject &node, const Context &context, int depth);
    std::vector<SwayWindow> windows;

private:
    bool readView(const QJsonObject &node, const Context &context);
    // The children of `node` in the order described above; false when a list is malformed.
    bool orderedChildren(const QJsonObject &node, std::vector<std::pair<QJsonObject, bool>> &children) const;

    int m_nodes = 0;
};

// A container id. JSON numbers are doubles: ids are exact up to 2^53, which sway's int ids never reach.
std::optional<int64_t> exactId(const QJsonValue &id)
{
    constexpr double kMaxExactId = 9007199254740992.0;
    if (!id.isDouble() || !(id.toDouble() >= 0 && id.toDouble() <= kMaxExactId)
        || id.toDouble() != double(int64_t(id.toDouble()))) {
        return std::nullopt;
    }
    return int64_t(id.toDouble());
}

std::optional<int64_t> conId(const QJsonObject &node)
{
    return exactId(node.value(QLatin1StringView("id")));
}

bool TreeReader::orderedChildren(const QJsonObject &node, std::vector<std::pair<QJsonObject, bool>> &children) const
{
    const QJsonValue tiledValue = node.value(QLatin1StringView("nodes"));
    const QJsonValue floatingValue = node.value(QLatin1StringView("floating_nodes"));
    const QJsonValue focusValue = node.value(QLatin1StringView("focus"));
    if (!tiledValue.isArray() || !floatingValue.isArray() || !(focusValue.isArray() || focusValue.isUndefined())) {
        return false;
    }
    const QJsonArray floating = floatingValue.toArray();
    for (auto it = floating.end(); it != floating.begin();) {
        --it;
        if (!it->isObject()) {
            return false;
        }
        children.emplace_back(it->toObject(), true);
    }
    std::vector<QJsonObject> tiled;
    for (const QJsonValue &child : tiledValue.toArray()) {
        if (!child.isObject()) {
            return false;
        }
        tiled.push_back(child.toObject());
    }
    // Focus order first, then whatever the focus list does not name in tree order; the scratchpad output last.
    std::unordered_map<int64_t, qsizetype> focusRank;
    const QJsonArray focus = focusValue.toArray();
    for (qsizetype i = 0; i < focus.size(); ++i) {
        if (const std::optional<int64_t> id = exactId(focus[i])) {
            focusRank.emplace(*id, i);
        }
    }
    std::vector<std::pair<qsizetype, QJsonObject>> ranked;
    for (QJsonObject &child : tiled) {
        const std::optional<int64_t> id = conId(child);
        const auto found = id ? focusRank.find(*id) : focusRank.end();
        qsizetype rank = found == focusRank.end() ? focus.size() : found->second;
        if (child.value(QLatin1StringView("name")).toString() == kScratchpadOutput) {
            rank = focus.size() + 1;
        }
        ranked.emplace_back(rank, std::move(child));
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (auto &[rank, child] : ranked) {
        children.emplace_back(std::move(child), false);
    }
    return true;
}

bool TreeReader::readView(const QJsonObject &node, const Context &context)
{
    const std::optional<int64_t> id = conId(node);
    const std::optional<QRect> rect = rectField(node, QLatin1StringView("rect"));
    const std::optional<QRect> deco = rectField(node, QLatin1StringView("deco_rect"));
    const std::optional<QString> name = optionalStringField(node, QLatin1StringView("name"));
    const std::optional<int> fullscreen = intField(node, QLatin1StringView("fullscreen_mode"));
    if (!id || !rect || !deco || !name) {
        return false;
    }
    const int titleBars = int64_t(deco->height()) * context.titleBars > kCoordinateLimitPx
        ? kCoordinateLimitPx
        : deco->height() * context.titleBars;
    SwayWindow window;
    window.conId = *id;
    window.title = titleWithinLimit(*name);
    window.outer = QRect(rect->x(), rect->y() - titleBars, rect->width(), rect->height() + titleBars);
    window.floating = context.floating;
    window.scratchpad = context.scratchpad;
    window.fullscreen = fullscreen.value_or(0) != 0;
    window.focused = node.value(QLatin1StringView("focused")).toBool();
    const QJsonValue properties = node.value(QLatin1StringView("window_properties"));
    if (properties.isObject()) {
        const QJsonValue transientFor = properties.toObject().value(QLatin1StringView("transient_for"));
        window.transient = transientFor.isDouble() && transientFor.toDouble() != 0;
    }
    windows.push_back(std::move(window));
    return true;
}

bool TreeReader::walk(const QJsonObject &node, const Context &context, int depth)
{
    if (depth > kMaxTreeDepth || ++m_nodes > kMaxTreeNodes) {
        return false;
    }
    // A view is a container with a shell (xdg_shell or xwayland); the others are outputs, workspaces and splits.
    if (node.value(QLatin1StringView("shell")).isString()) {
        return readView(node, context);
    }
    std::vector<std::pair<QJsonObject, bool>> children;
    if (!orderedChildren(node, children)) {
        return false;
    }
    const bool stacked = node.value(QLatin1StringView("layout")).toString() == QLatin1StringView("stacked");
    const qsizetype tiledCount = node.value(QLatin1StringView("nodes")).toArray().size();
    for (const auto &[child, floating] : children) {
        Context inner = context;
        inner.floating = context.floating || floating;
        inner.scratchpad = context.scratchpad
            || (node.value(QLatin1StringView("type")).toString() == QLatin1StringView("root")
                && child.value(QLatin1StringView("name")).toString() == kScratchpadOutput);
        inner.titleBars = stacked && !floating ? int(std::min<qsizetype>(tiledCount, kMaxTreeNodes)) : 1;
        if (!walk(child, inner, depth + 1)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::vector<SwayWindow>> readTree(const QByteArray &json)
{
    const std::optional<QJsonValue> document = parseJson(json);
    if (!document || !document->isObject()) {
        return std::nullopt;
    }
    TreeReader reader;
    if (!reader.walk(document->toObject(), Context(), 0)) {
        return std::nullopt;
    }
    return std::move(reader.windows);
}

} // namespace platform::sway
