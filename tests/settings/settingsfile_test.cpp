// Tests of SettingsFile (reading, writing, saving, failures) and of the settings location rule.
#include "settings/settingsfile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <optional>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "filebytes.h"
#include "settings/settingslocation.h"

using Write = QStringList; // section, key, value

namespace {

ino_t inodeOf(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// Lowers the process's file size limit so that writing more than `bytes` to any file fails with EFBIG; this
// stops root as well, unlike permissions. Restores the limit and SIGXFSZ on destruction.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved = {};
    void (*m_savedHandler)(int) = nullptr;
};

} // namespace

// The system's sync calls, replaced for this test program: fdatasync fails while failingSyncs is positive, fsync
// records the folders it syncs and what the watched file holds at that moment.
namespace {
int failingSyncs = 0;
int failingFolderSyncs = 0;
QStringList syncedFolders;
QString watchedFile;
QByteArray contentAtFolderSync;
} // namespace

extern "C" int fdatasync(int fd)
{
    if (failingSyncs > 0) {
        --failingSyncs;
        errno = EIO;
        return -1;
    }
    return int(::syscall(SYS_fdatasync, fd));
}

extern "C" int fsync(int fd)
{
    struct stat info = {};
    if (!watchedFile.isEmpty() && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        syncedFolders << QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(fd)).symLinkTarget();
        contentAtFolderSync = readAll(watchedFile);
    }
    if (failingFolderSyncs > 0 && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        --failingFolderSyncs;
        errno = EIO;
        return -1;
    }
    return int(::syscall(SYS_fsync, fd));
}

class SettingsFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readString_data();
    void readString();
    void readInteger_data();
    void readInteger();
    void readBool_data();
    void readBool();
    void keys_data();
    void keys();
    void memoryPerLine_data();
    void memoryPerLine();
    void write_data();
    void write();
    void saveWritesOnlyChanges();
    void changesOnDiskKept_data();
    void changesOnDiskKept();
    void loadsOnFirstAccess();
    void fileThatNeverEnds_data();
    void fileThatNeverEnds();
    void saveFailure_data();
    void saveFailure();
    void folderSyncedAfterRename();
    void folderSyncFailureIsNoWriteFailure();
    void staleTemporariesRemoved();
    void linkTargetReplaced();
    void location_data();
    void location();
    void configHome_data();
    void configHome();

private:
    QString m_path; // KTZ.ini in a fresh temporary folder
    std::unique_ptr<QTemporaryDir> m_dir;
};

void SettingsFileTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("KTZ.ini"));
}

