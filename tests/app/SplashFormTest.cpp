// The splash window: its step label, and that only its end time closes it.

#include "ui/SplashForm.h"
#include "support/TestSandbox.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

TEST(SplashFormTest, ShowsTheStepAndClosesItselfOnlyAtItsEndTime)
{
    TSplashForm splash(QStringLiteral("Pavlora"));
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

} // namespace
} // namespace pavlora::test
