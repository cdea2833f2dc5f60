#include "ui/SettingsDialog.h"

#include "core/RegConfiguration.h"
#include "support/TestSandbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = MakeFolder(QStringLiteral("config"));
        settings_ = std::make_unique<TRegConfiguration>(
            QStringLiteral("Main"), QString(), QStringLiteral("Account"), folder_);
        account_ = settings_->LoadUserAccount();
    }

    template <class Widget>
    Widget* Find(TSettingsDialog& dialog, const char* name)
    {
        auto* widget = qobject_cast<Widget*>(dialog.Control(QString::fromUtf8(name)));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    const QList<TSettingsDialog::Format> formats_{{QStringLiteral("10 x 15"), QStringLiteral("Prints.10")},
        {QStringLiteral("13 x 18"), QStringLiteral("Prints.13")}};
    QString folder_;
    std::unique_ptr<TRegConfiguration> settings_;
    TStoredAccount account_;
};

TEST_F(SettingsDialogTest, ShowsTheStoredValuesAndSavesWhatTheCustomerChanged)
{
    TProxySettings applied{true, QStringLiteral("unset"), 1};
    TSettingsDialog dialog(
        *settings_, account_, formats_, false, [&](const TProxySettings& proxy, const QString&) { applied = proxy; });
    EXPECT_EQ(dialog.Control(QStringLiteral("ShowTour")), nullptr); // the installation has no tour
    auto* format = Find<QComboBox>(dialog, "StdFormat");
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->currentText(), QStringLiteral("10 x 15"));
    auto* host = Find<QLineEdit>(dialog, "ProxyHostname");
    ASSERT_NE(host, nullptr);
    EXPECT_FALSE(host->isEnabled()); // no proxy in use

    format->setCurrentIndex(1);
    Find<QSpinBox>(dialog, "StdQuantity")->setValue(4);
    Find<QCheckBox>(dialog, "UseProxyServer")->setChecked(true);
    EXPECT_TRUE(host->isEnabled());
    QTest::keyClicks(host, QStringLiteral("proxy.example"));
    Find<QSpinBox>(dialog, "ProxyPort")->setValue(3128);
    QTest::keyClicks(Find<QLineEdit>(dialog, "LoginName"), QStringLiteral("kunde@example.org"));
    // Set without an edit by the customer: not saved.
    Find<QLineEdit>(dialog, "ProxyLogin")->setText(QStringLiteral("not typed"));
    dialog.Save();

    const TRegConfiguration reread(QStringLiteral("Main"), QString(), QStringLiteral("Account"), folder_);
    EXPECT_EQ(reread.Value(QStringLiteral("StdFormatID")), QStringLiteral("Prints.13"));
    EXPECT_EQ(reread.Value(QStringLiteral("StdFormat")), QStringLiteral("13 x 18"));
    EXPECT_EQ(reread.Value(QStringLiteral("StdQuantity")), QStringLiteral("4"));
    EXPECT_EQ(reread.Value(QStringLiteral("ProxyLogin")), QString());
    EXPECT_EQ(reread.LoadUserAccount().login, QStringLiteral("kunde@example.org"));
    EXPECT_EQ(applied, (TProxySettings{true, QStringLiteral("proxy.example"), 3128}));
}

TEST_F(SettingsDialogTest, TurningAutoLoginOffForgetsTheStoredPassword)
{
    account_.login = QStringLiteral("kunde@example.org");
    account_.password = QStringLiteral("geheim");
    settings_->SaveUserAccount(account_);
    TSettingsDialog dialog(*settings_, account_, formats_, true, {});
    ASSERT_NE(dialog.Control(QStringLiteral("ShowTour")), nullptr);
    EXPECT_EQ(Find<QLineEdit>(dialog, "AutoLoginPassword")->text(), QStringLiteral("geheim"));
    Find<QCheckBox>(dialog, "AutoLogin")->setChecked(false);
    dialog.Save();
    const TRegConfiguration reread(QStringLiteral("Main"), QString(), QStringLiteral("Account"), folder_);
    EXPECT_FALSE(reread.BooleanValue(QStringLiteral("AutoLogin")));
    EXPECT_TRUE(reread.LoadUserAccount().password.isEmpty());
}

} // namespace
} // namespace pavlora::test
