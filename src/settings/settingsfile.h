// SettingsFile: the one accessor of the program's settings file, a profile (INI) file in UTF-8.
// Reads and writes text, integers and booleans by section and key; keeps every line it does not change
// byte for byte and replaces the file atomically on save(). SettingsWriteError reports a failed save.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>

// "Unable to write to <full path>: <reason>": the settings file could not be replaced. The old file is left as it
// was. The reason is the system's error text or says why the program refused to write.
class SettingsWriteError : public std::runtime_error
{
public:
    SettingsWriteError(const QString &path, const QString &reason);
    QString path() const { return m_path; }
    QString reason() const { return m_reason; }

private:
    QString m_path;
    QString m_reason;
};

// What a save that succeeded has to say.
struct SettingsSaveReport
{
    // The sections another writer had changed too, whose values of theirs this save replaced, in file order.
    QStringList overridden;
    // Empty, or why the folder could not be synced after the new file was put in place (the system's reason): the
    // new file is there and reads back, but its replacing the old one may not yet survive a power failure.
    QString unsyncedReason;
};

// Section and key names are matched without regard to letter case (Unicode case folding), after the same
// normalisation on reading and writing: each CR, LF or CR LF becomes one blank and blanks around the name are
// dropped. The first matching section and, inside it, the first matching key win. Key names are the program's own:
// they must not contain "=" nor begin with "[", ";" or "#".
//
// Bytes that are not valid UTF-8 read as Latin-1 characters in values, and stay apart from those characters in names
// (see settingstext.h). A line is rewritten only when the
// value written differs from the value read, so what was read comes back byte for byte however it was encoded and
// however long it was; new and changed lines are UTF-8.
//
// The file is read on first access; a missing file reads as empty. A file that cannot be read or is larger than
// kMaxFileBytes is refused: reads give their defaults, refusal() says why, and save() never replaces it. Memory is
// the file's bytes plus a small fixed amount per key, header and run of other lines. Writes change the in-memory
// copy only; save() replaces the file.
class SettingsFile
{
public:
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
    static constexpr qsizetype kMaxValueLength = 2047; // UTF-16 code units returned by readString at most

    explicit SettingsFile(QString path); // neither creates nor reads the file
    ~SettingsFile();
    SettingsFile(const SettingsFile &) = delete;
    SettingsFile &operator=(const SettingsFile &) = delete;

    QString path() const { return m_path; }
    bool exists() const; // something exists at path() now
    // Why the file at path() was not read (the system's reason, or that it is too large or no regular file);
    // empty when it was read or is missing. Reads the file if that has not happened yet.
    QString refusal() const;

    // The stored value with blanks around it dropped and one pair of enclosing quotes (' or ") removed, cut to
    // kMaxValueLength without splitting a surrogate pair; defaultValue when the section or key is missing.
    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // A value that names a section (a saved entry's description), read so that it finds that section: not cut, and
    // decoded as section names are (settingstext.h: bytes that are not UTF-8 stay apart from the characters they
    // would be in Latin-1). Written back with writeString, it gives back the bytes it was read from.
    QString readName(const QString &section, const QString &key, const QString &defaultValue) const;
    // The stored value read by parseProfileInteger; defaultValue when missing or not a 32-bit integer.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // readInteger with the default 1 or 0; any non-zero value is true.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    // The names of the keys that reads find in the first matching section, in file order, with blanks around them
    // dropped: one name per key, spelled as its first line spells it. Lets a caller read a numbered series of keys
    // in time proportional to the file, whatever count the file claims.
    QStringList keys(const QString &section) const;

    // Replaces the value of the first matching key of the first matching section, or adds the key after the last
    // key of that section, or adds the section at the end of the file. Each CR, LF or CR LF in the value is
    // written as one blank, so no value can break the file's structure. A value that reads back as the stored one
    // already does, whole or cut as readString cuts it, changes nothing.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value); // decimal
    void writeBool(const QString &section, const QString &key, bool value);   // "1" or "0"

    // Replaces the file with the in-memory copy when a write has changed it since loading or the last save:
    // creates the folder if missing and replaces the file atomically (filereplace.h). When the file on disk is no
    // longer what was read (another program or a hand edit changed it), this copy's changes are applied to the file
    // as it is now, section by section: a section only this copy changed gets this copy's changed keys, a section
    // only the other writer changed stays theirs, and a section both changed is this copy's whole; the report names
    // the sections both changed (the other writer's version of them is gone). Throws
    // SettingsWriteError with the full path on any failure, and without trying when the file was refused or the new
    // file would be larger than kMaxFileBytes (it could not be read back); the file on disk then stays as it was.
    SettingsSaveReport save();

private:
    struct Document;
    Document &document() const; // loads the file on first use

    QString m_path;
    mutable std::unique_ptr<Document> m_document;
    mutable QString m_refusal;
    bool m_modified = false;
};
