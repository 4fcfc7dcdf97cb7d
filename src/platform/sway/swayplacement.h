// Placing a window on sway: the command list for one placement, the rectangle a window keeps when it takes another
// size, and the wait for the client's answer. Measured on sway 1.7: `resize set` on a floating container sets its
// outer size (title bar and borders included) and keeps its centre, and `move absolute position` sets its outer
// top-left corner in layout coordinates (`move position` without `absolute` is relative to the output), so resizing
// comes first and the position afterwards.
#pragma once

#include "swayreplies.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace platform::sway {

// How long a resized window's client has to answer with a size of its own, and how often the tree is read
// meanwhile (see awaitClientAnswer).
constexpr std::chrono::milliseconds kClientAnswerWait {50};
constexpr std::chrono::milliseconds kClientAnswerPoll {4};

// The rectangle as sway can be asked for it: sizes of at least 1 px (sway reads a size of 0 as "unchanged", and
// applies its own floating minimum to anything smaller) and coordinates within kCoordinateLimitPx.
QRect placeableRect(const QRect &requested);

// The commands, for the criteria [con_id=N], that bring `window` out of full screen and the scratchpad, float it,
// give it the outer rectangle `target` and focus it.
QString placementCommands(const SwayWindow &window, const QRect &target);

// The command that moves a floating window's outer top-left corner to `position`.
QString moveCommand(QPoint position);

// A rectangle of `size` that keeps the `anchor` point of `target`: its left edge, right edge or horizontal centre
// (half the difference, truncated toward zero), and likewise vertically.
QRect anchoredRect(const QRect &target, QSize size, Qt::Alignment anchor);

// The window once its client has answered a resize. sway (1.7) sends no event when a client commits a new size:
// get_tree shows the size sway asked for at once, and only a client that takes another size (its minimum, a
// terminal's character grid) changes it, with its next frame (3 to 8 ms for Qt and GTK clients here). So `read` is
// called every kClientAnswerPoll until the rectangle changes from the first reading or kClientAnswerWait has
// passed. Empty once the window is gone.
std::optional<SwayWindow> awaitClientAnswer(const std::function<std::optional<SwayWindow>()> &read);

} // namespace platform::sway
