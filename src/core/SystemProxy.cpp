#include "core/SystemProxy.h"

#include <QUrl>

namespace pavlora {
namespace {

QString EnvironmentValue(const char* lower, const char* upper)
{
    QString value = qEnvironmentVariable(lower).trimmed();
    if (value.isEmpty())
        value = qEnvironmentVariable(upper).trimmed();
    return value;
}

} // namespace

TProxySettings ParseProxyAddress(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QString withScheme = trimmed.contains(QLatin1String("://")) ? trimmed : QStringLiteral("http://") + trimmed;
    const QUrl url(withScheme, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return {};
    TProxySettings proxy;
    proxy.enabled = true;
    proxy.host = url.host();
    const QString scheme = url.scheme().toLower();
    proxy.port = url.port(scheme == QLatin1String("https") ? 443 : scheme == QLatin1String("http") ? 80 : 0);
    return proxy;
}

TProxySettings SystemProxyFromEnvironment()
{
    QString address = EnvironmentValue("https_proxy", "HTTPS_PROXY");
    if (address.isEmpty())
        address = EnvironmentValue("http_proxy", "HTTP_PROXY");
    return ParseProxyAddress(address);
}

bool SameProxy(const TProxySettings& a, const TProxySettings& b)
{
    if (!a.enabled && !b.enabled)
        return true;
    return a.enabled && b.enabled && a.host.compare(b.host, Qt::CaseInsensitive) == 0 && a.port == b.port;
}

bool DecideProxySync(TProxySyncMode mode, bool useProxyStored, std::optional<bool> storedSync,
    const TProxySettings& user, const TProxySettings& system)
{
    if (mode == TProxySyncMode::Startup) {
        if (!useProxyStored)
            return true;
        if (storedSync)
            return *storedSync;
    }
    return SameProxy(user, system);
}

} // namespace pavlora
