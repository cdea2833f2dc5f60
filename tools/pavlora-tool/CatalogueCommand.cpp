// pavlora-tool catalogue list (--program DIR | --data DIR)
// pavlora-tool catalogue find [--program DIR | --data DIR] ID
// Reads the catalogue "Products.dat" of a deployment the way the program
// does and prints its tree or looks an entry up.

#include "CatalogueCommands.h"
#include "ToolCommand.h"

#include "catalogue/ProductItem.h"
#include "catalogue/ProductsReader.h"
#include "catalogue/TextMacros.h"
#include "core/AppFolders.h"
#include "core/DebugConfig.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"
#include "imaging/ImageUtils.h"

#include <QDir>
#include <QFileInfo>

namespace pavlora::tool {
namespace {

const QString kUsage = QStringLiteral(
    "Usage: pavlora-tool catalogue list (--program DIR | --data DIR)\n"
    "       pavlora-tool catalogue find [--program DIR | --data DIR] ID\n\n"
    "list prints every entry of the catalogue, one line each: full id, display name and default leaf,\n"
    "separated by tabs. find prints the entry with the full id ID, or the nearest one, as\n"
    "full id, display name and \"exact\" or \"nearest\". A broken catalogue fails with its error text.");

QString Field(const QString& text)
{
    QString field = text;
    field.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return field.replace(QLatin1Char('\r'), QLatin1Char(' '));
}

void PrintTree(const TProductItemList& items)
{
    for (const auto& item : items) {
        PrintOut(Field(item->FullId()) + QLatin1Char('\t') + Field(item->displayName) + QLatin1Char('\t')
            + Field(item->DefaultLeaf()->FullId()));
        if (item->Children())
            PrintTree(*item->Children());
    }
}

} // namespace

std::optional<QString> SetUpDataFolder(
    const QCommandLineParser& parser, const QCommandLineOption& program, const QCommandLineOption* data)
{
    if (parser.isSet(program)) {
        const QString folder = parser.value(program);
        if (!QFileInfo(folder).isDir()) {
            PrintError(QStringLiteral("pavlora-tool: not a folder: ") + folder);
            return std::nullopt;
        }
        AppFolders::SetProgramFolder(QFileInfo(folder).absoluteFilePath());
    }
    ReadDebugConfig();
    TImageUtils::Register(std::make_unique<TImageUtils>());
    QString dataFolder = AppFolders::ProgramFolder() + QStringLiteral("/Data");
    if (data && parser.isSet(*data))
        dataFolder = QFileInfo(parser.value(*data)).absoluteFilePath();
    if (!QFileInfo(dataFolder).isDir()) {
        PrintError(QStringLiteral("pavlora-tool: no data folder: ") + dataFolder);
        return std::nullopt;
    }
    RegisterPathPlaceholder(QStringLiteral("{Data}"), dataFolder);
    return dataFolder;
}

bool ReadToolCatalogue(const QString& dataFolder, TToolCatalogue& catalogue)
{
    try {
        catalogue.texts.Load(dataFolder, QString());
        const TTextMacros macros(&catalogue.texts);
        catalogue.items = ReadProductsXML(dataFolder + QStringLiteral("/Products.dat"), macros);
        return true;
    } catch (...) {
        PrintError(CurrentFailureText());
        return false;
    }
}

int RunCatalogueCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption program(QStringLiteral("program"),
        QStringLiteral("The program folder; its Data folder holds the catalogue."), QStringLiteral("DIR"));
    const QCommandLineOption data(
        QStringLiteral("data"), QStringLiteral("The data folder that holds the catalogue."), QStringLiteral("DIR"));
    parser.addOptions({program, data});
    parser.addPositionalArgument(QStringLiteral("ACTION"), QStringLiteral("list or find."));
    parser.addPositionalArgument(QStringLiteral("ID"), QStringLiteral("find: the full id."), QStringLiteral("[ID]"));
    const int parsed = ParseCommandLine(parser, arguments, kUsage);
    if (parsed >= 0)
        return parsed;
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return UsageError(QStringLiteral("catalogue needs an action: list or find"), QStringLiteral("catalogue"));
    const QString action = positional.takeFirst();
    if (parser.isSet(program) && parser.isSet(data))
        return UsageError(QStringLiteral("catalogue: give either --program or --data"), QStringLiteral("catalogue"));
    if (action == QLatin1String("list")) {
        if (!positional.isEmpty())
            return UsageError(QStringLiteral("catalogue list takes no arguments"), QStringLiteral("catalogue"));
        if (!parser.isSet(program) && !parser.isSet(data))
            return UsageError(QStringLiteral("catalogue list needs --program or --data"), QStringLiteral("catalogue"));
    } else if (action == QLatin1String("find")) {
        if (positional.size() != 1)
            return UsageError(QStringLiteral("catalogue find needs exactly one ID"), QStringLiteral("catalogue"));
    } else {
        return UsageError(QStringLiteral("catalogue: unknown action '%1'").arg(action), QStringLiteral("catalogue"));
    }

    const std::optional<QString> dataFolder = SetUpDataFolder(parser, program, &data);
    if (!dataFolder)
        return kExitFailure;
    TToolCatalogue catalogue;
    if (!ReadToolCatalogue(*dataFolder, catalogue))
        return kExitFailure;
    if (action == QLatin1String("list")) {
        PrintTree(catalogue.items);
        return kExitSuccess;
    }
    const QString& id = positional.front();
    const TProductItem* item = catalogue.items.Find(id);
    const bool exact = item != nullptr;
    if (!item)
        item = catalogue.items.FindNearest(id);
    if (!item) {
        PrintError(QStringLiteral("pavlora-tool: catalogue: not found: ") + id);
        return kExitFailure;
    }
    PrintOut(Field(item->FullId()) + QLatin1Char('\t') + Field(item->displayName) + QLatin1Char('\t')
        + (exact ? QStringLiteral("exact") : QStringLiteral("nearest")));
    return kExitSuccess;
}

} // namespace pavlora::tool
