// The pattern engine object: its settings, the Expression and InputString it holds, when its
// program is built and dropped, and PatternMatches. Compiling and matching live in their own files.
#include "patternengine.h"

#include "compiler.h"
#include "matcher.h"
#include "program.h"

namespace {

// The bit of a modifier letter in either case, 0 for any other character.
uint32_t modifierBit(char letter)
{
    switch (letter) {
    case 'i':
    case 'I':
        return regex::kModI;
    case 'r':
    case 'R':
        return regex::kModR;
    case 's':
    case 'S':
        return regex::kModS;
    case 'g':
    case 'G':
        return regex::kModG;
    case 'm':
    case 'M':
        return regex::kModM;
    case 'x':
    case 'X':
        return regex::kModX;
    default:
        return 0;
    }
}

// The engine keeps zero-terminated texts: a zero byte ends the pattern and the subject.
std::string_view upToZero(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

} // namespace

TPatternEngine::TPatternEngine()
    : m_modifiers(regex::kModR | regex::kModS | regex::kModG)
{
    m_groupStart.fill(-1);
    m_groupEnd.fill(-1);
    SetLinePairedSeparator("\r\n");
}

TPatternEngine::~TPatternEngine() = default;

void TPatternEngine::SetExpression(std::string_view expression)
{
    const std::string_view text = upToZero(expression);
    if (m_compiled && m_hasExpression && text == m_expression) {
        return;
    }
    m_compiled = false;
    m_hasExpression = !text.empty();
    m_expression.assign(text);
    dropProgram();
}

std::string TPatternEngine::Expression() const
{
    return m_expression;
}

bool TPatternEngine::Exec(std::string_view text)
{
    m_input.assign(upToZero(text));
    m_hasInput = true;
    m_groupStart.fill(-1);
    m_groupEnd.fill(-1);
    return ExecAt(1);
}

uint32_t TPatternEngine::Modifiers() const
{
    return m_modifiers;
}

void TPatternEngine::SetModifiers(uint32_t modifiers)
{
    m_modifiers = modifiers;
}

bool TPatternEngine::ModifierByIndex(int index) const
{
    if (index < 1 || index > 6) {
        // Raising is not a change of state; RaiseError is non-const only so overrides may log.
        const_cast<TPatternEngine *>(this)->fail(1013);
    }
    return (m_modifiers & (1u << (index - 1))) != 0;
}

void TPatternEngine::SetModifierByIndex(int index, bool on)
{
    if (index < 1 || index > 6) {
        fail(1013);
    }
    const uint32_t bit = 1u << (index - 1);
    m_modifiers = on ? (m_modifiers | bit) : (m_modifiers & ~bit);
}

bool TPatternEngine::ApplyModifierLetters(std::string_view letters, uint32_t &set)
{
    bool clearing = false;
    for (const char letter : letters) {
        if (letter == '-') {
            clearing = true;
            continue;
        }
        const uint32_t bit = modifierBit(letter);
        if (bit == 0) {
            return false;
        }
        set = clearing ? (set & ~bit) : (set | bit);
    }
    return true;
}

void TPatternEngine::SetLinePairedSeparator(std::string_view pair)
{
    if (pair.empty()) {
        if (m_pairAssigned) {
            m_pairAssigned = false;
            m_pairHead = 0;
            m_pairTail = 0;
            dropProgram();
        }
        return;
    }
    if (pair.size() != 2 || pair[0] == pair[1]) {
        fail(128);
    }
    const auto head = static_cast<uint8_t>(pair[0]);
    const auto tail = static_cast<uint8_t>(pair[1]);
    if (m_pairAssigned && head == m_pairHead && tail == m_pairTail) {
        return;
    }
    m_pairAssigned = true;
    m_pairHead = head;
    m_pairTail = tail;
    dropProgram();
}

int TPatternEngine::GroupStart(int n) const
{
    return n >= 0 && n < kGroupCount ? m_groupStart[static_cast<size_t>(n)] : -1;
}

int TPatternEngine::GroupEnd(int n) const
{
    return n >= 0 && n < kGroupCount ? m_groupEnd[static_cast<size_t>(n)] : -1;
}

std::vector<uint8_t> TPatternEngine::ProgramBytes() const
{
    return m_program;
}

uint8_t TPatternEngine::StartChar() const
{
    return m_startChar;
}

bool TPatternEngine::Anchored() const
{
    return m_anchored;
}

std::string TPatternEngine::RequiredText() const
{
    if (m_requiredOffset < 0) {
        return {};
    }
    return {reinterpret_cast<const char *>(m_program.data()) + m_requiredOffset, static_cast<size_t>(m_requiredLength)};
}

bool TPatternEngine::StartSetHas(uint8_t ch) const
{
    return m_startSet[ch];
}

void TPatternEngine::dropProgram()
{
    m_program.clear();
    m_startChar = 0;
    m_anchored = false;
    m_requiredOffset = -1;
    m_requiredLength = 0;
    m_startSet.reset();
}

// Makes sure a current program is there before a run; compiles when needed.
bool TPatternEngine::ensureProgram()
{
    if (m_modifiers != m_programModifiers) {
        dropProgram();
    }
    if (m_program.empty()) {
        if (!m_hasExpression) {
            fail(1003);
        }
        m_parsePos = 0;
        try {
            regex::Compiler(*this).compile();
        } catch (...) {
            m_parsePos = -1;
            m_compiled = false;
            dropProgram();
            throw;
        }
        m_parsePos = -1;
        m_compiled = true;
    }
    if (m_program[0] != regex::kProgramSignature) {
        fail(1004);
    }
    return true;
}

bool PatternMatches(std::string_view pattern, std::string_view text)
{
    TPatternEngine engine;
    engine.SetExpression(pattern);
    return engine.Exec(text);
}
