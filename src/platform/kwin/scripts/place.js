// Places one window (request: {id, frame: [x, y, width, height], maximize}) and activates it: out of minimized,
// out of maximized (KWin keeps a maximized window maximized when only its frame is set), the frame set in global
// coordinates (which also moves it to another output), maximized again when asked; the frame set becomes the
// rectangle it returns to. Answers the window as it is now, then again each time its frame or maximize state
// changes, until the program unloads the script: KWin applies a frame only once the client has acknowledged it,
// so the first answer still shows the old one. Answers null when the window is gone, or goes.
var target = findWindow(framewright.request.id);

// 5.27 scripts see no maximize state (see isMaximized): from here on KWin's is the one asked for.
function placed() {
    var state = describe(target);
    if (target.maximizeMode === undefined) {
        state.maximized = state.maximized && framewright.request.maximize;
    }
    return state;
}

function report() {
    answer(placed);
}

function gone() {
    answer(function () {
        return null;
    });
}

answer(function () {
    if (!target) {
        return null;
    }
    var frame = framewright.request.frame;
    if (target.minimized) {
        target.minimized = false;
    }
    target.setMaximize(false, false);
    target.frameGeometry = {x: frame[0], y: frame[1], width: frame[2], height: frame[3]};
    if (framewright.request.maximize) {
        target.setMaximize(true, true);
    }
    activate(target);
    connectIf(target.frameGeometryChanged, report);
    connectIf(isKWin6() ? target.maximizedChanged : target.clientMaximizedStateChanged, report);
    connectIf(isKWin6() ? target.closed : target.windowClosed, gone);
    return placed();
});
