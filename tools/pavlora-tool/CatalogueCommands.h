#pragma once

#include "catalogue/ProductItemList.h"
#include "catalogue/ProductTexts.h"
#include "ordering/XTCIPrices.h"
#include "ordering/XTCIProductLinks.h"
#include "ordering/ZODE.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include <optional>

namespace pavlora::tool {

// The catalogue of a deployment as the program reads it, for the
// "catalogue" and "cart" commands.
struct TToolCatalogue {
    TProductTexts texts;
    TProductItemList items;
};

// Puts the program folder (and its Debug.cfg) or a data folder in force:
// "--program DIR" takes DIR/Data, "--data DIR" DIR itself, neither the
// tool's own program folder. Registers "{Data}" and the picture facade.
// Returns the data folder, or nothing after printing an error.
std::optional<QString> SetUpDataFolder(
    const QCommandLineParser& parser, const QCommandLineOption& program, const QCommandLineOption* data);

// Reads "ProdTexts.dat" and "Products.dat" of `dataFolder` into `catalogue`.
// Returns false after printing the catalogue's error text.
bool ReadToolCatalogue(const QString& dataFolder, TToolCatalogue& catalogue);

// The catalogue of a deployment linked to its stored price lists, for the
// "price" and "pricelist" commands.
struct TToolPrices {
    TToolCatalogue catalogue;
    TPriceSettings settings;
    std::unique_ptr<TXTCI> protocol;
    std::unique_ptr<TXTCIProductUpdater> updater;

    TXTCIPrices Calculator() const;
};

// Reads "AppIni.dat", "XChg.dat", the stored price lists, the catalogue
// (display names priced) and links it. Returns false after printing the
// error text.
bool LoadToolPrices(const QString& dataFolder, TToolPrices& prices);
// The same for the data folder that --program names.
bool LoadToolPrices(const QCommandLineParser& parser, const QCommandLineOption& program, TToolPrices& prices);

} // namespace pavlora::tool
