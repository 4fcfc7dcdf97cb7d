// Shared head of every Framewright KWin script: the call that loaded it, how answers go back, and the names that
// differ between KWin 5.27 and 6 (clientList/windowList, activeClient/activeWindow, clientAdded/windowAdded, ...).
// The program puts its call in place of the marker below before it loads the script:
//   { "service": <the program's unique bus name>, "path": <its reply object>, "interface": <its interface>,
//     "token": <this script's token>, "request": <what the operation needs> }
// Every answer is one JSON text: {"ok": <value>} or {"error": <message>}.
var framewright = FRAMEWRIGHT_CALL;

// Captions are cut here already so that a client's huge title never crosses the bus; the program cuts them again
// to its own limit.
var kMaxCaptionChars = 1024;
// KWin reports an unlimited size as the largest int.
var kUnlimited = 2147483647;

function send(answer) {
    callDBus(framewright.service, framewright.path, framewright.interface, "reply", framewright.token,
             JSON.stringify(answer));
}

function answer(operation) {
    try {
        send({ok: operation()});
    } catch (error) {
        send({error: String(error)});
    }
}

function isKWin6() {
    return typeof workspace.windowList === "function";
}

function allWindows() {
    return isKWin6() ? workspace.windowList() : workspace.clientList();
}

function activeWindow() {
    return isKWin6() ? workspace.activeWindow : workspace.activeClient;
}

function activate(window) {
    if (isKWin6()) {
        workspace.activeWindow = window;
    } else {
        workspace.activeClient = window;
    }
}

function windowId(window) {
    return String(window.internalId);
}

function findWindow(id) {
    var windows = allWindows();
    for (var i = 0; i < windows.length; i++) {
        if (windowId(windows[i]) === id) {
            return windows[i];
        }
    }
    return null;
}

// The windows a user places: what X11 lists in _NET_CLIENT_LIST less docks and desktops, and none of the
// Wayland-only kinds (notifications, on-screen displays, popups, applet popups).
function isTopLevel(window) {
    return window.managed && !window.deleted && !window.desktopWindow && !window.dock && !window.notification &&
        !window.criticalNotification && !window.onScreenDisplay && !window.appletPopup && !window.popupWindow &&
        !window.outline;
}

function rectangle(rect) {
    return [Math.round(rect.x), Math.round(rect.y), Math.round(rect.width), Math.round(rect.height)];
}

// KWin 6 has maximizeMode (3: both directions); 5.27 scripts see no maximize state, so there a window counts as
// maximized when its frame fills the area it would be maximized to.
function isMaximized(window) {
    if (window.maximizeMode !== undefined) {
        return window.maximizeMode === 3;
    }
    var area = rectangle(workspace.clientArea(KWin.MaximizeArea, window));
    var frame = rectangle(window.frameGeometry);
    return window.maximizable && area.join() === frame.join();
}

function describe(window) {
    var minSize = window.minSize;
    var maxSize = window.maxSize;
    return {
        id: windowId(window),
        title: String(window.caption).substring(0, kMaxCaptionChars),
        stacking: window.stackingOrder,
        visible: !window.hidden || window.minimized,
        owned: window.transient,
        minimized: window.minimized,
        maximized: isMaximized(window),
        frame: rectangle(window.frameGeometry),
        surface: rectangle(window.bufferGeometry),
        decorated: !window.noBorder,
        minSize: [Math.round(minSize.width), Math.round(minSize.height)],
        maxSize: [Math.min(Math.round(maxSize.width), kUnlimited), Math.min(Math.round(maxSize.height), kUnlimited)]
    };
}

function describeAll() {
    var windows = allWindows();
    var described = [];
    for (var i = 0; i < windows.length; i++) {
        if (isTopLevel(windows[i])) {
            described.push(describe(windows[i]));
        }
    }
    return described;
}

// Connects `handler` to `signal` where this version of KWin has that signal.
function connectIf(signal, handler) {
    if (signal && typeof signal.connect === "function") {
        signal.connect(handler);
    }
}
