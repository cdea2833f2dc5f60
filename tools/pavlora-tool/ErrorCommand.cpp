// pavlora-tool error CODE [--text CODETEXT] [--detail DETAIL] [--context CONTEXT] [--verbose]
// Prints the message of an error record exactly as the program shows it.

#include "ToolCommand.h"

#include "core/QORError.h"

#include <QRegularExpression>

#include <limits>

namespace pavlora::tool {

int RunErrorCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption text(QStringLiteral("text"),
        QStringLiteral("The code text (a server's or transport's text)."), QStringLiteral("CODETEXT"));
    const QCommandLineOption detail(QStringLiteral("detail"), QStringLiteral("The detail."), QStringLiteral("DETAIL"));
    const QCommandLineOption context(QStringLiteral("context"),
        QStringLiteral("The place of failure, Unit.Class.Method."), QStringLiteral("CONTEXT"));
    const QCommandLineOption verbose(
        QStringLiteral("verbose"), QStringLiteral("Print the verbose text of the report log."));
    parser.addOptions({text, detail, context, verbose});
    parser.addPositionalArgument(QStringLiteral("CODE"), QStringLiteral("The error code, a decimal integer."));
    const int parsed = ParseCommandLine(parser, arguments,
        QStringLiteral("Usage: pavlora-tool error CODE [--text CODETEXT] [--detail DETAIL] [--context CONTEXT] "
                       "[--verbose]\n\nPrints the message of the error with code CODE as the program shows it."));
    if (parsed >= 0)
        return parsed;

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return UsageError(QStringLiteral("error needs exactly one CODE"), QStringLiteral("error"));
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]{1,10}$"));
    bool ok = decimal.match(positional.front()).hasMatch();
    const qlonglong code = ok ? positional.front().toLongLong(&ok) : 0;
    if (!ok || code < std::numeric_limits<std::int32_t>::min() || code > std::numeric_limits<std::int32_t>::max())
        return UsageError(
            QStringLiteral("CODE must be a 32-bit decimal integer: ") + positional.front(), QStringLiteral("error"));

    const TQORError error{
        static_cast<std::int32_t>(code), parser.value(context), parser.value(text), parser.value(detail)};
    PrintOut(parser.isSet(verbose) ? error.VerboseMessage() : error.Message());
    return kExitSuccess;
}

} // namespace pavlora::tool
