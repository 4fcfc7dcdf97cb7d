// Errors of the pattern engine: the message table, the exception and how TPatternEngine raises it.
#include "errors.h"

#include "patternengine.h"

#include <algorithm>
#include <array>
#include <utility>

namespace regex {

namespace {

struct Message
{
    ErrorCode code;
    std::string_view text;
};

// Sorted by code. 1013 has no entry on purpose: it reads "Unknown error".
constexpr std::array kMessages {
    Message {ErrorCode::NoError, "No errors"},
    Message {ErrorCode::NullArgument, "TPatternEngine(comp): Null Argument"},
    Message {ErrorCode::ProgramTooBig, "TPatternEngine(comp): Regexp Too Big"},
    Message {ErrorCode::TooManyGroups, "TPatternEngine(comp): ParseReg Too Many ()"},
    Message {ErrorCode::UnclosedGroup, "TPatternEngine(comp): ParseReg Unmatched ()"},
    Message {ErrorCode::UnopenedGroup, "TPatternEngine(comp): ParseReg Unmatched ()"},
    Message {ErrorCode::JunkOnEnd, "TPatternEngine(comp): ParseReg Junk On End"},
    Message {ErrorCode::RepeatOfEmpty, "TPatternEngine(comp): *+ Operand Could Be Empty"},
    Message {ErrorCode::NestedQuantifier, "TPatternEngine(comp): Nested *?+"},
    Message {ErrorCode::BadHexDigit, "TPatternEngine(comp): Bad Hex Digit"},
    Message {ErrorCode::ReversedRange, "TPatternEngine(comp): Invalid [] Range"},
    Message {ErrorCode::ClassTrailingBackslash, "TPatternEngine(comp): Parse Atom Trailing \\"},
    Message {ErrorCode::NoHexCode, "TPatternEngine(comp): No Hex Code After \\x"},
    Message {ErrorCode::HexCodeTooBig, "TPatternEngine(comp): Hex Code After \\x Is Too Big"},
    Message {ErrorCode::UnclosedClass, "TPatternEngine(comp): Unmatched []"},
    Message {ErrorCode::AtomAtSeparator, "TPatternEngine(comp): Internal Urp"},
    Message {ErrorCode::QuantifierFollowsNothing, "TPatternEngine(comp): ?+*{ Follows Nothing"},
    Message {ErrorCode::TrailingBackslash, "TPatternEngine(comp): Trailing \\"},
    Message {ErrorCode::EmptyLiteral, "TPatternEngine(comp): RarseAtom Internal Disaster"},
    Message {ErrorCode::BoundTooLong, "TPatternEngine(comp): BRACES Argument Too Big"},
    Message {ErrorCode::BoundMinAboveMax, "TPatternEngine(comp): BRACE Min Param Greater then Max"},
    Message {ErrorCode::UnclosedComment, "TPatternEngine(comp): Unclosed (?#Comment)"},
    Message {
        ErrorCode::ComplexBracesOff, "TPatternEngine(comp): Complex braces and non-greedy operators are switched off"},
    Message {ErrorCode::UnknownModifier, "TPatternEngine(comp): Urecognized Modifier"},
    Message {ErrorCode::BadLinePair,
        "TPatternEngine(comp): LinePairedSeparator must countain two different chars or no chars at all"},
    Message {ErrorCode::RepeatOfMultiChar, "TPatternEngine(exec): RegRepeat Called Inappropriately"},
    Message {ErrorCode::ReservedOpcode, "TPatternEngine(exec): MatchPrim Memory Corruption"},
    Message {ErrorCode::MissingNextNode, "TPatternEngine(exec): MatchPrim Corrupted Pointers"},
    Message {ErrorCode::NoExpression, "TPatternEngine(exec): Not Assigned Expression Property"},
    Message {ErrorCode::CorruptedProgram, "TPatternEngine(exec): Corrupted Program"},
    Message {ErrorCode::NoInput, "TPatternEngine(exec): No Input String Specified"},
    Message {ErrorCode::OffsetBelowOne, "TPatternEngine(exec): Offset Must Be Greater Then 0"},
    Message {ErrorCode::ExecNextWithoutExec, "TPatternEngine(exec): ExecNext Without Exec[Pos]"},
    Message {ErrorCode::InputWithoutInputString, "TPatternEngine(exec): GetInputString Without InputString"},
    Message {ErrorCode::CorruptedOpcode, "TPatternEngine(dump): Corrupted Opcode"},
    Message {ErrorCode::LoopStackExceeded, "TPatternEngine(exec): Loop Stack Exceeded"},
    Message {ErrorCode::LoopWithoutEntry, "TPatternEngine(exec): Loop Without LoopEntry !"},
    Message {ErrorCode::MatchTooComplex, "TPatternEngine(exec): Match Too Complex"},
    Message {ErrorCode::BadProgramImport, "TPatternEngine(misc): Bad p-code imported"},
};

static_assert(std::is_sorted(
    kMessages.begin(), kMessages.end(), [](const Message &a, const Message &b) { return a.code < b.code; }));

} // namespace

std::string_view errorMessage(int code)
{
    const auto found = std::lower_bound(kMessages.begin(), kMessages.end(), code,
        [](const Message &message, int wanted) { return static_cast<int>(message.code) < wanted; });
    if (found == kMessages.end() || static_cast<int>(found->code) != code) {
        return "Unknown error";
    }
    return found->text;
}

} // namespace regex

EPatternEngine::EPatternEngine(std::string message, int errorId, int errorPos)
    : ErrorId(errorId)
    , ErrorPos(errorPos)
    , m_message(std::move(message))
{ }

const char *EPatternEngine::what() const noexcept
{
    return m_message.c_str();
}

std::string TPatternEngine::ErrorMessage(int code) const
{
    return std::string(regex::errorMessage(code));
}

int TPatternEngine::ErrorPosition() const
{
    return m_errorPosition >= 0 ? m_errorPosition : 0;
}

std::string TPatternEngine::formatMessage(int code) const
{
    std::string message = ErrorMessage(code);
    if (code < 1000) {
        message += " (pos " + std::to_string(ErrorPosition()) + ")";
    }
    return message;
}

void TPatternEngine::RaiseError(int code)
{
    throw EPatternEngine(formatMessage(code), code, ErrorPosition());
}

void TPatternEngine::fail(const regex::Error &error)
{
    const int code = static_cast<int>(error.code);
    m_errorPosition = error.position;
    try {
        RaiseError(code);
    } catch (...) {
        m_errorPosition = -1;
        throw;
    }
    EPatternEngine standard(formatMessage(code), code, ErrorPosition());
    m_errorPosition = -1;
    throw standard;
}
