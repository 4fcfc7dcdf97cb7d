// Decoding of settings-file bytes (UTF-8 with a Latin-1 fallback per byte) and the comparison form of names.
#include "settings/settingstext.h"

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at bytes[pos] and its code point, or 0 when none starts there.
int validSequence(QByteArrayView bytes, qsizetype pos, char32_t &codePoint)
{
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(bytes[pos + i]); };
    const unsigned char lead = at(0);
    int length = 0;
    unsigned char low = 0x80; // the second byte's range, narrowed for the leads that would allow invalid forms
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // overlong
        high = lead == 0xED ? 0x9F : 0xBF; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;  // overlong
        high = lead == 0xF4 ? 0x8F : 0xBF; // past U+10FFFF
    } else {
        return 0;
    }
    if (pos + length > bytes.size() || at(1) < low || at(1) > high) {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if (!isContinuation(at(i))) {
            return 0;
        }
        codePoint = (codePoint << 6) | (at(i) & 0x3F);
    }
    return length;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

constexpr char16_t kEscapeBase = 0xDC00; // a byte outside valid UTF-8 in a name: U+DC00 + byte

// text[i] stands for a byte outside valid UTF-8: a lone surrogate from U+DC80 to U+DCFF.
bool isEscapedByte(const QString &text, qsizetype i)
{
    const char16_t u = text[i].unicode();
    return u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF && (i == 0 || !text[i - 1].isHighSurrogate());
}

// Decodes valid UTF-8 sequences and each other byte as `fallback(byte)`.
template<typename Fallback> QString decodeWith(QByteArrayView bytes, Fallback fallback)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype pos = 0; pos < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        if (byte < 0x80) {
            text += QChar(byte);
            ++pos;
            continue;
        }
        char32_t codePoint = 0;
        if (const int length = validSequence(bytes, pos, codePoint)) {
            const char32_t one[] = {codePoint};
            text += QString::fromUcs4(one, 1);
            pos += length;
        } else {
            text += fallback(byte);
            ++pos;
        }
    }
    return text;
}

} // namespace

QString decodeSettingsText(QByteArrayView bytes)
{
    return decodeWith(bytes, [](unsigned char byte) { return QChar(byte); }); // Latin-1
}

QString decodeSettingsName(QByteArrayView bytes)
{
    return decodeWith(bytes, [](unsigned char byte) { return QChar(char16_t(kEscapeBase + byte)); });
}

QByteArray encodeSettingsText(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isEscapedByte(text, i)) {
            bytes += QStringView(text).sliced(runStart, i - runStart).toUtf8();
            bytes += char(text[i].unicode() - kEscapeBase);
            runStart = i + 1;
        }
    }
    bytes += QStringView(text).sliced(runStart).toUtf8();
    return bytes;
}

QString foldedSettingsName(const QString &name)
{
    QString text = name;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    // QString's folding turns a lone surrogate into U+FFFD, so the escaped bytes of a name are passed around it.
    const QString trimmed = text.sliced(begin, end - begin);
    QString folded;
    folded.reserve(trimmed.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= trimmed.size(); ++i) {
        if (i < trimmed.size() && !isEscapedByte(trimmed, i)) {
            continue;
        }
        folded += QStringView(trimmed).sliced(runStart, i - runStart).toString().toCaseFolded();
        if (i < trimmed.size()) {
            folded += trimmed[i];
        }
        runStart = i + 1;
    }
    return folded;
}

QString foldedSettingsName(QByteArrayView bytes)
{
    return foldedSettingsName(decodeSettingsName(bytes));
}

namespace {

// Characters that end a line or reorder the text around them without being C0 or C1 controls: the line and
// paragraph separators, and the bidirectional marks, embeddings, overrides and isolates.
bool isLayoutControl(char16_t u)
{
    return u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x2028 && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
}

} // namespace

QString printableSettingsText(const QString &text)
{
    QString printable;
    printable.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\') {
            printable += QStringLiteral("\\\\");
        } else if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
            printable += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        } else if (isLayoutControl(u)) {
            printable += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        } else {
            printable += c;
        }
    }
    return printable;
}
