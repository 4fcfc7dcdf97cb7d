// Listing top-level windows: the per-window description batch, and the root-children walk for desktops without an
// EWMH window manager.
#include "x11windowlist.h"

#include "x11requests.h"
#include "x11titles.h"

#include <algorithm>
#include <optional>

namespace platform::x11 {

// _NET_WM_WINDOW_TYPE entries looked at; real windows list one to three.
constexpr uint32_t kMaxWindowTypes = 32;

// What listing reads of one window, requested at once. WM_NAME follows in a second batch for the windows whose
// _NET_WM_NAME gives no title (most windows have one, so most listings cost a single round trip).
struct DescriptionRequest
{
    DescriptionRequest(const X11Connection &connection, xcb_window_t window, bool visibleWithoutWmState)
        : window(window)
        , visibleWithoutWmState(visibleWithoutWmState)
        , netWmName(connection.get(), window, connection.atoms().netWmName, kNetWmNameLongs)
        , wmState(connection.get(), window, connection.atoms().wmState, 2)
        , transientFor(connection.get(), window, XCB_ATOM_WM_TRANSIENT_FOR, 1)
        , windowType(connection.get(), window, connection.atoms().netWmWindowType, kMaxWindowTypes)
    { }

    xcb_window_t window;
    bool visibleWithoutWmState; // the visibility of a window no window manager has given a WM_STATE
    PendingProperty netWmName, wmState, transientFor, windowType;
};

namespace {

// Windows looked at below one root child while searching for its client.
constexpr size_t kMaxDescendantsPerFrame = 256;

// EWMH: a window's type is the first basic type in its list (the others may be extensions).
bool isDockOrDesktop(const std::vector<uint32_t> &types, const Atoms &a)
{
    const xcb_atom_t basicTypes[]
        = {a.netWmWindowTypeDesktop, a.netWmWindowTypeDock, a.netWmWindowTypeToolbar, a.netWmWindowTypeMenu,
            a.netWmWindowTypeUtility, a.netWmWindowTypeSplash, a.netWmWindowTypeDialog, a.netWmWindowTypeNormal};
    for (const uint32_t type : types) {
        if (std::find(std::begin(basicTypes), std::end(basicTypes), type) != std::end(basicTypes)) {
            return type == a.netWmWindowTypeDock || type == a.netWmWindowTypeDesktop;
        }
    }
    return false;
}

// Empty for a window that is gone, a dock or a desktop. The title is the one of _NET_WM_NAME.
std::optional<TopLevelWindow> describe(const X11Connection &connection, DescriptionRequest &request)
{
    const Atoms &atoms = connection.atoms();
    const Property netWmName = request.netWmName.get();
    const Property wmState = request.wmState.get();
    const Property transientFor = request.transientFor.get();
    const Property windowType = request.windowType.get();
    if (!netWmName.received() || !wmState.received() || !transientFor.received() || !windowType.received()) {
        return std::nullopt;
    }
    if (isDockOrDesktop(values32(windowType.value(), XCB_ATOM_ATOM, kMaxWindowTypes), atoms)) {
        return std::nullopt;
    }
    TopLevelWindow window;
    window.id = request.window;
    window.title = netWmNameTitle(connection, netWmName.value());
    const std::optional<WmState> state = parseWmState(wmState.value(), atoms.wmState);
    window.visible = state ? *state == WmState::Normal || *state == WmState::Iconic : request.visibleWithoutWmState;
    // Any WM_TRANSIENT_FOR counts, None and the root included: ICCCM makes those transient for the group.
    window.owned = !values32(transientFor.value(), XCB_ATOM_WINDOW, 1).empty();
    return window;
}

// The windows described, in the order of the requests; WM_NAME read where _NET_WM_NAME gives no title.
std::vector<TopLevelWindow> describeAll(const X11Connection &connection, std::vector<DescriptionRequest> &requests)
{
    std::vector<std::optional<TopLevelWindow>> described;
    for (DescriptionRequest &request : requests) {
        described.push_back(describe(connection, request));
    }
    std::vector<std::pair<std::optional<TopLevelWindow> *, PendingProperty>> fallbacks;
    for (std::optional<TopLevelWindow> &window : described) {
        if (window && window->title.isEmpty()) {
            fallbacks.emplace_back(
                &window, PendingProperty(connection.get(), window->id, XCB_ATOM_WM_NAME, kWmNameLongs));
        }
    }
    for (auto &[window, request] : fallbacks) {
        const Property wmName = request.get();
        if (wmName.received()) {
            (*window)->title = wmNameTitle(connection, wmName.value());
        } else {
            window->reset(); // gone meanwhile
        }
    }
    std::vector<TopLevelWindow> windows;
    for (std::optional<TopLevelWindow> &window : described) {
        if (window) {
            windows.push_back(std::move(*window));
        }
    }
    return windows;
}

// A root child being resolved to its client: the windows of the level below that are searched next.
struct FrameSearch
{
    xcb_window_t client = XCB_NONE;
    std::vector<xcb_window_t> frontier;
};

// One level of the search: the children of every frontier window, and which of them carry WM_STATE.
void searchOneLevel(const X11Connection &connection, std::vector<FrameSearch *> &open)
{
    xcb_connection_t *c = connection.get();
    std::vector<std::vector<PendingTree>> trees(open.size());
    for (size_t i = 0; i < open.size(); ++i) {
        for (const xcb_window_t window : open[i]->frontier) {
            trees[i].emplace_back(c, xcb_query_tree(c, window));
        }
    }
    std::vector<std::vector<std::pair<xcb_window_t, PendingProperty>>> states(open.size());
    for (size_t i = 0; i < open.size(); ++i) {
        for (PendingTree &pending : trees[i]) {
            const Reply<xcb_query_tree_reply_t> tree = pending.get();
            const int count = tree ? xcb_query_tree_children_length(tree.get()) : 0;
            const xcb_window_t *children = tree ? xcb_query_tree_children(tree.get()) : nullptr;
            for (int k = 0; k < count && states[i].size() < kMaxDescendantsPerFrame; ++k) {
                states[i].emplace_back(children[k], PendingProperty(c, children[k], connection.atoms().wmState, 1));
            }
        }
    }
    for (size_t i = 0; i < open.size(); ++i) {
        open[i]->frontier.clear();
        for (auto &[window, pending] : states[i]) {
            const Property state = pending.get();
            if (open[i]->client == XCB_NONE && state.value().type == connection.atoms().wmState) {
                open[i]->client = window;
            }
            open[i]->frontier.push_back(window);
        }
    }
    std::erase_if(open, [](const FrameSearch *search) { return search->client != XCB_NONE; });
}

} // namespace

ManagedWindowsDescription::ManagedWindowsDescription(
    const X11Connection &connection, const std::vector<xcb_window_t> &topmostFirst)
    : m_connection(connection)
{
    m_requests.reserve(topmostFirst.size());
    for (const xcb_window_t window : topmostFirst) {
        m_requests.emplace_back(connection, window, false);
    }
}

ManagedWindowsDescription::~ManagedWindowsDescription() = default;

std::vector<TopLevelWindow> ManagedWindowsDescription::get()
{
    return describeAll(m_connection, m_requests);
}

namespace {

// One child of the root window, topmost first, resolved to the client inside it (the child itself when no window
// within kMaxFrameDepth levels carries WM_STATE).
struct RootChild
{
    xcb_window_t window = XCB_NONE;
    xcb_window_t client = XCB_NONE;
    bool viewable = false;
};

// The root window's children topmost first, `ownWindow` left out, and override-redirect ones (menus, tooltips)
// unless `withOverrideRedirect`: window managers make their frames override-redirect.
std::vector<RootChild> resolveRootChildren(
    const X11Connection &connection, xcb_window_t ownWindow, bool withOverrideRedirect)
{
    xcb_connection_t *c = connection.get();
    const Reply<xcb_query_tree_reply_t> tree = PendingTree(c, xcb_query_tree(c, connection.root())).get();
    if (!tree) {
        return {};
    }
    // QueryTree lists children bottom to top.
    const int count = std::min<int>(xcb_query_tree_children_length(tree.get()), kMaxListedWindows);
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    struct Child
    {
        xcb_window_t window;
        PendingAttributes attributes;
        PendingProperty wmState;
    };
    std::vector<Child> pending;
    for (int i = count - 1; i >= 0; --i) {
        if (children[i] != ownWindow) {
            pending.push_back({children[i], PendingAttributes(c, xcb_get_window_attributes(c, children[i])),
                PendingProperty(c, children[i], connection.atoms().wmState, 1)});
        }
    }

    std::vector<FrameSearch> searches(pending.size());
    std::vector<bool> listed(pending.size(), false);
    std::vector<bool> viewable(pending.size(), false);
    std::vector<FrameSearch *> open;
    for (size_t i = 0; i < pending.size(); ++i) {
        const Reply<xcb_get_window_attributes_reply_t> attributes = pending[i].attributes.get();
        const Property state = pending[i].wmState.get();
        if (!attributes || (attributes->override_redirect && !withOverrideRedirect)) {
            continue;
        }
        listed[i] = true;
        viewable[i] = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        if (state.value().type == connection.atoms().wmState) {
            searches[i].client = pending[i].window;
        } else {
            searches[i].frontier.push_back(pending[i].window);
            open.push_back(&searches[i]);
        }
    }
    for (int depth = 0; depth < kMaxFrameDepth && !open.empty(); ++depth) {
        searchOneLevel(connection, open);
    }

    std::vector<RootChild> resolved;
    for (size_t i = 0; i < pending.size(); ++i) {
        if (listed[i]) {
            const bool found = searches[i].client != XCB_NONE;
            resolved.push_back({pending[i].window, found ? searches[i].client : pending[i].window, viewable[i]});
        }
    }
    return resolved;
}

} // namespace

std::vector<TopLevelWindow> listRootChildren(const X11Connection &connection, xcb_window_t ownWindow)
{
    std::vector<DescriptionRequest> requests;
    for (const RootChild &child : resolveRootChildren(connection, ownWindow, false)) {
        requests.emplace_back(connection, child.client, child.viewable);
    }
    return describeAll(connection, requests);
}

std::vector<xcb_window_t> inStackingOrder(const X11Connection &connection, const std::vector<xcb_window_t> &managed)
{
    std::vector<xcb_window_t> ordered;
    ordered.reserve(managed.size());
    std::vector<xcb_window_t> rest = managed;
    std::sort(rest.begin(), rest.end());
    for (const RootChild &child : resolveRootChildren(connection, XCB_NONE, true)) {
        const auto it = std::lower_bound(rest.begin(), rest.end(), child.client);
        if (it != rest.end() && *it == child.client) {
            ordered.push_back(child.client);
            rest.erase(it);
        }
    }
    for (const xcb_window_t window : managed) {
        if (std::binary_search(rest.begin(), rest.end(), window)) {
            ordered.push_back(window);
        }
    }
    return ordered;
}

} // namespace platform::x11
