// The application object's use of the user settings.

#include "app/QORApp.h"

#include "app/HttpLayer.h"
#include "core/RegConfiguration.h"

#include <algorithm>

namespace pavlora {

void TQORApp::ReadUserSettings(const TQORAppOptions& options)
{
    const TAppSettings& settings = Settings();
    userSettings_ = std::make_shared<TRegConfiguration>(settings.Text(QStringLiteral("regmainkey")),
        settings.Text(QStringLiteral("regverkey")), settings.Text(QStringLiteral("regacckey")),
        options.userSettingsFolder);
    const TProxySettings proxy = userSettings_->UserProxy();
    ApplyHttpProxy(proxy.enabled, proxy.host, proxy.port, userSettings_->ProxyPassword(),
        userSettings_->Value(QStringLiteral("ProxyLogin")));
    userSettings_->SetDataLanguageFolder(loaded_.dataLanguageFolder);
}

void TQORApp::StartTour()
{
    deviceStart_ = std::any_of(arguments_.cbegin(), arguments_.cend(),
        [](const QString& argument) { return argument.compare(QLatin1String("-dd"), Qt::CaseInsensitive) == 0; });
    if (deviceStart_)
        return;
    if (userSettings_->BooleanValue(QStringLiteral("ShowTour"))
        && Settings().Integer(QStringLiteral("show_tour"), 1) == 1)
        ExecuteCommand(40);
}

QString TQORApp::LastTmpOrderDir() const
{
    return userSettings_ ? userSettings_->Value(QStringLiteral("LastTmpOrderDir")) : QString();
}

} // namespace pavlora
