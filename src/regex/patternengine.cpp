// The pattern engine object: its settings, the Expression and InputString it holds, when its
// program is built and dropped, the run (ExecAt), and PatternMatches. Compiling and matching live in
// their own files.
#include "patternengine.h"

#include "compiler.h"

namespace {

// The engine keeps zero-terminated texts: a zero byte ends the pattern and the subject.
std::string_view upToZero(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

} // namespace

TPatternEngine::TPatternEngine()
    : m_modifiers(regex::kModR | regex::kModS | regex::kModG)
{
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
    return ExecAt(1);
}

bool TPatternEngine::ExecAt(int offset)
{
    m_captures.clear();
    ensureProgram();
    if (!m_hasInput) {
        fail(regex::ErrorCode::NoInput);
    }
    if (offset < 1) {
        fail(regex::ErrorCode::OffsetBelowOne);
    }
    if (static_cast<size_t>(offset) > m_input.size() + 1) {
        return false;
    }
    try {
        return regex::search(m_program, m_input, offset - 1, m_captures, m_scratch);
    } catch (const regex::Error &error) {
        fail(error);
    }
}

uint32_t TPatternEngine::Modifiers() const
{
    return m_modifiers;
}

void TPatternEngine::SetModifiers(uint32_t modifiers)
{
    m_modifiers = modifiers;
}

bool TPatternEngine::modifierByIndex(int index) const
{
    if (index < 1 || index > 6) {
        // Raising is not a change of state; RaiseError is non-const only so overrides may log.
        const_cast<TPatternEngine *>(this)->fail(regex::ErrorCode::BadModifierIndex);
    }
    return (m_modifiers & (1u << (index - 1))) != 0;
}

void TPatternEngine::setModifierByIndex(int index, bool on)
{
    if (index < 1 || index > 6) {
        fail(regex::ErrorCode::BadModifierIndex);
    }
    const uint32_t bit = 1u << (index - 1);
    m_modifiers = on ? (m_modifiers | bit) : (m_modifiers & ~bit);
}

bool TPatternEngine::ApplyModifierLetters(std::string_view letters, uint32_t &set)
{
    return regex::applyModifierLetters(letters, set);
}

void TPatternEngine::SetLinePairedSeparator(std::string_view pair)
{
    if (pair.empty()) {
        if (m_pairAssigned) {
            m_pairAssigned = false;
            m_linePair = {};
            dropProgram();
        }
        return;
    }
    if (pair.size() != 2 || pair[0] == pair[1]) {
        fail(regex::ErrorCode::BadLinePair);
    }
    const regex::LinePair wanted {static_cast<uint8_t>(pair[0]), static_cast<uint8_t>(pair[1])};
    if (m_pairAssigned && wanted.head == m_linePair.head && wanted.tail == m_linePair.tail) {
        return;
    }
    m_pairAssigned = true;
    m_linePair = wanted;
    dropProgram();
}

int TPatternEngine::GroupStart(int n) const
{
    return n >= 0 && n < kGroupCount ? m_captures.start[static_cast<size_t>(n)] : -1;
}

int TPatternEngine::GroupEnd(int n) const
{
    return n >= 0 && n < kGroupCount ? m_captures.end[static_cast<size_t>(n)] : -1;
}

std::vector<uint8_t> TPatternEngine::programBytes() const
{
    return m_program.bytes;
}

uint8_t TPatternEngine::StartChar() const
{
    return m_program.startChar;
}

bool TPatternEngine::Anchored() const
{
    return m_program.anchored;
}

std::string TPatternEngine::RequiredText() const
{
    return std::string(m_program.requiredText());
}

bool TPatternEngine::startSetHas(uint8_t ch) const
{
    return m_program.startSet[ch];
}

void TPatternEngine::dropProgram()
{
    m_program = {};
}

// Makes sure a current program is there before a run; compiles when needed.
void TPatternEngine::ensureProgram()
{
    if (m_modifiers != m_program.modifiers) {
        dropProgram();
    }
    if (m_program.empty()) {
        if (!m_hasExpression) {
            fail(regex::ErrorCode::NoExpression);
        }
        m_compiled = false;
        try {
            m_program = regex::compile(m_expression, {m_modifiers, m_linePair});
        } catch (const regex::Error &error) {
            fail(error);
        }
        m_compiled = true;
    }
    if (m_program.bytes[0] != regex::kProgramSignature) {
        fail(regex::ErrorCode::CorruptedProgram);
    }
}

bool PatternMatches(std::string_view pattern, std::string_view text)
{
    TPatternEngine engine;
    engine.SetExpression(pattern);
    return engine.Exec(text);
}
