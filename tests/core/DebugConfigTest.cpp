#include "core/DebugConfig.h"
#include "support/TestSandbox.h"

#include <QDir>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

struct DebugConfigCase {
    const char* name;
    const char* text;
    TDebugSwitches expected;
};

TDebugSwitches Missing()
{
    TDebugSwitches switches;
    switches.enableReportMsg = false;
    switches.enableReportLog = false;
    return switches;
}

TDebugSwitches With(void (*change)(TDebugSwitches&))
{
    TDebugSwitches switches = Missing();
    change(switches);
    return switches;
}

class DebugConfigParsing : public ::testing::TestWithParam<DebugConfigCase> { };

TEST_P(DebugConfigParsing, AppliesTheFileToTheDefaults)
{
    const DebugConfigCase& c = GetParam();
    EXPECT_EQ(ParseDebugConfig(QByteArray(c.text), TDebugSwitches()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Switches, DebugConfigParsing,
    ::testing::Values(DebugConfigCase{"Empty", "", Missing()},
        DebugConfigCase{"YesIsFalse", "DebugMode=yes", Missing()},
        DebugConfigCase{"OneIsTrue", "DebugMode=1", With([](TDebugSwitches& s) { s.debugMode = true; })},
        DebugConfigCase{"UpperTrue", "DebugMode=TRUE", With([](TDebugSwitches& s) { s.debugMode = true; })},
        DebugConfigCase{
            "NonZeroNumber", "DisableEncrypting= -2 ", With([](TDebugSwitches& s) { s.disableEncrypting = true; })},
        DebugConfigCase{"NameWithoutCase", "enablereportmsg=1\r\nENABLEREPORTLOG=true\r\n",
            With([](TDebugSwitches& s) { s.enableReportMsg = s.enableReportLog = true; })},
        DebugConfigCase{"FirstOfTwoLinesWins", "SaveInProgrammDir=1\nSaveInProgrammDir=0",
            With([](TDebugSwitches& s) { s.saveInProgrammDir = true; })},
        DebugConfigCase{"AllSwitches",
            "DebugMode=1\nReadAppDirIni=1\nEnableProtocolLog=1\nDisableEncrypting=1\n"
            "SaveInProgrammDir=1\nEnableReportMsg=0\nEnableReportLog=false",
            With([](TDebugSwitches& s) {
                s.debugMode = s.readAppDirIni = s.enableProtocolLog = s.disableEncrypting = true;
                s.saveInProgrammDir = true;
            })},
        DebugConfigCase{"SizeReplaced", "MaxReportLogSize=1000\nMaxProtocolLogSize= 2048 ", With([](TDebugSwitches& s) {
                            s.maxReportLogSize = 1000;
                            s.maxProtocolLogSize = 2048;
                        })},
        DebugConfigCase{"SizeNotANumberKept", "MaxProtocolLogSize=abc", Missing()},
        DebugConfigCase{"SizeNegativeKept", "MaxReportLogSize=-5", Missing()},
        DebugConfigCase{"SizeFractionKept", "MaxReportLogSize=1.5", Missing()}),
    CaseName());

TEST(DebugConfigFile, BeforeReadingReportsGoToBothDestinations)
{
    const TDebugSwitches initial;
    EXPECT_TRUE(initial.enableReportMsg);
    EXPECT_TRUE(initial.enableReportLog);
    EXPECT_EQ(initial.maxReportLogSize, 1000000000);
}

TEST(DebugConfigFile, MissingFileSwitchesEverythingOff)
{
    const QString folder = MakeFolder(QStringLiteral("nocfg"));
    SetDebugSwitches(TDebugSwitches());
    ReadDebugConfig(folder);
    EXPECT_EQ(DebugSwitches(), Missing());
    EXPECT_FALSE(IsDebugMode());
}

TEST(DebugConfigFile, ReadsTheProgramFolder)
{
    const QString folder = MakeFolder(QStringLiteral("cfg"));
    WriteFile(
        folder + QStringLiteral("/Debug.cfg"), "DebugMode=1\r\nDisableEncrypting=true\r\nMaxReportLogSize=500\r\n");
    ReadDebugConfig(folder);
    EXPECT_TRUE(IsDebugMode());
    EXPECT_TRUE(IsEncryptingDisabled());
    EXPECT_FALSE(IsReadAppDirIniEnabled());
    EXPECT_EQ(DebugSwitches().maxReportLogSize, 500);
}

TEST(DebugConfigFile, UnreadableFileSwitchesOffAndKeepsSizes)
{
    const QString folder = MakeFolder(QStringLiteral("unreadable"));
    TDebugSwitches before;
    before.debugMode = true;
    before.maxProtocolLogSize = 777;
    SetDebugSwitches(before);
    // A folder of that name exists but cannot be read as a file (also as root).
    QDir().mkpath(folder + QStringLiteral("/Debug.cfg"));
    ReadDebugConfig(folder);
    TDebugSwitches expected = Missing();
    expected.maxProtocolLogSize = 777;
    EXPECT_EQ(DebugSwitches(), expected);
}

TEST(BooleanText, AcceptsWordsAndNumbers)
{
    EXPECT_TRUE(ParseBooleanText(QStringLiteral(" True "), false));
    EXPECT_FALSE(ParseBooleanText(QStringLiteral("FALSE"), true));
    EXPECT_TRUE(ParseBooleanText(QStringLiteral("0.5"), false));
    EXPECT_FALSE(ParseBooleanText(QStringLiteral("0"), true));
    EXPECT_TRUE(ParseBooleanText(QStringLiteral("on"), true));
    EXPECT_FALSE(ParseBooleanText(QStringLiteral("nan"), false));
}

} // namespace
} // namespace pavlora::test
