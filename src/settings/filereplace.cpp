// The temporary file is anonymous (O_TMPFILE) where the file system allows it and is given its name only just
// before the rename; elsewhere it is created under its name. That name, ".<file name>.framewright-temporary-" and
// twelve letters or digits, is one no person picks, so a file of that name was made by a save of this program. The
// temporary is locked (flock) for as long as the save runs, which is how a later save tells a temporary in use from
// one left behind by a killed process.
#include "settings/filereplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kTemporaryInfix = ".framewright-temporary-";
constexpr int kTemporarySuffixLength = 12;
constexpr qsizetype kMaxFileNameInTemporary = 200; // so that the name stays within the 255 bytes a name may have
constexpr int kMaxNameAttempts = 100;
constexpr int kMaxSymlinkHops = 40; // the kernel's own limit

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Closes a descriptor when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    { }
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

// The file the path finally names: symbolic links followed, a dangling one to the file it would create.
QString resolvedTarget(const QString &path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < kMaxSymlinkHops; ++hop) {
        const QFileInfo info(current);
        if (!info.isSymLink()) {
            break;
        }
        current = info.symLinkTarget();
    }
    return current;
}

// How the names of fileName's temporaries begin: "." and the file name (its first kMaxFileNameInTemporary bytes).
QByteArray temporaryPrefix(const QByteArray &fileName)
{
    return '.' + fileName.first(std::min(fileName.size(), kMaxFileNameInTemporary)) + kTemporaryInfix;
}

// The prefix and kTemporarySuffixLength letters or digits.
bool isTemporaryName(const char *name, const QByteArray &fileName)
{
    const QByteArray prefix = temporaryPrefix(fileName);
    const QByteArrayView candidate(name);
    if (candidate.size() != prefix.size() + kTemporarySuffixLength || !candidate.startsWith(prefix)) {
        return false;
    }
    for (const char c : candidate.sliced(prefix.size())) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

// Removes the temporaries of earlier saves of `fileName`: regular files of this user that no process holds a lock on.
void removeStaleTemporaries(int folder, const QByteArray &fileName)
{
    const int listFd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0) {
        return;
    }
    DIR *listing = ::fdopendir(listFd);
    if (!listing) {
        ::close(listFd);
        return;
    }
    while (const dirent *entry = ::readdir(listing)) {
        if (!isTemporaryName(entry->d_name, fileName)) {
            continue;
        }
        Descriptor candidate(::openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info = {};
        if (candidate.get() < 0 || ::fstat(candidate.get(), &info) != 0 || !S_ISREG(info.st_mode)
            || info.st_uid != ::geteuid() || ::flock(candidate.get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(listing);
}

QByteArray randomTemporaryName(const QByteArray &fileName)
{
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name = temporaryPrefix(fileName);
    for (int i = 0; i < kTemporarySuffixLength; ++i) {
        name += kAlphabet[QRandomGenerator::global()->bounded(int(sizeof(kAlphabet) - 1))];
    }
    return name;
}

bool writeAllBytes(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        done += written;
    }
    return true;
}

// A locked temporary in `folder`: anonymous when the file system allows it (name empty), else named.
struct Temporary
{
    Descriptor fd;
    QByteArray name;
};

bool createTemporary(int folder, const QByteArray &fileName, mode_t mode, Temporary &temporary)
{
    temporary.fd.reset(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    if (temporary.fd.get() < 0) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT) {
            return false;
        }
        for (int attempt = 0; attempt < kMaxNameAttempts && temporary.fd.get() < 0; ++attempt) {
            temporary.name = randomTemporaryName(fileName);
            temporary.fd.reset(
                ::openat(folder, temporary.name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
            if (temporary.fd.get() < 0 && errno != EEXIST) {
                return false;
            }
        }
        if (temporary.fd.get() < 0) {
            return false;
        }
    }
    return ::flock(temporary.fd.get(), LOCK_EX) == 0;
}

// Gives an anonymous temporary a name of its own in `folder`.
bool nameTemporary(int folder, const QByteArray &fileName, Temporary &temporary)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(temporary.fd.get());
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        const QByteArray name = randomTemporaryName(fileName);
        if (::linkat(AT_FDCWD, self.constData(), folder, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
            temporary.name = name;
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    errno = EEXIST;
    return false;
}

} // namespace

std::optional<QString> replaceFile(const QString &path, const QByteArray &bytes, QString &unsyncedReason)
{
    unsyncedReason.clear();
    const QFileInfo target(resolvedTarget(path));
    const QByteArray folderPath = QFile::encodeName(target.absolutePath());
    const QByteArray fileName = QFile::encodeName(target.fileName());

    Descriptor folder(::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) {
        return systemReason(errno);
    }
    struct stat old = {};
    const bool replacing = ::fstatat(folder.get(), fileName.constData(), &old, 0) == 0;
    if (replacing && !S_ISREG(old.st_mode)) {
        return systemReason(EISDIR);
    }
    removeStaleTemporaries(folder.get(), fileName);

    Temporary temporary;
    const mode_t mode = replacing ? (old.st_mode & 07777) : 0666;
    if (!createTemporary(folder.get(), fileName, mode, temporary)) {
        return systemReason(errno);
    }
    const auto fail = [&](int error) -> std::optional<QString> {
        if (!temporary.name.isEmpty()) {
            ::unlinkat(folder.get(), temporary.name.constData(), 0);
        }
        return systemReason(error);
    };
    // The mode given at creation passes through the umask; the old file's permissions are restored exactly.
    if (!writeAllBytes(temporary.fd.get(), bytes) || (replacing && ::fchmod(temporary.fd.get(), mode) != 0)
        || ::fdatasync(temporary.fd.get()) != 0) {
        return fail(errno);
    }
    if (temporary.name.isEmpty() && !nameTemporary(folder.get(), fileName, temporary)) {
        return fail(errno);
    }
    if (::renameat(folder.get(), temporary.name.constData(), folder.get(), fileName.constData()) != 0) {
        return fail(errno);
    }
    // The descriptor, and with it the lock, is released only now that the temporary's name is gone.
    if (::close(temporary.fd.release()) != 0 && errno != EINTR) {
        return systemReason(errno);
    }
    if (::fsync(folder.get()) != 0) {
        unsyncedReason = systemReason(errno);
    }
    return std::nullopt;
}