void SettingsFileTest::readString_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString dflt = QStringLiteral("default");
    QTest::newRow("missing section") << QByteArray("[A]\nk=v\n") << "B"
                                     << "k" << dflt;
    QTest::newRow("missing key") << QByteArray("[A]\nk=v\n") << "A"
                                 << "x" << dflt;
    QTest::newRow("empty value") << QByteArray("[A]\nk=\n") << "A"
                                 << "k"
                                 << "";
    QTest::newRow("blanks around value dropped") << QByteArray("[A]\nk = \t v w \t\n") << "A"
                                                 << "k"
                                                 << "v w";
    QTest::newRow("double quotes removed") << QByteArray("[A]\nk=\" v \"\n") << "A"
                                           << "k"
                                           << " v ";
    QTest::newRow("single quotes removed") << QByteArray("[A]\nk=' v '\n") << "A"
                                           << "k"
                                           << " v ";
    QTest::newRow("only the outer pair removed") << QByteArray("[A]\nk=\"\"v\"\"\n") << "A"
                                                 << "k"
                                                 << "\"v\"";
    QTest::newRow("mismatched quotes kept") << QByteArray("[A]\nk=\"v'\n") << "A"
                                            << "k"
                                            << "\"v'";
    QTest::newRow("lone quote kept") << QByteArray("[A]\nk=\"\n") << "A"
                                     << "k"
                                     << "\"";
    QTest::newRow("equals sign inside value") << QByteArray("[A]\nk=a=b\n") << "A"
                                              << "k"
                                              << "a=b";
    QTest::newRow("names case-blind") << QByteArray("[Auto]\nTitle=x\n") << "aUTO"
                                      << "tITLE"
                                      << "x";
    QTest::newRow("names case-blind beyond ASCII")
        << QByteArray("[\xC3\x84rger \xCE\xA3]\nk=x\n") << QStringLiteral("\u00E4RGER \u03C3") << "K"
        << "x";
    QTest::newRow("first section wins") << QByteArray("[A]\nk=1\n[a]\nk=2\n") << "A"
                                        << "k"
                                        << "1";
    QTest::newRow("key of a later duplicate section unseen") << QByteArray("[A]\n[a]\nj=2\n") << "a"
                                                             << "j" << dflt;
    QTest::newRow("first key wins") << QByteArray("[A]\nk=1\nK=2\n") << "A"
                                    << "k"
                                    << "1";
    QTest::newRow("key before any section unseen") << QByteArray("k=1\n[]\n") << ""
                                                   << "k" << dflt;
    QTest::newRow("comment is no key") << QByteArray("[A]\n;k=1\n# k=2\n") << "A"
                                       << "k" << dflt;
    QTest::newRow("blanks around names") << QByteArray("  [ A ]  \n\t k  =v\n") << " A"
                                         << "k "
                                         << "v";
    QTest::newRow("section name holding a bracket") << QByteArray("[a]b]\nk=v\n") << "a]b"
                                                    << "k"
                                                    << "v";
    QTest::newRow("header without closing bracket") << QByteArray("[A\nk=v\n") << "A"
                                                    << "k"
                                                    << "v";
    QTest::newRow("line break in requested name") << QByteArray("[a b]\nk=v\n") << "a\r\nb"
                                                  << "k"
                                                  << "v";
    QTest::newRow("CRLF line endings") << QByteArray("[A]\r\nk=v\r\n") << "A"
                                       << "k"
                                       << "v";
    QTest::newRow("no final line break") << QByteArray("[A]\nk=v") << "A"
                                         << "k"
                                         << "v";
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[A]\nk=v\n") << "A"
                                     << "k"
                                     << "v";
    QTest::newRow("bytes outside UTF-8 read as Latin-1") << QByteArray("[A]\nk=a\xFF"
                                                                       "b\n")
                                                         << "A"
                                                         << "k"
                                                         << "a\u00FFb";
    QTest::newRow("Latin-1 section name") << QByteArray("[Caf\xE9]\nk=v\n") << "CAF\u00C9"
                                          << "k"
                                          << "v";
    QTest::newRow("Latin-1 sections stay apart") << QByteArray("[Caf\xE9]\nk=1\n[Caf\xE8]\nk=2\n") << "Caf\u00E8"
                                                 << "k"
                                                 << "2";
    QTest::newRow("UTF-8 and Latin-1 spellings are two names: the UTF-8 one")
        << QByteArray("[Caf\xE9]\nk=1\n[Caf\xC3\xA9]\nk=2\n") << "Caf\u00E9"
        << "k"
        << "2";
    QTest::newRow("UTF-8 and Latin-1 spellings are two names: the Latin-1 one as a name reads it")
        << QByteArray("[Caf\xC3\xA9]\nk=1\n[CAF\xE9]\nk=2\n") << QStringLiteral("caf") + QChar(0xDCE9) << "k"
        << "2";

    const QString x2047(2047, u'x');
    QTest::newRow("cut to 2047 characters") << "[A]\nk=" + QByteArray(3000, 'x') << "A"
                                            << "k" << x2047;
    QTest::newRow("cut after the quotes are removed") << "[A]\nk=\"" + x2047.toUtf8() + "x\""
                                                      << "A"
                                                      << "k" << x2047;
    const QString emoji = QStringLiteral("\U0001F600");
    QTest::newRow("cut never splits a surrogate pair") << "[A]\nk=" + (QString(2046, u'x') + emoji).toUtf8() << "A"
                                                       << "k" << QString(2046, u'x');
    QTest::newRow("surrogate pair that fits kept") << "[A]\nk=" + (QString(2045, u'x') + emoji + "y").toUtf8() << "A"
                                                   << "k" << QString(2045, u'x') + emoji;
}

void SettingsFileTest::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    writeAll(m_path, content);
    const SettingsFile settings(m_path);
    QCOMPARE(settings.readString(section, key, QStringLiteral("default")), expected);
}

void SettingsFileTest::readInteger_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected"); // the default is 7

    QTest::newRow("decimal") << QByteArray("42") << 42;
    QTest::newRow("leading zeros") << QByteArray("0012") << 12;
    QTest::newRow("plus sign") << QByteArray("+12") << 12;
    QTest::newRow("blanks and sign kept by quotes") << QByteArray("\" -5\"") << -5;
    QTest::newRow("lowest") << QByteArray("-2147483648") << int(0x80000000);
    QTest::newRow("highest") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("above the range") << QByteArray("2147483648") << 7;
    QTest::newRow("below the range") << QByteArray("-2147483649") << 7;
    QTest::newRow("very long number") << QByteArray(500, '9') << 7;
    QTest::newRow("0x hexadecimal") << QByteArray("0x1A") << 26;
    QTest::newRow("0X hexadecimal") << QByteArray("0X1a") << 26;
    QTest::newRow("0x wraps to negative") << QByteArray("0xFFFFFFFF") << -1;
    QTest::newRow("0x beyond 32 bits") << QByteArray("0x100000000") << 7;
    QTest::newRow("0x alone") << QByteArray("0x") << 7;
    QTest::newRow("0x with bad digit") << QByteArray("0x1G") << 7;
    QTest::newRow("sign before 0x") << QByteArray("-0x1A") << 7;
    QTest::newRow("dollar hexadecimal") << QByteArray("$1A") << 26;
    QTest::newRow("negative dollar") << QByteArray("-$1A") << -26;
    QTest::newRow("dollar wraps to negative") << QByteArray("$80000000") << int(0x80000000);
    QTest::newRow("dollar alone") << QByteArray("$") << 7;
    QTest::newRow("trailing garbage") << QByteArray("12abc") << 7;
    QTest::newRow("inner blank") << QByteArray("1 2") << 7;
    QTest::newRow("sign alone") << QByteArray("-") << 7;
    QTest::newRow("empty") << QByteArray("") << 7;
    QTest::newRow("word") << QByteArray("true") << 7;
    QTest::newRow("non-ASCII digits") << QByteArray("\xD9\xA3") << 7;
}

