// SettingsFile: keeps the file's bytes as read and describes them by a flat list of small records (a header, a key
// line, or a run of other lines), linked in file order so that keys can be inserted anywhere in constant time. Names
// are found through hash values of their folded form; each hit is checked against the name itself, so a collision
// costs a comparison, never a wrong answer.
#include "settings/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "settings/filereplace.h"
#include "settings/nameindex.h"
#include "settings/profileinteger.h"
#include "settings/settingstext.h"

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
constexpr quint32 kNone = 0xFFFFFFFFu;

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

// Structure bytes ('[', ']', '=', ';', '#', blanks) are ASCII and never occur inside a UTF-8 sequence, so lines are
// scanned as bytes and only names and values are decoded.
bool isBlankByte(char c)
{
    return isBlank(static_cast<unsigned char>(c));
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin].unicode())) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1].unicode())) {
        --end;
    }
    return text.sliced(begin, end - begin).toString();
}

// Each CR LF pair, CR or LF becomes one blank.
QString withoutLineBreaks(const QString &text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    result.replace(u'\r', u' ');
    result.replace(u'\n', u' ');
    return result;
}

QString unquoted(QString value)
{
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == u'"' || value.front() == u'\'')) {
        return value.sliced(1, value.size() - 2);
    }
    return value;
}

QString cutToMaxLength(QString value)
{
    if (value.size() <= SettingsFile::kMaxValueLength) {
        return value;
    }
    qsizetype length = SettingsFile::kMaxValueLength;
    if (value[length - 1].isHighSurrogate() && value[length].isLowSurrogate()) {
        --length;
    }
    value.truncate(length);
    return value;
}

// What readString gives for the raw bytes of a value, before the cut.
QString wholeReadBack(QByteArrayView raw)
{
    return unquoted(trimBlanks(decodeSettingsText(raw)));
}

// What readString gives for the raw bytes of a value.
QString readBack(QByteArrayView raw)
{
    return cutToMaxLength(wholeReadBack(raw));
}

enum class Kind : quint8 { Header, Key, Run };
enum class LineKind { Blank, Comment, Header, Key, Other };

struct ClassifiedLine
{
    LineKind kind = LineKind::Other;
    qsizetype nameStart = 0; // Header and Key lines: the name's bytes
    qsizetype nameEnd = 0;
    qsizetype valueStart = 0; // Key lines: the byte after "="
};

ClassifiedLine classify(QByteArrayView text)
{
    qsizetype first = 0;
    while (first < text.size() && isBlankByte(text[first])) {
        ++first;
    }
    if (first == text.size()) {
        return {LineKind::Blank};
    }
    const char lead = text[first];
    if (lead == ';' || lead == '#') {
        return {LineKind::Comment};
    }
    if (lead == '[') {
        // The name ends at the last "]", so a name that holds "]" itself reads back whole.
        qsizetype close = text.lastIndexOf(']');
        if (close <= first) {
            close = text.size();
        }
        return {LineKind::Header, first + 1, close};
    }
    const qsizetype equals = text.indexOf('=', first);
    if (equals < 0) {
        return {LineKind::Other};
    }
    return {LineKind::Key, first, equals, equals + 1};
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Creates the folder and its missing parents. Returns 0, or the system's error number.
int makeFolders(const QString &folder)
{
    const QByteArray path = QFile::encodeName(QDir::cleanPath(folder));
    for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? path : path.first(slash);
        if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST) {
            return errno;
        }
        if (slash < 0) {
            break;
        }
    }
    struct stat info = {};
    if (::stat(path.constData(), &info) != 0) {
        return errno;
    }
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

// The bytes of the file at `path`, or why they cannot be had: `missing` is set when nothing is there. The file is
// opened without waiting (a FIFO, a device), checked to be a regular file on the descriptor itself, and read up to
// one byte past kMaxFileBytes; a read that would wait (a regular file that is really a stream, such as /proc/kmsg)
// ends the reading. So reading ends whatever the path names.
struct FileBytes
{
    QByteArray bytes;
    QString refusal;
    bool missing = false;
};

