#include "core/RegConfiguration.h"

#include "core/QORError.h"
#include "core/SettingsKey.h"
#include "core/UserSettingsStore.h"
#include "core/Version.h"
#include "support/AccountFixtures.h"
#include "support/TestSandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace pavlora::test {
namespace {

const QString kMainKey = QStringLiteral("Software\\Vovo\\Pavlora");
const QString kAccountKey = QStringLiteral("Software\\Vovo\\Pavlora\\Account");
const QString kVersionKey = QStringLiteral("Software\\Vovo\\Version");

class RegConfigurationTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = MakeFolder(QStringLiteral("config")); }
    void TearDown() override
    {
        for (const char* name : {"http_proxy", "https_proxy"})
            qunsetenv(name);
    }

    std::unique_ptr<TRegConfiguration> Open() const
    {
        return std::make_unique<TRegConfiguration>(kMainKey, kVersionKey, kAccountKey, folder_);
    }
    QString MainFile() const { return folder_ + QStringLiteral("/Software_Vovo_Pavlora.ini"); }
    QString AccountFile() const { return folder_ + QStringLiteral("/Software_Vovo_Pavlora_Account.ini"); }
    QByteArray MainText() const { return ReadFile(MainFile()); }

    QString folder_;
};

TEST_F(RegConfigurationTest, AFreshStoreHoldsTheDefaults)
{
    const auto settings = Open();
    const QList<std::pair<const char*, const char*>> defaults{{"StdFormat", "10x15"}, {"StdFormatID", "Prints.10"},
        {"StdQuantity", "1"}, {"JPG2000", "0"}, {"UndoLevels", "5"}, {"AutoLogin", "-1"}, {"ShowUpselling", "-1"},
        {"TimeOut", "120"}, {"CCTimeOut", "300"}, {"LastTreeViewPath", "Desktop"}, {"Width", "800"}, {"Height", "600"},
        {"WindowState", "0"}, {"DD State", "2"}, {"HasUsedXActionCodes", "0"}, {"UseResolutionLimitation", "-1"},
        {"LoginName", ""}, {"Top", ""}, {"Left", ""},
        // A first run follows the (absent) system proxy.
        {"UseProxyServer", "0"}, {"SyncIEProxy", "-1"}};
    for (const auto& [name, value] : defaults)
        EXPECT_EQ(settings->Value(QLatin1String(name)), QLatin1String(value)) << name;
    EXPECT_TRUE(QFileInfo(settings->Value(QStringLiteral("MyPicturesPath"))).isDir());
    EXPECT_EQ(settings->State(), 0);

    EXPECT_EQ(QFileInfo(MainFile()).permissions(),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    EXPECT_TRUE(ReadFile(folder_ + QStringLiteral("/Software_Vovo_Version.ini"))
                    .contains(QByteArray(QByteArray("Version=") + kProductVersion)));
}

// Booleans are stored as 1/0 and listed as -1/0; integers keep their sign;
// secrets are stored encrypted; names are found without regard to case.
TEST_F(RegConfigurationTest, StoresValuesInTheirForms)
{
    WriteFile(MainFile(), "[General]\nstdformat=13x18\nstate=3\nmypicturespath=/no/such/folder\nProxyPort=x\n");
    {
        const auto settings = Open();
        EXPECT_EQ(settings->Value(QStringLiteral("StdFormat")), QStringLiteral("13x18"));
        EXPECT_EQ(settings->State(), 3);
        EXPECT_NE(settings->Value(QStringLiteral("MyPicturesPath")), QStringLiteral("/no/such/folder"));
        EXPECT_EQ(settings->Value(QStringLiteral("ProxyPort")), QStringLiteral("0"));
        settings->WriteElement(QStringLiteral("StdFormat"), QStringLiteral("20x30"));
        settings->WriteElement(QStringLiteral("JPG2000"), true);
        settings->WriteElement(QStringLiteral("Left"), -300);
        settings->WriteElement(QStringLiteral("ProxyPassword"), QStringLiteral("geheim"), true);
        settings->WriteElement(QStringLiteral("Password"), QStringLiteral("Kennwort"), true);
        EXPECT_EQ(settings->Value(QStringLiteral("JPG2000")), QStringLiteral("-1"));
        EXPECT_EQ(settings->Value(QStringLiteral("ProxyPassword")), QStringLiteral("geheim"));
        EXPECT_EQ(settings->Value(QStringLiteral("Password")), EncryptSettingsText(QStringLiteral("Kennwort")));
        EXPECT_EQ(settings->GetElement(QStringLiteral("left"), 0), -300);
        EXPECT_TRUE(settings->GetElement(QStringLiteral("jpg2000"), false));
        EXPECT_EQ(settings->GetElement(QStringLiteral("Nothing"), QStringLiteral("none")), QStringLiteral("none"));
    }
    const QByteArray text = MainText();
    EXPECT_TRUE(text.contains("\nStdFormat=20x30\n")) << text.toStdString();
    EXPECT_FALSE(text.contains("stdformat"));
    EXPECT_TRUE(text.contains("\nJPG2000=1\n"));
    EXPECT_TRUE(text.contains("\nLeft=-300\n"));
    EXPECT_FALSE(text.contains("geheim"));
    EXPECT_FALSE(text.contains("Kennwort"));

    const auto again = Open();
    EXPECT_EQ(again->Value(QStringLiteral("Left")), QStringLiteral("-300"));
    EXPECT_EQ(again->Value(QStringLiteral("ProxyPassword")), QStringLiteral("geheim"));
    EXPECT_EQ(DecryptSettingsText(again->Value(QStringLiteral("Password"))), QStringLiteral("Kennwort"));
}

TEST_F(RegConfigurationTest, AStoreThatFailsToParseIsKeptAside)
{
    const QByteArray broken = "[General\nLoginName=kunde@example.org\n";
    WriteFile(MainFile(), broken);
    const auto settings = Open();
    EXPECT_TRUE(settings->Value(QStringLiteral("LoginName")).isEmpty());
    const QStringList aside = QDir(folder_).entryList({QStringLiteral("Software_Vovo_Pavlora.ini.broken-*")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(ReadFile(folder_ + QLatin1Char('/') + aside.front()), broken);
    EXPECT_TRUE(MainText().contains("SyncIEProxy=1"));
}

TEST_F(RegConfigurationTest, StoreErrorsAreReportedAndNeverStopTheProgram)
{
    folder_ += QStringLiteral("/blocked");
    WriteFile(folder_, "a file where the folder should be");
    const auto settings = Open();
    EXPECT_EQ(settings->Value(QStringLiteral("StdFormat")), QStringLiteral("10x15"));
    settings->WriteElement(QStringLiteral("StdFormat"), QStringLiteral("13x18"));
    EXPECT_EQ(settings->Value(QStringLiteral("StdFormat")), QStringLiteral("13x18"));
    EXPECT_EQ(LastError().context, QStringLiteral("RegConfiguration.TRegConfiguration.OpenRegistry"));
    EXPECT_EQ(LastError().codeText, QStringLiteral("Cannot open key"));
}

TEST_F(RegConfigurationTest, TheAccountRoundTrips)
{
    TStoredAccount account = FilledAccount();
    Open()->SaveUserAccount(account);

    EXPECT_EQ(Open()->LoadUserAccount(), account);
    const QByteArray accountText = ReadFile(AccountFile());
    EXPECT_TRUE(accountText.contains("\nShippingEntry=s22\n")) << accountText.toStdString();
    EXPECT_TRUE(accountText.contains("\nStreet_HouseNoPart=b8\n"));
    EXPECT_FALSE(MainText().contains("Pass;w"));

    // Auto-login off clears the stored password; one address leaves the
    // shipping address as it was.
    account.autoLogin = false;
    account.addresses = {TaggedAddress(QStringLiteral("n"))};
    Open()->SaveUserAccount(account);
    const TStoredAccount loaded = Open()->LoadUserAccount();
    EXPECT_FALSE(loaded.autoLogin);
    EXPECT_TRUE(loaded.password.isEmpty());
    EXPECT_FALSE(MainText().contains("Password"));
    ASSERT_EQ(loaded.addresses.size(), 2);
    EXPECT_EQ(loaded.addresses[0], TaggedAddress(QStringLiteral("n")));
    EXPECT_EQ(loaded.addresses[1], TaggedAddress(QStringLiteral("s")));
}

TEST_F(RegConfigurationTest, ANewStoreLoadsAnEmptyAccountWithTwoAddresses)
{
    const TStoredAccount account = Open()->LoadUserAccount();
    EXPECT_TRUE(account.autoLogin);
    EXPECT_TRUE(account.login.isEmpty());
    EXPECT_EQ(account.addresses, (QList<TStoredAddress>{TStoredAddress{}, TStoredAddress{}}));
}

TEST_F(RegConfigurationTest, ARedeemedCouponCannotBeRedeemedAgain)
{
    {
        const auto settings = Open();
        EXPECT_TRUE(settings->CanRedeemCouponCode(QStringLiteral("ABC")));
        settings->RecordCouponCode(QStringLiteral("ABC"));
        settings->RecordCouponCode(QString());
        settings->RecordCouponCode(QStringLiteral("def"));
    }
    const auto settings = Open();
    EXPECT_EQ(settings->Value(QStringLiteral("HasUsedXActionCodes")), QStringLiteral("2"));
    EXPECT_EQ(settings->Value(QStringLiteral("DorArithmoi")), QStringLiteral("def;ABC;"));
    EXPECT_FALSE(MainText().contains("ABC"));
    EXPECT_FALSE(settings->CanRedeemCouponCode(QStringLiteral("abc")));
    EXPECT_FALSE(settings->CanRedeemCouponCode(QStringLiteral("DEF")));
    EXPECT_TRUE(settings->CanRedeemCouponCode(QStringLiteral("AB")));
    EXPECT_TRUE(settings->CanRedeemCouponCode(QString()));
}

TEST_F(RegConfigurationTest, PlacementKeepsNegativePositions)
{
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(-1280, 0, 1280, 1024)};
    Open()->SaveWindowPlacement(TWindowPlacement{-300, 20, 900, 700, TWindowState::Normal});
    EXPECT_TRUE(MainText().contains("\nLeft=-300\n"));
    EXPECT_EQ(Open()->LoadWindowPlacement(screens), (TWindowPlacement{-300, 20, 900, 700, TWindowState::Normal}));

    // A maximised window keeps the normal placement and stores its state.
    Open()->SaveWindowPlacement(TWindowPlacement{0, 0, 1920, 1080, TWindowState::Maximized});
    EXPECT_EQ(Open()->LoadWindowPlacement(screens), (TWindowPlacement{-300, 20, 900, 700, TWindowState::Maximized}));
}

TEST_F(RegConfigurationTest, TheProxyFollowsTheSystemUntilTheUserChangesIt)
{
    qputenv("https_proxy", "http://proxy.example:3128");
    {
        const auto settings = Open(); // first run: copies the system proxy
        EXPECT_TRUE(settings->ProxySyncEnabled());
        EXPECT_EQ(settings->UserProxy(), (TProxySettings{true, QStringLiteral("proxy.example"), 3128}));
    }
    EXPECT_TRUE(MainText().contains("\nProxyHostname=proxy.example\n"));
    EXPECT_TRUE(MainText().contains("\nSyncIEProxy=1\n"));

    qputenv("https_proxy", "http://moved.example:8080");
    {
        const auto settings = Open(); // still following
        EXPECT_EQ(settings->UserProxy().host, QStringLiteral("moved.example"));
        settings->WriteElement(QStringLiteral("ProxyHostname"), QStringLiteral("own.example"));
        settings->SynchronizeProxy(TProxySyncMode::AfterSettingsDialog);
        EXPECT_FALSE(settings->ProxySyncEnabled());
    }
    const auto settings = Open(); // the stored choice holds
    EXPECT_FALSE(settings->ProxySyncEnabled());
    EXPECT_EQ(settings->UserProxy(), (TProxySettings{true, QStringLiteral("own.example"), 8080}));
}

TEST_F(RegConfigurationTest, WithoutAStoredChoiceTheProxyFollowsWhenItIsTheSame)
{
    qputenv("http_proxy", "proxy.example:3128");
    WriteFile(MainFile(), "[General]\nUseProxyServer=1\nProxyHostname=PROXY.example\nProxyPort=3128\n");
    EXPECT_TRUE(Open()->ProxySyncEnabled());
    WriteFile(MainFile(), "[General]\nUseProxyServer=1\nProxyHostname=other.example\nProxyPort=3128\n");
    const auto settings = Open();
    EXPECT_FALSE(settings->ProxySyncEnabled());
    EXPECT_EQ(settings->UserProxy().host, QStringLiteral("other.example"));
}

// The UI thread and workers share one object.
TEST_F(RegConfigurationTest, ConcurrentWritersKeepEveryValue)
{
    const auto settings = Open();
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&settings, t] {
            for (int i = 0; i < 20; ++i)
                settings->WriteElement(QStringLiteral("Worker%1_%2").arg(t).arg(i), i - 10);
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    const auto again = Open();
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(again->GetElement(QStringLiteral("worker%1_%2").arg(t).arg(i), 99), i - 10);
    }
}

} // namespace
} // namespace pavlora::test
