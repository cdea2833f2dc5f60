#include "core/AppSettingsLoader.h"

#include "SettingsFixtures.h"
#include "core/DataKey.h"
#include "core/DataStream.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"
#include "core/SystemConfig.h"
#include "core/XMLUtils2.h"
#include "data/DataFixtures.h"
#include "support/TestSandbox.h"

#include <QDir>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

// The short XOR variant, built by the definition of the transform.
QByteArray XorStored(const QByteArray& plain, const char* key)
{
    return QByteArray("KTBr") + XorByDefinition(plain, QByteArray(key));
}

TAppSettingsSource Source(const QString& program, bool debugMode = false, bool readAppDirIni = false)
{
    TAppSettingsSource source;
    source.programFolder = program;
    source.debug.debugMode = debugMode;
    source.debug.readAppDirIni = readAppDirIni;
    source.systemConfigFolder = SystemConfigFolder();
    return source;
}

class AppSettingsLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { program_ = MakeFolder(QStringLiteral("program")); }
    void TearDown() override
    {
        ClearPathPlaceholders();
        ResetGlobalDataKey();
    }
    QString File(const char* relative) const { return program_ + QLatin1Char('/') + QLatin1String(relative); }

    QString program_;
};

// Five layers, each overriding the ones before it; the data folder's layer
// is encrypted with the built-in key, the language layers and AppRgn.dat
// with "GlobalXOrKey"; an empty element removes a setting.
TEST_F(AppSettingsLoaderTest, MergesTheLayersInOrderWithTheirKeys)
{
    WriteFile(File("AppIni.dat"),
        IniText({{"a", "program"}, {"b", "program"}, {"keep", "program"}, {"mixed", "program"},
            {"LoadLanguageFiles", "TRUE"}, {"GlobalXOrKey", "Sesam#42"}}));
    WriteFile(File("Resources/appini.DAT"), IniText({{"b", "resource"}, {"c", "resource"}}));
    WriteFile(File("Data/AppIni.dat"),
        XorStored(IniText({{"c", "data"}, {"keep", ""}, {"d", "data"}, {"MIXED", "data"}}), kBuiltInDataKey));
    WriteFile(File("Data/AppRgn.dat"),
        XorStored("<regions><region ext=\"FRA\"><zip zipmode=\"AlphaNum\"/></region>"
                  "<region ext=\"../../etc\"/><region ext=\"DEU\"/><region ext=\"ITA\"/></regions>",
            "Sesam#42"));
    WriteFile(File("Resources.FRA/AppIni.dat"), IniText({{"e", "resource FRA"}}));
    WriteFile(File("Resources.DEU/AppIni.dat"), IniText({{"e", "resource DEU"}, {"f", "resource DEU"}}));
    WriteFile(File("Data.DEU/AppIni.dat"),
        EncodeDataStream(IniText({{"d", "data DEU"}, {"e", "data DEU"}}), EncryptVariant::Des, "Sesam#42"));
    QDir().mkpath(File("Data.ITA"));

    const TLoadedAppSettings loaded = LoadAppSettings(Source(program_));

    TNameValueList expected;
    for (const auto& [name, value] : QList<std::pair<const char*, const char*>>{{"a", "program"}, {"b", "resource"},
             {"MIXED", "data"}, {"LoadLanguageFiles", "TRUE"}, {"GlobalXOrKey", "Sesam#42"}, {"c", "data"},
             {"d", "data DEU"}, {"e", "data DEU"}, {"f", "resource DEU"}})
        expected.SetValue(QLatin1String(name), QLatin1String(value));
    EXPECT_EQ(loaded.settings.Values(), expected);
    EXPECT_FALSE(loaded.settings.Contains(QStringLiteral("keep")));
    EXPECT_TRUE(loaded.languageChosen);
    EXPECT_EQ(loaded.languageExtension, QStringLiteral("DEU"));
    EXPECT_EQ(loaded.dataFolder, File("Data/"));
    EXPECT_EQ(loaded.dataLanguageFolder, File("Data.DEU/"));
    EXPECT_EQ(loaded.slots[dsDataLanguage], File("Data.DEU/"));
    EXPECT_EQ(loaded.globalKey, QStringLiteral("Sesam#42"));
    // The region rules come from the first region, whatever the language.
    EXPECT_EQ(loaded.settings.RegionValue(QStringLiteral("ZipMode")), QStringLiteral("AlphaNum"));

    ApplyAppSettings(loaded);
    EXPECT_EQ(GlobalDataKey(), QStringLiteral("Sesam#42"));
    EXPECT_EQ(ExpandPath(QStringLiteral("{Data}/Products.dat")), File("Data/Products.dat"));
    EXPECT_EQ(ExpandPath(QStringLiteral("{DataLng}\\ProdTexts.dat")), File("Data.DEU/ProdTexts.dat"));
}