void SettingsFileTest::readInteger()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    writeAll(m_path, "[A]\nk=" + value + "\n");
    const SettingsFile settings(m_path);
    QCOMPARE(settings.readInteger(QStringLiteral("A"), QStringLiteral("k"), 7), expected);
}

void SettingsFileTest::readBool_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");

    QTest::newRow("missing gives default false") << QByteArray("[A]\n") << false << false;
    QTest::newRow("missing gives default true") << QByteArray("[A]\n") << true << true;
    QTest::newRow("one") << QByteArray("[A]\nk=1\n") << false << true;
    QTest::newRow("zero") << QByteArray("[A]\nk=0\n") << true << false;
    QTest::newRow("two is true") << QByteArray("[A]\nk=2\n") << false << true;
    QTest::newRow("negative is true") << QByteArray("[A]\nk=-1\n") << false << true;
    QTest::newRow("word true gives default false") << QByteArray("[A]\nk=true\n") << false << false;
    QTest::newRow("word false gives default true") << QByteArray("[A]\nk=false\n") << true << true;
}

void SettingsFileTest::readBool()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    writeAll(m_path, content);
    const SettingsFile settings(m_path);
    QCOMPARE(settings.readBool(QStringLiteral("A"), QStringLiteral("k"), defaultValue), expected);
}

void SettingsFileTest::keys_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected"); // the keys of section "A"

    QTest::newRow("file order, blanks dropped")
        << QByteArray("[A]\n b =1\n; c=2\na=3\nstray\n[B]\nd=4\n") << QStringList {"b", "a"};
    QTest::newRow("first spelling of a key")
        << QByteArray("[A]\nKey=1\nkEY=2\nother=3\n") << QStringList {"Key", "other"};
    QTest::newRow("first of duplicate sections") << QByteArray("[A]\nx=1\n[a]\ny=2\n") << QStringList {"x"};
    QTest::newRow("missing section") << QByteArray("[B]\nx=1\n") << QStringList {};
}

void SettingsFileTest::keys()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    writeAll(m_path, content);
    const SettingsFile settings(m_path);
    QCOMPARE(settings.keys(QStringLiteral("A")), expected);
}

void SettingsFileTest::memoryPerLine_data()
{
    QTest::addColumn<QByteArray>("line"); // "%1" stands for the line's number
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");

    QTest::newRow("empty lines") << QByteArray("\n") << "h1"
                                 << "k";
    QTest::newRow("unique headers") << QByteArray("[%1]\n") << "9"
                                    << "k";
    QTest::newRow("unique keys") << QByteArray("%1=\n") << "A"
                                 << "9";
}

// A file at the size limit made of the smallest lines of one kind: the memory it takes beyond its own bytes stays
// within a small fixed amount per line. Holding each line as a string of its own took a hundred bytes per line.
void SettingsFileTest::memoryPerLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, section);
    QFETCH(QString, key);
    constexpr qint64 kBytesPerLineBudget = 80;

    QByteArray content = "[A]\n";
    content.reserve(SettingsFile::kMaxFileBytes);
    const qsizetype hole = line.indexOf("%1");
    qint64 lines = 1;
    while (content.size() < SettingsFile::kMaxFileBytes - 16) {
        if (hole < 0) {
            content += line;
        } else {
            content.append(line.constData(), hole).append(QByteArray::number(lines)).append(line.sliced(hole + 2));
        }
        lines += line.count('\n');
    }
    writeAll(m_path, content);

    QProcess probe;
    probe.start(QStringLiteral(FRAMEWRIGHT_MEMORY_PROBE), {m_path, section, key});
    QVERIFY(probe.waitForFinished(120000));
    QCOMPARE(probe.exitCode(), 0);
    bool isNumber = false;
    const qint64 growth = probe.readAllStandardOutput().trimmed().toLongLong(&isNumber);
    QVERIFY(isNumber);
    QVERIFY2(growth < lines * kBytesPerLineBudget,
        qPrintable(QStringLiteral("%1 bytes for %2 lines").arg(growth).arg(lines)));
}

