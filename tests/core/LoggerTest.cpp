#include "LogTestFixture.h"

#include "core/ThreadId.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <thread>
#include <vector>

namespace pavlora::test {
namespace {

using LoggerTest = LogTestFixture;

const QString kStamp = QStringLiteral(R"(\[\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\]: )");

TEST_F(LoggerTest, FirstReportOfTheRunWritesTheHeaderLineFirst)
{
    ReportMessage(QStringLiteral("Hallo Bericht äöü"));
    ReportMessage(QStringLiteral("zweiter"));

    const QStringList lines = LogLines(ReportLogPath());
    ASSERT_EQ(lines.size(), 3);
    const QString thread = QStringLiteral("Thread: %1  ").arg(CurrentThreadId());
    const QRegularExpression first(
        QStringLiteral("^") + kStamp + QRegularExpression::escape(thread) + QStringLiteral("First app log -{28}$"));
    EXPECT_TRUE(first.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(QRegularExpression(
        QStringLiteral("^") + kStamp + QRegularExpression::escape(thread) + QStringLiteral("Hallo Bericht äöü$"))
                    .match(lines[1])
                    .hasMatch())
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("  zweiter")));

    // The folder and the files are the user's own.
    EXPECT_EQ(QFileInfo(AppFolders::UserLogFolder()).permissions() & 0x0077, 0);
    EXPECT_EQ(QFileInfo(ReportLogPath()).permissions() & 0x0077, 0);
}

TEST_F(LoggerTest, HelpersFormatTheirText)
{
    ReportNumber(-42);
    ReportNumbers(QStringLiteral("Werte:"), {1, 22, 333});
    ReportThread(4711, QStringLiteral("Name Thread start"));
    ReportMessage(QStringLiteral("mit Kategorie"), QStringLiteral("IV"));

    const QStringList lines = LogLines(ReportLogPath());
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("  -42")));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("  Werte: 1 22 333")));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("  Thread ID: 4711 is reporting: Name Thread start")));
}

struct RoutingCase {
    const char* name;
    const char* debugCfg;
    bool toLog;
    bool toStderr;
};

class ReportRouting : public LogTestFixture, public ::testing::WithParamInterface<RoutingCase> { };

TEST_P(ReportRouting, FollowsTheSwitches)
{
    WriteFile(programFolder_ + QStringLiteral("/Debug.cfg"), GetParam().debugCfg);
    ReadDebugConfig(programFolder_);
    ::testing::internal::CaptureStderr();
    ReportMessage(QStringLiteral("unterwegs"));
    const std::string err = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(QFileInfo::exists(ReportLogPath()), GetParam().toLog);
    EXPECT_EQ(err.find("  unterwegs\n") != std::string::npos, GetParam().toStderr) << err;
}

INSTANTIATE_TEST_SUITE_P(Switches, ReportRouting,
    ::testing::Values(RoutingCase{"NoDebugCfg", "", true, false},
        RoutingCase{"MsgOnly", "EnableReportMsg=1", false, true},
        RoutingCase{"MsgAndLog", "EnableReportMsg=1\nEnableReportLog=1", true, true},
        RoutingCase{"LogWithoutMsg", "EnableReportLog=1", true, false}),
    CaseName());

TEST_F(LoggerTest, ProtocolLogOnlyWhenEnabledAndWithoutThreadPrefix)
{
    ReportProtocol(QStringLiteral("<request/>"));
    EXPECT_FALSE(QFileInfo::exists(ProtocolLogPath()));

    WriteFile(programFolder_ + QStringLiteral("/Debug.cfg"), "EnableProtocolLog=1");
    ReadDebugConfig(programFolder_);
    ReportProtocol(QStringLiteral("<request/>"));
    const QStringList lines = LogLines(ProtocolLogPath());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^") + kStamp + QStringLiteral("<request/>$")).match(lines[0]).hasMatch())
        << lines[0].toStdString();
}

TEST_F(LoggerTest, SaveInProgramFolderWritesBesideTheProgram)
{
    WriteFile(programFolder_ + QStringLiteral("/Debug.cfg"), "SaveInProgrammDir=1");
    ReadDebugConfig(programFolder_);
    ReportMessage(QStringLiteral("hier"));
    EXPECT_TRUE(QFileInfo::exists(programFolder_ + QStringLiteral("/Reports.log")));
    EXPECT_FALSE(QFileInfo::exists(ReportLogPath()));
}

