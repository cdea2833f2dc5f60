#pragma once

#include "core/StoredAccount.h"

namespace pavlora::test {

// An address whose every value is `tag` and its position: "b1" … "b22".
inline TStoredAddress TaggedAddress(const QString& tag)
{
    TStoredAddress address;
    int n = 0;
    for (const TAddressValue& value : kAddressValues)
        address.*value.member = tag + QString::number(++n);
    return address;
}

// An account with every value set and its billing ("b") and shipping ("s")
// address.
inline TStoredAccount FilledAccount()
{
    TStoredAccount account;
    account.autoLogin = true;
    account.saveAddressLocally = true;
    account.login = QStringLiteral("kunde@example.org");
    account.password = QStringLiteral("Pass;wört");
    account.acceptNewsletter = true;
    account.customerCardNumber = QStringLiteral("4711");
    account.favoritePickupStoreId = QStringLiteral("S-12");
    account.imei = QStringLiteral("35-209900-176148-1");
    account.useShippingAddress = true;
    account.addresses = {TaggedAddress(QStringLiteral("b")), TaggedAddress(QStringLiteral("s"))};
    return account;
}

} // namespace pavlora::test