void SettingsFileTest::write_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QList<Write>>("writes");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file") << false << QByteArray()
                              << QList<Write> {{"General", "Left", "10"}, {"General", "Top", "20"},
                                     {"Auto", "Title", ""}}
                              << QByteArray("[General]\nLeft=10\nTop=20\n\n[Auto]\nTitle=\n");
    QTest::newRow("empty file") << true << QByteArray() << QList<Write> {{"A", "k", "1"}} << QByteArray("[A]\nk=1\n");
    QTest::newRow("everything else kept, CRLF")
        << true
        << QByteArray("; Framewright settings\r\n\r\n[General]\r\nLeft=1\r\n; position\r\nTop=2\r\n"
                      "Unknown = keep me\r\nstray line\r\n\r\n; next\r\n[Other]\r\nx=\"q\"\r\n")
        << QList<Write> {{"General", "Top", "5"}, {"General", "PresetCount", "3"}, {"Other", "new", "v"},
               {"New", "k", "v"}}
        << QByteArray(
               "; Framewright settings\r\n\r\n[General]\r\nLeft=1\r\n; position\r\nTop=5\r\n"
               "Unknown = keep me\r\nstray line\r\nPresetCount=3\r\n\r\n; next\r\n[Other]\r\nx=\"q\"\r\nnew=v\r\n"
               "\r\n[New]\r\nk=v\r\n");
    QTest::newRow("key spelling and spacing kept")
        << true << QByteArray("[auto]\n  TITLE = old\n") << QList<Write> {{"Auto", "Title", "new"}}
        << QByteArray("[auto]\n  TITLE = new\n");
    QTest::newRow("blanks of a value not doubled on rewrite")
        << true << QByteArray("[A]\nk = old\nj = old\n")
        << QList<Write> {{"A", "k", " v"}, {"A", "k", " v"}, {"A", "j", ""}, {"A", "j", ""}}
        << QByteArray("[A]\nk = v\nj = \n");
    QTest::newRow("first of duplicate sections written")
        << true << QByteArray("[A]\nk=1\n[a]\nk=2\nj=3\n") << QList<Write> {{"a", "K", "4"}, {"A", "j", "5"}}
        << QByteArray("[A]\nk=4\nj=5\n[a]\nk=2\nj=3\n");
    QTest::newRow("keys of an empty section follow its header")
        << true << QByteArray("[A]\n; about B\n[B]\n") << QList<Write> {{"A", "k", "1"}}
        << QByteArray("[A]\nk=1\n; about B\n[B]\n");
    QTest::newRow("no final line break, key replaced")
        << true << QByteArray("[A]\nk=1") << QList<Write> {{"A", "k", "2"}} << QByteArray("[A]\nk=2");
    QTest::newRow("no final line break, key added")
        << true << QByteArray("[A]\nk=1") << QList<Write> {{"A", "j", "2"}} << QByteArray("[A]\nk=1\nj=2\n");
    QTest::newRow("new section after a trailing blank line")
        << true << QByteArray("[A]\nk=1\n\n") << QList<Write> {{"B", "k", "1"}} << QByteArray("[A]\nk=1\n\n[B]\nk=1\n");
    QTest::newRow("new section after comments only")
        << true << QByteArray("; only") << QList<Write> {{"A", "k", "1"}} << QByteArray("; only\n\n[A]\nk=1\n");
    QTest::newRow("invalid UTF-8 in other lines kept")
        << true << QByteArray("[A]\nx=\xFF\xFE\n[B]\n\xC3=\n") << QList<Write> {{"A", "k", "\u00E9"}}
        << QByteArray("[A]\nx=\xFF\xFE\nk=\xC3\xA9\n[B]\n\xC3=\n");
    QTest::newRow("Latin-1 bytes kept when written back as read")
        << true << QByteArray("[Caf\xE9]\nTitle=R\xE9sum\xE9\n[Caf\xE8]\nTitle=x\n")
        << QList<Write> {{"Caf\u00E9", "Title", "R\u00E9sum\u00E9"}, {"Caf\u00E8", "Title", "y"}}
        << QByteArray("[Caf\xE9]\nTitle=R\xE9sum\xE9\n[Caf\xE8]\nTitle=y\n");
    QTest::newRow("long value kept when written back as read")
        << true << "[A]\nk=\"" + QByteArray(3000, 'x') + "\"\n"
        << QList<Write> {{"A", "k", QString(2047, u'x')}} << "[A]\nk=\"" + QByteArray(3000, 'x') + "\"\n";
    QTest::newRow("byte order mark kept") << true << QByteArray("\xEF\xBB\xBF[A]\r\nk=1\r\n")
                                          << QList<Write> {{"A", "k", "2"}} << QByteArray("\xEF\xBB\xBF[A]\r\nk=2\r\n");
    QTest::newRow("line breaks in a value")
        << true << QByteArray("[A]\nk=1\n") << QList<Write> {{"A", "k", "a\r\nb\rc\nd\n\n[B]"}}
        << QByteArray("[A]\nk=a b c d  [B]\n");
    QTest::newRow("line breaks in a section name")
        << false << QByteArray() << QList<Write> {{"x\n[General]", "k", "v"}} << QByteArray("[x [General]]\nk=v\n");
    QTest::newRow("line breaks in a key name")
        << false << QByteArray() << QList<Write> {{"A", "k\r\nj", "v"}} << QByteArray("[A]\nk j=v\n");
    QTest::newRow("section name holding brackets")
        << false << QByteArray() << QList<Write> {{"[a]b]", "k", "v"}} << QByteArray("[[a]b]]\nk=v\n");
}

