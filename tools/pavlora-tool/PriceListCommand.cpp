// pavlora-tool pricelist [--program DIR] [--html]
// Prints the price list of a deployment from its stored price lists.

#include "CatalogueCommands.h"
#include "ToolCommand.h"

#include "catalogue/ProductItem.h"
#include "core/QORException.h"
#include "ordering/PriceListPage.h"

namespace pavlora::tool {
namespace {

const QString kUsage = QStringLiteral(
    "Usage: pavlora-tool pricelist [--program DIR] [--html]\n\n"
    "Prints every orderable catalogue entry with its prices (the normal price, then the price of each\n"
    "homogeneous-order level), separated by tabs, then each group's shipping prices. With --html prints\n"
    "the HTML price list the program shows.");

void PrintEntries(const TProductItemList& items, const TXTCIPrices& prices)
{
    for (const auto& item : items) {
        if (item->xchg && prices.ArticleOf(item.get())) {
            QString line = item->FullId();
            for (const double price : prices.GetPriceList(*item))
                line += QLatin1Char('\t') + FormatPrice(price, prices.Settings());
            PrintOut(line);
        }
        if (item->Children())
            PrintEntries(*item->Children(), prices);
    }
}

} // namespace

int RunPriceListCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption program(QStringLiteral("program"),
        QStringLiteral("The program folder; its Data folder holds the catalogue and the price lists."),
        QStringLiteral("DIR"));
    const QCommandLineOption html(QStringLiteral("html"), QStringLiteral("Print the HTML price list."));
    parser.addOption(program);
    parser.addOption(html);
    const int parsed = ParseCommandLine(parser, arguments, kUsage);
    if (parsed >= 0)
        return parsed;
    if (!parser.positionalArguments().isEmpty())
        return UsageError(QStringLiteral("pricelist takes no arguments"), QStringLiteral("pricelist"));
    TToolPrices prices;
    if (!LoadToolPrices(parser, program, prices))
        return kExitFailure;
    try {
        const TXTCIPrices calculator = prices.Calculator();
        if (parser.isSet(html)) {
            PrintOut(
                PriceListPage(calculator, prices.catalogue.items, prices.protocol->ArticleModels().PriceListDate()));
            return kExitSuccess;
        }
        PrintEntries(prices.catalogue.items, calculator);
        for (const auto& group : prices.catalogue.items) {
            QString line = group->id + QStringLiteral("\tshipping");
            for (const double price : calculator.GetShippingPrices(group->id))
                line += QLatin1Char('\t') + FormatPrice(price, calculator.Settings());
            PrintOut(line);
        }
    } catch (...) {
        PrintError(CurrentFailureText());
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace pavlora::tool
