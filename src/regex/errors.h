// Errors of the pattern engine: the codes (their numbers are the engine's published error ids), the
// message of each, and regex::Error, which the compiler and the matcher throw and TPatternEngine
// turns into EPatternEngine through its overridable RaiseError.
#pragma once

#include <string_view>

namespace regex {

// Codes below 1000 come from compiling and carry the pattern position in their message; codes from
// 1000 on come from running. Some codes are in the table only because callers may look them up.
enum class ErrorCode : int {
    NoError = 0,
    NullArgument = 100,
    ProgramTooBig = 101,
    TooManyGroups = 102,
    UnclosedGroup = 103,
    UnopenedGroup = 104,
    JunkOnEnd = 105,
    RepeatOfEmpty = 106,
    NestedQuantifier = 107,
    BadHexDigit = 108,
    ReversedRange = 109,
    ClassTrailingBackslash = 110,
    NoHexCode = 111,
    HexCodeTooBig = 112,
    UnclosedClass = 113,
    AtomAtSeparator = 114,
    QuantifierFollowsNothing = 115,
    TrailingBackslash = 116,
    EmptyLiteral = 119,
    BoundTooLong = 122,
    BoundMinAboveMax = 124,
    UnclosedComment = 125,
    ComplexBracesOff = 126,
    UnknownModifier = 127,
    BadLinePair = 128,
    RepeatOfMultiChar = 1000,
    ReservedOpcode = 1001,
    MissingNextNode = 1002,
    NoExpression = 1003,
    CorruptedProgram = 1004,
    NoInput = 1005,
    OffsetBelowOne = 1006,
    ExecNextWithoutExec = 1007,
    InputWithoutInputString = 1008,
    CorruptedOpcode = 1011,
    BadModifierIndex = 1013,
    LoopStackExceeded = 1014,
    LoopWithoutEntry = 1015,
    MatchTooComplex = 1016,
    BadProgramImport = 2000,
};

// The fixed English text of a code; "Unknown error" for a number that is no code (1013 included).
std::string_view errorMessage(int code);

// What the compiler and the matcher throw. `position` is the number of pattern characters the
// compiler had read when it found the fault, -1 for an error found outside a compile.
struct Error
{
    ErrorCode code;
    int position = -1;
};

} // namespace regex