void SettingsFileTest::write()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, before);
    QFETCH(QList<Write>, writes);
    QFETCH(QByteArray, after);
    if (fileExists) {
        writeAll(m_path, before);
    }

    // A value reads back as written but for line breaks, each of which became one blank, and blanks around it.
    const auto readBack = [](QString value) {
        return value.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
            .replace(u'\r', u' ')
            .replace(u'\n', u' ')
            .trimmed();
    };
    SettingsFile settings(m_path);
    for (const Write &w : writes) {
        settings.writeString(w[0], w[1], w[2]);
        QCOMPARE(settings.readString(w[0], w[1], QStringLiteral("missing")), readBack(w[2]));
    }
    settings.save();
    QCOMPARE(readAll(m_path), after);

    const SettingsFile reread(m_path);
    for (const Write &w : writes) {
        QCOMPARE(reread.readString(w[0], w[1], QStringLiteral("missing")), readBack(w[2]));
    }
}

void SettingsFileTest::saveWritesOnlyChanges()
{
    {
        SettingsFile settings(m_path);
        QCOMPARE(settings.readString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("d")), "d");
        settings.save();
        QVERIFY(!settings.exists());
    }
    const QByteArray content("[A]\nk=1\nb=1\n");
    writeAll(m_path, content);
    const ino_t original = inodeOf(m_path);
    {
        // The same values again change no byte, so the file is not replaced.
        SettingsFile settings(m_path);
        settings.writeInteger(QStringLiteral("a"), QStringLiteral("K"), 1);
        settings.writeBool(QStringLiteral("A"), QStringLiteral("b"), true);
        settings.save();
        QCOMPARE(inodeOf(m_path), original);
    }
    {
        SettingsFile settings(m_path);
        settings.writeInteger(QStringLiteral("A"), QStringLiteral("k"), -3);
        settings.save();
        QVERIFY(inodeOf(m_path) != original);
        QCOMPARE(readAll(m_path), QByteArray("[A]\nk=-3\nb=1\n"));
        const ino_t replaced = inodeOf(m_path);
        settings.save();
        QCOMPARE(inodeOf(m_path), replaced);
    }
    {
        // The first save creates the missing folders.
        const QString nested = m_dir->filePath(QStringLiteral("config/framewright/KTZ.ini"));
        SettingsFile settings(nested);
        settings.writeBool(QStringLiteral("A"), QStringLiteral("b"), false);
        settings.save();
        QCOMPARE(readAll(nested), QByteArray("[A]\nb=0\n"));
        QCOMPARE(QDir(QFileInfo(nested).path()).entryList(QDir::Files | QDir::Hidden), QStringList {"KTZ.ini"});
    }
}

void SettingsFileTest::changesOnDiskKept_data()
{
    QTest::addColumn<QByteArray>("before");      // what the program read
    QTest::addColumn<QList<Write>>("writes");    // what it wrote
    QTest::addColumn<QByteArray>("meanwhile");   // what another writer left on disk before the save
    QTest::addColumn<QByteArray>("after");       // what the save leaves
    QTest::addColumn<QStringList>("overridden"); // the sections both changed whose values of theirs were replaced

    const QByteArray before = "[A]\nk=1\nj=1\n[B]\nx=1\n";
    QTest::newRow("sections only theirs changed stay theirs, ours applied")
        << before << QList<Write> {{"A", "k", "2"}, {"C", "n", "1"}}
        << QByteArray("[A]\nk=1\nj=1\n[B]\nx=7\n[D]\nd=1\n")
        << QByteArray("[A]\nk=2\nj=1\n[B]\nx=7\n[D]\nd=1\n\n[C]\nn=1\n") << QStringList {};
    QTest::newRow("a section both changed is ours whole")
        << before << QList<Write> {{"A", "k", "2"}, {"A", "j", "1"}, {"B", "y", "1"}}
        << QByteArray("[A]\nk=1\nj=5\n[B]\nx=7\nz=3\n") << QByteArray("[A]\nk=2\nj=1\n[B]\nx=1\nz=3\ny=1\n")
        << QStringList {"A", "B"};
    QTest::newRow("the same change on both sides overrides nothing")
        << before << QList<Write> {{"A", "k", "2"}} << QByteArray("[A]\nk=2\nj=1\n;c\n[B]\nx=1\n")
        << QByteArray("[A]\nk=2\nj=1\n;c\n[B]\nx=1\n") << QStringList {};
    QTest::newRow("a value written back unchanged leaves theirs")
        << before << QList<Write> {{"A", "j", "1"}, {"A", "k", "3"}, {"A", "k", "1"}, {"B", "x", "2"}}
        << QByteArray("[A]\nk=4\nj=6\n") << QByteArray("[A]\nk=4\nj=6\n\n[B]\nx=2\n") << QStringList {};
    QTest::newRow("file created meanwhile") << QByteArray() << QList<Write> {{"A", "k", "1"}, {"B", "x", "1"}}
                                            << QByteArray("; theirs\n[A]\nj=2\n[b]\nx=2\n")
                                            << QByteArray("; theirs\n[A]\nj=2\nk=1\n[b]\nx=1\n") << QStringList {"B"};
}

