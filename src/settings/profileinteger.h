// Reads an integer the way profile (INI) files store them: decimal, "0x" or "$" hexadecimal.
// Used by SettingsFile::readInteger; kept apart so the number rules can be tested on their own.
#pragma once

#include <QStringView>
#include <optional>

// The 32-bit value of a profile-file integer text, or nothing when the text is not one.
// A text longer than two characters that begins with "0x" or "0X" is hexadecimal; otherwise optional leading
// blanks, an optional sign, then decimal digits or "$" followed by hexadecimal digits. Hexadecimal magnitudes up to
// FFFFFFFF wrap to the signed 32-bit value (a sign negates modulo 2^32); a decimal outside the 32-bit range, an empty
// text, missing digits or anything after the digits make the text unreadable.
std::optional<int> parseProfileInteger(QStringView text);
