// The built program on the demo deployment: it starts with its real windows,
// the skinned splash and its step texts, enables its main window without a
// design error or a missing picture, and a second start while it runs ends
// at once.

#include "support/TestSandbox.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

bool CopyFolder(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files))
        if (!QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name))
            return false;
    for (const QString& name : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (!CopyFolder(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name))
            return false;
    return true;
}

TEST(ProgramTest, StartsOnTheDemoDeploymentAndRefusesASecondInstance)
{
    const QString folder = MakeFolder(QStringLiteral("program"));
    ASSERT_TRUE(QFile::copy(BuiltProgramFolder() + QStringLiteral("/pavlora"), folder + QStringLiteral("/pavlora")));
    ASSERT_TRUE(CopyFolder(BuiltProgramFolder() + QStringLiteral("/Data"), folder + QStringLiteral("/Data")));
    // Started as the launcher starts it (with the token), so the splash
    // shows; reports on stderr.
    WriteFile(folder + QStringLiteral("/Debug.cfg"), "EnableReportMsg=1\r\n");
    const QStringList token{QStringLiteral("k2m5")};

    QProcess program;
    program.setProcessChannelMode(QProcess::SeparateChannels);
    program.start(folder + QStringLiteral("/pavlora"), token);
    ASSERT_TRUE(program.waitForStarted(10000));
    QByteArray reports;
    const bool enabled = WaitUntil(
        [&] {
            program.waitForReadyRead(50);
            reports += program.readAllStandardError();
            return reports.contains("Main window enabled after") || program.state() == QProcess::NotRunning;
        },
        std::chrono::seconds(20));
    EXPECT_TRUE(enabled && reports.contains("Main window enabled after")) << reports.constData();
    EXPECT_FALSE(reports.contains("Design error")) << reports.constData();
    EXPECT_FALSE(reports.contains("Resource ")) << reports.constData(); // no missing picture

    QProcess second;
    second.start(folder + QStringLiteral("/pavlora"), token);
    EXPECT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(program.state(), QProcess::Running);

    program.kill();
    program.waitForFinished(5000);
}

} // namespace
} // namespace pavlora::test
