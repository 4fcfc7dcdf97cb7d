// Errors of the pattern engine: the exception, the message table and how an error is raised.
// Codes below 1000 come from compiling and carry the pattern position in their message.
#include "patternengine.h"

#include <utility>

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
    switch (code) {
    case 0:
        return "No errors";
    case 100:
        return "TPatternEngine(comp): Null Argument";
    case 101:
        return "TPatternEngine(comp): Regexp Too Big";
    case 102:
        return "TPatternEngine(comp): ParseReg Too Many ()";
    case 103:
    case 104:
        return "TPatternEngine(comp): ParseReg Unmatched ()";
    case 105:
        return "TPatternEngine(comp): ParseReg Junk On End";
    case 106:
        return "TPatternEngine(comp): *+ Operand Could Be Empty";
    case 107:
        return "TPatternEngine(comp): Nested *?+";
    case 108:
        return "TPatternEngine(comp): Bad Hex Digit";
    case 109:
        return "TPatternEngine(comp): Invalid [] Range";
    case 110:
        return "TPatternEngine(comp): Parse Atom Trailing \\";
    case 111:
        return "TPatternEngine(comp): No Hex Code After \\x";
    case 112:
        return "TPatternEngine(comp): Hex Code After \\x Is Too Big";
    case 113:
        return "TPatternEngine(comp): Unmatched []";
    case 114:
        return "TPatternEngine(comp): Internal Urp";
    case 115:
        return "TPatternEngine(comp): ?+*{ Follows Nothing";
    case 116:
        return "TPatternEngine(comp): Trailing \\";
    case 119:
        return "TPatternEngine(comp): RarseAtom Internal Disaster";
    case 122:
        return "TPatternEngine(comp): BRACES Argument Too Big";
    case 124:
        return "TPatternEngine(comp): BRACE Min Param Greater then Max";
    case 125:
        return "TPatternEngine(comp): Unclosed (?#Comment)";
    case 126:
        return "TPatternEngine(comp): Complex braces and non-greedy operators are switched off";
    case 127:
        return "TPatternEngine(comp): Urecognized Modifier";
    case 128:
        return "TPatternEngine(comp): LinePairedSeparator must countain two different chars or no chars at all";
    case 1000:
        return "TPatternEngine(exec): RegRepeat Called Inappropriately";
    case 1001:
        return "TPatternEngine(exec): MatchPrim Memory Corruption";
    case 1002:
        return "TPatternEngine(exec): MatchPrim Corrupted Pointers";
    case 1003:
        return "TPatternEngine(exec): Not Assigned Expression Property";
    case 1004:
        return "TPatternEngine(exec): Corrupted Program";
    case 1005:
        return "TPatternEngine(exec): No Input String Specified";
    case 1006:
        return "TPatternEngine(exec): Offset Must Be Greater Then 0";
    case 1007:
        return "TPatternEngine(exec): ExecNext Without Exec[Pos]";
    case 1008:
        return "TPatternEngine(exec): GetInputString Without InputString";
    case 1011:
        return "TPatternEngine(dump): Corrupted Opcode";
    case 1014:
        return "TPatternEngine(exec): Loop Stack Exceeded";
    case 1015:
        return "TPatternEngine(exec): Loop Without LoopEntry !";
    case 1016:
        return "TPatternEngine(exec): Match Too Complex";
    case 2000:
        return "TPatternEngine(misc): Bad p-code imported";
    default:
        return "Unknown error";
    }
}

int TPatternEngine::ErrorPosition() const
{
    return m_parsePos >= 0 ? m_parsePos : 0;
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

void TPatternEngine::fail(int code)
{
    RaiseError(code);
    throw EPatternEngine(formatMessage(code), code, ErrorPosition());
}
