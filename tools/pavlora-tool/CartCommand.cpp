// pavlora-tool cart show [--program DIR] FILE.psc
// pavlora-tool cart import [--program DIR] FILE.fsw
// Reads and fills cart files the way the program does.

#include "CatalogueCommands.h"
#include "ToolCommand.h"

#include "catalogue/Cart.h"
#include "catalogue/CartController.h"
#include "catalogue/PhotoBookRefCartItemData.h"
#include "catalogue/ProductItem.h"
#include "core/QORException.h"
#include "ordering/XTCIPrices.h"

#include <QFileInfo>

namespace pavlora::tool {
namespace {

const QString kUsage
    = QStringLiteral("Usage: pavlora-tool cart show [--program DIR] FILE.psc\n"
                     "       pavlora-tool cart import [--program DIR] FILE.fsw\n\n"
                     "show loads a cart file against the catalogue of the program folder's Data folder and prints one\n"
                     "line per item: kind, product id, picture, then each line as id×quantity, separated by tabs.\n"
                     "Missing pictures are reported on stderr with the program's message.\n"
                     "import reads a hand-over file as the program does and prints the cart file it wrote.");

QString KindName(CartItemKind kind)
{
    switch (kind) {
    case CartItemKind::Print:
        return QStringLiteral("print");
    case CartItemKind::Product:
        return QStringLiteral("product");
    case CartItemKind::PhotoBookRef:
        return QStringLiteral("photobook");
    }
    return {};
}

QString Field(QString text)
{
    return text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

int Show(const QString& file, TToolCatalogue& catalogue)
{
    TCart cart(TCartSettings{});
    TCartLoadResult result;
    try {
        result = cart.Load(QFileInfo(file).absoluteFilePath(), catalogue.items, true);
    } catch (...) {
        PrintError(file + QStringLiteral(": ") + CurrentFailureText());
        return kExitFailure;
    }
    for (qsizetype i = 0; i < cart.Count(); ++i) {
        const TCartItemData& item = *cart.At(i);
        const TProductItem* product = item.Product();
        QString line = KindName(item.Kind()) + QLatin1Char('\t') + Field(product ? product->FullId() : QString())
            + QLatin1Char('\t');
        if (item.Kind() == CartItemKind::PhotoBookRef)
            line += Field(static_cast<const TPhotoBookRefCartItemData&>(item).fileName);
        else
            line += Field(item.FirstPictureFile());
        for (const TCartItemLine& entry : item.Lines())
            line += QLatin1Char('\t') + Field(entry.product ? entry.product->FullId() : entry.productId) + QChar(0x00D7)
                + QString::number(entry.quantity);
        PrintOut(line);
    }
    if (!result.message.isEmpty())
        PrintError(result.message);
    return kExitSuccess;
}

int Import(const QString& file, TToolCatalogue& catalogue, const TFormatLookup* lookup)
{
    if (!QFileInfo::exists(file)) {
        PrintError(QStringLiteral("pavlora-tool: cart import: %1: No such file").arg(file));
        return kExitFailure;
    }
    TCartController controller(TCartSettings{}, catalogue.items);
    controller.SetFormatLookup(lookup);
    if (!controller.ImportCartIni(QFileInfo(file).absoluteFilePath())) {
        const TQORError error = LastError();
        PrintError(file + QStringLiteral(": ") + (error.codeText.isEmpty() ? error.Message() : error.codeText));
        return kExitFailure;
    }
    PrintOut(controller.Cart().FileName());
    return kExitSuccess;
}

} // namespace

int RunCartCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption program(QStringLiteral("program"),
        QStringLiteral("The program folder; its Data folder holds the catalogue."), QStringLiteral("DIR"));
    parser.addOption(program);
    parser.addPositionalArgument(QStringLiteral("ACTION"), QStringLiteral("show or import."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The cart or hand-over file."));
    const int parsed = ParseCommandLine(parser, arguments, kUsage);
    if (parsed >= 0)
        return parsed;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2)
        return UsageError(QStringLiteral("cart needs an action and one FILE"), QStringLiteral("cart"));
    const QString& action = positional.at(0);
    if (action != QLatin1String("show") && action != QLatin1String("import"))
        return UsageError(QStringLiteral("cart: unknown action '%1'").arg(action), QStringLiteral("cart"));

    const std::optional<QString> dataFolder = SetUpDataFolder(parser, program, nullptr);
    if (!dataFolder)
        return kExitFailure;
    if (action == QLatin1String("import") && QFileInfo::exists(*dataFolder + QStringLiteral("/XChg.dat"))) {
        // Format ids are found as the program finds them: through the prices.
        TToolPrices prices;
        if (!LoadToolPrices(*dataFolder, prices))
            return kExitFailure;
        const TXTCIPrices calculator = prices.Calculator();
        return Import(positional.at(1), prices.catalogue, &calculator);
    }
    TToolCatalogue catalogue;
    if (!ReadToolCatalogue(*dataFolder, catalogue))
        return kExitFailure;
    return action == QLatin1String("show") ? Show(positional.at(1), catalogue)
                                           : Import(positional.at(1), catalogue, nullptr);
}

} // namespace pavlora::tool
