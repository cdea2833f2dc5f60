#include "ToolProcess.h"

#include "support/TestSandbox.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

struct ToolCase {
    const char* name;
    QStringList arguments;
    int exitCode;
    const char* out; // exact stdout, or nullptr to check only that it is empty
};

class ErrorCommand : public ::testing::TestWithParam<ToolCase> { };

TEST_P(ErrorCommand, PrintsTheProgramsText)
{
    const ToolCase& c = GetParam();
    const ToolResult result = RunTool(c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
    if (c.out) {
        EXPECT_EQ(result.out, QByteArray(c.out));
        EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    } else {
        EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
        EXPECT_FALSE(result.err.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ErrorCommand,
    ::testing::Values(ToolCase{"NoError", {QStringLiteral("error"), QStringLiteral("0")}, 0, "Kein Fehler\n"},
        ToolCase{"Umlauts", {QStringLiteral("error"), QStringLiteral("400")}, 0,
            "Das Bild konnte nicht ge\xc3\xb6"
            "ffnet werden.\n"},
        ToolCase{"Verbose",
            {QStringLiteral("error"), QStringLiteral("118"), QStringLiteral("--detail"), QStringLiteral("x"),
                QStringLiteral("--context"), QStringLiteral("A.B"), QStringLiteral("--verbose")},
            0,
            "Kommunikationsproblem mit dem Server (Code 2099). Bitte versuchen Sie es sp\xc3\xa4ter noch "
            "einmal. [x] @A.B\n"},
        ToolCase{"UnknownCode",
            {QStringLiteral("error"), QStringLiteral("777"), QStringLiteral("--text"), QStringLiteral("abc")}, 0,
            "Fehler (Code 777): abc\n"},
        ToolCase{"TrailingBlankKept", {QStringLiteral("error"), QStringLiteral("46")}, 0,
            "Die Verbindung ins Internet ist nicht zustande gekommen. Bitte \xc3\xbc"
            "berpr\xc3\xbc"
            "fen Sie Ihre Netzwerkverbindung. \n"},
        ToolCase{"NegativeAfterDashes", {QStringLiteral("error"), QStringLiteral("--"), QStringLiteral("-3")}, 0,
            "Fehler (Code -3)\n"},
        ToolCase{"MalformedCode", {QStringLiteral("error"), QStringLiteral("4x")}, 2, nullptr},
        ToolCase{"CodeTooLarge", {QStringLiteral("error"), QStringLiteral("4294967296")}, 2, nullptr},
        ToolCase{"MissingCode", {QStringLiteral("error")}, 2, nullptr},
        ToolCase{"TwoCodes", {QStringLiteral("error"), QStringLiteral("1"), QStringLiteral("2")}, 2, nullptr},
        ToolCase{
            "UnknownOption", {QStringLiteral("error"), QStringLiteral("1"), QStringLiteral("--bogus")}, 2, nullptr},
        ToolCase{"UnknownCommand", {QStringLiteral("nosuch")}, 2, nullptr}),
    CaseName());

TEST(ToolHelp, DescribesTheToolAndEachCommand)
{
    const ToolResult tool = RunTool({QStringLiteral("--help")});
    EXPECT_EQ(tool.exitCode, 0);
    EXPECT_TRUE(tool.out.contains("Usage: pavlora-tool COMMAND"));
    EXPECT_TRUE(tool.out.contains("  error "));

    const ToolResult command = RunTool({QStringLiteral("error"), QStringLiteral("--help")});
    EXPECT_EQ(command.exitCode, 0);
    EXPECT_TRUE(command.out.startsWith("Usage: pavlora-tool error CODE"));
    EXPECT_TRUE(command.out.contains("--verbose"));
}

} // namespace
} // namespace pavlora::test
