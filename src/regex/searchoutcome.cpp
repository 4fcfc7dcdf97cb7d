// One search written as text (see searchoutcome.h).
#include "searchoutcome.h"

#include "matcher.h"

namespace regex {

std::string searchOutcome(const Program &program, std::string_view subject, int64_t memoAfterSteps)
{
    MatchScratch scratch;
    scratch.memoAfterSteps = memoAfterSteps;
    Captures captures;
    try {
        if (!search(program, subject, 0, captures, scratch)) {
            return "no match";
        }
    } catch (const Error &error) {
        return "error " + std::to_string(static_cast<int>(error.code));
    }
    std::string text;
    for (size_t n = 0; n < captures.start.size(); ++n) {
        text += captures.start[n] < 0 ? "- "
                                      : std::to_string(captures.start[n]) + "," + std::to_string(captures.end[n]) + " ";
    }
    return text;
}

} // namespace regex
