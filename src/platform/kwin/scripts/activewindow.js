// Answers the active window's id, or null.
answer(function () {
    var window = activeWindow();
    return window ? windowId(window) : null;
});
