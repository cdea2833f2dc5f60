#include "core/SystemConfig.h"

#include "core/Logger.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace pavlora {

QString SystemConfigFolder()
{
    const QString folders = qEnvironmentVariable("XDG_CONFIG_DIRS");
    for (const QString& folder : folders.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(folder))
            return QDir::cleanPath(folder);
    }
    return QStringLiteral("/etc/xdg");
}

QString SystemConfigFile(const QString& configFolder)
{
    return configFolder + QStringLiteral("/pavlora/pavlora.conf");
}

QString ReadSystemDataFolder(const QString& configFile, const QString& key)
{
    QStringList parts;
    for (const QString& part : QString(key).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/')))
        if (!part.trimmed().isEmpty())
            parts.append(part);
    if (parts.isEmpty() || !QFileInfo(configFile).isFile())
        return {};
    parts.append(QStringLiteral("DataFolder"));
    const QString wanted = parts.join(QLatin1Char('/'));

    const QSettings settings(configFile, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        ReportMessage(QStringLiteral("The system configuration %1 cannot be read").arg(configFile));
        return {};
    }
    for (const QString& name : settings.allKeys()) {
        if (name.compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        const QString folder = settings.value(name).toString().trimmed();
        return QDir::isAbsolutePath(folder) ? QDir::cleanPath(folder) : QString();
    }
    return {};
}

} // namespace pavlora
