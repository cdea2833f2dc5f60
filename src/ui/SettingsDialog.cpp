#include "ui/SettingsDialog.h"

#include "core/RegConfiguration.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace pavlora {

namespace {

QLineEdit* PasswordEdit(const QString& text)
{
    auto* edit = new QLineEdit(text);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QSpinBox* NumberBox(int minimum, int maximum, int value)
{
    auto* box = new QSpinBox;
    box->setRange(minimum, maximum);
    box->setValue(qBound(minimum, value, maximum));
    return box;
}

QCheckBox* CheckBox(const QString& label, bool checked)
{
    auto* box = new QCheckBox(label);
    box->setChecked(checked);
    return box;
}

} // namespace

TSettingsDialog::TSettingsDialog(TRegConfiguration& settings, TStoredAccount& account, const QList<Format>& formats,
    bool showTourOption, ApplyProxy applyProxy, QWidget* parent)
    : QDialog(parent)
    , settings_(settings)
    , account_(account)
    , applyProxy_(std::move(applyProxy))
{
    setWindowTitle(QStringLiteral("Einstellungen"));
    // Wide enough for a host name or an e-mail address at a glance.
    setMinimumWidth(420);
    auto* layout = new QVBoxLayout(this);

    auto* prints = new QGroupBox(QStringLiteral("Abzüge"));
    auto* printsForm = new QFormLayout(prints);
    format_ = new QComboBox;
    const QString currentId = settings.Value(QStringLiteral("StdFormatID"));
    for (const Format& format : formats) {
        format_->addItem(format.name, format.id);
        if (format.id.compare(currentId, Qt::CaseInsensitive) == 0)
            format_->setCurrentIndex(format_->count() - 1);
    }
    AddControl(format_, QStringLiteral("StdFormat"), SettingsControlKind::FormatCombo);
    printsForm->addRow(QStringLiteral("Bevorzugtes Format:"), format_);
    auto* quantity = NumberBox(1, 999, settings.IntegerValue(QStringLiteral("StdQuantity")));
    AddControl(quantity, QStringLiteral("StdQuantity"), SettingsControlKind::IntegerCombo);
    printsForm->addRow(QStringLiteral("Anzahl je Bild:"), quantity);
    auto* jpeg2000
        = CheckBox(QStringLiteral("Bilder als JPEG 2000 übertragen"), settings.BooleanValue(QStringLiteral("JPG2000")));
    AddControl(jpeg2000, QStringLiteral("JPG2000"), SettingsControlKind::CheckBox);
    printsForm->addRow(jpeg2000);
    auto* undo = NumberBox(0, 99, settings.IntegerValue(QStringLiteral("UndoLevels")));
    AddControl(undo, QStringLiteral("UndoLevels"), SettingsControlKind::IntegerEdit);
    printsForm->addRow(QStringLiteral("Rückgängig-Schritte:"), undo);
    layout->addWidget(prints);

    auto* proxy = new QGroupBox(QStringLiteral("Internetverbindung"));
    auto* proxyForm = new QFormLayout(proxy);
    useProxy_
        = CheckBox(QStringLiteral("Proxy-Server verwenden"), settings.BooleanValue(QStringLiteral("UseProxyServer")));
    AddControl(useProxy_, QStringLiteral("UseProxyServer"), SettingsControlKind::CheckBox);
    proxyForm->addRow(useProxy_);
    auto* host = new QLineEdit(settings.Value(QStringLiteral("ProxyHostname")));
    AddControl(host, QStringLiteral("ProxyHostname"), SettingsControlKind::TextEdit);
    proxyForm->addRow(QStringLiteral("Proxy-Server:"), host);
    auto* port = NumberBox(0, 65535, settings.IntegerValue(QStringLiteral("ProxyPort")));
    AddControl(port, QStringLiteral("ProxyPort"), SettingsControlKind::IntegerEdit);
    proxyForm->addRow(QStringLiteral("Port:"), port);
    auto* proxyLogin = new QLineEdit(settings.Value(QStringLiteral("ProxyLogin")));
    AddControl(proxyLogin, QStringLiteral("ProxyLogin"), SettingsControlKind::TextEdit);
    proxyForm->addRow(QStringLiteral("Benutzername:"), proxyLogin);
    auto* proxyPassword = PasswordEdit(settings.ProxyPassword());
    AddControl(proxyPassword, QStringLiteral("ProxyPassword"), SettingsControlKind::PasswordEdit);
    proxyForm->addRow(QStringLiteral("Passwort:"), proxyPassword);
    proxyFields_ = {host, port, proxyLogin, proxyPassword};
    layout->addWidget(proxy);

    auto* login = new QGroupBox(QStringLiteral("Anmeldung"));
    auto* loginForm = new QFormLayout(login);
    autoLogin_ = CheckBox(QStringLiteral("Automatisch anmelden"), settings.BooleanValue(QStringLiteral("AutoLogin")));
    AddControl(autoLogin_, QStringLiteral("AutoLogin"), SettingsControlKind::CheckBox);
    loginForm->addRow(autoLogin_);
    auto* loginName = new QLineEdit(account.login);
    AddControl(loginName, QStringLiteral("LoginName"), SettingsControlKind::LoginEdit);
    loginForm->addRow(QStringLiteral("E-Mail-Adresse:"), loginName);
    auto* password = PasswordEdit(account.password);
    AddControl(password, QStringLiteral("AutoLoginPassword"), SettingsControlKind::PasswordEdit);
    loginForm->addRow(QStringLiteral("Passwort:"), password);
    loginFields_ = {loginName, password};
    layout->addWidget(login);

    if (showTourOption) {
        auto* tour = CheckBox(
            QStringLiteral("Programmtour beim Start zeigen"), settings.BooleanValue(QStringLiteral("ShowTour")));
        AddControl(tour, QStringLiteral("ShowTour"), SettingsControlKind::CheckBox);
        layout->addWidget(tour);
    }

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("Speichern"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Save();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(useProxy_, &QCheckBox::toggled, this, &TSettingsDialog::UpdateProxyFields);
    connect(autoLogin_, &QCheckBox::toggled, this, &TSettingsDialog::UpdateProxyFields);
    UpdateProxyFields();
}

void TSettingsDialog::AddControl(QWidget* widget, const QString& name, SettingsControlKind kind)
{
    widget->setObjectName(name);
    controls_.append({widget, TSettingsControl(name, kind)});
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        connect(edit, &QLineEdit::textEdited, this, [this, widget] { MarkEdited(widget); });
    else if (auto* box = qobject_cast<QCheckBox*>(widget))
        connect(box, &QCheckBox::toggled, this, [this, widget] { MarkEdited(widget); });
    else if (auto* spin = qobject_cast<QSpinBox*>(widget))
        connect(spin, &QSpinBox::valueChanged, this, [this, widget] { MarkEdited(widget); });
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
        connect(combo, &QComboBox::currentIndexChanged, this, [this, widget] { MarkEdited(widget); });
}

void TSettingsDialog::MarkEdited(QWidget* widget)
{
    for (auto& [control, record] : controls_) {
        if (control == widget)
            record.MarkEdited();
    }
}

void TSettingsDialog::UpdateProxyFields()
{
    for (QWidget* field : proxyFields_)
        field->setEnabled(useProxy_->isChecked());
    for (QWidget* field : loginFields_)
        field->setEnabled(autoLogin_->isChecked());
}

QList<TSettingsControl> TSettingsDialog::CollectControls() const
{
    QList<TSettingsControl> records;
    for (const auto& [widget, control] : controls_) {
        TSettingsControl record = control;
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            record.text = edit->text();
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            record.checked = box->isChecked();
        } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
            record.text = QString::number(spin->value());
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            record.text = combo->currentText();
            record.formatId = combo->currentData().toString();
        }
        records.append(record);
    }
    return records;
}

void TSettingsDialog::Save()
{
    QList<TSettingsControl> records = CollectControls();
    SaveSettingsControls(records, settings_, account_, applyProxy_);
    for (qsizetype i = 0; i < records.size(); ++i)
        controls_[i].second = records[i];
}

QWidget* TSettingsDialog::Control(const QString& name) const
{
    for (const auto& [widget, control] : controls_) {
        if (control.name == name)
            return widget;
    }
    return nullptr;
}

} // namespace pavlora
