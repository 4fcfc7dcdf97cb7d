// The tests' own look at KWin, independent of the backend's scripts: every window KWin has (caption, frame,
// stacking, output index), every output's area, and the active window's caption, sent as one JSON text to the
// test's object. ORACLE_SERVICE is replaced by the test's bus name.
var windows = workspace.windowList ? workspace.windowList() : workspace.clientList();
var active = workspace.windowList ? workspace.activeWindow : workspace.activeClient;
var described = [];
for (var i = 0; i < windows.length; i++) {
    var w = windows[i];
    var f = w.frameGeometry;
    described.push({caption: String(w.caption), frame: [f.x, f.y, f.width, f.height], stacking: w.stackingOrder,
                    minimized: w.minimized});
}
var screens = [];
var count = workspace.screens !== undefined ? workspace.screens.length : workspace.numScreens;
for (var s = 0; s < count; s++) {
    var a = workspace.screens !== undefined ? workspace.screens[s].geometry
                                            : workspace.clientArea(KWin.ScreenArea, s, 1);
    screens.push([a.x, a.y, a.width, a.height]);
}
callDBus("ORACLE_SERVICE", "/oracle", "org.framewright.TestOracle", "result",
         JSON.stringify({windows: described, screens: screens, active: active ? String(active.caption) : null}));
