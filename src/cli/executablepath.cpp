// This program's executable, from /proc/self/exe (see executablepath.h).
#include "executablepath.h"

#include <climits>
#include <unistd.h>

QByteArray executablePath()
{
    char self[PATH_MAX] = {};
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    return length > 0 ? QByteArray(self, length) : QByteArray();
}

QString executableFolder()
{
    const QByteArray path = executablePath();
    return QString::fromLocal8Bit(path.left(path.lastIndexOf('/')));
}
