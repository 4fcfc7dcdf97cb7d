// Fuzz target for SettingsFile: arbitrary bytes as a settings file, then reads, writes, save and re-read.
// Checks that nothing crashes, that written values read back (after the accessor's documented changes: line
// breaks to blanks, blanks and one pair of quotes dropped, 2047 characters at most), that keys not written keep
// their values, and that writing the same values again changes no byte.
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "settings/settingsfile.h"

namespace {

constexpr size_t kMaxInputBytes = 64 * 1024;
constexpr qsizetype kMaxNameBytes = 80;

// A naive model of what reading gives back for a written value, used only as the oracle here.
QString expectedReadBack(QString value)
{
    value.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; };
    while (!value.isEmpty() && blank(value.front())) {
        value.remove(0, 1);
    }
    while (!value.isEmpty() && blank(value.back())) {
        value.chop(1);
    }
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
        value = value.mid(1, value.size() - 2);
    }
    if (value.size() > SettingsFile::kMaxValueLength) {
        const bool splitsPair = value[SettingsFile::kMaxValueLength].isLowSurrogate()
            && value[SettingsFile::kMaxValueLength - 1].isHighSurrogate();
        value.truncate(SettingsFile::kMaxValueLength - (splitsPair ? 1 : 0));
    }
    return value;
}

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    check(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

struct Write
{
    QString section;
    QString key;
    QString value;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > kMaxInputBytes) {
        return 0;
    }
    static QTemporaryDir dir;
    check(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("KTZ.ini"));
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(input) == input.size());
    }

    // Names and values come from the input itself, so they can collide with what the file holds. The keys differ
    // from each other, so no write overwrites another whatever the sections are.
    const QList<QByteArray> lines = input.split('\n');
    const QString anySection = QString::fromUtf8(lines.value(0).left(kMaxNameBytes));
    const QString anyValue = QString::fromUtf8(lines.value(1));
    const QString otherValue = QString::fromUtf8(input.right(3000));
    const QList<Write> writes {{anySection, QStringLiteral("Title"), anyValue},
        {QStringLiteral("General"), QStringLiteral("Preset1"), otherValue},
        {anySection, QStringLiteral("Description"), anySection},
        {QStringLiteral("Auto"), QStringLiteral("Selected"), QString()}};

    SettingsFile settings(path);
    const QString untouched = settings.readString(anySection, QStringLiteral("Untouched"), QStringLiteral("-"));
    const int integer = settings.readInteger(QStringLiteral("General"), QStringLiteral("Left"), 7);
    settings.readBool(QStringLiteral("Auto"), QStringLiteral("Regex"), true);

    for (const Write &w : writes) {
        settings.writeString(w.section, w.key, w.value);
    }
    settings.writeInteger(QStringLiteral("General"), QStringLiteral("Top"), integer);
    for (const Write &w : writes) {
        check(settings.readString(w.section, w.key, QString()) == expectedReadBack(w.value));
    }
    settings.save();

    SettingsFile reread(path);
    check(reread.readString(anySection, QStringLiteral("Untouched"), QStringLiteral("-")) == untouched);
    check(reread.readInteger(QStringLiteral("General"), QStringLiteral("Top"), 0) == integer);
    for (const Write &w : writes) {
        check(reread.readString(w.section, w.key, QString()) == expectedReadBack(w.value));
    }

    const QByteArray saved = readAll(path);
    for (const Write &w : writes) {
        reread.writeString(w.section, w.key, w.value);
    }
    reread.save();
    check(readAll(path) == saved);
    return 0;
}
