// Loads a settings file in a process of its own and prints how far the peak resident size grew while it did, in
// bytes, less the file's own size: what the accessor holds beyond the bytes it read. Used by settingsfile_test,
// where memory freed by earlier cases would hide growth. Usage: settingsfile_memoryprobe <file> <section> <key>
#include "settings/settingsfile.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

qint64 statusBytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray &row : status.readAll().split('\n')) {
        if (row.startsWith(field)) {
            return row.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong() * 1024;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <file> <section> <key>\n", argv[0]);
        return 2;
    }
    const QString path = QFile::decodeName(argv[1]);
    const qint64 before = statusBytes("VmRSS:");
    const SettingsFile settings(path);
    settings.readString(QString::fromUtf8(argv[2]), QString::fromUtf8(argv[3]), QString());
    const qint64 peak = statusBytes("VmHWM:");
    std::printf("%lld\n", static_cast<long long>(peak - before - QFileInfo(path).size()));
    return 0;
}
