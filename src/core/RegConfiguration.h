#pragma once

#include "core/NameValueList.h"
#include "core/StoredAccount.h"
#include "core/SystemProxy.h"
#include "core/WindowPlacement.h"

#include <QList>
#include <QRect>
#include <QString>

#include <memory>
#include <mutex>

namespace pavlora {

class TUserSettingsStore;

// The user settings: a name=value list of the user's preferences, window
// placement, proxy, stored login and address, backed by the user's stores
// (core/UserSettingsStore.h) in the private configuration folder:
//
//   main store     named by "regmainkey": the values of the table in
//                  RegConfiguration.cpp, read at construction with defaults
//   account store  named by "regacckey": the account and its two addresses
//   version store  named by "regverkey": "Version", the program's version
//
// The list holds booleans as "-1"/"0" and integers in decimal; the stores
// hold booleans as 1/0, integers with their sign, and the secret values
// ("ProxyPassword", "Password", "DorArithmoi", password fields) encrypted
// (core/SettingsKey.h). The list keeps "Password" in its stored form and the
// other secrets in plain text.
//
// Store errors never stop the program: they are reported with the context
// "RegConfiguration.TRegConfiguration.<operation>" and the list keeps its
// value. Every operation takes the object's lock, so the UI thread and
// workers may share one object.
class TRegConfiguration {
public:
    // Reads the main store and synchronises the proxy; with a version key,
    // writes the version. `storeFolder` defaults to the user's
    // configuration folder.
    TRegConfiguration(const QString& mainKey, const QString& versionKey, const QString& accountKey,
        const QString& storeFolder = QString());
    ~TRegConfiguration();
    TRegConfiguration(const TRegConfiguration&) = delete;
    TRegConfiguration& operator=(const TRegConfiguration&) = delete;

    // Reads every value of the table into the list, then synchronises the
    // proxy.
    void ReadRegistry();
    // Writes "Version" = the program's version into the store of `key`.
    void UpdateVersionKey(const QString& key);

    // ---- The list ------------------------------------------------------------
    TNameValueList Values() const;
    QString Value(const QString& name) const;
    // As integer (default 0), as boolean (default false), not empty.
    int IntegerValue(const QString& name) const;
    bool BooleanValue(const QString& name) const;
    bool HasValue(const QString& name) const;
    // The integer "State", kept apart from the list.
    int State() const;

    // ---- Writing and reading single values ------------------------------------------
    // Each stores the value in the list, then in the main store.
    void WriteElement(const QString& name, bool value);
    void WriteElement(const QString& name, int value);
    void WriteElement(const QString& name, const QString& value, bool encrypt = false);
    void WriteElement(const QString& name, const char* value) = delete; // would pick the bool form
    // Read the main store directly; `fallback` when the value is missing or
    // not of the kind.
    QString GetElement(const QString& name, const QString& fallback) const;
    bool GetElement(const QString& name, bool fallback) const;
    int GetElement(const QString& name, int fallback) const;
    QString GetElement(const QString& name, const char* fallback) const = delete;

    // ---- Window placement -------------------------------------------------------------
    // Where the main window goes on `screens` (geometries, primary first).
    TWindowPlacement LoadWindowPlacement(const QList<QRect>& screens) const;
    // Writes "Left", "Top", "Height", "Width" for a normal window, and always
    // "WindowState".
    void SaveWindowPlacement(const TWindowPlacement& placement);

    // ---- Account ------------------------------------------------------------------------
    // Writes "AutoLogin" and "SaveAddressLocally"; with auto-login the login
    // and the encrypted password, without it the stored password is
    // cleared; the account values; the billing address when there is one,
    // the shipping address when there are two.
    void SaveUserAccount(const TStoredAccount& account);
    // The stored account; always with two addresses, billing then shipping.
    TStoredAccount LoadUserAccount() const;

    void StoreLastTmpOrderDir(const QString& folder);
    void StoreAutoDisconnect(bool value);

    // ---- Coupon codes ------------------------------------------------------------------
    // Records a redeemed code: "HasUsedXActionCodes" + 1, the code put in
    // front of the ";"-separated "DorArithmoi". An empty code is ignored.
    void RecordCouponCode(const QString& code);
    // Whether a code may still be redeemed: empty, or not among the
    // recorded ones (without regard to case).
    bool CanRedeemCouponCode(const QString& code) const;

    // ---- Proxy ---------------------------------------------------------------------------
    // Follows the system proxy (core/SystemProxy.h) when the decision says
    // so: writes "UseProxyServer", "ProxyHostname" and "ProxyPort" from it;
    // always writes "SyncIEProxy". The settings dialog calls it with
    // AfterSettingsDialog after saving.
    void SynchronizeProxy(TProxySyncMode mode = TProxySyncMode::Startup);
    bool ProxySyncEnabled() const;
    // The proxy the user settings name.
    TProxySettings UserProxy() const;
    QString ProxyPassword() const;

    // The data language folder (for texts of the user's language).
    void SetDataLanguageFolder(const QString& folder);
    QString DataLanguageFolder() const;

private:
    // "RegConfiguration.TRegConfiguration." + operation: the context of logged store errors.
    static QString Context(const char* operation);

    // The store of `key`, or none after reporting "Cannot open key".
    std::unique_ptr<TUserSettingsStore> OpenRegistry(const QString& key) const;
    // Writes a stored form into `store`, or, without one, into the main
    // store opened and closed for it; reports failures.
    void WriteStored(TUserSettingsStore* store, const QString& name, const QString& stored);
    void SynchronizeProxyLocked(TProxySyncMode mode, TUserSettingsStore* store);

    mutable std::recursive_mutex mutex_;
    QString mainKey_;
    QString accountKey_;
    QString storeFolder_;
    TNameValueList values_;
    int state_ = 0;
    bool proxySync_ = false;
    QString dataLanguageFolder_;
};

} // namespace pavlora