TEST_F(LoggerTest, AnUnwritableLogFolderDropsTheLineWithoutThrowing)
{
    // The state folder lies below a plain file, so it cannot be created
    // (which holds for root too).
    const QString blocker = MakeFolder(QStringLiteral("blocked")) + QStringLiteral("/file");
    WriteFile(blocker, "x");
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(blocker));
    ::testing::internal::CaptureStderr();
    EXPECT_NO_THROW(ReportMessage(QStringLiteral("verloren")));
    EXPECT_FALSE(TLogger(QStringLiteral("Reports.log"), 1000).Append(QStringLiteral("verloren")));
    ::testing::internal::GetCapturedStderr();
    qputenv("XDG_STATE_HOME", saved);
}

// A log of `count` lines "LNNN" + padding, each `lineLength` bytes with CR LF.
QByteArray NumberedLines(int count, int lineLength)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        const QByteArray line = QByteArray(QByteArray("L") + QByteArray::number(i).rightJustified(3, '0'))
                                    .leftJustified(lineLength - 2, '.');
        bytes += line + "\r\n";
    }
    return bytes;
}

TEST_F(LoggerTest, TrimKeepsTheNewestWholeLinesAtThreeQuartersOfTheMaximum)
{
    const QString path = MakeFolder(QStringLiteral("trim")) + QStringLiteral("/Reports.log");
    const QByteArray original = NumberedLines(101, 10); // 1010 bytes
    WriteFile(path, original);

    ASSERT_TRUE(TLogger::Trim(path, 1000));

    const QByteArray trimmed = ReadFile(path);
    EXPECT_LE(trimmed.size(), 750);
    EXPECT_GT(trimmed.size(), 700);
    EXPECT_TRUE(original.endsWith(trimmed));
    EXPECT_TRUE(trimmed.startsWith("L")) << "starts mid-line";
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".rewritten")));
    EXPECT_EQ(QFileInfo(path).permissions() & 0x0077, 0);
}

TEST_F(LoggerTest, TrimLeavesASmallEnoughLogAlone)
{
    const QString path = MakeFolder(QStringLiteral("small")) + QStringLiteral("/Reports.log");
    const QByteArray original = NumberedLines(100, 10);
    WriteFile(path, original);
    ASSERT_TRUE(TLogger::Trim(path, 1000));
    EXPECT_EQ(ReadFile(path), original);
}

TEST_F(LoggerTest, TrimDropsALineLongerThanTheMaximum)
{
    const QString path = MakeFolder(QStringLiteral("long")) + QStringLiteral("/Reports.log");
    WriteFile(path, QByteArray(2000, 'x') + "\r\n");
    ASSERT_TRUE(TLogger::Trim(path, 1000));
    EXPECT_TRUE(ReadFile(path).isEmpty());
}

TEST_F(LoggerTest, AppendTrimsWhenTheLogGrowsBeyondItsMaximum)
{
    WriteFile(programFolder_ + QStringLiteral("/Debug.cfg"), "MaxReportLogSize=1000");
    ReadDebugConfig(programFolder_);
    for (int i = 0; i < 100; ++i)
        ReportMessage(QStringLiteral("Meldung %1").arg(i));
    const QStringList lines = LogLines(ReportLogPath());
    EXPECT_LE(ReadFile(ReportLogPath()).size(), 1000);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("Meldung 99")));
}

// Lines of several threads never interleave, also while the log is trimmed.
class ConcurrentReports : public LogTestFixture, public ::testing::WithParamInterface<int> { };

TEST_P(ConcurrentReports, WriteWholeLines)
{
    const int maxSize = GetParam();
    WriteFile(programFolder_ + QStringLiteral("/Debug.cfg"), "MaxReportLogSize=" + QByteArray::number(maxSize));
    ReadDebugConfig(programFolder_);
    constexpr int kThreads = 8;
    constexpr int kReports = 250;
    const QString payload(120, QLatin1Char('p'));
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &payload] {
            for (int i = 0; i < kReports; ++i)
                ReportMessage(QStringLiteral("T%1 N%2 ").arg(t).arg(i) + payload + QStringLiteral(" end"));
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    const QRegularExpression whole(
        QStringLiteral("^") + kStamp + QStringLiteral(R"(Thread: \d+  (First app log -{28}|T\d N\d+ p{120} end)$)"));
    const QStringList lines = LogLines(ReportLogPath());
    for (const QString& line : lines)
        ASSERT_TRUE(whole.match(line).hasMatch()) << "torn line: " << line.toStdString();
    if (maxSize >= 100000000) {
        EXPECT_EQ(lines.size(), kThreads * kReports + 1);
    } else {
        EXPECT_LE(ReadFile(ReportLogPath()).size(), maxSize);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ConcurrentReports, ::testing::Values(1000000000, 20000));

} // namespace
} // namespace pavlora::test
