// SettingsFile: parses the profile (INI) file into raw lines grouped by section, answers reads from an index of
// case-folded names, applies writes to the raw lines and serialises them back unchanged where not written.
#include "settings/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <algorithm>
#include <vector>

#include "settings/profileinteger.h"

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

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

// The form in which section and key names are stored and looked up.
QString normalizedName(const QString &name)
{
    return trimBlanks(withoutLineBreaks(name));
}

QString foldedName(const QString &name)
{
    return normalizedName(name).toCaseFolded();
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

enum class LineKind { Blank, Comment, Header, Key, Other };

struct ClassifiedLine
{
    LineKind kind = LineKind::Other;
    QString foldedName;        // Header and Key lines
    qsizetype valueStart = -1; // Key lines: the byte after "="
};

ClassifiedLine classify(const QByteArray &text)
{
    qsizetype first = 0;
    while (first < text.size() && isBlankByte(text[first])) {
        ++first;
    }
    if (first == text.size()) {
        return {LineKind::Blank, {}, -1};
    }
    const char lead = text[first];
    if (lead == ';' || lead == '#') {
        return {LineKind::Comment, {}, -1};
    }
    if (lead == '[') {
        // The name ends at the last "]", so a name that holds "]" itself reads back whole.
        qsizetype close = text.lastIndexOf(']');
        if (close <= first) {
            close = text.size();
        }
        const QString name = QString::fromUtf8(text.constData() + first + 1, close - first - 1);
        return {LineKind::Header, trimBlanks(name).toCaseFolded(), -1};
    }
    const qsizetype equals = text.indexOf('=', first);
    if (equals < 0) {
        return {LineKind::Other, {}, -1};
    }
    const QString name = QString::fromUtf8(text.constData() + first, equals - first);
    return {LineKind::Key, trimBlanks(name).toCaseFolded(), equals + 1};
}

} // namespace

SettingsWriteError::SettingsWriteError(const QString &path)
    : std::runtime_error(QStringLiteral("Unable to write to %1").arg(path).toStdString())
    , m_path(path)
{ }

struct SettingsFile::Document
{
    struct Line
    {
        QByteArray text;           // the line's bytes without its terminator
        QByteArray ending;         // "\n", "\r\n", or empty for a last line that has none
        qsizetype valueStart = -1; // key lines: where the value begins; -1 for every other line
    };

    struct Section
    {
        std::vector<Line> lines;            // lines[0] is the header, except in the preamble
        QHash<QString, qsizetype> keyLines; // case-folded key name -> first line holding it
        qsizetype contentEnd = 0;           // one past the last line that is neither blank nor a comment
    };

    QByteArray bom;                             // a UTF-8 byte order mark the file began with, kept for saving
    QByteArray lineEnding = "\n";               // the file's style, taken from its first line break; used for new lines
    std::vector<Section> sections {Section {}}; // [0] is the preamble: lines before the first header, never matched
    QHash<QString, qsizetype> sectionByName;    // case-folded section name -> first section with it

    static Document parse(const QByteArray &bytes);
    QByteArray serialize() const;
    const Line *find(const QString &section, const QString &key) const;
    bool write(const QString &section, const QString &key, const QString &value); // true when the bytes changed

private:
    static void appendLine(Section &section, Line line, const ClassifiedLine &classified);
    Section &sectionForWriting(const QString &name);
};

void SettingsFile::Document::appendLine(Section &section, Line line, const ClassifiedLine &classified)
{
    if (classified.kind == LineKind::Key) {
        line.valueStart = classified.valueStart;
        if (!section.keyLines.contains(classified.foldedName)) {
            section.keyLines.insert(classified.foldedName, qsizetype(section.lines.size()));
        }
    }
    section.lines.push_back(std::move(line));
    if (classified.kind != LineKind::Blank && classified.kind != LineKind::Comment) {
        section.contentEnd = qsizetype(section.lines.size());
    }
}

SettingsFile::Document SettingsFile::Document::parse(const QByteArray &bytes)
{
    Document document;
    qsizetype pos = 0;
    if (bytes.startsWith(kUtf8Bom)) {
        document.bom = kUtf8Bom;
        pos = kUtf8Bom.size();
    }
    const qsizetype firstBreak = bytes.indexOf('\n', pos);
    if (firstBreak > pos && bytes[firstBreak - 1] == '\r') {
        document.lineEnding = "\r\n";
    }
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        Line line;
        if (end < 0) {
            line.text = bytes.sliced(pos);
            pos = bytes.size();
        } else {
            const qsizetype next = end + 1;
            if (end > pos && bytes[end - 1] == '\r') {
                --end;
            }
            line.text = bytes.sliced(pos, end - pos);
            line.ending = bytes.sliced(end, next - end);
            pos = next;
        }
        const ClassifiedLine classified = classify(line.text);
        if (classified.kind == LineKind::Header) {
            if (!document.sectionByName.contains(classified.foldedName)) {
                document.sectionByName.insert(classified.foldedName, qsizetype(document.sections.size()));
            }
            document.sections.emplace_back();
        }
        appendLine(document.sections.back(), std::move(line), classified);
    }
    return document;
}

QByteArray SettingsFile::Document::serialize() const
{
    qsizetype lastSection = qsizetype(sections.size()) - 1;
    while (lastSection > 0 && sections[lastSection].lines.empty()) {
        --lastSection;
    }
    QByteArray bytes = bom;
    for (qsizetype s = 0; s < qsizetype(sections.size()); ++s) {
        const std::vector<Line> &lines = sections[s].lines;
        for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
            bytes += lines[i].text;
            const bool last = s == lastSection && i == qsizetype(lines.size()) - 1;
            // A line that had no break because it ended the file needs one once lines follow it.
            bytes += lines[i].ending.isEmpty() && !last ? lineEnding : lines[i].ending;
        }
    }
    return bytes;
}

