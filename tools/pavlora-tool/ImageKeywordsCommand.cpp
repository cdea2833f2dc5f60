// pavlora-tool image keywords FILE [--set K1,K2,... | --clear] [--program DIR]
// Prints the IPTC keywords of a picture one per line; --set replaces them
// (written crash-safely), --clear removes them.

#include "ImageCommands.h"
#include "ToolCommand.h"

#include "imaging/ImageUtils.h"

#include "core/QORException.h"

namespace pavlora::tool {

int RunImageKeywordsCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption program = ProgramOption();
    const QCommandLineOption set(QStringLiteral("set"),
        QStringLiteral("Replace the keywords by this comma-separated list."), QStringLiteral("K1,K2,..."));
    const QCommandLineOption clear(QStringLiteral("clear"), QStringLiteral("Remove every keyword."));
    parser.addOptions({program, set, clear});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The picture."));
    const int parsed = ParseCommandLine(parser, arguments,
        QStringLiteral("Usage: pavlora-tool image keywords FILE [--set K1,K2,... | --clear]\n\n"
                       "Prints the IPTC keywords of FILE, one per line, after replacing them when asked."));
    if (parsed >= 0)
        return parsed;
    const QString command = QStringLiteral("image keywords");
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return UsageError(QStringLiteral("image keywords needs exactly one FILE"), command);
    if (parser.isSet(set) && parser.isSet(clear))
        return UsageError(QStringLiteral("--set and --clear exclude each other"), command);
    if (!SetUpImaging(parser, program))
        return kExitFailure;
    const QString& file = files.front();

    try {
        if (parser.isSet(set) || parser.isSet(clear)) {
            QStringList keywords;
            if (parser.isSet(set)) {
                for (const QString& keyword : parser.value(set).split(QLatin1Char(',')))
                    keywords.append(keyword.trimmed());
            }
            TImageUtils::WriteKeywords(file, keywords);
        }
    } catch (const EQORException& error) {
        PrintError(file + QStringLiteral(": ") + error.Error().Message());
        return kExitFailure;
    }
    for (const QString& keyword : TImageUtils::ReadKeywords(file).value_or(QStringList()))
        PrintOut(keyword);
    return kExitSuccess;
}

} // namespace pavlora::tool
