// Fuzz target of the pattern engine: compiles and runs arbitrary pattern/subject pairs, and checks
// that a run keeping the states it failed from answers as the plain walk does.
// Input: byte 0 the modifier bits (bit 6: no line pair), byte 1 the pattern length, then the
// pattern, then the subject. Both are capped so that one input stays within the run's budget.
#include "regex/compiler.h"
#include "regex/patternengine.h"
#include "regex/searchoutcome.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr size_t kMaxSubjectBytes = 4096;
// Longest subject of the comparison with the plain walk, which may take exponential time.
constexpr size_t kMaxComparedBytes = 64;

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void checkGroups(const TPatternEngine &engine, int length)
{
    for (int n = 0; n < TPatternEngine::kGroupCount; ++n) {
        check(engine.GroupStart(n) >= -1 && engine.GroupStart(n) <= length);
        check(engine.GroupEnd(n) >= -1 && engine.GroupEnd(n) <= length);
    }
    check(engine.GroupStart(0) >= 0 && engine.GroupStart(0) <= engine.GroupEnd(0));
}

void checkMemoisedAgainstPlain(std::string_view pattern, const std::string &subject, uint32_t modifiers, bool noPair)
{
    regex::Program program;
    try {
        program = regex::compile(pattern, {modifiers, noPair ? regex::LinePair {} : regex::LinePair {13, 10}});
    } catch (const regex::Error &) {
        return;
    }
    const std::string plain = regex::searchOutcome(program, subject, std::numeric_limits<int64_t>::max());
    if (plain != "error 1016") {
        check(regex::searchOutcome(program, subject, 0) == plain);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2) {
        return 0;
    }
    const uint32_t modifiers = data[0] & 0x3f;
    const bool noPair = (data[0] & 0x40) != 0;
    const size_t patternLength = std::min<size_t>(data[1], size - 2);
    const std::string_view pattern(reinterpret_cast<const char *>(data + 2), patternLength);
    std::string_view subject(reinterpret_cast<const char *>(data + 2 + patternLength), size - 2 - patternLength);
    subject = subject.substr(0, std::min(subject.size(), kMaxSubjectBytes));
    const auto length = static_cast<int>(subject.substr(0, subject.find('\0')).size());

    TPatternEngine engine;
    try {
        engine.SetModifiers(modifiers);
        if (noPair) {
            engine.SetLinePairedSeparator("");
        }
        engine.SetExpression(pattern);
        const bool matched = engine.Exec(subject);
        const std::vector<uint8_t> program = engine.programBytes();
        check(!program.empty() && program[0] == 216);
        if (matched) {
            checkGroups(engine, length);
            const int start = engine.GroupStart(0);
            check(engine.ExecAt(start + 1));
            check(engine.GroupStart(0) == start);
            if (start < length) {
                engine.ExecAt(start + 2);
            }
        }
    } catch (const EPatternEngine &error) {
        check(error.ErrorId > 0);
        check(engine.programBytes().empty() || error.ErrorId >= 1000);
    }
    const std::string text(subject.substr(0, subject.find('\0')));
    if (text.size() <= kMaxComparedBytes) {
        checkMemoisedAgainstPlain(pattern, text, modifiers, noPair);
    }
    return 0;
}