TEST_F(AppSettingsLoaderTest, WithoutAnExistingLanguageFolderTheLastRegionIsTaken)
{
    WriteFile(File("Data/AppIni.dat"), IniText({{"LoadLanguageFiles", "true"}}));
    WriteFile(File("Data/AppRgn.dat"), "<regions><region ext=\"FRA\"/><region ext=\"ITA\"/></regions>");
    const TLoadedAppSettings loaded = LoadAppSettings(Source(program_));
    EXPECT_TRUE(loaded.languageChosen);
    EXPECT_EQ(loaded.languageExtension, QStringLiteral("ITA"));
    EXPECT_EQ(loaded.dataLanguageFolder, File("Data.ITA/"));
    EXPECT_TRUE(loaded.slots[dsDataLanguage].isEmpty());
}

// Without "LoadLanguageFiles" the language folders exist for the resource
// manager ("DEU") but their AppIni.dat files are not read and "{DataLng}"
// is not registered.
TEST_F(AppSettingsLoaderTest, WithoutLanguageFilesNoLanguageLayerIsRead)
{
    WriteFile(File("Data/AppIni.dat"), IniText({{"LoadLanguageFiles", "yes"}, {"a", "data"}}));
    WriteFile(File("Data/AppRgn.dat"), "<regions><region ext=\"DEU\"><zip ziplength=\"4\"/></region></regions>");
    WriteFile(File("Data.DEU/AppIni.dat"), IniText({{"a", "data DEU"}}));
    const TLoadedAppSettings loaded = LoadAppSettings(Source(program_));
    EXPECT_FALSE(loaded.languageChosen);
    EXPECT_EQ(loaded.languageExtension, QStringLiteral("DEU"));
    EXPECT_TRUE(loaded.dataLanguageFolder.isEmpty());
    EXPECT_EQ(loaded.settings.Text(QStringLiteral("a")), QStringLiteral("data"));
    EXPECT_EQ(loaded.settings.RegionValue(QStringLiteral("ziplength")), QStringLiteral("4"));
}

TEST_F(AppSettingsLoaderTest, ReadsTheResourceLayerFromItsArchive)
{
    WriteFile(File("Data/AppIni.dat"), IniText({{"b", "data"}}));
    WriteFile(File("Resources.zip"), BuildZip({{"APPINI.dat", IniText({{"a", "archive"}, {"b", "archive"}})}}));
    const TLoadedAppSettings loaded = LoadAppSettings(Source(program_));
    EXPECT_EQ(loaded.settings.Text(QStringLiteral("a")), QStringLiteral("archive"));
    EXPECT_EQ(loaded.settings.Text(QStringLiteral("b")), QStringLiteral("data"));
}

TEST_F(AppSettingsLoaderTest, DebugModeReadsTheProgramLayerOnlyWhenAsked)
{
    WriteFile(File("AppIni.dat"), IniText({{"a", "program"}}));
    QDir().mkpath(File("Data"));
    EXPECT_FALSE(LoadAppSettings(Source(program_, true, false)).settings.Contains(QStringLiteral("a")));
    EXPECT_TRUE(LoadAppSettings(Source(program_, true, true)).settings.Contains(QStringLiteral("a")));
    EXPECT_TRUE(LoadAppSettings(Source(program_, false, false)).settings.Contains(QStringLiteral("a")));
}

