// The matcher of the pattern engine: runs a compiled program over a subject by backtracking.
// Choice points and undo records live on a heap stack, not on the machine stack, and every run
// has a budget of steps and stack entries (error 1016), so no pattern or subject can hang it.
#pragma once

#include "captures.h"
#include "errors.h"
#include "program.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace regex {

constexpr int kLoopCounterCount = 10; // counted loops active at once; an eleventh is error 1014

// Work units of one run: nodes walked, characters compared or counted, entries taken back.
// About 100 ms on a current machine; a linear match over a 64 KiB subject needs a few million.
// Fuzz builds stop sooner, so that more inputs are tried per second.
#ifdef FRAMEWRIGHT_REGEX_FUZZ_BUDGET
constexpr int64_t kMaxMatchSteps = 1'000'000;
#else
constexpr int64_t kMaxMatchSteps = 25'000'000;
#endif
// Choice points and undo records held at once (24 bytes each). A match of a loop over a group
// takes about three per character, so a 64 KiB subject stays far below it.
constexpr size_t kMaxBacktrackEntries = 1u << 21;
// Longest subject a run accepts; positions are 32-bit.
constexpr size_t kMaxSubjectBytes = 1u << 30;

enum class Undo : uint8_t {
    GroupStart,   // a: group, b: previous start
    GroupEnd,     // a: group, b: previous end
    LoopDepth,    // a: previous depth
    LoopSlot,     // a: depth, b: previous counter, c: previous pass start
    Branch,       // node: the next Branch to try, pos: where
    RepeatGreedy, // node: continuation, pos: start, a: next count, b: min, c: width, lookahead
    RepeatLazy,   // node: continuation, pos: start, a: next count, b: available, c: width, lookahead
    LeaveLoop,    // node: the Loop node whose continuation to take, pos: where
    PassLoop,     // node: the LoopLazy node whose body to run again, pos: where
};

struct BacktrackEntry
{
    Undo kind;
    uint8_t lookahead;
    int32_t node;
    int32_t pos;
    int32_t a;
    int32_t b;
    int32_t c;
};

// Working storage of runs, kept by the caller so that a run after the first allocates nothing.
struct MatchScratch
{
    std::vector<BacktrackEntry> stack;
};

// Finds the first match of `program` in `subject` that begins at `start` (0-based, at most the
// subject's length) or later. `subject` holds no zero byte and is followed by one (a std::string's
// data), which the walker reads as the end of the text. True with `captures` filled; false with every
// entry of `captures` -1. Throws regex::Error: 1000 to 1002 for a corrupted program, 1014 and 1015
// from counted loops, 1016 when the run exceeds its budget or the subject is too long.
bool search(const Program &program, std::string_view subject, int start, Captures &captures, MatchScratch &scratch);

// One run of search(): the walker and the state it restores on backtracking.
class Matcher
{
public:
    Matcher(const Program &program, std::string_view subject, Captures &captures, MatchScratch &scratch);

    bool search(int start);

private:
    bool tryAt(int position);
    bool matchPrim(int node);
    bool backtrack(int &node);
    void push(const BacktrackEntry &entry);
    [[noreturn]] void fail(ErrorCode code);

    bool matchLiteral(const uint8_t *text, bool foldCase);
    bool matchBackRef(int group, bool foldCase);
    bool sameText(int from, int length, bool foldCase) const;
    bool atLineStart() const;
    bool atLineEnd() const;
    bool atWordBoundary() const;
    void setGroup(int node);
    int enterBranch(int node);
    int followBack(int node);
    bool lastPassWasEmpty(int exitBranch);
    bool startRepeat(int &node);
    bool resumeGreedy(int next, int start, int count, int min, int width, uint8_t lookahead, int &node);
    bool resumeLazy(int next, int start, int count, int available, int width, uint8_t lookahead, int &node);
    int countRepeats(int repeated, int limit, int &width);
    int countBackRefs(int group, bool foldCase, int limit, int &width);
    void enterLoop();
    int loopStep(int node);
    void beginPass();
    void leaveLoop();

    const Program &m_compiled;
    const uint8_t *m_program;
    const uint8_t *m_input;
    int m_length;
    Captures &m_captures;
    int m_pos = 0;
    int m_loopDepth = 0;
    std::array<int32_t, kLoopCounterCount + 1> m_loopCounters {}; // index 1..10
    std::array<int32_t, kLoopCounterCount + 1> m_passStart {};    // where the current pass of each loop began
    int64_t m_steps = 0;
    bool m_checkEmptyPasses;
    std::vector<BacktrackEntry> &m_stack;
};

} // namespace regex
