// How the settings file's bytes become text and back: UTF-8 where the bytes are valid UTF-8, Latin-1 for every
// other byte, so that files written by older programs in a single-byte code page read as their characters.
#pragma once

#include <QByteArrayView>
#include <QString>

// Valid UTF-8 sequences decode as UTF-8 (overlong forms, surrogates and code points past U+10FFFF are not valid);
// every byte outside a valid sequence decodes as the Latin-1 character of the same value. Never fails.
QString decodeSettingsText(QByteArrayView bytes);

// How names (of sections and keys, and values that name a section) are decoded: valid UTF-8 as UTF-8, and every
// other byte b as the lone surrogate U+DC00 + b, which no valid UTF-8 decodes to. So a name in a single-byte code
// page and the same characters in UTF-8 stay two names ("Caf\xE9" and "Caf\xC3\xA9"), and encodeSettingsText
// gives the bytes back. Never fails.
QString decodeSettingsName(QByteArrayView bytes);

// UTF-8, except that each lone surrogate U+DC80 to U+DCFF is the byte it stands for (see decodeSettingsName).
QByteArray encodeSettingsText(const QString &text);

// The form in which section and key names are compared: decoded as names, each CR, LF or CR LF as one blank, blanks
// around the name dropped, case folded (Unicode simple case folding).
QString foldedSettingsName(QByteArrayView bytes);
QString foldedSettingsName(const QString &name);

// The text for a terminal: every control character (C0, DEL, C1) as "\xNN", the line and paragraph separators and
// the bidirectional controls (U+061C, U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069) as "\uNNNN", a
// backslash as "\\"; NN and NNNN are lower-case hex digits of the code point. So text from a file or a window
// title cannot move the cursor, change colours, end the line or reorder it, and the form reads back unambiguously.
QString printableSettingsText(const QString &text);
