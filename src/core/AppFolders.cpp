#include "core/AppFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace pavlora::AppFolders {
namespace {

QMutex programFolderMutex;
QString programFolderOverride;

QString ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return QDir::currentPath();
    return QString::fromStdString(exe.parent_path().string());
}

QString HomeFolder()
{
    const char* home = std::getenv("HOME");
    return home && *home ? QString::fromLocal8Bit(home) : QDir::homePath();
}

// An XDG variable counts only when it holds an absolute path.
QString XdgFolder(const char* variable, const char* fallbackBelowHome)
{
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return QDir::cleanPath(QString::fromLocal8Bit(value));
    return QDir::cleanPath(HomeFolder() + QLatin1Char('/') + QLatin1String(fallbackBelowHome));
}

} // namespace

QString ProgramFolder()
{
    QMutexLocker lock(&programFolderMutex);
    if (programFolderOverride.isEmpty())
        programFolderOverride = ExecutableFolder();
    return programFolderOverride;
}

void SetProgramFolder(const QString& folder)
{
    QMutexLocker lock(&programFolderMutex);
    programFolderOverride = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

QString UserStateFolder()
{
    return XdgFolder("XDG_STATE_HOME", ".local/state") + QStringLiteral("/pavlora");
}

QString UserCacheFolder()
{
    return XdgFolder("XDG_CACHE_HOME", ".cache") + QStringLiteral("/pavlora");
}

QString UserConfigFolder()
{
    return XdgFolder("XDG_CONFIG_HOME", ".config") + QStringLiteral("/pavlora");
}

QString UserDataHome()
{
    return XdgFolder("XDG_DATA_HOME", ".local/share");
}

QString UserLogFolder()
{
    return UserStateFolder() + QStringLiteral("/logs");
}

bool EnsurePrivateFolder(const QString& folder)
{
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return false;
    // mkpath obeys the umask; the folder itself must be private whatever it is.
    const QByteArray path = QFile::encodeName(folder);
    struct stat status { };
    if (::stat(path.constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return false;
    if ((status.st_mode & 07777) != S_IRWXU)
        ::chmod(path.constData(), S_IRWXU);
    return true;
}

} // namespace pavlora::AppFolders
