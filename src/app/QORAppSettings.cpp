// The application object's use of the user settings.

#include "app/QORApp.h"

#include "core/RegConfiguration.h"
#include "ordering/INA.h"
#include "ordering/TransportSettings.h"
#include "ordering/UserAccount.h"

#include <algorithm>

namespace pavlora {

void TQORApp::ReadUserSettings(const TQORAppOptions& options)
{
    const TAppSettings& settings = Settings();
    userSettings_ = std::make_unique<TRegConfiguration>(settings.Text(QStringLiteral("regmainkey")),
        settings.Text(QStringLiteral("regverkey")), settings.Text(QStringLiteral("regacckey")),
        options.userSettingsFolder);
    // The proxy, the extra CA file and the time-outs of the order transport.
    allowedHosts_ = ConfigureTransport(TINA::Instance(), settings, *userSettings_, loaded_.dataFolder).allowedHosts;
    ApplyStoredAccount(currentUser_, userSettings_->LoadUserAccount());
    userSettings_->SetDataLanguageFolder(loaded_.dataLanguageFolder);
    useJpeg2000_ = userSettings_->BooleanValue(QStringLiteral("UseJPG2000Compression"));
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
