// Tests of SingleInstance: one start per settings file however it is reached (other spellings, symbolic and hard
// links), later starts bring the running one to the front, a socket left behind by a killed start is taken over, a
// name planted by another user is never trusted, a running start that does not answer is reported, and the sockets
// live only in a folder of the user's alone.
#include "singleinstance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr uid_t kOtherUser = 65534; // nobody

// A Unix socket bound at `path`, listening when `listening`, owned by the test; -1 on failure.
int boundSocket(const QString &path, bool listening)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof(address.sun_path));
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0
        || (listening && ::listen(fd, 8) != 0)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// Sets an environment variable for the scope, or unsets it for a null value.
class ScopedVariable
{
public:
    ScopedVariable(const char *name, const QByteArray &value)
        : m_name(name)
        , m_saved(qgetenv(name))
        , m_wasSet(qEnvironmentVariableIsSet(name))
    {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    ~ScopedVariable() { m_wasSet ? qputenv(m_name, m_saved) : qunsetenv(m_name); }
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    const char *m_name;
    QByteArray m_saved;
    bool m_wasSet;
};

// claim() as a later start makes it: from another thread, while this one's event loop lets the running start
// answer. Only for starts that must not get the file (those create no Qt objects).
SingleInstance::Claim claimAsLaterStart(const QString &path)
{
    SingleInstance::Claim claim;
    std::atomic<bool> done = false;
    std::thread later([&] {
        claim = SingleInstance::claim(path);
        done = true;
    });
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    later.join();
    return claim;
}

} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_runtime; // the tests' $XDG_RUNTIME_DIR: made 0700, owned by the test's user
    QTemporaryDir m_temp;    // the tests' temporary folder, for the fallback
    std::unique_ptr<ScopedVariable> m_runtimeVariable;
    std::unique_ptr<ScopedVariable> m_tempVariable;

