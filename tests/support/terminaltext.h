// Test oracles for text the program writes to a terminal: reading the escaped form back (written independently of
// the program's escaping), and finding what a terminal or a line-splitting script would act on.
#pragma once

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <optional>

// The text an escaped form stands for ("\\" a backslash, "\xNN" and "\uNNNN" the code point in hex); nothing when
// the form is not one the escaping writes (a lone backslash, an unknown escape, missing or upper-case digits).
inline std::optional<QString> readBackEscaped(const QString &escaped)
{
    QString text;
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != u'\\') {
            text += escaped[i];
            continue;
        }
        const QChar kind = i + 1 < escaped.size() ? escaped[i + 1] : QChar();
        if (kind == u'\\') {
            text += u'\\';
            ++i;
            continue;
        }
        const int digits = kind == u'x' ? 2 : kind == u'u' ? 4 : 0;
        const QString hex = escaped.mid(i + 2, digits);
        const bool lowerHex = std::all_of(
            hex.begin(), hex.end(), [](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'); });
        if (digits == 0 || hex.size() != digits || !lowerHex) {
            return std::nullopt;
        }
        const uint value = hex.toUInt(nullptr, 16);
        text += QChar(char16_t(value));
        i += 1 + digits;
    }
    return text;
}

// Whether a terminal or a script splitting lines would act on the character: C0 controls, DEL, C1 controls, the
// line and paragraph separators, and the bidirectional controls.
inline bool actsOnTerminal(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F
        || (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// Why the bytes are not safe terminal output of whole lines whose fields are separated by tabs (when `tabs`):
// invalid UTF-8, or the first character a terminal acts on other than the line ends; empty when safe.
inline QString terminalOutputProblem(const QByteArray &bytes, bool tabs)
{
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes) {
        return QStringLiteral("not valid UTF-8");
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (actsOnTerminal(c) && c != u'\n' && !(tabs && c == u'\t')) {
            return QStringLiteral("U+%1 at %2").arg(int(c), 4, 16, QLatin1Char('0')).arg(i);
        }
    }
    return bytes.isEmpty() || bytes.endsWith('\n') ? QString() : QStringLiteral("no line end at the end");
}
