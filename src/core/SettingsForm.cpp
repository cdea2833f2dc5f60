#include "core/SettingsForm.h"

#include "core/RegConfiguration.h"

namespace pavlora {

namespace {

const QLatin1String kAutoLoginPassword("AutoLoginPassword");

void SaveControl(const TSettingsControl& control, TRegConfiguration& settings, TStoredAccount& account)
{
    switch (control.Kind()) {
    case SettingsControlKind::IntegerCombo:
    case SettingsControlKind::IntegerEdit:
        settings.WriteElement(control.name, control.text.trimmed().toInt());
        break;
    case SettingsControlKind::TextCombo:
    case SettingsControlKind::TextEdit:
        settings.WriteElement(control.name, control.text);
        break;
    case SettingsControlKind::CheckBox:
        settings.WriteElement(control.name, control.checked);
        break;
    case SettingsControlKind::FormatCombo:
        settings.WriteElement(QStringLiteral("StdFormat"), control.text);
        settings.WriteElement(QStringLiteral("StdFormatID"), control.formatId);
        break;
    case SettingsControlKind::PasswordEdit:
        if (control.name.compare(kAutoLoginPassword, Qt::CaseInsensitive) == 0)
            account.password = control.text;
        else
            settings.WriteElement(control.name, control.text, true);
        break;
    case SettingsControlKind::LoginEdit:
        account.login = control.text;
        break;
    }
}

} // namespace

void SaveSettingsControls(QList<TSettingsControl>& controls, TRegConfiguration& settings, TStoredAccount& account,
    const std::function<void(const TProxySettings&, const QString& password)>& applyProxy)
{
    for (TSettingsControl& control : controls) {
        if (!control.Edited())
            continue;
        SaveControl(control, settings, account);
        control.tag -= 10;
    }
    account.autoLogin = settings.BooleanValue(QStringLiteral("AutoLogin"));
    settings.SynchronizeProxy(TProxySyncMode::AfterSettingsDialog);
    settings.ReadRegistry();
    if (applyProxy)
        applyProxy(settings.UserProxy(), settings.ProxyPassword());
    settings.SaveUserAccount(account);
}

} // namespace pavlora