FileBytes readBounded(const QString &path)
{
    FileBytes result;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        result.missing = errno == ENOENT || errno == ENOTDIR; // nothing there, or a file where a folder would be
        result.refusal = result.missing ? QString() : systemReason(errno);
        return result;
    }
    const auto tooLarge = QStringLiteral("it is larger than %1 MiB").arg(SettingsFile::kMaxFileBytes / (1024 * 1024));
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        result.refusal = systemReason(errno);
    } else if (!S_ISREG(info.st_mode)) {
        result.refusal = QStringLiteral("it is not a regular file");
    } else if (info.st_size > SettingsFile::kMaxFileBytes) {
        result.refusal = tooLarge;
    }
    constexpr qsizetype kChunkBytes = 64 * 1024;
    while (result.refusal.isEmpty()) {
        const qsizetype done = result.bytes.size();
        result.bytes.resize(std::min(done + kChunkBytes, SettingsFile::kMaxFileBytes + 1));
        const ssize_t got = ::read(fd, result.bytes.data() + done, size_t(result.bytes.size() - done));
        if (got < 0 && errno == EINTR) {
            result.bytes.resize(done);
            continue;
        }
        result.bytes.resize(done + std::max<ssize_t>(got, 0));
        if (got == 0) {
            break;
        }
        if (got < 0) {
            result.refusal = errno == EAGAIN
                ? QStringLiteral("reading it waits for more to come (it is a stream, not a settings file)")
                : systemReason(errno);
        } else if (result.bytes.size() > SettingsFile::kMaxFileBytes) {
            result.refusal = tooLarge;
        }
    }
    ::close(fd);
    if (!result.refusal.isEmpty()) {
        result.bytes.clear();
    }
    return result;
}

// The file's bytes now; nothing when there is no file. Throws when it exists and cannot be read whole.
std::optional<QByteArray> currentBytes(const QString &path)
{
    FileBytes now = readBounded(path);
    if (now.missing) {
        return std::nullopt;
    }
    if (!now.refusal.isEmpty()) {
        throw SettingsWriteError(
            path, QStringLiteral("it was changed by another program and cannot be read now (%1)").arg(now.refusal));
    }
    return std::move(now.bytes);
}

} // namespace

SettingsWriteError::SettingsWriteError(const QString &path, const QString &reason)
    : std::runtime_error(QStringLiteral("Unable to write to %1: %2").arg(path, reason).toStdString())
    , m_path(path)
    , m_reason(reason)
{ }

struct SettingsFile::Document
{
    // 24 bytes, whatever the length of the lines it stands for.
    struct Record
    {
        quint32 offset = 0;      // into original, or the index into written when isWritten
        quint32 length = 0;      // the record's bytes, line breaks included
        quint32 next = kNone;    // the next record in file order
        quint32 section = kNone; // the header record of the section holding this record; kNone before the first
        // Key records: where the value begins, counted from the record's first byte. Runs: how many of the last
        // bytes are blank lines and comments, which new keys of the section are placed before.
        quint32 tailOrValue = 0;
        Kind kind = Kind::Run;
        quint8 breakLength = 0; // the last line's break: 0 (the file ends without one), 1 ("\n") or 2 ("\r\n")
        bool isWritten = false; // the bytes are written[offset], a line the program wrote
        bool endsBlank = false; // run records: the last line is blank
    };

    QByteArray original;             // the file as read, byte order mark included
    qsizetype bodyStart = 0;         // after the byte order mark
    std::vector<QByteArray> written; // lines the program added or replaced, line break included
    std::deque<Record> records;      // no reallocation as it grows: the peak stays the final size
    quint32 head = kNone;
    quint32 tail = kNone;
    QByteArray lineEnding = "\n"; // the file's style, taken from its first line break; used for new lines
    size_t seed = QHashSeed::globalSeed();
    NameIndex sections;                  // sections by the hash value of their folded name
    NameIndex keys;                      // keys by the hash value of their header and folded name
    QHash<quint32, quint32> insertAfter; // header -> the record new keys of that section follow (sections written)

