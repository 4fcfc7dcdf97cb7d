// Where the settings file lives: beside the executable, or under the XDG configuration folder.
#include "settings/settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kFileName = QStringLiteral("KTZ.ini");
const QString kConfigSubfolder = QStringLiteral("framewright");

} // namespace

QString configHomePath()
{
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured)) {
        return configured;
    }
    return QDir::home().filePath(QStringLiteral(".config"));
}

QString settingsFilePath(const QString &executableDir, const QString &configHome)
{
    // isWritable() asks the kernel (access(2)), so a read-only mount counts as not writable even for root.
    const QFileInfo folder(executableDir);
    if (folder.isDir() && folder.isWritable()) {
        return QDir(executableDir).filePath(kFileName);
    }
    return QDir(QDir(configHome).filePath(kConfigSubfolder)).filePath(kFileName);
}

QString settingsLocationNote(const QString &executableDir, const QString &settingsPath)
{
    const QString folder = QDir::cleanPath(QFileInfo(settingsPath).absolutePath());
    if (folder == QDir::cleanPath(QFileInfo(executableDir).absoluteFilePath())) {
        return {};
    }
    return QStringLiteral("The program's folder %1 cannot be written, so the settings are kept in %2 instead.")
        .arg(QDir::toNativeSeparators(executableDir), QDir::toNativeSeparators(settingsPath));
}

QString settingsFilePath()
{
    return settingsFilePath(QCoreApplication::applicationDirPath(), configHomePath());
}
