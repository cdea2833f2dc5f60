#pragma once

#include "core/AppFolders.h"
#include "core/DebugConfig.h"
#include "core/Logger.h"
#include "support/TestSandbox.h"

#include <QDir>
#include <QStringList>

#include <gtest/gtest.h>

namespace pavlora::test {

// Starts every test with the switches of a run without Debug.cfg, an empty
// log folder and the next report being the first of the run.
class LogTestFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        programFolder_ = MakeFolder(QStringLiteral("program"));
        AppFolders::SetProgramFolder(programFolder_);
        ReadDebugConfig(programFolder_);
        QDir(AppFolders::UserLogFolder()).removeRecursively();
        ResetFirstReport();
    }

    static QString ReportLogPath() { return AppFolders::UserLogFolder() + QStringLiteral("/Reports.log"); }
    static QString ProtocolLogPath() { return AppFolders::UserLogFolder() + QStringLiteral("/Protocol.log"); }

    // The lines of a log, without their CR LF; fails the test on a line
    // that does not end with CR LF.
    static QStringList LogLines(const QString& path)
    {
        const QByteArray bytes = ReadFile(path);
        QStringList lines;
        qsizetype start = 0;
        while (start < bytes.size()) {
            const qsizetype end = bytes.indexOf("\r\n", start);
            if (end < 0) {
                ADD_FAILURE() << "unterminated line: " << bytes.mid(start).toStdString();
                break;
            }
            lines.append(QString::fromUtf8(bytes.mid(start, end - start)));
            start = end + 2;
        }
        return lines;
    }

    QString programFolder_;
};

} // namespace pavlora::test
