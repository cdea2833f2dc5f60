#include "ordering/TransportSettings.h"

#include "core/AppSettings.h"
#include "core/Logger.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"
#include "core/RegConfiguration.h"

#include <QDir>
#include <QFileInfo>

#include <chrono>

namespace pavlora {
namespace {

constexpr int kMaxTimeoutSeconds = 3600;

std::chrono::milliseconds Seconds(const TAppSettings& app, const char* name, std::chrono::milliseconds fallback)
{
    const int seconds = app.Integer(QLatin1String(name), 0);
    if (seconds < 1 || seconds > kMaxTimeoutSeconds)
        return fallback;
    return std::chrono::seconds(seconds);
}

QString ResolveCaFile(const QString& setting, const QString& dataFolder)
{
    const QString trimmed = setting.trimmed();
    if (trimmed.isEmpty())
        return QString();
    QString path = trimmed.startsWith(QLatin1Char('{')) ? ExpandPath(trimmed) : trimmed;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isRelativePath(path))
        path = QDir(dataFolder).filePath(path);
    return QDir::cleanPath(path);
}

} // namespace

TTransportSettings ReadTransportSettings(
    const TAppSettings& app, const TRegConfiguration& user, const QString& dataFolder)
{
    TTransportSettings settings;
    const TProxySettings proxy = user.UserProxy();
    if (proxy.enabled && !proxy.host.trimmed().isEmpty() && proxy.port > 0 && proxy.port <= 65535) {
        settings.proxy.host = proxy.host.trimmed();
        settings.proxy.port = proxy.port;
        settings.proxy.login = user.Value(QStringLiteral("ProxyLogin"));
        settings.proxy.password = user.ProxyPassword();
    }
    settings.caFile = ResolveCaFile(app.Text(QStringLiteral("ca_file")), dataFolder);
    for (const QString& host : app.Text(QStringLiteral("zode_allowed_hosts")).split(QLatin1Char(','))) {
        const QString cleaned = host.trimmed().toLower();
        if (!cleaned.isEmpty() && !settings.allowedHosts.contains(cleaned))
            settings.allowedHosts.append(cleaned);
    }
    const TINATimeouts defaults;
    settings.timeouts.connect = Seconds(app, "zode_connect_timeout", defaults.connect);
    settings.timeouts.read = Seconds(app, "zode_read_timeout", defaults.read);
    return settings;
}

TTransportSettings ConfigureTransport(
    TINA& ina, const TAppSettings& app, const TRegConfiguration& user, const QString& dataFolder)
{
    const TTransportSettings settings = ReadTransportSettings(app, user, dataFolder);
    ina.SetProxy(settings.proxy);
    ina.SetTimeouts(settings.timeouts);
    try {
        ina.SetCaFile(settings.caFile);
    } catch (...) {
        // Certificates the installation meant to add cannot be trusted: the
        // order server may then fail its verification, which the log explains.
        const TQORError error = RecordCurrentException(QStringLiteral("TransportSettings.ConfigureTransport"));
        ReportMessage(QStringLiteral("The CA file \"") + settings.caFile
            + QStringLiteral("\" (setting \"ca_file\") cannot be used; only the system's CAs are trusted: ")
            + error.codeText);
        ina.SetCaFile(QString());
    }
    return settings;
}

} // namespace pavlora