TEST_F(AppSettingsLoaderTest, AnUnreadableLayerStopsTheStart)
{
    WriteFile(File("Data/AppIni.dat"), "<ini><a>unclosed</ini>");
    try {
        LoadAppSettings(Source(program_));
        FAIL() << "a broken AppIni.dat was accepted";
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().context, QLatin1String(kReadXMLDocumentContext));
        EXPECT_TRUE(error.Error().codeText.startsWith(File("Data/AppIni.dat") + QStringLiteral(": ")));
    }
}

// The data folder: the system configuration's folder when the key names an
// existing one, else "Data" beside the program, else the program's error.
struct DataFolderCase {
    std::string name;
    bool writeKey; // the program's AppIni.dat names the key
    const char* systemConfig; // text of the system configuration, "%1" = the sandbox's "srv" folder
    bool srvExists;
    bool dataExists;
    bool debugMode;
    const char* expected; // "srv", "data" or "" for the error
};

class DataFolderResolution : public AppSettingsLoaderTest, public ::testing::WithParamInterface<DataFolderCase> { };

TEST_P(DataFolderResolution, FollowsTheKeyThenTheProgramFolder)
{
    const DataFolderCase& c = GetParam();
    const QString srv = MakeFolder(QStringLiteral("srv")) + QStringLiteral("/PavData");
    if (c.srvExists)
        QDir().mkpath(srv);
    if (c.dataExists)
        QDir().mkpath(File("Data"));
    if (c.writeKey)
        WriteFile(File("AppIni.dat"), IniText({{"datafolderregkey", "SOFTWARE\\Vovo\\Pavlora"}}));
    if (*c.systemConfig)
        WriteSystemConfig(QString::fromUtf8(c.systemConfig).replace(QStringLiteral("%1"), srv).toUtf8());

    const TAppSettingsSource source = Source(program_, c.debugMode, true);
    if (!*c.expected) {
        try {
            LoadAppSettings(source);
            FAIL() << "no data folder, but the start went on";
        } catch (const EDataFolderNotFound& error) {
            EXPECT_STREQ(error.what(), "Data-Folder could not be located.");
        }
        return;
    }
    const TLoadedAppSettings loaded = LoadAppSettings(source);
    const QString expected = QLatin1String(c.expected) == QLatin1String("srv") ? srv + QLatin1Char('/') : File("Data/");
    EXPECT_EQ(loaded.dataFolder, expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, DataFolderResolution,
    ::testing::Values(
        DataFolderCase{"KeyNamesAFolder", true, "[SOFTWARE\\Vovo\\Pavlora]\nDataFolder=%1\n", true, true, false, "srv"},
        DataFolderCase{
            "KeyWithoutProgramData", true, "[software\\vovo\\pavlora]\ndatafolder=%1/\n", true, false, false, "srv"},
        DataFolderCase{
            "KeyFolderMissing", true, "[SOFTWARE\\Vovo\\Pavlora]\nDataFolder=%1\n", false, true, false, "data"},
        DataFolderCase{"OtherGroup", true, "[SOFTWARE\\Vovo\\Other]\nDataFolder=%1\n", true, true, false, "data"},
        DataFolderCase{
            "RelativeFolderRefused", true, "[SOFTWARE\\Vovo\\Pavlora]\nDataFolder=srv\n", true, true, false, "data"},
        DataFolderCase{"NoSystemConfig", true, "", true, true, false, "data"},
        DataFolderCase{"NoKey", false, "[SOFTWARE\\Vovo\\Pavlora]\nDataFolder=%1\n", true, true, false, "data"},
        DataFolderCase{"DebugModeUsesTheProgramData", true, "[SOFTWARE\\Vovo\\Pavlora]\nDataFolder=%1\n", true, true,
            true, "data"},
        DataFolderCase{"NothingFound", true, "[SOFTWARE\\Vovo\\Pavlora]\nDataFolder=%1\n", false, false, false, ""},
        DataFolderCase{"NoKeyNoData", false, "", true, false, false, ""}),
    CaseName());

} // namespace
} // namespace pavlora::test