    static Document parse(QByteArray bytes);
    QByteArray serialize() const;
    Document mergedOnto(QByteArray onDisk, QStringList &overridden) const;
    quint32 findSection(const QString &folded) const;
    quint32 findSectionNamed(const QString &name) const;
    quint32 findKey(quint32 section, const QString &folded) const;
    QString value(quint32 key) const { return readBack(line(key).sliced(records[key].tailOrValue)); }
    QString wholeValue(quint32 key) const { return wholeReadBack(line(key).sliced(records[key].tailOrValue)); }
    // What readName gives.
    QString nameValue(quint32 key) const
    {
        return unquoted(trimBlanks(decodeSettingsName(line(key).sliced(records[key].tailOrValue))));
    }
    QString keyName(quint32 key) const;
    QString sectionName(quint32 header) const;
    std::vector<quint32> sectionKeys(quint32 header) const;
    QHash<QString, QString> sectionValues(quint32 header) const;
    bool write(const QString &section, const QString &key, const QString &value); // true when the bytes changed

private:
    QByteArrayView bytes(quint32 record) const;
    QByteArrayView line(quint32 record) const { return bytes(record).chopped(records[record].breakLength); }
    QString foldedName(quint32 record) const;
    size_t keyHash(quint32 section, const QString &folded) const { return qHashMulti(seed, section, folded); }
    void append(QByteArrayView text, qsizetype offset, quint8 breakLength, quint32 &section);
    quint32 addWritten(QByteArray text, Kind kind, quint32 section, quint32 after);
    quint32 sectionForWriting(const QString &name);
    quint32 keyInsertionPoint(quint32 section);
};

QByteArrayView SettingsFile::Document::bytes(quint32 record) const
{
    const Record &r = records[record];
    if (r.isWritten) {
        return written[r.offset];
    }
    return QByteArrayView(original).sliced(r.offset, r.length);
}

QString SettingsFile::Document::foldedName(quint32 record) const
{
    const ClassifiedLine classified = classify(line(record));
    return foldedSettingsName(line(record).sliced(classified.nameStart, classified.nameEnd - classified.nameStart));
}

QString SettingsFile::Document::keyName(quint32 key) const
{
    const ClassifiedLine classified = classify(line(key));
    return trimBlanks(
        decodeSettingsName(line(key).sliced(classified.nameStart, classified.nameEnd - classified.nameStart)));
}

// Adds the line text (its break included, breakLength bytes) found at `offset` of the original bytes: each run of
// lines that are neither headers nor keys becomes one record.
void SettingsFile::Document::append(QByteArrayView text, qsizetype offset, quint8 breakLength, quint32 &section)
{
    const ClassifiedLine classified = classify(text.chopped(breakLength));
    const Kind kind = classified.kind == LineKind::Header ? Kind::Header
        : classified.kind == LineKind::Key                ? Kind::Key
                                                          : Kind::Run;
    const bool isGap = classified.kind == LineKind::Blank || classified.kind == LineKind::Comment;
    if (kind == Kind::Run && !records.empty() && records.back().kind == Kind::Run) {
        Record &run = records.back();
        run.length += quint32(text.size());
        run.tailOrValue = isGap ? run.tailOrValue + quint32(text.size()) : 0;
        run.breakLength = breakLength;
        run.endsBlank = classified.kind == LineKind::Blank;
        return;
    }
    const auto index = quint32(records.size());
    if (kind == Kind::Header) {
        section = index;
    }
    Record &record = records.emplace_back();
    record.offset = quint32(offset);
    record.length = quint32(text.size());
    record.section = section;
    record.kind = kind;
    record.breakLength = breakLength;
    record.tailOrValue = kind == Kind::Key ? quint32(classified.valueStart) : isGap ? quint32(text.size()) : 0;
    record.endsBlank = classified.kind == LineKind::Blank;
    if (index > 0) {
        records[index - 1].next = index;
    }
    // Only the first section of a name, and the first key of a name in it, is ever found: later ones are not indexed,
    // so that a file of many repeated names costs no more to read than one of as many different names.
    if (kind == Kind::Header) {
        const QString folded = foldedName(index);
        if (findSection(folded) == kNone) {
            sections.insert(qHash(folded, seed), index);
        }
    } else if (kind == Kind::Key && section != kNone) {
        const QString folded = foldedName(index);
        if (findKey(section, folded) == kNone) {
            keys.insert(keyHash(section, folded), index);
        }
    }
}

