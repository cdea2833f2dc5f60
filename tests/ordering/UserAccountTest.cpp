// The user record and the stored account: every value travels both ways,
// and what only the server knows stays in the record.

#include "ordering/UserAccount.h"
#include "support/AccountFixtures.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

TEST(UserAccountTest, EveryStoredValueReachesTheRecordAndComesBack)
{
    TStoredAccount account = FilledAccount();
    account.autoLogin = false;

    TQORUser user;
    user.userId = QStringLiteral("4711");
    user.securityAnswer = QStringLiteral("Bello");
    user.loggedIn = true;
    ApplyStoredAccount(user, account);
    EXPECT_EQ(user.email, account.login);
    EXPECT_EQ(user.addresses.at(0).houseNumberPart, QStringLiteral("b8"));
    EXPECT_EQ(user.addresses.at(1).fax, QStringLiteral("s20"));
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
