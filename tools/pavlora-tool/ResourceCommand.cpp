// pavlora-tool resource find --program DIR [--data DIR] [--lang EXT] NAME
// Prints where the resource manager finds a resource: a file, or an
// archive and its member.

#include "ToolCommand.h"

#include "core/AppFolders.h"
#include "core/DebugConfig.h"
#include "skin/DesignErrors.h"
#include "skin/ECResourceManager.h"

namespace pavlora::tool {

int RunResourceCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption program(
        QStringLiteral("program"), QStringLiteral("The program folder."), QStringLiteral("DIR"));
    const QCommandLineOption data(QStringLiteral("data"),
        QStringLiteral("The data folder (default: the program folder's \"Data\")."), QStringLiteral("DIR"));
    const QCommandLineOption language(
        QStringLiteral("lang"), QStringLiteral("The language extension, e.g. DEU."), QStringLiteral("EXT"));
    parser.addOptions({program, data, language});
    parser.addPositionalArgument(QStringLiteral("find"), QStringLiteral("The action."));
    parser.addPositionalArgument(QStringLiteral("NAME"), QStringLiteral("The resource name, e.g. Images/Logo.png."));
    const int parsed = ParseCommandLine(parser, arguments,
        QStringLiteral("Usage: pavlora-tool resource find --program DIR [--data DIR] [--lang EXT] NAME\n\n"
                       "Prints the file (or archive:member) that serves the resource NAME."));
    if (parsed >= 0)
        return parsed;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2 || positional.front() != QLatin1String("find"))
        return UsageError(QStringLiteral("resource needs the action find and one NAME"), QStringLiteral("resource"));
    if (!parser.isSet(program))
        return UsageError(QStringLiteral("resource find needs --program DIR"), QStringLiteral("resource"));

    AppFolders::SetProgramFolder(parser.value(program));
    ReadDebugConfig();
    THeadlessSkinReporter reporter;
    TECResourceManager manager(reporter);
    manager.SetProgramFolder(AppFolders::ProgramFolder());
    if (parser.isSet(data))
        manager.SetDataFolder(parser.value(data));
    else
        manager.SetDataFolder(AppFolders::ProgramFolder() + QStringLiteral("/Data"));
    manager.SetLanguageExtension(parser.value(language));

    const std::optional<TResourceLocation> location = manager.FindResource(positional.at(1));
    if (!location) {
        PrintError(QString::fromUtf8(EResourceNotFound(positional.at(1)).what()));
        return kExitFailure;
    }
    PrintOut(location->Describe());
    return kExitSuccess;
}

} // namespace pavlora::tool
