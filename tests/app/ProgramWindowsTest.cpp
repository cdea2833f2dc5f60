// The program's windows on the application object: the price list and the
// settings dialog as the navigation opens them, on the demo deployment.

#include "app/ProgramWindows.h"
#include "app/QORApp.h"
#include "support/TestSandbox.h"
#include "ui/HtmlView.h"
#include "ui/PriceListDialog.h"
#include "ui/SettingsDialog.h"

#include "../catalogue/CatalogueFixtures.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace pavlora::test {
namespace {

constexpr int kSettings = 10;
constexpr int kPriceList = 11;

// Runs `answer` on the modal dialog of type T once it is shown.
template <class T>
void AnswerDialog(std::function<void(T&)> answer)
{
    QTimer::singleShot(0, [answer = std::move(answer)] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

class ProgramWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureImaging();
        options_.settingsSource.programFolder = BuiltProgramFolder();
        options_.settingsSource.debug.debugMode = true;
        options_.settingsSource.systemConfigFolder = MakeFolder(QStringLiteral("etc"));
    }

    TQORAppOptions options_;
    TProgramWindows windows_;
};

TEST_F(ProgramWindowsTest, ThePriceListShowsTheDeploymentsPricesAndTheirDate)
{
    TQORApp app(windows_);
    ASSERT_TRUE(app.Create(options_));
    ASSERT_TRUE(app.CanRunCommand(kPriceList));
    QString shown;
    AnswerDialog<TPriceListDialog>([&shown](TPriceListDialog& dialog) {
        shown = dialog.View()->toPlainText();
        dialog.reject();
    });
    EXPECT_TRUE(app.ExecuteCommand(kPriceList));
    EXPECT_TRUE(shown.contains(QStringLiteral("10 x 15"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Versandkosten pro Auftrag")));
    EXPECT_TRUE(shown.contains(
        QStringLiteral("Stand der Preisliste: ") + app.PriceListDate().toString(QStringLiteral("dd.MM.yyyy"))));
}

TEST_F(ProgramWindowsTest, TheSettingsDialogGivesTheLoginToTheUserRecord)
{
    TQORApp app(windows_);
    ASSERT_TRUE(app.Create(options_));
    app.CurrentUser().userId = QStringLiteral("4711"); // as a login left it
    AnswerDialog<TSettingsDialog>([](TSettingsDialog& dialog) {
        auto* login = qobject_cast<QLineEdit*>(dialog.Control(QStringLiteral("LoginName")));
        ASSERT_NE(login, nullptr);
        login->selectAll();
        QTest::keyClicks(login, QStringLiteral("anna@example.org"));
        dialog.Save();
        dialog.accept();
    });
    EXPECT_TRUE(app.ExecuteCommand(kSettings));
    EXPECT_EQ(app.CurrentUser().email, QStringLiteral("anna@example.org"));
    EXPECT_EQ(app.CurrentUser().userId, QStringLiteral("4711"));
}

} // namespace
} // namespace pavlora::test
