// The splash window: its step label, that only its end time closes it, and
// its skin.

#include "ui/SplashForm.h"
#include "ui/ECLabel.h"
#include "ui/SkinFixture.h"

#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

TEST(SplashFormTest, ShowsTheStepAndClosesItselfOnlyAtItsEndTime)
{
    TSplashForm splash(QStringLiteral("Pavlora"));
    EXPECT_FALSE(splash.Skinned());
    EXPECT_FALSE(splash.HasVisibleStepLabel()); // not shown yet: steps do nothing
    splash.Show();
    ASSERT_TRUE(splash.HasVisibleStepLabel());
    splash.SetStepText(QStringLiteral("Lesen der Produktdaten..."));
    EXPECT_EQ(
        splash.findChild<QLabel*>(QStringLiteral("StepLabel"))->text(), QStringLiteral("Lesen der Produktdaten..."));

    // The customer cannot close it.
    EXPECT_FALSE(splash.close());
    EXPECT_TRUE(splash.isVisible());

    // A hidden step label makes the steps do nothing.
    splash.StepLabel()->hide();
    EXPECT_FALSE(splash.HasVisibleStepLabel());

    int closed = 0;
    splash.CloseAt(0, [&closed] { ++closed; }); // the end time has passed
    EXPECT_TRUE(WaitUntil([&] { return closed == 1; }));
    EXPECT_FALSE(splash.isVisible());
}

TEST(SplashFormTest, StepsAsideWhileAQuestionIsOpen)
{
    TSplashForm splash(QStringLiteral("Pavlora"));
    splash.Show();
    bool hiddenDuringQuestion = true;
    QMessageBox question(QMessageBox::Warning, QString(), QStringLiteral("Style does not exist."), QMessageBox::Yes);
    QTimer::singleShot(0, [&] {
        hiddenDuringQuestion = !splash.isVisible();
        EXPECT_FALSE(splash.HasVisibleStepLabel()); // no step texts meanwhile
        question.done(QMessageBox::Yes);
    });
    question.exec();
    EXPECT_TRUE(hiddenDuringQuestion);
    EXPECT_TRUE(splash.isVisible());

    // Once it has closed, a question no longer brings it back.
    splash.CloseAt(0, [] {});
    EXPECT_TRUE(WaitUntil([&] { return !splash.isVisible(); }));
    QTimer::singleShot(0, [&] { question.done(QMessageBox::Yes); });
    question.exec();
    EXPECT_FALSE(splash.isVisible());
}

class SkinnedSplashTest : public SkinFixture { };

TEST_F(SkinnedSplashTest, TakesItsPictureSizeAndStepLabelFromTheDeployment)
{
    WriteDesign("<font style=\"Step\" name=\"Arial\" size=\"9\" color=\"$FFFFFF\"/>\n"
                "<panel style=\"Splash\" fill_style=\"image\" back_image_id=\"Splash/Splash.png\"/>\n"
                "<label style=\"SplashStep\" font=\"Step\"/>\n",
        "<form name=\"TSplashForm\" width=\"400\" height=\"240\">\n"
        "  <control name=\"StepLabel\" visible=\"true\" left=\"10\" top=\"200\" width=\"380\" height=\"20\"/>\n"
        "</form>\n");
    WriteFile(program_ + QStringLiteral("/Splash/Splash.png"), SolidPng(400, 240, QColor(0x20, 0xA0, 0x40)));
    StartSkin();

    TSplashForm splash(QStringLiteral("Pavlora"));
    splash.Show();
    EXPECT_TRUE(splash.Skinned());
    EXPECT_EQ(splash.size(), QSize(400, 240));
    EXPECT_EQ(splash.StepLabel()->geometry(), QRect(10, 200, 380, 20));
    EXPECT_EQ(splash.StepLabel()->StyleName(), QStringLiteral("SplashStep"));
    EXPECT_TRUE(splash.HasVisibleStepLabel());
    const QImage shown = splash.grab().toImage();
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(0x20, 0xA0, 0x40)); // the deployment's picture
}

TEST_F(SkinnedSplashTest, ADesignThatHidesTheStepLabelTurnsTheStepsOff)
{
    WriteDesign("<panel style=\"Splash\" color=\"$402010\"/>\n",
        "<form name=\"TSplashForm\">\n  <control name=\"StepLabel\" visible=\"false\"/>\n</form>\n");
    StartSkin();

    TSplashForm splash(QStringLiteral("Pavlora"));
    splash.Show();
    EXPECT_FALSE(splash.HasVisibleStepLabel());
    EXPECT_EQ(splash.grab().toImage().pixelColor(5, 5), QColor(0x10, 0x20, 0x40));
}

TEST_F(SkinnedSplashTest, TakesTheSkinOnceTheDesignsAreReadAgain)
{
    // At first (before the settings named the data folder) no splash style.
    WriteDesign("<panel style=\"Other\" color=\"$FFFFFF\"/>\n");
    StartSkin();
    TSplashForm splash(QStringLiteral("Pavlora"));
    splash.Show();
    EXPECT_FALSE(splash.Skinned());

    WriteDesign("<panel style=\"Splash\" color=\"$402010\"/>\n");
    manager_->ReloadDesigns();
    EXPECT_TRUE(splash.Skinned());
    EXPECT_EQ(splash.grab().toImage().pixelColor(5, 5), QColor(0x10, 0x20, 0x40));
}

} // namespace
} // namespace pavlora::test
