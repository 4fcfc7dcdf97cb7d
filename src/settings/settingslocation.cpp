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

QString installedBinDir()
{
    return QStringLiteral(FRAMEWRIGHT_INSTALL_BINDIR);
}

namespace {

bool isInstalledBinDir(const QString &executableDir, const QString &installedBinDir)
{
    const QString canonical = QFileInfo(executableDir).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(installedBinDir).canonicalFilePath();
}

} // namespace

QString settingsFilePath(const QString &executableDir, const QString &configHome, const QString &installedBinDir)
{
    // isWritable() asks the kernel (access(2)), so a read-only mount counts as not writable even for root.
    const QFileInfo folder(executableDir);
    if (folder.isDir() && folder.isWritable() && !isInstalledBinDir(executableDir, installedBinDir)) {
        return QDir(executableDir).filePath(kFileName);
    }
    return QDir(QDir(configHome).filePath(kConfigSubfolder)).filePath(kFileName);
}

QString settingsLocationNote(const QString &executableDir, const QString &settingsPath, const QString &installedBinDir)
{
    const QString folder = QDir::cleanPath(QFileInfo(settingsPath).absolutePath());
    if (folder == QDir::cleanPath(QFileInfo(executableDir).absoluteFilePath())) {
        return {};
    }
    const QString reason = isInstalledBinDir(executableDir, installedBinDir)
        ? QStringLiteral("The program is installed in %1, so the settings are kept in %2.")
        : QStringLiteral("The program's folder %1 cannot be written, so the settings are kept in %2 instead.");
    return reason.arg(QDir::toNativeSeparators(executableDir), QDir::toNativeSeparators(settingsPath));
}

QString settingsFilePath()
{
    return settingsFilePath(QCoreApplication::applicationDirPath(), configHomePath(), installedBinDir());
}
