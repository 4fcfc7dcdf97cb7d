// One search written as text, so that runs of a program can be compared (the runs that keep the
// states they failed from against those that keep none, in tests and fuzz targets).
#pragma once

#include "program.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace regex {

// Searches `subject` from its start with `program`, the memo beginning after `memoAfterSteps` steps
// (0: from the first; the largest int64_t: never). The outcome: "no match", "error " and the code,
// or every group's "start,end" ("-" for an unset group), each followed by a space.
std::string searchOutcome(const Program &program, std::string_view subject, int64_t memoAfterSteps);

} // namespace regex
