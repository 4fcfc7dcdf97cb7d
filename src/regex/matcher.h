// The matcher of the pattern engine: runs a compiled program over a subject by backtracking.
// Choice points and undo records live on a heap stack, not on the machine stack. A run remembers
// the states it has failed from, so that a title costs polynomial time whatever the pattern; where
// that is unsound, and as a backstop, a budget of steps and stack entries ends it (error 1016).
//
// Memoising failures. The walk is a depth-first search over states in priority order; the first
// state that reaches End gives the match. If the outcome from a state depends on nothing but the
// state, a state met a second time has failed already (a success would have ended the run), so the
// matcher fails it at once and the result, captures included, is the one the plain search gives.
// The state is kept at the program's memo points only (collectMemoPoints), which every way back to
// an earlier node passes, so no state is expanded twice. A run begins to keep states once it has
// taken kMemoAfterSteps steps: an ordinary title is done long before and pays nothing for it, and
// a state first met before that point is only expanded once more. What the outcome depends on:
//   - the position and the node;
//   - the counters of the active counted loops. Below a loop's minimum its counter is part of the
//     state. At or above it, a higher counter leaves a subset of the ways on (the same passes and
//     exits, fewer passes before the maximum), and a lower one the same ways unless a pass is
//     refused at the maximum. So a failed state is recorded with a threshold per loop, and holds
//     for every counter at or above it: the loop's minimum where the exploration from the state
//     never depended on the loop's maximum, its counter at the time where it did. The walk keeps a
//     frame per state on the stack; a pass refused at a loop's maximum, and a recorded failure that
//     holds only from a counter above the minimum, mark their loop in the innermost frame of the
//     same loop instance; a frame taken back records its state's thresholds and hands its marks on
//     to the frame below while the loop was already running there. Without that, lazy loops in lazy
//     loops, which reach a position with the most passes first, would explore the product of their
//     counters;
//   - the groups that back-references read: of a group the walk may still close (its Close node is
//     reachable without passing its Open node), the span; of any other, only its text, named by its
//     first occurrence in the subject and its length, so that states of different start positions
//     that captured the same text are one (the span only decides the captures a match reports, and
//     a state reached again has failed). On subjects longer than a title, the spans;
//   - where a back-reference can match the empty text (its group can, or it is not closed before the
//     reference), whether the pass of each active loop began at the position, since a loop ends
//     after an empty pass: for counted loops from their pass start (not at their entry, where no
//     pass has been made), for '*' and '+' over a group from the choice point their exit Branch left
//     at the start of the pass (those at the position lie at the top of the stack); and of each group
//     whose text is in the state, whether it ended at the position (an Open there would make it
//     empty rather than unset). Each only where the walk from the memo point can still read it: the
//     loop's check for an empty pass, or the group's Open node, is reachable (collectPointFacts).
//     Elsewhere a pass through a loop body consumes a character (the compiler refuses empty bodies)
//     or is the one pass of a loop of at most one.
// Besides, once the memo begins, a run builds a ViabilityMap of the program over the subject and
// fails at once every state (at a memo point, a repetition or a start position) from which no way
// leads to End whatever the counters and groups (the common end of a catastrophic title: a last
// character nothing can take); that holds for every program, those with such back-references too.
// Where counted loops with maxima bound what a walk can still take (Capacity), the map also gives
// the least end of a match from each state, and a state at a memo point or a repetition's count
// whose characters left, with the counters as they are, fall short of it fails at once; as that
// depends on the counters, it marks the loops whose counters it needs, as a refused pass does.
// States at depth 0 of a program without back-references live in a bitmap of memo points x
// positions; all others in pages of a StateMemo. Past the memo's size the budget decides, and
// since states are counted in the budget too, a run whose states do not fit still ends.
#pragma once

#include "capacity.h"
#include "captures.h"
#include "errors.h"
#include "program.h"
#include "statememo.h"
#include "viability.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
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
// Steps after which a run begins to keep the states it fails from (a few microseconds).
constexpr int64_t kMemoAfterSteps = 4096;
// Memo points times subject positions that a run keeps as a bitmap (1 MiB); a larger run is not
// memoised. A 255-byte title leaves room for 32768 memo points.
constexpr int64_t kMaxMemoBits = int64_t {1} << 23;
// Longest subject whose groups a state holds by their text (a title is at most 255 bytes); the
// first occurrences found are kept in a table of (length + 1)^2 entries.
constexpr int kMaxTextKeyedSubject = 256;
// Entries of the state memo's pages that a run keeps (2 MiB in all); past them the budget decides.
constexpr size_t kMaxStateMemoSlots = size_t {1} << 19;
// States recorded in those pages. A run that needs more explores a state space too large for a
// title's time and is left to the budget, which a walk without lookups spends fastest.
constexpr size_t kMaxKeyedStates = 1u << 16;

