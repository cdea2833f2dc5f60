#include "../skin/ScriptedSkinReporter.h"

#include "core/AppSettings.h"
#include "skin/ECResourceManager.h"
#include "skin/StyleRegistry.h"
#include "support/TestSandbox.h"
#include "ui/ECButton.h"
#include "ui/ECLabel.h"
#include "ui/ECPanel.h"
#include "ui/FormInfoBox.h"
#include "ui/MainForm.h"
#include "ui/Skin.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

// Every style a window names exists in the demo deployment's designs, and
// every picture its buttons name for any state is there, so that a clean
// start shows no design error and no missing picture.
class DemoSkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(BuiltProgramFolder().isEmpty());
        manager_ = std::make_unique<TECResourceManager>(reporter_);
        manager_->SetProgramFolder(BuiltProgramFolder());
        manager_->SetDataFolder(BuiltProgramFolder() + QStringLiteral("/Data"));
        manager_->EnableDesignReload();
        manager_->ReloadDesigns();
        Skin::SetResourceManager(manager_.get());
    }
    void TearDown() override
    {
        TFormInfoBox::SetAnswerer({});
        Skin::SetResourceManager(nullptr);
    }

    void ExpectSkinned(const QWidget& window)
    {
        const auto styles = manager_->Styles();
        ASSERT_NE(styles, nullptr);
        const auto expectStyle = [&](const char* className, const QString& name, const QWidget& control) {
            if (name.isEmpty())
                return;
            EXPECT_TRUE(styles->StyleNames(QLatin1String(className)).contains(name, Qt::CaseInsensitive))
                << className << " style " << name.toStdString() << " of " << control.objectName().toStdString();
        };
        for (const TECButton* button : window.findChildren<TECButton*>()) {
            expectStyle("button", button->StyleName(), *button);
            for (int state = TECButton::Up; state <= TECButton::Disabled; ++state) {
                for (const QString& picture : {button->BackgroundPictureName(TECButton::TState(state)),
                         button->IndivPictureName(TECButton::TState(state))}) {
                    if (!picture.isEmpty()) {
                        EXPECT_TRUE(manager_->ResourceExists(picture)) << picture.toStdString();
                    }
                }
            }
        }
        for (const TECPanel* panel : window.findChildren<TECPanel*>())
            expectStyle("panel", panel->StyleName(), *panel);
        for (const TECLabel* label : window.findChildren<TECLabel*>())
            expectStyle("label", label->StyleName(), *label);
    }

    TScriptedSkinReporter reporter_;
    std::unique_ptr<TECResourceManager> manager_;
};

TEST_F(DemoSkinTest, MainWindowAndMessageBoxFindEveryStyleAndPicture)
{
    EXPECT_GT(manager_->Styles()->StyleCount(), 0);
    TMainForm form{TAppSettings()};
    form.Create();
    ExpectSkinned(form);
    EXPECT_TRUE(manager_->ResourceExists(QStringLiteral("Headlines/Logo1.png")));
    EXPECT_TRUE(manager_->ResourceExists(QStringLiteral("Splash/Splash.png")));
    ASSERT_TRUE(manager_->FormConfiguration(QStringLiteral("TSplashForm")).has_value());
    EXPECT_NE(
        manager_->FormConfiguration(QStringLiteral("TSplashForm"))->Control(QStringLiteral("StepLabel")), nullptr);

    bool checked = false;
    TFormInfoBox::SetAnswerer([&](TFormInfoBox& box) {
        ExpectSkinned(box);
        checked = true;
        box.close();
    });
    TMessageBoxRequest request;
    request.buttons = {bYes, bNo, bUpdate, bCancel};
    for (const MessageKind kind : {MessageKind::Warning, MessageKind::Error, MessageKind::Information,
             MessageKind::Confirmation, MessageKind::Hint}) {
        request.kind = kind;
        EXPECT_EQ(form.ShowMessageBox(request), MessageResult::Cancel);
    }
    EXPECT_TRUE(checked);
    EXPECT_TRUE(reporter_.designErrors.isEmpty()) << reporter_.designErrors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(reporter_.warnings.isEmpty()) << reporter_.warnings.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(reporter_.errors.isEmpty());
}

TEST_F(DemoSkinTest, HelpPagesOpen)
{
    EXPECT_TRUE(manager_->ResourceExists(QStringLiteral("Help/index.html")));
}

} // namespace
} // namespace pavlora::test
