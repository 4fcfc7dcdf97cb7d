// Where a match and its groups lie: the buffer a caller gives the matcher to fill.
#pragma once

#include <array>

namespace regex {

constexpr int kGroupCount = 15; // index 0 is the whole match, groups 1..14

// Offsets into the subject; start and end (one past the last character) are -1 while a group has
// not matched. A failed run leaves every entry -1.
struct Captures
{
    std::array<int, kGroupCount> start;
    std::array<int, kGroupCount> end;

    Captures() { clear(); }
    void clear()
    {
        start.fill(-1);
        end.fill(-1);
    }
};

} // namespace regex
