// Placing windows on GNOME Shell together: every window is asked at once, in rounds, and each is asked again as
// long as its answer says it passed over the request. The shell is reached through a function, so that the rounds
// can be followed without one.
#pragma once

#include "gnomeshell.h"
#include "platform/windowsystem.h"

#include <QSize>

#include <functional>
#include <optional>
#include <vector>

namespace platform::gnome {

// Asks the shell for every placement of one round at once; the answers in the order of the requests (empty for a
// call that failed), as ShellClient::place gives them.
using PlaceAll = std::function<std::vector<std::optional<PlaceResult>>(const std::vector<PlaceRequest> &)>;

// One window to place: its mutter id and the size of its frame before (empty for a window not shown yet, which
// mutter lists as 0 x 0).
struct PlacementTarget
{
    uint64_t id = 0;
    QSize sizeBefore;
};

// Gives every target the placement (normal or maximized; never minimized). A window that kept its size, or was
// not maximized as asked, is asked again (up to three times in all): a Qt 6.4 client that has just shown its window
// may pass over the first new sizes it is given (seen on mutter 43 under load). A window that took another size
// than the one asked for has answered with its own (its minimum) and is asked once more for that size at the
// point of the rectangle its anchor names. Whether each took the placement, in the order of `targets`; a window
// that is gone, or whose answer did not come, did not. The shell activates each window it places, so a window asked
// again ends above those of the rounds before.
std::vector<bool> placeTogether(
    const PlaceAll &placeAll, const std::vector<PlacementTarget> &targets, const WindowPlacement &placement);

} // namespace platform::gnome
