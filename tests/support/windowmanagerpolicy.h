// Data rows of X11 tests that a window manager decides by a policy of its own (it puts the window elsewhere than
// asked, and the program can only report the placement as not taken): the row is skipped with the reason under that
// window manager (x11-session names it in FRAMEWRIGHT_WM).
#pragma once

#include <QTest>

#include <span>

struct WindowManagerPolicy
{
    const char *row;
    const char *windowManager;
    const char *reason;
};

// Skips the current row when the session's window manager decides it by one of `policies`.
inline bool skippedByPolicy(std::span<const WindowManagerPolicy> policies, const char *file, int line)
{
    const QByteArray wm = qgetenv("FRAMEWRIGHT_WM");
    for (const WindowManagerPolicy &policy : policies) {
        if (wm == policy.windowManager && qstrcmp(QTest::currentDataTag(), policy.row) == 0) {
            QTest::qSkip(policy.reason, file, line);
            return true;
        }
    }
    return false;
}