// A second program or a hand edit changed the file while this one ran: saving keeps those changes.
void SettingsFileTest::changesOnDiskKept()
{
    QFETCH(QByteArray, before);
    QFETCH(QList<Write>, writes);
    QFETCH(QByteArray, meanwhile);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, overridden);
    if (!before.isNull()) {
        writeAll(m_path, before);
    }
    SettingsFile settings(m_path);
    for (const Write &w : writes) {
        settings.writeString(w[0], w[1], w[2]);
    }
    writeAll(m_path, meanwhile);
    QCOMPARE(settings.save().overridden, overridden);
    QCOMPARE(readAll(m_path), after);
    // What was saved counts as read: the next save without changes leaves the file alone.
    writeAll(m_path, meanwhile);
    QCOMPARE(settings.save().overridden, QStringList {});
    QCOMPARE(readAll(m_path), meanwhile);
}

void SettingsFileTest::loadsOnFirstAccess()
{
    SettingsFile settings(m_path);
    QVERIFY(!settings.exists());
    writeAll(m_path, "[A]\nk=1\n");
    QVERIFY(settings.exists());
    QCOMPARE(settings.readInteger(QStringLiteral("A"), QStringLiteral("k"), 0), 1);
    writeAll(m_path, "[A]\nk=2\n");
    QCOMPARE(settings.readInteger(QStringLiteral("A"), QStringLiteral("k"), 0), 1);
}

void SettingsFileTest::fileThatNeverEnds_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("refusal"); // empty: any reason
    QTest::newRow("kernel log: a regular file whose reads wait for messages") << "/proc/kmsg" << QString();
    QTest::newRow("FIFO whose writer never closes") << "fifo"
                                                    << "it is not a regular file";
    QTest::newRow("endless device") << "/dev/zero"
                                    << "it is not a regular file";
}

