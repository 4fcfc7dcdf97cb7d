// Timing of placement under the running window manager: from the call of setWindowPlacement (what Apply comes down
// to) to its return, and to the windows landed as plain X requests see them; for one window, one window leaving
// maximized, 50 windows at once, and the first placement of a new connection (each --apply is one).
#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <vector>

class RawX;

namespace platform::x11 {
class X11WindowSystem;
}

// One series of runs. A run whose windows did not land within LandingWatch::kTimeoutMs has no landing time.
struct PlacementSeries
{
    std::vector<double> returnedMs;
    std::vector<double> landedMs;
    int runs = 0;
    int calls = 0;   // of setWindowPlacement, one a window and run
    int refused = 0; // calls that returned false
};

struct PlacementTimings
{
    PlacementSeries oneWindow;
    PlacementSeries fromMaximized;
    PlacementSeries manyWindows;
    PlacementSeries firstOfConnection;
};

// Runs every series on `windows` (at least two, managed and shown normal); leaves them placed somewhere. Each timed
// run starts once `untilQuiet` returns: an Apply starts from a desktop at rest, not from one still busy with the
// run before.
PlacementTimings timePlacement(platform::x11::X11WindowSystem &system, RawX &raw, const std::vector<uint32_t> &windows,
    const std::function<void()> &untilQuiet);

// Prints each series in words, then the window manager's row of the markdown table (a line starting with "| ";
// placementTableHeader() gives the two lines above the rows). True when every run landed.
bool printPlacementTimings(const PlacementTimings &timings, const QByteArray &windowManager);
const char *placementTableHeader();
