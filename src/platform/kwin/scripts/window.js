// Answers one window (request: {id}) as describe() gives it, or null when it is gone.
answer(function () {
    var window = findWindow(framewright.request.id);
    return window ? describe(window) : null;
});
