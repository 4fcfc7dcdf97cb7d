// The window-system operations Framewright needs, and nothing else.
// X11WindowSystem implements them on X11; tests use a fake. Everything else reaches the desktop through this.
#pragma once

#include <QRect>
#include <QString>

#include <vector>

namespace platform {

// One monitor of the desktop: its name and full rectangle in root coordinates.
struct Monitor
{
    QString name;
    QRect rect;
    bool primary = false;

    bool operator==(const Monitor &) const = default;
};

class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // The active monitors: the primary first, then the others by (x, y). Never empty: a desktop without
    // monitor information reports its root window as the one monitor.
    virtual std::vector<Monitor> monitors() = 0;
};

} // namespace platform
