// Stays loaded while the program watches: answers the whole window list (describeAll) each time a window
// appears or goes, or changes its caption, visibility or owner, and once at the start. The program unloads it.
function changed() {
    answer(describeAll);
}

function follow(window) {
    connectIf(window.captionChanged, changed);
    connectIf(window.minimizedChanged, changed);
    connectIf(window.transientChanged, changed);
    connectIf(window.hiddenChanged, changed);
}

var windows = allWindows();
for (var i = 0; i < windows.length; i++) {
    follow(windows[i]);
}
(isKWin6() ? workspace.windowAdded : workspace.clientAdded).connect(function (window) {
    follow(window);
    changed();
});
(isKWin6() ? workspace.windowRemoved : workspace.clientRemoved).connect(changed);
changed();
