// Giving a window a rectangle on sway and learning what its client made of it. Measured on sway 1.7:
// - `resize set` on a floating container sets its outer size (title bar and borders included) and keeps its
//   centre; `move absolute position` sets its outer top-left corner in layout coordinates (`move position` without
//   `absolute` is relative to the output). So the size comes first and the position after it.
// - get_tree shows what sway asked for at once; the client answers with its next frame (1 to 8 ms for Qt and GTK
//   clients here), and no event says so. A floating window's container takes the size of a client commit only when
//   it differs from the client's previous size. sway configures clients one command's changes at a time: a command
//   that comes while a client has not answered the previous one waits, and the client's answer replaces what it
//   would have asked for.
// So each size request is sent together with a probe, a request kProbeGrowthPx larger that waits behind it: the
// client's answer replaces the probe, and get_tree shows the answer (the size asked for, or the one the client
// insists on) as soon as it comes. A window already at its minimum that is asked for less would answer with its
// previous size, which sway ignores: it is first made larger than both its size and the target, so that any answer
// is a change. A client slower than sway's wait gets the probe as well and answers it after the request: once that
// answer has come, the client is asked for its answer to the request alone, which needs no probe.
// Clients answer configurations in order, each in turn (GTK), or only the last of several that came together (GTK
// and Qt under load). A late answer to an earlier request therefore comes before the answer to the present one: it
// is recognised by its size and waited past. Making the request again instead would leave the client one more
// configuration to answer after the one taken for the answer, and the window would change after the placement
// returned. A request that comes while sway still waits for some client is held back, and the probe behind it
// replaces it: the client then answers the probe alone, and the request is made again.
#pragma once

#include "swayreplies.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace platform::sway {

// How long one request waits for the client's answer, how often get_tree is read meanwhile, and how often a request
// is made when no answer came (the client answered before sway read the probe, or is slow).
constexpr std::chrono::milliseconds kClientAnswerWait {1000};
constexpr std::chrono::milliseconds kClientAnswerPoll {2};
constexpr int kPlacementAttempts = 3;
constexpr int kProbeGrowthPx = 2;
// sway's own wait for a client's answer to a configuration (its transaction timeout).
constexpr std::chrono::milliseconds kSwayClientWait {
    200}; // even: the container's centre, which `resize set` keeps, stays on whole pixels

// sway's automatic floating minimum: `resize set` gives a floating container at least this size, so a request for
// less and its probe would both end at it, and the probe could not be told from an answer. Smaller requests ask for
// it instead; the window then keeps the point its anchor names, as with a size its client refuses.
constexpr QSize kSwayFloatingMinimum {75, 50};

// What placing needs of the backend: the window as get_tree shows it now (empty once it is gone), and running
// commands on it, one run_command message per string, all sent in one write (false when sway refused one).
struct WindowAccess
{
    std::function<std::optional<SwayWindow>()> read;
    std::function<bool(const QStringList &messages)> run;
    // The size of the output layout: sway's default floating maximum, which probes stay within (a probe that sway
    // cut down could not be told from an answer).
    QSize layoutSize;
};

// The rectangle as sway can be asked for it: sizes of at least 1 px (sway reads a size of 0 as "unchanged", and
// applies its own floating minimum to anything smaller) and coordinates within kCoordinateLimitPx.
QRect placeableRect(const QRect &requested);

// Takes the window out of the scratchpad and full screen, floats it, gives it `target` and waits for its client's
// answer; the window as it is then, its size being the one the client took (or sway's limits gave). Empty when the
// window is gone, sway refused a command, or the client did not answer within kPlacementAttempts waits.
std::optional<SwayWindow> resizeAndMove(const SwayWindow &window, const QRect &target, const WindowAccess &access);

// The command that moves a floating window's outer top-left corner to `position`.
QString moveCommand(QPoint position);

} // namespace platform::sway
