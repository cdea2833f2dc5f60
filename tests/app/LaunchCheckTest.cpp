// The hand-over to the launcher and the rules of the launch token.

#include "app/LaunchCheck.h"
#include "support/TestSandbox.h"

#include <QFile>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

struct LauncherCase {
    std::string name;
    QStringList programArguments;
    QStringList launcherArguments;
    QString logText;
};

class LauncherArgumentsTest : public ::testing::TestWithParam<LauncherCase> { };

TEST_P(LauncherArgumentsTest, TokenFirstThenTheProgramsArguments)
{
    const LauncherCase& c = GetParam();
    const QStringList arguments = LauncherArguments(c.programArguments);
    EXPECT_EQ(arguments, c.launcherArguments);
    EXPECT_EQ(LauncherArgumentText(arguments), c.logText);
}

INSTANTIATE_TEST_SUITE_P(Table, LauncherArgumentsTest,
    ::testing::Values(LauncherCase{"NoArguments", {}, {QStringLiteral("k2m5")}, QStringLiteral("k2m5")},
        LauncherCase{"PlainSwitch", {QStringLiteral("-PRINTS")}, {QStringLiteral("k2m5"), QStringLiteral("-PRINTS")},
            QStringLiteral("k2m5 -PRINTS")},
        LauncherCase{"FolderWithBlank", {QStringLiteral("-D"), QStringLiteral("/home/anna/My Pictures")},
            {QStringLiteral("k2m5"), QStringLiteral("-D"), QStringLiteral("/home/anna/My Pictures")},
            QStringLiteral("k2m5 -D \"/home/anna/My Pictures\"")},
        LauncherCase{"QuotesAndSemicolonsStayOneArgument", {QStringLiteral("a;b \"c\"")},
            {QStringLiteral("k2m5"), QStringLiteral("a;b \"c\"")}, QStringLiteral("k2m5 \"a;b \"c\"\"")},
        LauncherCase{"TokenAsLaterArgumentIsPassedOn", {QStringLiteral("-dd"), QStringLiteral("k2m5")},
            {QStringLiteral("k2m5"), QStringLiteral("-dd"), QStringLiteral("k2m5")}, QStringLiteral("k2m5 -dd k2m5")}),
    CaseName());

struct TokenCase {
    std::string name;
    QStringList arguments;
    bool debugMode;
    bool proceeds;
    QStringList programArguments; // when it proceeds
};

class LaunchTokenTest : public ::testing::TestWithParam<TokenCase> { };

TEST_P(LaunchTokenTest, WithoutTheTokenTheLauncherIsStartedAndTheProgramEnds)
{
    const TokenCase& c = GetParam();
    const QString folder = MakeFolder(QStringLiteral("program"));
    const QString leftover = folder + QStringLiteral("/vovozevezar.pak");
    WriteFile(leftover, "old package");

    QStringList started;
    QStringList startedArguments;
    const TLaunchCheckResult result
        = RunLaunchCheck(folder, c.arguments, c.debugMode, [&](const QString& program, const QStringList& arguments) {
              started.append(program);
              startedArguments = arguments;
              return true;
          });

    EXPECT_EQ(result.proceed, c.proceeds);
    if (c.proceeds) {
        EXPECT_TRUE(started.isEmpty());
        EXPECT_EQ(result.arguments, c.programArguments);
        EXPECT_FALSE(QFile::exists(leftover));
    } else {
        EXPECT_EQ(started, QStringList{folder + QStringLiteral("/Loader")});
        EXPECT_EQ(startedArguments, LauncherArguments(c.arguments));
        // The process that hands over leaves the program folder alone.
        EXPECT_TRUE(QFile::exists(leftover));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, LaunchTokenTest,
    ::testing::Values(TokenCase{"NoArguments", {}, false, false, {}},
        TokenCase{"TokenFirst", {QStringLiteral("k2m5"), QStringLiteral("-PRINTS")}, false, true,
            {QStringLiteral("-PRINTS")}},
        TokenCase{"TokenNotFirst", {QStringLiteral("-PRINTS"), QStringLiteral("k2m5")}, false, false, {}},
        TokenCase{"TokenInOtherCase", {QStringLiteral("K2M5")}, false, false, {}},
        TokenCase{"DebugModeWithoutToken", {QStringLiteral("-TEASER")}, true, true, {QStringLiteral("-TEASER")}},
        TokenCase{"DebugModeTakesTheTokenOff", {QStringLiteral("k2m5"), QStringLiteral("-dd")}, true, true,
            {QStringLiteral("-dd")}}),
    CaseName());

TEST(LaunchCheckTest, ALauncherThatCannotStartStillEndsTheProgram)
{
    const QString folder = MakeFolder(QStringLiteral("program"));
    const TLaunchCheckResult result
        = RunLaunchCheck(folder, {}, false, [](const QString&, const QStringList&) { return false; });
    EXPECT_FALSE(result.proceed);
}

} // namespace
} // namespace pavlora::test
