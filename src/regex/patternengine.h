// The pattern engine: a compiling, backtracking regular-expression engine over bytes.
// TPatternEngine compiles its Expression into a linked node program and runs it over an input;
// every failure is raised as EPatternEngine. PatternMatches is the one-shot form the program uses.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace regex {
class Compiler;
class Matcher;
struct BacktrackEntry;
} // namespace regex

class EPatternEngine : public std::exception
{
public:
    EPatternEngine(std::string message, int errorId, int errorPos);
    const char *what() const noexcept override;

    int ErrorId;  // the code
    int ErrorPos; // ErrorPosition at the moment of the error, 0 outside a compile

private:
    std::string m_message;
};

class TPatternEngine
{
public:
    static constexpr int kGroupCount = 15; // index 0 is the whole match, groups 1..14
    static constexpr int kLoopCounterCount = 10;

    TPatternEngine();
    virtual ~TPatternEngine();
    TPatternEngine(const TPatternEngine &) = delete;
    TPatternEngine &operator=(const TPatternEngine &) = delete;

    void SetExpression(std::string_view expression);
    std::string Expression() const;
    bool Exec(std::string_view text);
    bool ExecAt(int offset);
    uint32_t Modifiers() const;
    void SetModifiers(uint32_t modifiers);
    bool ModifierByIndex(int index) const;
    void SetModifierByIndex(int index, bool on);
    static bool ApplyModifierLetters(std::string_view letters, uint32_t &set);
    void SetLinePairedSeparator(std::string_view pair);
    int GroupStart(int n) const;
    int GroupEnd(int n) const;
    std::vector<uint8_t> ProgramBytes() const;
    uint8_t StartChar() const;
    bool Anchored() const;
    std::string RequiredText() const;
    bool StartSetHas(uint8_t ch) const;
    int ErrorPosition() const;
    virtual std::string ErrorMessage(int code) const;

protected:
    virtual void RaiseError(int code);

private:
    friend class regex::Compiler;
    friend class regex::Matcher;

    // Ends the operation in progress through RaiseError; if an override returns, the standard
    // exception is thrown anyway, so no caller ever continues after an error.
    [[noreturn]] void fail(int code);
    std::string formatMessage(int code) const;
    void dropProgram();
    bool ensureProgram();

    std::array<int, kGroupCount> m_groupStart {}; // offsets into the input, -1 = none
    std::array<int, kGroupCount> m_groupEnd {};
    uint8_t m_startChar = 0;
    bool m_anchored = false;
    int m_requiredOffset = -1; // offset of the required literal's text in the program, -1 = none
    int m_requiredLength = 0;
    std::bitset<256> m_startSet;
    int m_parsePos = -1; // the compiler's reading position, -1 outside a compile
    bool m_compiled = false;
    std::vector<uint8_t> m_program; // empty = no program
    bool m_hasExpression = false;
    std::string m_expression;
    bool m_hasInput = false;
    std::string m_input;
    uint32_t m_modifiers;
    uint32_t m_programModifiers = 0;
    bool m_programHasBackRef = false;
    bool m_pairAssigned = false;
    uint8_t m_pairHead = 0; // both 0 while no pair is assigned, so the pair rules never apply
    uint8_t m_pairTail = 0;
    std::vector<regex::BacktrackEntry> m_matchStack; // backtracking storage, kept for the next run
};

// Whether `pattern` matches anywhere in `text` with the default settings. Errors pass through.
bool PatternMatches(std::string_view pattern, std::string_view text);
