// pavlora-tool settings show --program DIR
// pavlora-tool settings get --program DIR NAME
// Prints the installation settings as the program has them after start-up:
// the AppIni.dat layers merged, the data folder and the language resolved.

#include "ToolCommand.h"

#include "core/AppFolders.h"
#include "core/AppSettingsLoader.h"
#include "core/DebugConfig.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"

#include <QList>

#include <algorithm>

namespace pavlora::tool {
namespace {

// One line per value: line breaks become the two characters "\n".
QString OneLine(QString value)
{
    value.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    value.replace(QLatin1Char('\r'), QLatin1String("\\n"));
    value.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return value;
}

bool IsRegionName(const QString& name)
{
    for (const char* region : {"zipmode", "ziplength", "regexp"}) {
        if (name.compare(QLatin1String(region), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void PrintAll(const TLoadedAppSettings& loaded)
{
    QList<TNameValueList::Entry> entries = loaded.settings.Values().Entries();
    std::stable_sort(entries.begin(), entries.end(),
        [](const auto& a, const auto& b) { return a.name.compare(b.name, Qt::CaseInsensitive) < 0; });
    for (const TNameValueList::Entry& entry : entries)
        PrintOut(entry.name + QLatin1Char('=') + OneLine(entry.value));
    PrintOut(QStringLiteral("{Data}=") + ExpandPath(QStringLiteral("{Data}")));
    PrintOut(
        QStringLiteral("{DataLng}=") + (loaded.languageChosen ? ExpandPath(QStringLiteral("{DataLng}")) : QString()));
}

} // namespace

bool LoadToolAppSettings(TLoadedAppSettings& loaded)
{
    try {
        loaded = LoadAppSettings(ProgramSettingsSource());
    } catch (...) {
        PrintError(CurrentFailureText());
        return false;
    }
    ApplyAppSettings(loaded);
    return true;
}

int RunSettingsCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption program(
        QStringLiteral("program"), QStringLiteral("The program folder."), QStringLiteral("DIR"));
    parser.addOption(program);
    parser.addPositionalArgument(QStringLiteral("show|get"), QStringLiteral("The action."));
    parser.addPositionalArgument(QStringLiteral("NAME"), QStringLiteral("The setting (get only)."));
    const int parsed = ParseCommandLine(parser, arguments,
        QStringLiteral("Usage: pavlora-tool settings show --program DIR\n"
                       "       pavlora-tool settings get --program DIR NAME\n\n"
                       "show prints every installation setting as NAME=VALUE, sorted without regard to case,\n"
                       "then {Data}=FOLDER and {DataLng}=FOLDER. get prints the value of NAME (an empty line\n"
                       "when it is not set); zipmode, ziplength and regexp come from AppRgn.dat when its first\n"
                       "region has them. Line breaks in values are printed as \\n."));
    if (parsed >= 0)
        return parsed;
    const QStringList positional = parser.positionalArguments();
    const QString action = positional.value(0);
    const bool show = action == QLatin1String("show") && positional.size() == 1;
    const bool get = action == QLatin1String("get") && positional.size() == 2;
    if (!show && !get)
        return UsageError(
            QStringLiteral("settings needs the action show, or get and one NAME"), QStringLiteral("settings"));
    if (!parser.isSet(program))
        return UsageError(QStringLiteral("settings needs --program DIR"), QStringLiteral("settings"));

    AppFolders::SetProgramFolder(parser.value(program));
    ReadDebugConfig();
    TLoadedAppSettings loaded;
    if (!LoadToolAppSettings(loaded))
        return kExitFailure;

    if (show) {
        PrintAll(loaded);
        return kExitSuccess;
    }
    const QString& name = positional.at(1);
    PrintOut(OneLine(IsRegionName(name) ? loaded.settings.RegionValue(name) : loaded.settings.Text(name)));
    return kExitSuccess;
}

} // namespace pavlora::tool
