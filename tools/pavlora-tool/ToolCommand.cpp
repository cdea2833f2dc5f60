#include "ToolCommand.h"

#include "core/QORException.h"

#include <cstdio>

namespace pavlora::tool {
namespace {

void PrintTo(std::FILE* stream, const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

} // namespace

void PrintOut(const QString& line)
{
    PrintTo(stdout, line);
}

void PrintError(const QString& line)
{
    PrintTo(stderr, line);
}

QString CurrentFailureText()
{
    try {
        throw;
    } catch (const EQORException& error) {
        return error.Error().codeText.isEmpty() ? error.Message() : error.Error().codeText;
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("unknown failure");
    }
}

int UsageError(const QString& message, const QString& command)
{
    PrintError(QStringLiteral("pavlora-tool: ") + message);
    PrintError(QStringLiteral("Try 'pavlora-tool %1 --help'.").arg(command));
    return kExitUsage;
}

int ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments, const QString& usage)
{
    const QCommandLineOption help(
        QStringList{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    parser.addOption(help);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(arguments))
        return UsageError(parser.errorText(), arguments.value(0));
    if (parser.isSet(help)) {
        // The parser's own help starts with a usage line naming the program
        // only; ours names the subcommand and its arguments.
        QString text = parser.helpText();
        const qsizetype options = text.indexOf(QLatin1String("Options:"));
        PrintOut(usage + QStringLiteral("\n\n") + (options >= 0 ? text.mid(options).trimmed() : QString()));
        return kExitSuccess;
    }
    return -1;
}

} // namespace pavlora::tool
