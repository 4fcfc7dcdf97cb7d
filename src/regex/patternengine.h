// The pattern engine: a compiling, backtracking regular-expression engine over bytes.
// TPatternEngine compiles its Expression into a program (compiler.h) and runs it over an input
// (matcher.h); every failure is raised as EPatternEngine. PatternMatches is the one-shot form.
#pragma once

#include "captures.h"
#include "errors.h"
#include "matcher.h"
#include "program.h"

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

class EPatternEngine : public std::exception
{
public:
    EPatternEngine(std::string message, int errorId, int errorPos);
    const char *what() const noexcept override;

    int ErrorId;  // the code, a regex::ErrorCode
    int ErrorPos; // ErrorPosition at the moment of the error, 0 outside a compile

private:
    std::string m_message;
};

class TPatternEngine
{
public:
    static constexpr int kGroupCount = regex::kGroupCount;
    static constexpr int kLoopCounterCount = regex::kLoopCounterCount;

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
    // The modifier of index 1..6 (i, r, s, g, m, x); another index raises error 1013.
    bool modifierByIndex(int index) const;
    void setModifierByIndex(int index, bool on);
    static bool ApplyModifierLetters(std::string_view letters, uint32_t &set);
    void SetLinePairedSeparator(std::string_view pair);
    int GroupStart(int n) const;
    int GroupEnd(int n) const;
    // The compiled program and its start data; empty and zero while there is none.
    std::vector<uint8_t> programBytes() const;
    uint8_t StartChar() const;
    bool Anchored() const;
    std::string RequiredText() const;
    bool startSetHas(uint8_t ch) const;
    int ErrorPosition() const;
    virtual std::string ErrorMessage(int code) const;

protected:
    virtual void RaiseError(int code);

private:
    // Ends the operation in progress through RaiseError with the error's position in force; if an
    // override returns, the standard exception is thrown anyway, so no caller ever continues.
    [[noreturn]] void fail(const regex::Error &error);
    [[noreturn]] void fail(regex::ErrorCode code) { fail(regex::Error {code}); }
    std::string formatMessage(int code) const;
    void dropProgram();
    void ensureProgram();

    regex::Captures m_captures;
    regex::Program m_program;
    bool m_compiled = false;
    int m_errorPosition = -1; // the pattern position of the error being raised, -1 = none
    bool m_hasExpression = false;
    std::string m_expression;
    bool m_hasInput = false;
    std::string m_input;
    uint32_t m_modifiers;
    bool m_pairAssigned = false;
    regex::LinePair m_linePair;
    regex::MatchScratch m_scratch; // kept for the next run
};

// Whether `pattern` matches anywhere in `text` with the default settings. Errors pass through.
bool PatternMatches(std::string_view pattern, std::string_view text);
