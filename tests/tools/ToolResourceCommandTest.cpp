#include "ToolProcess.h"

#include "support/TestSandbox.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

TEST(ResourceFind, PrintsTheServingFileOrTheNotFoundText)
{
    const QString program = MakeFolder(QStringLiteral("program"));
    WriteFile(program + QStringLiteral("/Data/Images/Logo.png"), "png");
    WriteFile(program + QStringLiteral("/Data.DEU/Help/a.htm"), "htm");
    WriteFile(program + QStringLiteral("/Help/a.htm"), "htm");

    const ToolResult found = RunTool({QStringLiteral("resource"), QStringLiteral("find"), QStringLiteral("--program"),
        program, QStringLiteral("images\\logo.PNG")});
    EXPECT_EQ(found.exitCode, 0) << found.err.toStdString();
    EXPECT_EQ(found.out, (program + QStringLiteral("/Data/Images/Logo.png\n")).toUtf8());

    const ToolResult language
        = RunTool({QStringLiteral("resource"), QStringLiteral("find"), QStringLiteral("--program"), program,
            QStringLiteral("--lang"), QStringLiteral("DEU"), QStringLiteral("Help/a.htm")});
    EXPECT_EQ(language.out, (program + QStringLiteral("/Data.DEU/Help/a.htm\n")).toUtf8());

    for (const char* name : {"Images/none.png", "../program/Help/a.htm"}) {
        const ToolResult missing = RunTool({QStringLiteral("resource"), QStringLiteral("find"),
            QStringLiteral("--program"), program, QLatin1String(name)});
        EXPECT_EQ(missing.exitCode, 1);
        EXPECT_TRUE(missing.out.isEmpty());
        EXPECT_EQ(missing.err, QByteArray("Resource ") + name + " not found.\n");
    }

    EXPECT_EQ(RunTool({QStringLiteral("resource"), QStringLiteral("find"), QStringLiteral("x")}).exitCode, 2);
}

} // namespace
} // namespace pavlora::test
