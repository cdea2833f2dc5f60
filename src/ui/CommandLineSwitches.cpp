#include "ui/CommandLineSwitches.h"

namespace pavlora {

TCommandLineSwitches ParseCommandLineSwitches(const QStringList& arguments)
{
    TCommandLineSwitches switches;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString argument = arguments.at(i).toUpper();
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("-PRINTS")) {
            switches.commandText = QStringLiteral("ViewGroup(Prints)");
            switches.mode = TCommandLineMode::Prints;
        } else if (argument == QLatin1String("-PRODUCTTEASER")) {
            switches.commandText = QStringLiteral("Browse({Data}\\VuvedIro.html)");
            switches.mode = TCommandLineMode::ProductsPage;
        } else if (argument == QLatin1String("-PRODUCTS")) {
            switches.commandText = QStringLiteral("ViewGroup(Vuvediro)");
            switches.mode = TCommandLineMode::Products;
        } else if (argument == QLatin1String("-TEASER")) {
            switches.commandText = QStringLiteral("ViewGroup(Teaser)");
            switches.mode = TCommandLineMode::Teaser;
        } else if (argument == QLatin1String("-D") && hasValue) {
            switches.commandText = QStringLiteral("ViewGroup(Prints;") + arguments.at(++i) + QLatin1Char(')');
        } else if (argument == QLatin1String("-F") && hasValue) {
            switches.listFile = arguments.at(++i);
        } else if (argument == QLatin1String("-DD")) {
            switches.deviceStart = true;
        }
    }
    return switches;
}

} // namespace pavlora