SettingsFile::Document SettingsFile::Document::parse(QByteArray bytes)
{
    Document document;
    document.original = std::move(bytes);
    const QByteArray &data = document.original;
    qsizetype pos = 0;
    if (data.startsWith(kUtf8Bom)) {
        pos = kUtf8Bom.size();
    }
    document.bodyStart = pos;
    const qsizetype firstBreak = data.indexOf('\n', pos);
    if (firstBreak > pos && data[firstBreak - 1] == '\r') {
        document.lineEnding = "\r\n";
    }
    // The indexes are sized first, so that they never grow (and for a moment exist twice) while the file is read.
    qsizetype headers = 0;
    qsizetype keys = 0;
    for (qsizetype at = pos; at < data.size();) {
        const qsizetype end = data.indexOf('\n', at);
        const qsizetype next = end < 0 ? data.size() : end + 1;
        const LineKind kind = classify(QByteArrayView(data).sliced(at, next - at)).kind;
        headers += kind == LineKind::Header ? 1 : 0;
        keys += kind == LineKind::Key ? 1 : 0;
        at = next;
    }
    document.sections.reserve(headers);
    document.keys.reserve(keys);
    quint32 section = kNone;
    while (pos < data.size()) {
        const qsizetype end = data.indexOf('\n', pos);
        const qsizetype next = end < 0 ? data.size() : end + 1;
        const quint8 breakLength = end < 0 ? 0 : (end > pos && data[end - 1] == '\r' ? 2 : 1);
        document.append(QByteArrayView(data).sliced(pos, next - pos), pos, breakLength, section);
        pos = next;
    }
    if (!document.records.empty()) {
        document.head = 0;
        document.tail = quint32(document.records.size() - 1);
    }
    return document;
}

QByteArray SettingsFile::Document::serialize() const
{
    QByteArray result = original.first(bodyStart);
    for (quint32 i = head; i != kNone; i = records[i].next) {
        result += bytes(i);
        // A line that had no break because it ended the file needs one once lines follow it.
        if (records[i].breakLength == 0 && records[i].next != kNone) {
            result += lineEnding;
        }
    }
    return result;
}

// The file as another writer left it (onDisk) with this copy's changes applied again, section by section. A section
// this copy changed (a key written with another value than the one read, or added) and the other writer left as it
// was read gets this copy's changed keys. A section both changed is this copy's whole: every key of it whose value
// differs from the other writer's is written, and when that replaces a value of theirs, its name goes to
// `overridden`. Sections this copy did not change stay as the other writer left them; keys only they have stay.
SettingsFile::Document SettingsFile::Document::mergedOnto(QByteArray onDisk, QStringList &overridden) const
{
    const Document read = parse(original);
    Document merged = parse(std::move(onDisk));
    for (quint32 header = head; header != kNone; header = records[header].next) {
        if (records[header].kind != Kind::Header) {
            continue;
        }
        const QString folded = foldedName(header);
        if (findSection(folded) != header) {
            continue; // a later section of the same name: never read, never written
        }
        const std::vector<quint32> ours = sectionKeys(header);
        const quint32 readSection = read.findSection(folded);
        std::vector<quint32> changed;
        for (const quint32 key : ours) {
            const quint32 readKey = readSection == kNone ? kNone : read.findKey(readSection, foldedName(key));
            if (records[key].isWritten && (readKey == kNone || read.value(readKey) != value(key))) {
                changed.push_back(key);
            }
        }
        if (changed.empty()) {
            continue;
        }
        const QString name = sectionName(header);
        const quint32 diskSection = merged.findSection(folded);
        if (read.sectionValues(readSection) == merged.sectionValues(diskSection)) {
            for (const quint32 key : changed) {
                merged.write(name, keyName(key), decodeSettingsName(line(key).sliced(records[key].tailOrValue)));
            }
            continue;
        }
        bool replacedTheirs = false;
        for (const quint32 key : ours) {
            const quint32 diskKey = diskSection == kNone ? kNone : merged.findKey(diskSection, foldedName(key));
            if (diskKey == kNone || merged.value(diskKey) != value(key)) {
                merged.write(name, keyName(key), decodeSettingsName(line(key).sliced(records[key].tailOrValue)));
                replacedTheirs = replacedTheirs || diskKey != kNone;
            }
        }
        if (replacedTheirs) {
            overridden << name;
        }
    }
    return merged;
}

