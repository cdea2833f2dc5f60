#include "ToolProcess.h"

#include "support/TestSandbox.h"

#include <QImage>
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

QString WriteHandOverFile(
    const QString& folder, const QString& name, const char* quantities, const char* products, const char* originalName)
{
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    EXPECT_TRUE(image.save(folder + QStringLiteral("/a.jpg"), "JPEG"));
    const QString path = folder + QLatin1Char('/') + name;
    WriteFile(path,
        QByteArray("[General]\r\nAccount=0\r\nItems=1\r\n[0]\r\nItems=2\r\nQuantity=") + quantities
            + "\r\nProduct=" + products + "\r\nFilename=a.jpg\r\nOrigFilename=" + originalName + "\r\n");
    return path;
}

} // namespace pavlora::test
