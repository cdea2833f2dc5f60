#pragma once

#include "core/SettingsForm.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>
#include <utility>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace pavlora {

class TRegConfiguration;

// The settings dialog: the customer's preferred print format and quantity,
// JPEG 2000, undo levels, the proxy with its login, the stored login with
// auto-login and the tour at start. Each control carries the name of the
// user setting it edits; a control the customer changes is marked, and
// only marked controls are saved.
class TSettingsDialog : public QDialog {
    Q_OBJECT
public:
    struct Format {
        QString name; // "10 x 15"
        QString id; // "Prints.10"
    };
    using ApplyProxy = std::function<void(const TProxySettings&, const QString& password)>;

    // `showTourOption`: the installation offers the tour ("show_tour" 1).
    TSettingsDialog(TRegConfiguration& settings, TStoredAccount& account, const QList<Format>& formats,
        bool showTourOption, ApplyProxy applyProxy, QWidget* parent = nullptr);

    // Saves the marked controls (the "Speichern" button).
    void Save();
    // The control that edits the user setting `name`; tests drive it.
    QWidget* Control(const QString& name) const;

private:
    void AddControl(QWidget* widget, const QString& name, SettingsControlKind kind);
    void MarkEdited(QWidget* widget);
    void UpdateProxyFields();
    QList<TSettingsControl> CollectControls() const;

    TRegConfiguration& settings_;
    TStoredAccount& account_;
    ApplyProxy applyProxy_;
    QList<std::pair<QWidget*, TSettingsControl>> controls_;
    QComboBox* format_ = nullptr;
    QCheckBox* useProxy_ = nullptr;
    QCheckBox* autoLogin_ = nullptr;
    QList<QWidget*> proxyFields_;
    QList<QWidget*> loginFields_;
};

} // namespace pavlora
