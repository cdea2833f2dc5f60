// Design errors in the desktop's warning box: the three answers, and no box
// off the UI thread.

#include "ui/UiSkinReporter.h"
#include "skin/DesignErrors.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

#include <thread>

namespace pavlora::test {
namespace {

struct AnswerCase {
    std::string name;
    QMessageBox::StandardButton pressed;
    bool raises;
    bool reportsLater;
};

class DesignErrorAnswerTest : public ::testing::TestWithParam<AnswerCase> { };

TEST_P(DesignErrorAnswerTest, TheAnswerDecidesWhatFollows)
{
    const AnswerCase& c = GetParam();
    QStringList shown;
    QList<QMessageBox::StandardButtons> buttons;
    TUiSkinReporter reporter([&](QMessageBox& box) {
        shown.append(box.text());
        buttons.append(box.standardButtons());
        EXPECT_EQ(box.icon(), QMessageBox::Warning);
        return c.pressed;
    });
    TDesignErrors errors(reporter);
    const QString text = QStringLiteral("Style \"Nav\" of class \"button\" does not exist.");
    if (c.raises)
        EXPECT_THROW(errors.Report(text), EDesignError);
    else
        EXPECT_NO_THROW(errors.Report(text));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().startsWith(text));
    EXPECT_TRUE(shown.front().endsWith(QStringLiteral("might crash the application)?")));
    EXPECT_EQ(buttons.front(), QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll);

    try {
        errors.Report(QStringLiteral("Node table has no style."));
    } catch (const EDesignError&) {
    }
    EXPECT_EQ(shown.size(), c.reportsLater ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Answers, DesignErrorAnswerTest,
    ::testing::Values(AnswerCase{"Yes", QMessageBox::Yes, false, true},
        AnswerCase{"YesToAll", QMessageBox::YesToAll, false, false}, AnswerCase{"No", QMessageBox::No, true, true},
        AnswerCase{"ClosedWithoutAnswer", QMessageBox::Escape, false, true}),
    [](const auto& param) { return param.param.name; });

TEST(UiSkinReporterTest, AWorkerGetsNoBox)
{
    int boxes = 0;
    TUiSkinReporter reporter([&](QMessageBox&) {
        ++boxes;
        return QMessageBox::No;
    });
    TDesignErrorAnswer answer = TDesignErrorAnswer::Raise;
    std::thread worker([&] {
        answer = reporter.AskDesignError(QStringLiteral("Unknown style class"));
        reporter.ShowWarning(QStringLiteral("Resource Icons/Up.png is empty."));
    });
    worker.join();
    EXPECT_EQ(answer, TDesignErrorAnswer::Ignore);
    EXPECT_EQ(boxes, 0);

    reporter.ShowWarning(QStringLiteral("Resource Icons/Up.png is empty."));
    EXPECT_EQ(boxes, 1);
}

} // namespace
} // namespace pavlora::test
