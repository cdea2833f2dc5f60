// pavlora-tool: the command line for service operators and power users.
// Every subcommand prints its results on stdout and its errors on stderr, and
// exits 0 on success, 1 when the operation failed, 2 on a usage error.

#include "ToolCommand.h"

#include "core/Version.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstring>
#include <iterator>
#include <memory>

namespace pavlora::tool {
int RunDataCommand(const QStringList& arguments);
int RunErrorCommand(const QStringList& arguments);
int RunResourceCommand(const QStringList& arguments);
int RunImageCommand(const QStringList& arguments);
int RunLayoutCommand(const QStringList& arguments);
int RunSettingsCommand(const QStringList& arguments);
int RunCatalogueCommand(const QStringList& arguments);
int RunCartCommand(const QStringList& arguments);
int RunZodeCommand(const QStringList& arguments);
int RunPriceCommand(const QStringList& arguments);
int RunPriceListCommand(const QStringList& arguments);
} // namespace pavlora::tool

using namespace pavlora;
using namespace pavlora::tool;

namespace {

const TToolCommand kCommands[] = {
    {QStringLiteral("data"), QStringLiteral("Decode, encode and check the data documents of a deployment."),
        &RunDataCommand},
    {QStringLiteral("error"), QStringLiteral("Print the message of an error code as the program shows it."),
        &RunErrorCommand},
    {QStringLiteral("resource"), QStringLiteral("Find where a resource of the skin or data is read from."),
        &RunResourceCommand},
    {QStringLiteral("image"), QStringLiteral("Measure, thumbnail, convert pictures; read and write their keywords."),
        &RunImageCommand},
    {QStringLiteral("layout"), QStringLiteral("Load and validate a layout file."), &RunLayoutCommand},
    {QStringLiteral("settings"), QStringLiteral("Print the installation settings as the program has them."),
        &RunSettingsCommand},
    {QStringLiteral("catalogue"), QStringLiteral("List the catalogue of a deployment or find an entry in it."),
        &RunCatalogueCommand},
    {QStringLiteral("cart"), QStringLiteral("Show a cart file or import a hand-over file into a cart."),
        &RunCartCommand},
    {QStringLiteral("zode"), QStringLiteral("Log in to the order server or send it one request."), &RunZodeCommand},
    {QStringLiteral("price"), QStringLiteral("Price a cart file from the stored price lists."), &RunPriceCommand},
    {QStringLiteral("pricelist"), QStringLiteral("Print the price list of a deployment."), &RunPriceListCommand},
};

// Commands that measure text need fonts, so a GUI application on the
// offscreen platform (no display is used).
bool NeedsFonts(int argc, char* argv[])
{
    // The layouts of catalogue products and cart items may carry labels.
    return argc > 1
        && (std::strcmp(argv[1], "layout") == 0 || std::strcmp(argv[1], "catalogue") == 0
            || std::strcmp(argv[1], "cart") == 0 || std::strcmp(argv[1], "price") == 0
            || std::strcmp(argv[1], "pricelist") == 0);
}

std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char* argv[])
{
    if (!NeedsFonts(argc, argv))
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

void PrintToolHelp()
{
    PrintOut(QStringLiteral("Usage: pavlora-tool COMMAND [ARGUMENTS...]\n\n"
                            "The command line of %1 %2 for service operators and power users.\n\n"
                            "Commands:")
                 .arg(QLatin1String(kProductName), QLatin1String(kProductVersion)));
    for (const TToolCommand& command : kCommands)
        PrintOut(QStringLiteral("  %1  %2").arg(command.name, -10).arg(command.summary));
    PrintOut(QStringLiteral("\n'pavlora-tool COMMAND --help' describes a command.\n"
                            "Exit status: 0 success, 1 the operation failed, 2 usage error."));
}

} // namespace

int main(int argc, char* argv[])
{
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pavlora-tool"));
    QCoreApplication::setApplicationVersion(QLatin1String(kProductVersion));

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        PrintToolHelp();
        return kExitUsage;
    }
    const QString& name = arguments.front();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        PrintToolHelp();
        return kExitSuccess;
    }
    if (name == QLatin1String("--version")) {
        PrintOut(QStringLiteral("pavlora-tool %1").arg(QLatin1String(kProductVersion)));
        return kExitSuccess;
    }
    for (const TToolCommand& command : kCommands) {
        if (command.name == name)
            return command.run(arguments);
    }
    PrintError(QStringLiteral("pavlora-tool: unknown command '%1'").arg(name));
    PrintError(QStringLiteral("Try 'pavlora-tool --help'."));
    return kExitUsage;
}
