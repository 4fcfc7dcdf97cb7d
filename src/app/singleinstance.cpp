// A later start connects to each name in turn, checks that the peer is a process of this user, sends one byte and
// waits a bounded time for the running start's answer, so a start that is stopped or hung is told apart from one
// that came to the front. Nothing found under a name that this user's program does not hold is trusted.
#include "singleinstance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <cerrno>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int kAnswerTimeoutMs = 2000; // a running start answers at once; a hung one must not hang this start
const char kActivate = 'a';
const char kActivated = 'k';

// Closes a descriptor when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    { }
    ~Descriptor()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// A folder of this user's alone: a real folder (not a link to one), owned by this user, closed to everyone else.
bool isPrivateFolder(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

// $XDG_RUNTIME_DIR (private to the user by the XDG rules, checked all the same), else a folder of this user's own in
// the temporary folder, created when missing. Nothing when neither is private; `error` says why.
std::optional<QString> privateFolder(QString &error)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime)) {
        return runtime;
    }
    const QString fallback = QDir::tempPath() + QStringLiteral("/framewright-%1").arg(::geteuid());
    ::mkdir(QFile::encodeName(fallback).constData(), 0700);
    if (isPrivateFolder(fallback)) {
        return fallback;
    }
    error = QStringLiteral("the folder %1 for its single-instance sockets is not a folder of this user's alone; set "
                           "XDG_RUNTIME_DIR to a folder that is")
                .arg(fallback);
    return std::nullopt;
}

QString socketPath(const QString &folder, const QByteArray &key)
{
    const QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24);
    return folder + QStringLiteral("/framewright-") + QString::fromLatin1(digest);
}

QByteArray identity(const struct stat &info)
{
    return QByteArray::number(quint64(info.st_dev)) + ':' + QByteArray::number(quint64(info.st_ino));
}

enum class Probe { Free, Answered, Silent };

// What holds the name at `path`. A name that is not a socket of this user, a socket nobody listens on and a peer of
// another user are removed: this start takes the name over. `peerPid` is the peer's process when one was reached.
Probe probe(const QString &path, pid_t &peerPid)
{
    const QByteArray encoded = QFile::encodeName(path);
    struct stat info = {};
    if (::lstat(encoded.constData(), &info) != 0) {
        return Probe::Free;
    }
    const auto takeOver = [&] {
        ::unlink(encoded.constData());
        return Probe::Free;
    };
    if (!S_ISSOCK(info.st_mode) || info.st_uid != ::geteuid()) {
        return takeOver();
    }
    const Descriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (fd.get() < 0 || size_t(encoded.size()) >= sizeof(address.sun_path)) {
        return Probe::Free; // listening will fail too, and say why
    }
    qstrncpy(address.sun_path, encoded.constData(), sizeof(address.sun_path));
    if (::connect(fd.get(), reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0) {
        // A full backlog: the running start accepts nobody.
        return errno == EAGAIN ? Probe::Silent : takeOver();
    }
    ucred peer = {};
    socklen_t length = sizeof(peer);
    if (::getsockopt(fd.get(), SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || peer.uid != ::geteuid()) {
        return takeOver();
    }
    peerPid = peer.pid;
    pollfd answer = {fd.get(), POLLIN, 0};
    char reply = 0;
    if (::send(fd.get(), &kActivate, 1, MSG_NOSIGNAL) != 1 || ::poll(&answer, 1, kAnswerTimeoutMs) != 1
        || ::recv(fd.get(), &reply, 1, 0) != 1 || reply != kActivated) {
        return Probe::Silent;
    }
    return Probe::Answered;
}

void bringToFront()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->parentWidget() == nullptr) {
            if (window->isMinimized()) {
                window->showNormal();
            }
            window->raise();
            window->activateWindow();
        }
    }
    // A modal box in front of the window stays in front of it.
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

bool peerIsThisUser(const QLocalSocket *socket)
{
    ucred peer = {};
    socklen_t length = sizeof(peer);
    return ::getsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0
        && peer.uid == ::geteuid();
}

} // namespace

SingleInstance::~SingleInstance() = default;

QStringList SingleInstance::socketPaths(const QString &settingsPath, QString *error)
{
    QString reason;
    const std::optional<QString> folder = privateFolder(reason);
    if (!folder) {
        if (error) {
            *error = reason;
        }
        return {};
    }
    QStringList paths;
    struct stat info = {};
    const QFileInfo file(settingsPath);
    if (::stat(QFile::encodeName(file.absoluteFilePath()).constData(), &info) == 0 && S_ISREG(info.st_mode)) {
        paths << socketPath(*folder, "file:" + identity(info));
    }
    // Links resolved, so that every spelling of the path names the same folder and file name.
    const QFileInfo target(file.exists() ? file.canonicalFilePath() : file.absoluteFilePath());
    const QByteArray targetFolder = QFile::encodeName(target.absolutePath());
    if (::stat(targetFolder.constData(), &info) == 0) {
        paths << socketPath(*folder, "path:" + identity(info) + '/' + QFile::encodeName(target.fileName()));
    } else {
        paths << socketPath(*folder, "path:" + QFile::encodeName(target.absoluteFilePath()));
    }
    return paths;
}

SingleInstance::Claim SingleInstance::claim(const QString &settingsPath)
{
    QString error;
    const QStringList paths = socketPaths(settingsPath, &error);
    if (paths.isEmpty()) {
        return {nullptr, error};
    }
    for (const QString &path : paths) {
        pid_t peerPid = 0;
        switch (probe(path, peerPid)) {
        case Probe::Answered:
            return {};
        case Probe::Silent:
            return {nullptr,
                QStringLiteral("a window for %1 is already open (process %2) but does not answer; end that process "
                               "or wait until it answers")
                    .arg(QFileInfo(settingsPath).absoluteFilePath())
                    .arg(peerPid)};
        case Probe::Free:
            break;
        }
    }
    std::unique_ptr<SingleInstance> instance(new SingleInstance);
    for (const QString &path : paths) {
        auto *server = new QLocalServer(instance.get());
        server->setSocketOptions(QLocalServer::UserAccessOption);
        if (!server->listen(path)) {
            return {nullptr, QStringLiteral("cannot listen on %1: %2").arg(path, server->errorString())};
        }
        connect(server, &QLocalServer::newConnection, instance.get(), &SingleInstance::onConnection);
        instance->m_servers.push_back(server);
    }
    return {std::move(instance), QString()};
}

void SingleInstance::onConnection()
{
    for (QLocalServer *server : m_servers) {
        while (QLocalSocket *socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (!peerIsThisUser(socket)) {
                socket->abort();
                continue;
            }
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->readAll().contains(kActivate)) {
                    return;
                }
                bringToFront();
                socket->write(&kActivated, 1);
                socket->flush();
                emit activationRequested();
            });
        }
    }
}
