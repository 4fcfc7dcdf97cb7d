// Helpers of the pattern-engine tests: golden programs written as hex, and engines compiled with
// modifier letters applied to the defaults.
#pragma once

#include "regex/patternengine.h"

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// "D8 | 06 0E000000" -> bytes; spaces and '|' only make the dump readable.
inline std::vector<uint8_t> hexBytes(std::string_view hex)
{
    std::vector<uint8_t> bytes;
    int high = -1;
    for (const char ch : hex) {
        const int digit = QStringLiteral("0123456789ABCDEF").indexOf(QChar(ch).toUpper());
        if (digit < 0) {
            continue;
        }
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    return bytes;
}

inline QString hexDump(const std::vector<uint8_t> &bytes)
{
    QString text;
    for (const uint8_t byte : bytes) {
        text += QString::asprintf("%02X ", byte);
    }
    return text.trimmed();
}

// Applies modifier letters ("i", "-r", "xm") to the engine's default modifiers.
inline void applyModifiers(TPatternEngine &engine, std::string_view letters)
{
    uint32_t modifiers = engine.Modifiers();
    const bool valid = TPatternEngine::ApplyModifierLetters(letters, modifiers);
    Q_ASSERT(valid);
    engine.SetModifiers(modifiers);
}

// Compiles by running once on an empty text; errors pass through.
inline void compileWith(TPatternEngine &engine, std::string_view pattern, std::string_view letters)
{
    applyModifiers(engine, letters);
    engine.SetExpression(pattern);
    engine.Exec("");
}

// The start set as the characters it holds, or "all" / "all but <chars>".
inline std::string startSetText(const TPatternEngine &engine)
{
    std::string members;
    std::string missing;
    for (int ch = 0; ch < 256; ++ch) {
        (engine.startSetHas(static_cast<uint8_t>(ch)) ? members : missing) += static_cast<char>(ch);
    }
    if (missing.empty()) {
        return "all";
    }
    if (missing.size() < members.size()) {
        return "all but " + missing;
    }
    return members;
}
