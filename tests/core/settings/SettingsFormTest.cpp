#include "core/SettingsForm.h"

#include "core/RegConfiguration.h"
#include "support/TestSandbox.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

const QString kMainKey = QStringLiteral("Software\\Vovo\\Pavlora");
const QString kAccountKey = QStringLiteral("Software\\Vovo\\Pavlora\\Account");

class SettingsFormTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = MakeFolder(QStringLiteral("config")); }
    void TearDown() override { qunsetenv("https_proxy"); }

    std::unique_ptr<TRegConfiguration> Open() const
    {
        return std::make_unique<TRegConfiguration>(kMainKey, QString(), kAccountKey, folder_);
    }
    QByteArray MainText() const { return ReadFile(folder_ + QStringLiteral("/Software_Vovo_Pavlora.ini")); }

    static TSettingsControl Edited(const char* name, SettingsControlKind kind, const char* text, bool checked = false)
    {
        TSettingsControl control(QString::fromUtf8(name), kind);
        control.text = QString::fromUtf8(text);
        control.checked = checked;
        control.MarkEdited();
        return control;
    }

    QString folder_;
};

TEST_F(SettingsFormTest, OnlyEditedControlsAreSavedInTheirKinds)
{
    const auto settings = Open();
    TStoredAccount account = settings->LoadUserAccount();
    TSettingsControl format = Edited("StdFormatBox", SettingsControlKind::FormatCombo, "13x18");
    format.formatId = QStringLiteral("Prints.13");
    TSettingsControl untouched(QStringLiteral("UndoLevels"), SettingsControlKind::IntegerEdit);
    untouched.text = QStringLiteral("99");
    QList<TSettingsControl> controls{Edited("StdQuantity", SettingsControlKind::IntegerCombo, " 3 "),
        Edited("LastTreeViewPath", SettingsControlKind::TextEdit, "/home/kunde/Bilder"),
        Edited("JPG2000", SettingsControlKind::CheckBox, "", true), format, untouched,
        Edited("ProxyPassword", SettingsControlKind::PasswordEdit, "geheim"),
        Edited("AutoLoginPassword", SettingsControlKind::PasswordEdit, "kundenpw"),
        Edited("LoginName", SettingsControlKind::LoginEdit, "kunde@example.org")};

    TProxySettings applied{true, QStringLiteral("unset"), 1};
    SaveSettingsControls(
        controls, *settings, account, [&](const TProxySettings& proxy, const QString&) { applied = proxy; });

    for (const TSettingsControl& control : controls)
        EXPECT_FALSE(control.Edited()) << control.name.toStdString();
    const auto reread = Open();
    EXPECT_EQ(reread->Value(QStringLiteral("StdQuantity")), QStringLiteral("3"));
    EXPECT_EQ(reread->Value(QStringLiteral("LastTreeViewPath")), QStringLiteral("/home/kunde/Bilder"));
    EXPECT_EQ(reread->Value(QStringLiteral("JPG2000")), QStringLiteral("-1"));
    EXPECT_EQ(reread->Value(QStringLiteral("StdFormat")), QStringLiteral("13x18"));
    EXPECT_EQ(reread->Value(QStringLiteral("StdFormatID")), QStringLiteral("Prints.13"));
    EXPECT_EQ(reread->Value(QStringLiteral("UndoLevels")), QStringLiteral("5"));
    EXPECT_EQ(reread->ProxyPassword(), QStringLiteral("geheim"));
    EXPECT_FALSE(MainText().contains("geheim")); // stored encrypted
    EXPECT_FALSE(MainText().contains("AutoLoginPassword"));

    // The login and auto-login password reach the store through the account.
    const TStoredAccount stored = reread->LoadUserAccount();
    EXPECT_EQ(stored.login, QStringLiteral("kunde@example.org"));
    EXPECT_EQ(stored.password, QStringLiteral("kundenpw"));
    EXPECT_EQ(applied, (TProxySettings{false, QString(), 0}));
}

// A user who sets a proxy of their own stops following the system's.
TEST_F(SettingsFormTest, AnOwnProxyEndsTheSynchronisationAndReachesTheTransport)
{
    qputenv("https_proxy", "http://proxy.example:3128");
    const auto settings = Open();
    ASSERT_TRUE(settings->ProxySyncEnabled());
    TStoredAccount account = settings->LoadUserAccount();
    QList<TSettingsControl> controls{Edited("ProxyHostname", SettingsControlKind::TextEdit, "own.example"),
        Edited("ProxyPort", SettingsControlKind::IntegerEdit, "8080")};
    TProxySettings applied;
    SaveSettingsControls(
        controls, *settings, account, [&](const TProxySettings& proxy, const QString&) { applied = proxy; });
    EXPECT_FALSE(settings->ProxySyncEnabled());
    EXPECT_EQ(applied, (TProxySettings{true, QStringLiteral("own.example"), 8080}));
    EXPECT_FALSE(Open()->ProxySyncEnabled());
}

} // namespace
} // namespace pavlora::test
