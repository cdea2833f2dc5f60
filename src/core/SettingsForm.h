#pragma once

#include "core/StoredAccount.h"
#include "core/SystemProxy.h"

#include <QList>
#include <QString>

#include <functional>

namespace pavlora {

class TRegConfiguration;

// The kinds of control of the settings dialog; the value is the control's
// designed tag. Editing a control adds 10 to its tag.
enum class SettingsControlKind {
    IntegerCombo = 1,
    TextCombo = 2,
    IntegerEdit = 3,
    TextEdit = 4,
    CheckBox = 6,
    FormatCombo = 7, // shows the format's name; saves it and its catalogue id
    PasswordEdit = 8,
    LoginEdit = 9,
};

// One control of the settings dialog as the dialog hands it to saving.
// Its name is the name of the user setting it edits.
struct TSettingsControl {
    QString name;
    int tag = 0;
    QString text;
    bool checked = false;
    QString formatId; // the format combo box's selected catalogue id

    TSettingsControl() = default;
    TSettingsControl(const QString& controlName, SettingsControlKind kind)
        : name(controlName)
        , tag(static_cast<int>(kind))
    {
    }
    bool Edited() const { return tag > 10; }
    void MarkEdited()
    {
        if (!Edited())
            tag += 10;
    }
    SettingsControlKind Kind() const { return static_cast<SettingsControlKind>(Edited() ? tag - 10 : tag); }
};

// Saves the edited controls of the settings dialog into the user settings,
// each under the control's name, and clears their marks. The auto-login
// password and the login go into `account` and reach the store through the
// account save that follows. Afterwards the proxy follows the system's only
// when the user's choice still equals it; the settings are read again, the
// proxy is handed to `applyProxy` (the HTTP layer) and the account saved.
//
// A text where an integer belongs saves 0, as the stores keep integers.
void SaveSettingsControls(QList<TSettingsControl>& controls, TRegConfiguration& settings, TStoredAccount& account,
    const std::function<void(const TProxySettings&, const QString& password)>& applyProxy);

} // namespace pavlora