// Reading a settings file that never ends ends, refused, and the reads give their defaults. The read runs in a
// child process, so that a read that hangs fails the test instead of hanging it.
void SettingsFileTest::fileThatNeverEnds()
{
    QFETCH(QString, path);
    QFETCH(QString, refusal);
    std::optional<QFile> writer;
    if (path == QLatin1String("fifo")) {
        path = m_dir->filePath(QStringLiteral("fifo"));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        // Held open for reading and writing: a reader never sees the end, and opening it never waits.
        writer.emplace(path);
        QVERIFY(writer->open(QIODevice::ReadWrite | QIODevice::Unbuffered));
    }
    int result[2] = {};
    QCOMPARE(::pipe(result), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const SettingsFile settings(path);
        const QByteArray reason = settings.refusal().toUtf8() + '\n'
            + QByteArray::number(settings.readInteger(QStringLiteral("A"), QStringLiteral("k"), -1));
        ::_exit(::write(result[1], reason.constData(), size_t(reason.size())) == reason.size() ? 0 : 1);
    }
    ::close(result[1]);
    QFile fromChild;
    QVERIFY(fromChild.open(result[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    QDeadlineTimer deadline(30000);
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0 && !deadline.hasExpired()) {
        QTest::qWait(10);
    }
    if (deadline.hasExpired()) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        QFAIL("reading the settings file did not end");
    }
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const QList<QByteArray> lines = fromChild.readAll().split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY(!lines[0].isEmpty());
    if (!refusal.isEmpty()) {
        QCOMPARE(QString::fromUtf8(lines[0]), refusal);
    }
    QCOMPARE(lines[1], QByteArray("-1"));
}

enum class Obstacle { ParentIsFile, UnderProc, PathIsFolder, FileTooLarge, WriteFails, SyncFails, TooLargeToReadBack };

void SettingsFileTest::saveFailure_data()
{
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<QString>("reason");
    QTest::newRow("parent folder is a regular file") << Obstacle::ParentIsFile << "Not a directory";
    QTest::newRow("folder under /proc") << Obstacle::UnderProc << "No such file or directory";
    QTest::newRow("settings path is a folder")
        << Obstacle::PathIsFolder << "the file was not read (it is not a regular file), so it is left as it is";
    QTest::newRow("file over the size limit is left unread")
        << Obstacle::FileTooLarge << "the file was not read (it is larger than 16 MiB), so it is left as it is";
    QTest::newRow("writing the new file fails") << Obstacle::WriteFails << "File too large";
    QTest::newRow("syncing the new file fails") << Obstacle::SyncFails << "Input/output error";
    QTest::newRow("new file too large to read back")
        << Obstacle::TooLargeToReadBack
        << "the settings would take more than 16 MiB, which the program could not read back";
}

void SettingsFileTest::saveFailure()
{
    QFETCH(Obstacle, obstacle);
    QFETCH(QString, reason);
    const QByteArray old("; old\n[A]\nk=1\n");
    QString path = m_path;
    switch (obstacle) {
    case Obstacle::ParentIsFile:
        writeAll(m_dir->filePath(QStringLiteral("file")), old);
        path = m_dir->filePath(QStringLiteral("file/KTZ.ini"));
        break;
    case Obstacle::UnderProc:
        path = QStringLiteral("/proc/framewright-test/KTZ.ini");
        break;
    case Obstacle::PathIsFolder:
        QVERIFY(QDir().mkpath(m_path));
        writeAll(m_path + QStringLiteral("/inside"), old);
        break;
    case Obstacle::FileTooLarge: {
        writeAll(m_path, old);
        QFile file(m_path);
        QVERIFY(file.resize(SettingsFile::kMaxFileBytes + 1)); // sparse: cheap to make
        break;
    }
    case Obstacle::WriteFails:
    case Obstacle::SyncFails:
    case Obstacle::TooLargeToReadBack:
        writeAll(m_path, old);
        break;
    }
    const QByteArray before = readAll(m_path);
    const bool readable = obstacle != Obstacle::PathIsFolder && obstacle != Obstacle::FileTooLarge;

    SettingsFile settings(path);
    QCOMPARE(settings.readInteger(QStringLiteral("A"), QStringLiteral("k"), -1), readable && path == m_path ? 1 : -1);
    QCOMPARE(settings.refusal().isEmpty(), readable);
    settings.writeString(QStringLiteral("A"), QStringLiteral("k"), QString(64 * 1024, u'v'));
    if (obstacle == Obstacle::TooLargeToReadBack) {
        // Values longer than a read gives back are still written whole, so the file can outgrow what is read.
        for (int i = 0; i < 9; ++i) {
            settings.writeString(QStringLiteral("A"), QStringLiteral("big%1").arg(i), QString(2 * 1024 * 1024, u'v'));
        }
    }
    std::optional<FileSizeLimit> limit;
    if (obstacle == Obstacle::WriteFails) {
        limit.emplace(4096);
    }
    failingSyncs = obstacle == Obstacle::SyncFails ? 1 : 0;
    try {
        settings.save();
        QFAIL("save() did not throw");
    } catch (const SettingsWriteError &error) {
        QCOMPARE(error.path(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(error.reason(), reason);
        QCOMPARE(QString::fromUtf8(error.what()),
            QStringLiteral("Unable to write to ") + QFileInfo(path).absoluteFilePath() + QStringLiteral(": ") + reason);
    }
    limit.reset();
    failingSyncs = 0;

    QCOMPARE(readAll(m_path), before);
    if (obstacle == Obstacle::PathIsFolder) {
        QCOMPARE(readAll(m_path + QStringLiteral("/inside")), old);
    } else {
        const QStringList files = obstacle == Obstacle::ParentIsFile ? QStringList {"file"}
            : obstacle == Obstacle::UnderProc                        ? QStringList {}
                                                                     : QStringList {"KTZ.ini"};
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), files);
    }
}

// The folder is synced after the rename, so the rename itself survives a power failure.
void SettingsFileTest::folderSyncedAfterRename()
{
    writeAll(m_path, "[A]\nk=1\n");
    SettingsFile settings(m_path);
    settings.writeInteger(QStringLiteral("A"), QStringLiteral("k"), 2);
    syncedFolders.clear();
    contentAtFolderSync.clear();
    watchedFile = m_path;
    settings.save();
    watchedFile.clear();
    QCOMPARE(syncedFolders, QStringList {QFileInfo(m_dir->path()).canonicalFilePath()});
    QCOMPARE(contentAtFolderSync, QByteArray("[A]\nk=2\n"));
}

// The new file is in place when syncing its folder fails: the save is done, and says that the rename may not yet
// survive a power failure, instead of reporting a failed write.
void SettingsFileTest::folderSyncFailureIsNoWriteFailure()
{
    writeAll(m_path, "[A]\nk=1\n");
    SettingsFile settings(m_path);
    settings.writeInteger(QStringLiteral("A"), QStringLiteral("k"), 2);
    failingFolderSyncs = 1;
    SettingsSaveReport report;
    try {
        report = settings.save();
    } catch (const SettingsWriteError &error) {
        failingFolderSyncs = 0;
        QFAIL(error.what());
    }
    QCOMPARE(failingFolderSyncs, 0);
    QCOMPARE(report.unsyncedReason, QStringLiteral("Input/output error"));
    QCOMPARE(readAll(m_path), QByteArray("[A]\nk=2\n"));
    // Saved means saved: nothing is left to write.
    const ino_t saved = inodeOf(m_path);
    QCOMPARE(settings.save().unsyncedReason, QString());
    QCOMPARE(inodeOf(m_path), saved);
}

// Only temporaries the program made and a killed save left behind go; every file a person may have named, however
// close to the settings file's name, stays: backups, other settings files, another program's temporaries.
void SettingsFileTest::staleTemporariesRemoved()
{
    writeAll(m_path, "[A]\nk=1\n");
    const QString inUseName = QStringLiteral(".KTZ.ini.framewright-temporary-Zz99Yy88Xx77");
    const QStringList kept {"KTZ.ini.backup", "KTZ.ini.old123", "KTZ.ini.Ab12Cd", "KTZ.ini.000000", "KTZ.ini.bak",
        ".KTZ.ini.framewright-temporary-short", ".Other.ini.framewright-temporary-Ab12Cd34Ef56", inUseName};
    const QStringList stale {
        ".KTZ.ini.framewright-temporary-Ab12Cd34Ef56", ".KTZ.ini.framewright-temporary-000000000000"};
    for (const QString &name : kept + stale) {
        writeAll(m_dir->filePath(name), "[A]\nk=0\n");
    }
    // A save in progress elsewhere holds the lock on its temporary.
    QFile inUse(m_dir->filePath(inUseName));
    QVERIFY(inUse.open(QIODevice::ReadOnly));
    QCOMPARE(::flock(inUse.handle(), LOCK_EX | LOCK_NB), 0);

    SettingsFile settings(m_path);
    settings.writeInteger(QStringLiteral("A"), QStringLiteral("k"), 2);
    settings.save();
    QStringList expected = kept + QStringList {"KTZ.ini"};
    expected.sort();
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QCOMPARE(readAll(m_path), QByteArray("[A]\nk=2\n"));
    for (const QString &name : kept) {
        QCOMPARE(readAll(m_dir->filePath(name)), QByteArray("[A]\nk=0\n"));
    }
}

// A symbolic link stays a link: the file it points to is replaced, with its permissions.
void SettingsFileTest::linkTargetReplaced()
{
    const QString target = m_dir->filePath(QStringLiteral("real.ini"));
    writeAll(target, "[A]\nk=1\n");
    QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QVERIFY(QFile::link(target, m_path));
    SettingsFile settings(m_path);
    settings.writeInteger(QStringLiteral("A"), QStringLiteral("k"), 2);
    settings.save();
    QVERIFY(QFileInfo(m_path).isSymLink());
    QCOMPARE(readAll(target), QByteArray("[A]\nk=2\n"));
    struct stat info = {};
    QCOMPARE(::stat(QFile::encodeName(target).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, 0600u);
}

void SettingsFileTest::location_data()
{
    QTest::addColumn<QString>("executableDir"); // relative to the temporary folder
    QTest::addColumn<QString>("installedBinDir");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("note"); // %1 the executable folder, %2 the settings file

    const QString unwritable
        = QStringLiteral("The program's folder %1 cannot be written, so the settings are kept in %2 instead.");
    const QString installed = QStringLiteral("The program is installed in %1, so the settings are kept in %2.");
    QTest::newRow("writable executable folder") << "bin"
                                                << "usr/bin"
                                                << "bin/KTZ.ini" << QString();
    QTest::newRow("missing executable folder") << "missing"
                                               << "usr/bin"
                                               << "config/framewright/KTZ.ini" << unwritable;
    QTest::newRow("executable folder is a file") << "file"
                                                 << "usr/bin"
                                                 << "config/framewright/KTZ.ini" << unwritable;
    // Root can write /usr/bin; an installed program still keeps its settings in the user's folder.
    QTest::newRow("writable installed folder") << "bin"
                                               << "bin"
                                               << "config/framewright/KTZ.ini" << installed;
    QTest::newRow("installed folder through a link") << "linked-bin"
                                                     << "bin"
                                                     << "config/framewright/KTZ.ini" << installed;
}

void SettingsFileTest::location()
{
    QFETCH(QString, executableDir);
    QFETCH(QString, installedBinDir);
    QFETCH(QString, expected);
    QFETCH(QString, note);
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("bin")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("usr/bin")));
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("bin")), m_dir->filePath(QStringLiteral("linked-bin"))));
    writeAll(m_dir->filePath(QStringLiteral("file")), "");
    const QString executable = m_dir->filePath(executableDir);
    const QString installed = m_dir->filePath(installedBinDir);
    const QString path = settingsFilePath(executable, m_dir->filePath(QStringLiteral("config")), installed);
    QCOMPARE(path, m_dir->filePath(expected));
    // Error boxes say which file is used when the one beside the executable is not.
    QCOMPARE(settingsLocationNote(executable, path, installed), note.isEmpty() ? note : note.arg(executable, path));
    // The test's own folder is writable and not where programs are installed, so the program's rule picks it.
    QCOMPARE(settingsFilePath(), QCoreApplication::applicationDirPath() + QStringLiteral("/KTZ.ini"));
}

void SettingsFileTest::configHome_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QString>("expected");

    const QString fallback = QDir::homePath() + QStringLiteral("/.config");
    QTest::newRow("absolute XDG_CONFIG_HOME") << QByteArray("/srv/config") << "/srv/config";
    QTest::newRow("unset") << QByteArray() << fallback;
    QTest::newRow("relative XDG_CONFIG_HOME ignored") << QByteArray("config") << fallback;
}

void SettingsFileTest::configHome()
{
    QFETCH(QByteArray, variable);
    QFETCH(QString, expected);
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    if (variable.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", variable);
    }
    const QString result = configHomePath();
    if (wasSet) {
        qputenv("XDG_CONFIG_HOME", saved);
    } else {
        qunsetenv("XDG_CONFIG_HOME");
    }
    QCOMPARE(result, expected);
}

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "settingsfile_test.moc"
