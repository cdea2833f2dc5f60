#include "ToolProcess.h"

#include "support/TestSandbox.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace pavlora::test {

ToolResult RunTool(const QStringList& arguments)
{
    QProcess process;
    process.start(BuiltProgramFolder() + QStringLiteral("/pavlora-tool"), arguments);
    ToolResult result;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "pavlora-tool did not finish: " << process.errorString().toStdString();
        process.kill();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

} // namespace pavlora::test
