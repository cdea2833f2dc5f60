// The user record and the stored account: every value travels both ways,
// and what only the server knows stays in the record.

#include "ordering/UserAccount.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

TStoredAddress AddressNamed(const QString& prefix)
{
    TStoredAddress address;
    for (const TAddressValue& value : kAddressValues)
        address.*value.member = prefix + QLatin1String(value.name);
    return address;
}

TEST(UserAccountTest, EveryStoredValueReachesTheRecordAndComesBack)
{
    TStoredAccount account;
    account.autoLogin = false;
    account.saveAddressLocally = true;
    account.login = QStringLiteral("anna@example.org");
    account.password = QStringLiteral("geheim");
    account.acceptNewsletter = true;
    account.customerCardNumber = QStringLiteral("C-1");
    account.favoritePickupStoreId = QStringLiteral("S-7");
    account.imei = QStringLiteral("35-2090");
    account.useShippingAddress = true;
    account.addresses = {AddressNamed(QStringLiteral("billing ")), AddressNamed(QStringLiteral("shipping "))};

    TQORUser user;
    user.userId = QStringLiteral("4711");
    user.securityAnswer = QStringLiteral("Bello");
    user.loggedIn = true;
    ApplyStoredAccount(user, account);
    EXPECT_EQ(user.email, account.login);
    EXPECT_EQ(user.addresses.at(0).houseNumberPart, QStringLiteral("billing Street_HouseNoPart"));
    EXPECT_EQ(user.addresses.at(1).fax, QStringLiteral("shipping FaxNumber"));
    EXPECT_EQ(user.addresses.at(1).addressKind, 1);
    EXPECT_EQ(user.userId, QStringLiteral("4711"));
    EXPECT_EQ(user.securityAnswer, QStringLiteral("Bello"));
    EXPECT_TRUE(user.loggedIn);

    EXPECT_EQ(StoredAccountOf(user), account);
}

TEST(UserAccountTest, ARecordWithoutAddressesStoresTwoEmptyOnes)
{
    TQORUser user;
    user.email = QStringLiteral("ben@example.org");
    const TStoredAccount account = StoredAccountOf(user);
    EXPECT_EQ(account.login, user.email);
    ASSERT_EQ(account.addresses.size(), 2);
    EXPECT_EQ(account.addresses.at(0), TStoredAddress{});
    EXPECT_EQ(account.addresses.at(1), TStoredAddress{});
}

} // namespace
} // namespace pavlora::test