// The keys that reads find in the section of `header`, in file order: the first line of each name.
std::vector<quint32> SettingsFile::Document::sectionKeys(quint32 header) const
{
    std::vector<quint32> found;
    for (quint32 i = records[header].next; i != kNone && records[i].kind != Kind::Header; i = records[i].next) {
        if (records[i].kind == Kind::Key && findKey(header, foldedName(i)) == i) {
            found.push_back(i);
        }
    }
    return found;
}

// What reads give for each key of the section (by folded name); empty for kNone, a missing section.
QHash<QString, QString> SettingsFile::Document::sectionValues(quint32 header) const
{
    QHash<QString, QString> values;
    if (header != kNone) {
        for (const quint32 key : sectionKeys(header)) {
            values.insert(foldedName(key), value(key));
        }
    }
    return values;
}

QString SettingsFile::Document::sectionName(quint32 header) const
{
    const ClassifiedLine classified = classify(line(header));
    return trimBlanks(
        decodeSettingsName(line(header).sliced(classified.nameStart, classified.nameEnd - classified.nameStart)));
}

// A name the program gives as text: the section spelled so; else, for a name whose characters are all Latin-1 ones,
// the section spelled in those Latin-1 bytes, as a file of an older program in a single-byte code page has it.
quint32 SettingsFile::Document::findSectionNamed(const QString &name) const
{
    const QString folded = foldedSettingsName(name);
    if (const quint32 found = findSection(folded); found != kNone) {
        return found;
    }
    const bool latin1 = std::all_of(folded.cbegin(), folded.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
    if (!latin1 || std::all_of(folded.cbegin(), folded.cend(), [](QChar c) { return c.unicode() < 0x80; })) {
        return kNone;
    }
    return findSection(decodeSettingsName(folded.toLatin1()));
}

quint32 SettingsFile::Document::findSection(const QString &folded) const
{
    return sections.find(qHash(folded, seed), [&](quint32 r) { return foldedName(r) == folded; });
}

quint32 SettingsFile::Document::findKey(quint32 section, const QString &folded) const
{
    return keys.find(
        keyHash(section, folded), [&](quint32 r) { return records[r].section == section && foldedName(r) == folded; });
}

// Adds a line the program wrote after record `after` (at the end when kNone).
quint32 SettingsFile::Document::addWritten(QByteArray text, Kind kind, quint32 section, quint32 after)
{
    const auto index = quint32(records.size());
    Record &record = records.emplace_back();
    record.offset = quint32(written.size());
    record.length = quint32(text.size());
    record.section = kind == Kind::Header ? index : section;
    record.kind = kind;
    record.breakLength = quint8(lineEnding.size());
    record.isWritten = true;
    record.tailOrValue = kind == Kind::Run ? record.length : 0; // the program writes blank lines only
    record.endsBlank = kind == Kind::Run;
    written.push_back(std::move(text));
    if (after == kNone) {
        after = tail;
    }
    if (after == kNone) {
        head = index;
    } else {
        record.next = records[after].next;
        records[after].next = index;
    }
    if (after == tail) {
        tail = index;
    }
    return index;
}

quint32 SettingsFile::Document::sectionForWriting(const QString &name)
{
    const QString folded = foldedSettingsName(name);
    if (const quint32 found = findSectionNamed(name); found != kNone) {
        return found;
    }
    // A blank line sets the new section apart from what precedes it.
    if (tail != kNone && !(records[tail].kind == Kind::Run && records[tail].endsBlank)) {
        addWritten(lineEnding, Kind::Run, records[tail].section, kNone);
    }
    const quint32 header = addWritten('[' + encodeSettingsText(name) + ']' + lineEnding, Kind::Header, kNone, kNone);
    Q_ASSERT(foldedName(header) == folded);
    sections.insert(qHash(folded, seed), header);
    insertAfter.insert(header, header);
    return header;
}

// Keys are added after the section's last key or other content, before the blank lines and comments that lead to
// the next section. A run that holds both is split there, once.
quint32 SettingsFile::Document::keyInsertionPoint(quint32 section)
{
    if (const auto it = insertAfter.constFind(section); it != insertAfter.cend()) {
        return *it;
    }
    quint32 last = section;
    for (quint32 i = records[section].next; i != kNone && records[i].kind != Kind::Header; i = records[i].next) {
        if (records[i].kind != Kind::Run || records[i].tailOrValue < records[i].length) {
            last = i;
        }
    }
    Record &run = records[last];
    if (run.kind == Kind::Run && run.tailOrValue > 0) {
        Q_ASSERT(!run.isWritten); // the program's own runs are blank lines only
        const quint32 gapLength = run.tailOrValue;
        Record gap = run;
        gap.offset = run.offset + run.length - gapLength;
        gap.length = gapLength;
        run.length -= gapLength;
        run.tailOrValue = 0;
        run.breakLength = 1 + (bytes(last).endsWith("\r\n") ? 1 : 0);
        run.endsBlank = false;
        const auto index = quint32(records.size());
        gap.next = run.next;
        records.push_back(gap);
        records[last].next = index;
        if (tail == last) {
            tail = index;
        }
    }
    insertAfter.insert(section, last);
    return last;
}

bool SettingsFile::Document::write(const QString &section, const QString &key, const QString &value)
{
    const quint32 target = sectionForWriting(trimBlanks(withoutLineBreaks(section)));
    const QString keyName = trimBlanks(withoutLineBreaks(key));
    const QByteArray valueBytes = encodeSettingsText(withoutLineBreaks(value));
    const QString folded = foldedSettingsName(keyName);
    if (const quint32 found = findKey(target, folded); found != kNone) {
        // Writing back what a read gave (a value cut to kMaxValueLength included) keeps the stored value whole.
        const QString stored = wholeValue(found);
        const QString wanted = wholeReadBack(valueBytes);
        if (wanted == stored || wanted == cutToMaxLength(stored)) {
            return false;
        }
        // The key's own spelling and spacing are kept, the blanks after "=" too unless the value brings its own
        // (they are not read back, and keeping both would grow the line at every write).
        Record &record = records[found];
        const QByteArrayView text = line(found);
        qsizetype keep = record.tailOrValue;
        if (valueBytes.isEmpty() || !isBlankByte(valueBytes.front())) {
            while (keep < text.size() && isBlankByte(text[keep])) {
                ++keep;
            }
        }
        QByteArray replaced
            = text.first(keep).toByteArray() + valueBytes + bytes(found).last(record.breakLength).toByteArray();
        record.length = quint32(replaced.size());
        if (record.isWritten) {
            written[record.offset] = std::move(replaced);
        } else {
            record.offset = quint32(written.size());
            record.isWritten = true;
            written.push_back(std::move(replaced));
        }
        return true;
    }
    const QByteArray text = encodeSettingsText(keyName) + '=';
    const quint32 added = addWritten(text + valueBytes + lineEnding, Kind::Key, target, keyInsertionPoint(target));
    records[added].tailOrValue = quint32(text.size());
    Q_ASSERT(foldedName(added) == folded);
    keys.insert(keyHash(target, folded), added);
    insertAfter.insert(target, added);
    return true;
}

SettingsFile::SettingsFile(QString path)
    : m_path(std::move(path))
{ }

SettingsFile::~SettingsFile() = default;

bool SettingsFile::exists() const
{
    return QFileInfo::exists(m_path);
}

QString SettingsFile::refusal() const
{
    document();
    return m_refusal;
}

SettingsFile::Document &SettingsFile::document() const
{
    if (m_document) {
        return *m_document;
    }
    m_document = std::make_unique<Document>();
    FileBytes read = readBounded(m_path);
    if (read.missing || !read.refusal.isEmpty()) {
        m_refusal = read.refusal;
        return *m_document;
    }
    QByteArray bytes = std::move(read.bytes);
    *m_document = Document::parse(std::move(bytes));
    return *m_document;
}

QString SettingsFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Document &doc = document();
    const quint32 found = doc.findSectionNamed(section);
    const quint32 keyLine = found == kNone ? kNone : doc.findKey(found, foldedSettingsName(key));
    return keyLine == kNone ? defaultValue : doc.value(keyLine);
}