const SettingsFile::Document::Line *SettingsFile::Document::find(const QString &section, const QString &key) const
{
    const auto sectionIt = sectionByName.constFind(foldedName(section));
    if (sectionIt == sectionByName.cend()) {
        return nullptr;
    }
    const Section &found = sections[*sectionIt];
    const auto keyIt = found.keyLines.constFind(foldedName(key));
    return keyIt == found.keyLines.cend() ? nullptr : &found.lines[*keyIt];
}

SettingsFile::Document::Section &SettingsFile::Document::sectionForWriting(const QString &name)
{
    const QString folded = name.toCaseFolded();
    if (const auto it = sectionByName.constFind(folded); it != sectionByName.cend()) {
        return sections[*it];
    }
    // A blank line sets the new section apart from what precedes it.
    for (auto it = sections.rbegin(); it != sections.rend(); ++it) {
        if (!it->lines.empty()) {
            if (classify(it->lines.back().text).kind != LineKind::Blank) {
                it->lines.push_back(Line {{}, lineEnding, -1});
            }
            break;
        }
    }
    sectionByName.insert(folded, qsizetype(sections.size()));
    Section &section = sections.emplace_back();
    const QByteArray header = '[' + name.toUtf8() + ']';
    const ClassifiedLine classified = classify(header);
    Q_ASSERT(classified.kind == LineKind::Header && classified.foldedName == folded);
    appendLine(section, Line {header, lineEnding, -1}, classified);
    return section;
}

bool SettingsFile::Document::write(const QString &section, const QString &key, const QString &value)
{
    Section &target = sectionForWriting(normalizedName(section));
    const QString keyName = normalizedName(key);
    const QByteArray valueBytes = withoutLineBreaks(value).toUtf8();
    if (const auto it = target.keyLines.constFind(keyName.toCaseFolded()); it != target.keyLines.cend()) {
        // The key's own spelling and spacing are kept, the blanks after "=" too unless the value brings its own
        // (they are not read back, and keeping both would grow the line at every write).
        Line &line = target.lines[*it];
        qsizetype keep = line.valueStart;
        if (valueBytes.isEmpty() || !isBlankByte(valueBytes.front())) {
            while (keep < line.text.size() && isBlankByte(line.text[keep])) {
                ++keep;
            }
        }
        QByteArray text = line.text.first(keep) + valueBytes;
        if (text == line.text) {
            return false;
        }
        line.text = std::move(text);
        return true;
    }
    Line line {keyName.toUtf8() + '=' + valueBytes, lineEnding, -1};
    const ClassifiedLine classified = classify(line.text);
    Q_ASSERT(classified.kind == LineKind::Key && classified.foldedName == keyName.toCaseFolded());
    line.valueStart = classified.valueStart;
    // Keys are added after the section's last key, before the blank lines and comments that lead to the next
    // section; only such lines move, so the indices of the key lines stay valid.
    const qsizetype at = target.contentEnd;
    target.lines.insert(target.lines.begin() + at, std::move(line));
    target.keyLines.insert(classified.foldedName, at);
    ++target.contentEnd;
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

SettingsFile::Document &SettingsFile::document() const
{
    if (m_document) {
        return *m_document;
    }
    m_document = std::make_unique<Document>();
    const QFileInfo info(m_path);
    if (!info.exists()) {
        return *m_document;
    }
    // Anything but a regular file (a folder, a FIFO that would block) and anything over budget is left unread.
    QFile file(m_path);
    if (!info.isFile() || info.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly)) {
        m_unreadable = true;
        return *m_document;
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxFileBytes) {
        m_unreadable = true;
        return *m_document;
    }
    *m_document = Document::parse(bytes);
    return *m_document;
}

QString SettingsFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Document::Line *line = document().find(section, key);
    if (!line) {
        return defaultValue;
    }
    const QByteArrayView raw = QByteArrayView(line->text).sliced(line->valueStart);
    return cutToMaxLength(unquoted(trimBlanks(QString::fromUtf8(raw))));
}

QStringList SettingsFile::keys(const QString &section) const
{
    const Document &doc = document();
    const auto sectionIt = doc.sectionByName.constFind(foldedName(section));
    if (sectionIt == doc.sectionByName.cend()) {
        return {};
    }
    const Document::Section &found = doc.sections[*sectionIt];
    std::vector<qsizetype> lines;
    lines.reserve(found.keyLines.size());
    for (const qsizetype line : found.keyLines) {
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    QStringList names;
    names.reserve(qsizetype(lines.size()));
    for (const qsizetype line : lines) {
        const Document::Line &keyLine = found.lines[line];
        names << trimBlanks(QString::fromUtf8(keyLine.text.constData(), keyLine.valueStart - 1));
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

void SettingsFile::save()
{
    if (!m_modified) {
        return;
    }
    const QString fullPath = QFileInfo(m_path).absoluteFilePath();
    if (m_unreadable || !QDir().mkpath(QFileInfo(fullPath).absolutePath())) {
        throw SettingsWriteError(fullPath);
    }
    // QSaveFile writes beside the target and renames over it on commit; on failure it removes its temporary file.
    QSaveFile file(fullPath);
    const QByteArray bytes = m_document->serialize();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw SettingsWriteError(fullPath);
    }
    m_modified = false;
}
