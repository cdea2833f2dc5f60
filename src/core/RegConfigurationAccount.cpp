// The account part of the user settings: login, password, account values
// and the two addresses.

#include "core/RegConfiguration.h"

#include "core/DebugConfig.h"
#include "core/QORException.h"
#include "core/SettingsKey.h"
#include "core/UserSettingsStore.h"

namespace pavlora {
namespace {

const QString kAutoLogin = QStringLiteral("AutoLogin");
const QString kSaveAddress = QStringLiteral("SaveAddressLocally");
const QString kLoginName = QStringLiteral("LoginName");
const QString kPassword = QStringLiteral("Password");
const QString kNewsletter = QStringLiteral("AcceptNewsletter");
const QString kCustomerCard = QStringLiteral("CustomerCardNumber");
const QString kFavoriteStore = QStringLiteral("FavoritePickupStoreID");
const QString kImei = QStringLiteral("IMEI");
const QString kUseShipping = QStringLiteral("UseShippingAddress");
const QString kShippingPrefix = QStringLiteral("Shipping");

QString StoredBoolean(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

void WriteAddress(TUserSettingsStore& store, const TStoredAddress& address, const QString& prefix)
{
    for (const TAddressValue& value : kAddressValues)
        store.Write(prefix + QLatin1String(value.name), address.*value.member);
}

TStoredAddress ReadAddress(const TUserSettingsStore& store, const QString& prefix)
{
    TStoredAddress address;
    for (const TAddressValue& value : kAddressValues)
        address.*value.member = store.Read(prefix + QLatin1String(value.name)).value_or(QString());
    return address;
}

} // namespace

void TRegConfiguration::SaveUserAccount(const TStoredAccount& account)
{
    std::lock_guard lock(mutex_);
    values_.SetValue(kAutoLogin, account.autoLogin ? QStringLiteral("-1") : QStringLiteral("0"));
    values_.SetValue(kSaveAddress, account.saveAddressLocally ? QStringLiteral("-1") : QStringLiteral("0"));
    const QString password = account.autoLogin ? EncryptSettingsText(account.password) : QString();
    if (account.autoLogin)
        values_.SetValue(kLoginName, account.login);
    values_.SetValue(kPassword, password);
    try {
        if (const std::unique_ptr<TUserSettingsStore> store = OpenRegistry(mainKey_)) {
            store->Write(kAutoLogin, StoredBoolean(account.autoLogin));
            store->Write(kSaveAddress, StoredBoolean(account.saveAddressLocally));
            if (account.autoLogin) {
                store->Write(kLoginName, account.login);
                store->Write(kPassword, password);
            } else {
                store->Remove(kPassword);
            }
            store->Close();
        }
    } catch (...) {
        RecordCurrentException(Context("WriteElement"));
    }
    try {
        if (const std::unique_ptr<TUserSettingsStore> store = OpenRegistry(accountKey_)) {
            store->Write(kNewsletter, StoredBoolean(account.acceptNewsletter));
            store->Write(kCustomerCard, account.customerCardNumber);
            store->Write(kFavoriteStore, account.favoritePickupStoreId);
            store->Write(kImei, account.imei);
            store->Write(kUseShipping, StoredBoolean(account.useShippingAddress));
            if (!account.addresses.isEmpty())
                WriteAddress(*store, account.addresses.at(0), QString());
            if (account.addresses.size() >= 2)
                WriteAddress(*store, account.addresses.at(1), kShippingPrefix);
            store->Close();
        }
    } catch (...) {
        RecordCurrentException(Context("WriteElement"));
    }
}

TStoredAccount TRegConfiguration::LoadUserAccount() const
{
    std::lock_guard lock(mutex_);
    TStoredAccount account;
    account.autoLogin = BooleanValue(kAutoLogin);
    account.saveAddressLocally = BooleanValue(kSaveAddress);
    account.login = values_.Value(kLoginName);
    account.password = DecryptSettingsText(values_.Value(kPassword)).value_or(QString());
    account.addresses = {TStoredAddress{}, TStoredAddress{}};
    try {
        if (const std::unique_ptr<TUserSettingsStore> store = OpenRegistry(accountKey_)) {
            account.acceptNewsletter = ParseBooleanText(store->Read(kNewsletter).value_or(QString()), false);
            account.customerCardNumber = store->Read(kCustomerCard).value_or(QString());
            account.favoritePickupStoreId = store->Read(kFavoriteStore).value_or(QString());
            account.imei = store->Read(kImei).value_or(QString());
            account.useShippingAddress = ParseBooleanText(store->Read(kUseShipping).value_or(QString()), false);
            account.addresses[0] = ReadAddress(*store, QString());
            account.addresses[1] = ReadAddress(*store, kShippingPrefix);
        }
    } catch (...) {
        RecordCurrentException(Context("GetElement"));
    }
    return account;
}

} // namespace pavlora
