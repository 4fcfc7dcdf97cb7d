// Answers the outputs: [{name, rect: [x, y, width, height], primary}]. KWin 6 lists its outputs in the user's
// order, the primary first; KWin 5.27 scripts know outputs only by index, without names, index 0 first.
answer(function () {
    var monitors = [];
    if (workspace.screens !== undefined) {
        for (var i = 0; i < workspace.screens.length; i++) {
            var output = workspace.screens[i];
            monitors.push({name: String(output.name), rect: rectangle(output.geometry), primary: i === 0});
        }
    } else {
        for (var screen = 0; screen < workspace.numScreens; screen++) {
            monitors.push({name: "", rect: rectangle(workspace.clientArea(KWin.ScreenArea, screen, 1)),
                           primary: screen === 0});
        }
    }
    return monitors;
});