private slots:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid() && m_temp.isValid());
        m_runtimeVariable = std::make_unique<ScopedVariable>("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        m_tempVariable = std::make_unique<ScopedVariable>("TMPDIR", QFile::encodeName(m_temp.path()));
    }

    void laterStartBringsTheRunningOneToTheFront()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KTZ.ini"));
        touch(path);
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("elsewhere")));
        QVERIFY(QFile::link(path, dir.filePath(QStringLiteral("linked.ini"))));
        QCOMPARE(::link(QFile::encodeName(path).constData(),
                     QFile::encodeName(dir.filePath(QStringLiteral("elsewhere/hard.ini"))).constData()),
            0);
        QWidget window;
        window.show();
        window.showMinimized();
        SingleInstance::Claim running = SingleInstance::claim(path);
        QVERIFY(running.instance);
        for (const QString &path : SingleInstance::socketPaths(path)) {
            QVERIFY(path.startsWith(m_runtime.path() + QLatin1Char('/')));
        }
        QSignalSpy activations(running.instance.get(), &SingleInstance::activationRequested);

        // The same file however it is reached is the same file.
        for (const char *other : {"./sub/../KTZ.ini", "linked.ini", "elsewhere/hard.ini"}) {
            const SingleInstance::Claim later = claimAsLaterStart(dir.filePath(QLatin1String(other)));
            QVERIFY2(!later.instance, other);
            QCOMPARE(later.refusal, QString());
        }
        QTRY_COMPARE(activations.count(), 3);
        QVERIFY(!window.isMinimized());

        // Another settings file is another program.
        QVERIFY(SingleInstance::claim(dir.filePath(QStringLiteral("other.ini"))).instance);
    }

    void socketOfAKilledStartTakenOver()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KTZ.ini"));
        // Socket files that nothing listens on any more, as a killed start leaves them.
        for (const QString &name : SingleInstance::socketPaths(path)) {
            const int fd = boundSocket(name, false);
            QVERIFY(fd >= 0);
            ::close(fd);
        }
        const SingleInstance::Claim claimed = SingleInstance::claim(path);
        QVERIFY(claimed.instance);
        QVERIFY(!claimAsLaterStart(path).instance);
    }

    // Another user put something where the name would be: it is not trusted, and this user's program still runs
    // once per file.
    void nameTakenByAnotherUser_data()
    {
        QTest::addColumn<QString>("planted");
        QTest::newRow("listening socket owned by another user") << "socket";
        QTest::newRow("plain file owned by another user") << "file";
        QTest::newRow("socket listened on by another user's process") << "peer";
    }

    void nameTakenByAnotherUser()
    {
        QFETCH(QString, planted);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KTZ.ini"));
        const QString name = SingleInstance::socketPaths(path).last();
        int fd = -1;
        pid_t impostor = 0;
        if (planted == QLatin1String("socket")) {
            fd = boundSocket(name, true);
            QVERIFY(fd >= 0);
            QCOMPARE(::chown(QFile::encodeName(name).constData(), kOtherUser, kOtherUser), 0);
        } else if (planted == QLatin1String("file")) {
            touch(name);
            QCOMPARE(::chown(QFile::encodeName(name).constData(), kOtherUser, kOtherUser), 0);
        } else {
            // The socket file is the user's, but the process listening on it is another user's, and it answers.
            int ready[2] = {};
            QCOMPARE(::pipe(ready), 0);
            fd = boundSocket(name, false);
            QVERIFY(fd >= 0);
            impostor = ::fork();
            if (impostor == 0) {
                if (::setuid(kOtherUser) != 0 || ::listen(fd, 8) != 0 || ::write(ready[1], "r", 1) != 1) {
                    ::_exit(1);
                }
                for (;;) {
                    const int client = ::accept(fd, nullptr, nullptr);
                    char byte = 0;
                    if (client >= 0 && ::read(client, &byte, 1) == 1 && ::write(client, "k", 1) == 1) {
                        ::close(client);
                    }
                }
            }
            char byte = 0;
            QCOMPARE(::read(ready[0], &byte, 1), ssize_t(1));
            ::close(ready[0]);
            ::close(ready[1]);
        }

        const SingleInstance::Claim claimed = SingleInstance::claim(path);
        if (impostor > 0) {
            ::kill(impostor, SIGKILL);
            ::waitpid(impostor, nullptr, 0);
        }
        QVERIFY(claimed.instance);
        QCOMPARE(claimed.refusal, QString());
        if (planted == QLatin1String("socket")) {
            // Nothing was sent to the planted socket: no connection waits on it.
            const int flags = ::fcntl(fd, F_GETFL);
            QCOMPARE(::fcntl(fd, F_SETFL, flags | O_NONBLOCK), 0);
            QCOMPARE(::accept(fd, nullptr, nullptr), -1);
            QCOMPARE(errno, EAGAIN);
        }
        if (fd >= 0) {
            ::close(fd);
        }
        struct stat info = {};
        QCOMPARE(::lstat(QFile::encodeName(name).constData(), &info), 0);
        QVERIFY(S_ISSOCK(info.st_mode));
        QCOMPARE(info.st_uid, ::geteuid());
        const SingleInstance::Claim later = claimAsLaterStart(path);
        QVERIFY(!later.instance);
        QCOMPARE(later.refusal, QString());
    }

    // A running start that is stopped or hung keeps its socket but never answers: a later start says so.
    void silentRunningStartReported()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KTZ.ini"));
        const int fd = boundSocket(SingleInstance::socketPaths(path).last(), true);
        QVERIFY(fd >= 0);
        const SingleInstance::Claim later = SingleInstance::claim(path);
        ::close(fd);
        QVERIFY(!later.instance);
        QVERIFY2(later.refusal.contains(QStringLiteral("is already open (process %1) but does not answer")
                                            .arg(QCoreApplication::applicationPid())),
            qPrintable(later.refusal));
    }

    // The sockets' folder: $XDG_RUNTIME_DIR when it is the user's alone, else a folder of the user's own in the
    // temporary folder; nothing when that one is someone else's.
    void privateFolder_data()
    {
        QTest::addColumn<QString>("runtime");       // what XDG_RUNTIME_DIR holds: "private", "open", "link", "unset"
        QTest::addColumn<bool>("fallbackIsOthers"); // the fallback folder exists, owned by another user
        QTest::addColumn<QString>("expected");      // the folder of the paths: "runtime", "fallback", or none
        QTest::newRow("private runtime folder") << "private" << true << "runtime";
        QTest::newRow("runtime folder open to others") << "open" << false << "fallback";
        QTest::newRow("runtime folder through a link") << "link" << false << "fallback";
        QTest::newRow("unset") << "unset" << false << "fallback";
        QTest::newRow("fallback owned by another user") << "unset" << true << "";
    }

    void privateFolder()
    {
        QFETCH(QString, runtime);
        QFETCH(bool, fallbackIsOthers);
        QFETCH(QString, expected);
        QTemporaryDir temp;
        QTemporaryDir runtimeDir;
        const QString fallback = temp.filePath(QStringLiteral("framewright-%1").arg(::geteuid()));
        if (fallbackIsOthers) {
            QVERIFY(QDir().mkdir(fallback));
            QCOMPARE(::chmod(QFile::encodeName(fallback).constData(), 0700), 0);
            QCOMPARE(::chown(QFile::encodeName(fallback).constData(), kOtherUser, kOtherUser), 0);
        }
        QString runtimePath = runtimeDir.path();
        if (runtime == QLatin1String("open")) {
            QCOMPARE(::chmod(QFile::encodeName(runtimePath).constData(), 0755), 0);
        } else if (runtime == QLatin1String("link")) {
            runtimePath = temp.filePath(QStringLiteral("runtime-link"));
            QVERIFY(QFile::link(runtimeDir.path(), runtimePath));
        }
        const ScopedVariable tempVariable("TMPDIR", QFile::encodeName(temp.path()));
        const ScopedVariable runtimeVariable(
            "XDG_RUNTIME_DIR", runtime == QLatin1String("unset") ? QByteArray() : QFile::encodeName(runtimePath));

        QString error;
        const QStringList paths = SingleInstance::socketPaths(temp.filePath(QStringLiteral("KTZ.ini")), &error);
        if (expected.isEmpty()) {
            QVERIFY(paths.isEmpty());
            QVERIFY2(error.contains(fallback), qPrintable(error));
            const SingleInstance::Claim claimed = SingleInstance::claim(temp.filePath(QStringLiteral("KTZ.ini")));
            QVERIFY(!claimed.instance);
            QCOMPARE(claimed.refusal, error);
            return;
        }
        const QString folder = expected == QLatin1String("runtime") ? runtimePath : fallback;
        QVERIFY(!paths.isEmpty());
        for (const QString &path : paths) {
            QCOMPARE(QFileInfo(path).path(), folder);
        }
        struct stat info = {};
        QCOMPARE(::lstat(QFile::encodeName(folder).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0700u);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "singleinstance_test.moc"
