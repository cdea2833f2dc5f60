// pavlora-tool price [--program DIR] CART.psc
// Prices a cart file offline from the stored price lists of a deployment,
// the way the cart view shows it.

#include "CatalogueCommands.h"
#include "ToolCommand.h"

#include "catalogue/Cart.h"
#include "catalogue/ProductItem.h"
#include "catalogue/ProductsReader.h"
#include "core/AppSettings.h"
#include "core/QORException.h"
#include "core/XMLUtils2.h"
#include "ordering/XTCIProductLinks.h"
#include "ordering/ZODE.h"

#include <QFileInfo>

#include <pugixml.hpp>

namespace pavlora::tool {
namespace {

const QString kUsage = QStringLiteral(
    "Usage: pavlora-tool price [--program DIR] CART.psc\n\n"
    "Loads the cart file against the catalogue of the program folder's Data folder, prices it from the stored\n"
    "price lists and prints, separated by tabs: one line per cart line (product id, quantity, unit price,\n"
    "amount), then the lines \"shipping\", \"coupon\" and \"total\", then every hint text.");

QString Field(QString text)
{
    return text.replace(QLatin1Char('\t'), QLatin1Char(' '))
        .replace(QLatin1String("\r\n"), QLatin1String(" "))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

bool LoadToolPrices(const QString& dataFolder, TToolPrices& prices)
{
    try {
        TNameValueList values;
        ReadIniFile(values, dataFolder + QStringLiteral("/AppIni.dat"));
        prices.settings = TPriceSettings::FromSettings(TAppSettings(values));
        const TXMLDocumentPtr xchg = ReadXMLDocument(dataFolder + QStringLiteral("/XChg.dat"));
        prices.protocol = std::make_unique<TXTCI>();
        prices.protocol->Initialize(*xchg);
        prices.protocol->LoadArticleModels(false, QString());
        prices.updater
            = std::make_unique<TXTCIProductUpdater>(ReadXchgLinks(xchg->document_element()), &prices.catalogue.items);
        // Display names may show prices, so the catalogue is read after the
        // models are there.
        const TXTCIPrices calculator = prices.Calculator();
        prices.catalogue.texts.Load(dataFolder, QString());
        const TTextMacros macros(&prices.catalogue.texts, &calculator);
        prices.catalogue.items = ReadProductsXML(dataFolder + QStringLiteral("/Products.dat"), macros);
        prices.updater->Link(*prices.protocol);
        return true;
    } catch (...) {
        PrintError(CurrentFailureText());
        return false;
    }
}

bool LoadToolPrices(const QCommandLineParser& parser, const QCommandLineOption& program, TToolPrices& prices)
{
    const std::optional<QString> dataFolder = SetUpDataFolder(parser, program, nullptr);
    return dataFolder && LoadToolPrices(*dataFolder, prices);
}

TXTCIPrices TToolPrices::Calculator() const
{
    return updater->Prices(*protocol, settings);
}

int RunPriceCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption program(QStringLiteral("program"),
        QStringLiteral("The program folder; its Data folder holds the catalogue and the price lists."),
        QStringLiteral("DIR"));
    parser.addOption(program);
    parser.addPositionalArgument(QStringLiteral("CART"), QStringLiteral("The cart file (.psc)."));
    const int parsed = ParseCommandLine(parser, arguments, kUsage);
    if (parsed >= 0)
        return parsed;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return UsageError(QStringLiteral("price needs one CART file"), QStringLiteral("price"));
    TToolPrices prices;
    if (!LoadToolPrices(parser, program, prices))
        return kExitFailure;

    const QString file = positional.at(0);
    TCart cart(TCartSettings{});
    try {
        const TCartLoadResult result = cart.Load(QFileInfo(file).absoluteFilePath(), prices.catalogue.items, true);
        if (!result.message.isEmpty())
            PrintError(result.message);
        const TXTCIPrices calculator = prices.Calculator();
        TQOROrder order;
        order.cart = &cart;
        calculator.CalculateCart(order);
        const TPriceSettings& settings = calculator.Settings();
        for (qsizetype i = 0; i < cart.Count(); ++i) {
            for (const TCartItemLine& line : cart.At(i)->Lines()) {
                PrintOut(Field(line.product ? line.product->FullId() : line.productId) + QLatin1Char('\t')
                    + QString::number(line.quantity) + QLatin1Char('\t') + FormatPrice(line.unitPrice, settings)
                    + QLatin1Char('\t') + FormatPrice(line.Amount(), settings));
            }
        }
        PrintOut(QStringLiteral("shipping\t") + FormatPrice(order.shippingCharge.price, settings));
        PrintOut(QStringLiteral("coupon\t") + FormatPrice(order.coupon.value, settings));
        PrintOut(QStringLiteral("total\t") + FormatPrice(order.orderTotal, settings));
        for (const QString& hint : {calculator.CheckCartLimits(cart, false), calculator.GetCartHints(cart)}) {
            if (!hint.isEmpty())
                PrintOut(Field(hint));
        }
    } catch (...) {
        PrintError(file + QStringLiteral(": ") + CurrentFailureText());
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace pavlora::tool
