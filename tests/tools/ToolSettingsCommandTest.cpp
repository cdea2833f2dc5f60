#include "ToolProcess.h"

#include "core/SystemConfig.h"
#include "support/TestSandbox.h"

#include <QDir>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

QStringList Settings(const QStringList& arguments)
{
    return QStringList{QStringLiteral("settings")} + arguments;
}

// An installation with a chosen language, a region and values that show
// the layering: the folder of the program.
QString MakeLanguageInstallation()
{
    const QString program = MakeFolder(QStringLiteral("program"));
    WriteFile(program + QStringLiteral("/AppIni.dat"),
        "<ini><apptitle>Pavlora</apptitle><Zeta>1</Zeta><removed>x</removed>"
        "<LoadLanguageFiles>true</LoadLanguageFiles></ini>");
    WriteFile(program + QStringLiteral("/Data/AppIni.dat"),
        "<ini><ZETA>2</ZETA><removed/><alpha>line one\nline two</alpha><zipmode>Numeric</zipmode></ini>");
    WriteFile(program + QStringLiteral("/Data/AppRgn.dat"),
        "<regions><region ext=\"DEU\"><zip zipmode=\"AlphaNum\" ziplength=\"\"/></region></regions>");
    WriteFile(program + QStringLiteral("/Data.DEU/AppIni.dat"), "<ini><Beta>deu</Beta></ini>");
    return program;
}

TEST(SettingsCommand, ShowsTheMergedSettingsAndFolders)
{
    const QString program = MakeLanguageInstallation();
    const ToolResult shown = RunTool(Settings({QStringLiteral("show"), QStringLiteral("--program"), program}));
    EXPECT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(shown.out),
        QStringLiteral("alpha=line one\\nline two\napptitle=Pavlora\nBeta=deu\nLoadLanguageFiles=true\nZETA=2\n"
                       "zipmode=Numeric\n{Data}=%1/Data\n{DataLng}=%1/Data.DEU\n")
            .arg(program));
}

struct GetCase {
    std::string name;
    const char* setting;
    const char* printed;
};

class SettingsGet : public ::testing::TestWithParam<GetCase> { };

// One value, names without regard to case; the region's attributes win for
// the postcode rules, even when empty.
TEST_P(SettingsGet, PrintsOneValue)
{
    const QString program = MakeLanguageInstallation();
    const ToolResult got = RunTool(
        Settings({QStringLiteral("get"), QStringLiteral("--program"), program, QLatin1String(GetParam().setting)}));
    EXPECT_EQ(got.exitCode, 0) << got.err.toStdString();
    EXPECT_EQ(got.out, QByteArray(GetParam().printed));
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsGet,
    ::testing::Values(GetCase{"LastLayerWins", "zeta", "2\n"}, GetCase{"Absent", "removed", "\n"},
        GetCase{"Escaped", "ALPHA", "line one\\nline two\n"}, GetCase{"Region", "ZipMode", "AlphaNum\n"},
        GetCase{"EmptyRegionValue", "ziplength", "\n"}),
    CaseName());

TEST(SettingsCommand, FindsTheDataFolderOfTheSystemConfiguration)
{
    const QString program = MakeFolder(QStringLiteral("program"));
    const QString data = MakeFolder(QStringLiteral("srv/Data"));
    WriteFile(program + QStringLiteral("/AppIni.dat"), "<ini><datafolderregkey>Vovo\\Pavlora</datafolderregkey></ini>");
    WriteFile(SystemConfigFile(SystemConfigFolder()), "[Vovo\\Pavlora]\nDataFolder=" + data.toUtf8() + "\n");

    const ToolResult shown = RunTool(Settings({QStringLiteral("show"), QStringLiteral("--program"), program}));
    EXPECT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(shown.out),
        QStringLiteral("datafolderregkey=Vovo\\Pavlora\n{Data}=%1\n{DataLng}=\n").arg(data));
}

TEST(SettingsCommand, FailsWithTheProgramsTextOrUsage)
{
    const QString program = MakeFolder(QStringLiteral("empty"));
    const ToolResult missing = RunTool(Settings({QStringLiteral("show"), QStringLiteral("--program"), program}));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_EQ(missing.err, "Data-Folder could not be located.\n");

    EXPECT_EQ(RunTool(Settings({QStringLiteral("show")})).exitCode, 2);
    EXPECT_EQ(RunTool(Settings({QStringLiteral("get"), QStringLiteral("--program"), program})).exitCode, 2);
    EXPECT_EQ(RunTool(Settings({QStringLiteral("list"), QStringLiteral("--program"), program})).exitCode, 2);
}

} // namespace
} // namespace pavlora::test