QString SettingsFile::readName(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Document &doc = document();
    const quint32 found = doc.findSectionNamed(section);
    const quint32 keyLine = found == kNone ? kNone : doc.findKey(found, foldedSettingsName(key));
    return keyLine == kNone ? defaultValue : doc.nameValue(keyLine);
}

QStringList SettingsFile::keys(const QString &section) const
{
    const Document &doc = document();
    const quint32 found = doc.findSectionNamed(section);
    if (found == kNone) {
        return {};
    }
    QStringList names;
    for (quint32 i = doc.records[found].next; i != kNone && doc.records[i].kind != Kind::Header;
         i = doc.records[i].next) {
        if (doc.records[i].kind != Kind::Key) {
            continue;
        }
        const QString name = doc.keyName(i);
        if (doc.findKey(found, foldedSettingsName(name)) == i) {
            names << name;
        }
    }
    return names;
}

int SettingsFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    // A missing key reads as the empty text, which is no integer either.
    return parseProfileInteger(readString(section, key, QString())).value_or(defaultValue);
}

bool SettingsFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void SettingsFile::writeString(const QString &section, const QString &key, const QString &value)
{
    if (document().write(section, key, value)) {
        m_modified = true;
    }
}

void SettingsFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void SettingsFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

SettingsSaveReport SettingsFile::save()
{
    if (!m_modified) {
        return {};
    }
    const QString fullPath = QFileInfo(m_path).absoluteFilePath();
    if (!m_refusal.isEmpty()) {
        throw SettingsWriteError(
            fullPath, QStringLiteral("the file was not read (%1), so it is left as it is").arg(m_refusal));
    }
    // Another writer (a second program, a hand edit) may have changed the file since it was read: its changes are
    // kept and ours applied on top, section by section.
    QByteArray bytes;
    SettingsSaveReport report;
    if (const auto onDisk = currentBytes(fullPath); onDisk && *onDisk != m_document->original) {
        bytes = m_document->mergedOnto(*onDisk, report.overridden).serialize();
    } else {
        bytes = m_document->serialize();
    }
    if (bytes.size() > kMaxFileBytes) {
        throw SettingsWriteError(fullPath,
            QStringLiteral("the settings would take more than %1 MiB, which the program could not read back")
                .arg(kMaxFileBytes / (1024 * 1024)));
    }
    if (const int error = makeFolders(QFileInfo(fullPath).absolutePath())) {
        throw SettingsWriteError(fullPath, systemReason(error));
    }
    if (const auto failure = replaceFile(fullPath, bytes, report.unsyncedReason)) {
        throw SettingsWriteError(fullPath, *failure);
    }
    *m_document = Document::parse(bytes);
    m_modified = false;
    return report;
}
