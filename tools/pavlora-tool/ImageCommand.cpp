// pavlora-tool image (info | thumb | keywords | convert) ...
// The picture operations of the program on the command line.

#include "ImageCommands.h"
#include "ToolCommand.h"

#include "imaging/ImageUtils.h"

#include "core/AppFolders.h"
#include "core/DebugConfig.h"

#include <QDir>
#include <QFileInfo>

namespace pavlora::tool {
namespace {

struct TImageSubcommand {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& arguments);
};

const TImageSubcommand kSubcommands[] = {
    {"info", "Print size, bits per pixel, type, date, camera and keywords of pictures.", &RunImageInfoCommand},
    {"thumb", "Make JPEG thumbnails of pictures.", &RunImageThumbCommand},
    {"keywords", "Print or replace the IPTC keywords of a picture.", &RunImageKeywordsCommand},
    {"convert", "Convert a picture to JPEG, BMP or JPEG 2000.", &RunImageConvertCommand},
};

void PrintImageHelp()
{
    PrintOut(QStringLiteral("Usage: pavlora-tool image SUBCOMMAND [ARGUMENTS...]\n\nSubcommands:"));
    for (const TImageSubcommand& subcommand : kSubcommands)
        PrintOut(
            QStringLiteral("  %1  %2").arg(QLatin1String(subcommand.name), -9).arg(QLatin1String(subcommand.summary)));
    PrintOut(QStringLiteral("\n'pavlora-tool image SUBCOMMAND --help' describes a subcommand."));
}

} // namespace

QCommandLineOption ProgramOption()
{
    return QCommandLineOption(QStringLiteral("program"),
        QStringLiteral("The program folder (the JPEG 2000 converter, Debug.cfg)."), QStringLiteral("DIR"));
}

bool SetUpImaging(const QCommandLineParser& parser, const QCommandLineOption& program)
{
    if (parser.isSet(program)) {
        const QString folder = parser.value(program);
        if (!QFileInfo(folder).isDir()) {
            PrintError(QStringLiteral("pavlora-tool: not a folder: ") + folder);
            return false;
        }
        AppFolders::SetProgramFolder(folder);
    }
    ReadDebugConfig();
    TImageUtils::Register(std::make_unique<TImageUtils>());
    return true;
}

QString TabField(const QString& text)
{
    QString field = text;
    for (QChar& c : field) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    }
    return field;
}

int RunImageCommand(const QStringList& arguments)
{
    const QString name = arguments.value(1);
    if (name.isEmpty()) {
        PrintImageHelp();
        return kExitUsage;
    }
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        PrintImageHelp();
        return kExitSuccess;
    }
    for (const TImageSubcommand& subcommand : kSubcommands) {
        if (name == QLatin1String(subcommand.name)) {
            const int result = subcommand.run(arguments.mid(1));
            TImageUtils::Unregister();
            return result;
        }
    }
    return UsageError(QStringLiteral("unknown image subcommand '%1'").arg(name), QStringLiteral("image"));
}

} // namespace pavlora::tool