enum class Undo : uint8_t {
    GroupStart,   // a: group, b: previous start
    GroupEnd,     // a: group, b: previous end
    LoopDepth,    // a: previous depth
    LoopEntered,  // a: the depth entered, b: previous serial of its slot
    LoopSlot,     // a: depth, b: previous counter, c: previous pass start, node: previous Loop node
    Branch,       // node: the next Branch to try, pos: where
    RepeatGreedy, // node: continuation, pos: start, a: next count, b: min, c: width, lookahead
    RepeatLazy,   // node: continuation, pos: start, a: next count, b: available, c: width, lookahead
    LeaveLoop,    // node: the Loop node whose continuation to take, pos: where
    PassLoop,     // node: the LoopLazy node whose body to run again, pos: where
    Frame,        // a memo state: node: its entry's index, a: frame below, b: loops marked, c: serials then
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

// What a memo point of a program with back-references leads to (collectPointFacts): bit n of a
// group mask for group n.
struct PointFacts
{
    uint16_t openGroups = 0;     // a Close node of a group reachable without passing its Open node
    uint16_t reopenedGroups = 0; // an Open node reachable
    uint64_t exitChecks = 0;     // bit k: the check of loop exit k reachable
};

// Working storage of runs, kept by the caller so that a run after the first allocates nothing.
struct MatchScratch
{
    std::vector<BacktrackEntry> stack;
    std::vector<int32_t> memoIndex;       // collectMemoPoints of the program being run
    std::vector<uint64_t> visited;        // memo point x position, outside counted loops, no back-reference
    StateMemo stateMemo;                  // all other memo states (stateKey)
    std::vector<int32_t> loopExits;       // collectLoopExits of the program being run
    std::vector<int32_t> exitChecks;      // and its checks
    std::vector<PointFacts> pointFacts;   // collectPointFacts of the program being run
    std::vector<int16_t> firstOccurrence; // per start x length of a text, where it first occurs; -1 unknown
    ViabilityMap viability;               // the states that can still end in a match
    Capacity capacity;                    // what the walk can still take from each node
    // Steps before a run begins to memoise; tests compare runs that never do with runs that always do.
    int64_t memoAfterSteps = kMemoAfterSteps;
};

// Numbers the memo points of `program` 0..n - 1 in `index` (by node offset; -1 for other nodes)
// and returns n.
int collectMemoPoints(const Program &program, std::vector<int32_t> &index);

// Numbers the exit Branch nodes of the greedy '*' and '+' loops over groups of `program` 0..n - 1
// in `index` (by node offset; -1 for other nodes), lists in `checks` the node where each loop
// checks for an empty pass, and returns n.
int collectLoopExits(const Program &program, std::vector<int32_t> &index, std::vector<int32_t> &checks);

// Fills `facts` per memo point (collectMemoPoints' `memoIndex` and `points`) for the groups that
// back-references read and for the loop exits with `exitChecks` (collectLoopExits).
void collectPointFacts(const Program &program, const std::vector<int32_t> &memoIndex, int points,
    const std::vector<int32_t> &exitChecks, std::vector<PointFacts> &facts);

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
    bool isRevisit(int node);
    bool startMemo();
    size_t visitedBit(int point, int position) const;
    uint64_t visitedMask(int point, int position) const;
    int deadCounts(int next, int start, int count, int last, int direction, int width, uint8_t lookahead);
    int failedRun(int next, int position, int direction, int limit);
    int visitedRun(int point, int position, int direction, int limit) const;
    int keyedFailedRun(int point, int position, int direction, int limit);
    bool isKeyedRevisit(int point);
    // Whether the viability map rules out the state at `node` and `position` (never before the memo
    // begins).
    bool ruledOut(int node, int position) const
    {
        return m_memo == Memo::On && !m_scratch.viability.viable(node, position);
    }
    bool beyondReach(int node, int position);
    int64_t mostTaken(Counted counted, int64_t most, int64_t needed) const;
    uint32_t loopsBounding(Counted counted, int64_t slack) const;
    std::optional<uint64_t> stateKey(int point, int position);
    uint64_t emptyPasses(int point, int position) const;
    bool appendGroups(uint64_t &key, uint64_t &scale, int point, int position);
    int firstOccurrence(int start, int length);
    int stateStride() const;
    int32_t loopMin(int depth) const;
    bool covers(const int32_t *entry) const;
    uint32_t markedLoops(const int32_t *entry) const;
    void pushFrame(const int32_t *entry);
    void recordFailure(const BacktrackEntry &frame);
    void markLoops(uint32_t loops);
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
    void enterLoop(int node);
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
    std::array<int32_t, kLoopCounterCount + 1> m_loopNode {};     // the Loop node of each active loop
    std::array<int32_t, kLoopCounterCount + 1> m_loopSerial {};   // which entry into a loop each is
    int32_t m_nextSerial = 0;
    int32_t m_topFrame = -1; // the stack index of the innermost Frame, -1 for none
    enum class Memo : uint8_t { Waiting, On, Off };
    Memo m_memo;
    int64_t m_memoFromStep;               // isRevisit is called from this step on
    const int32_t *m_memoIndex = nullptr; // the memo points while m_memo is On
    int m_memoPoints = 0;
    int m_loopExits = 0;            // collectLoopExits' count, where passes may be empty
    bool m_textKeyedGroups = false; // groups are held by their text (kMaxTextKeyedSubject)
    bool m_stateMemoReady = false;  // the scratch's loop states are emptied for this run
    MatchScratch &m_scratch;
    int64_t m_steps = 0;
    bool m_checkEmptyPasses;
    std::vector<BacktrackEntry> &m_stack;
};

} // namespace regex
