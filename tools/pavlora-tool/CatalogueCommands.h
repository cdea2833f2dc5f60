#pragma once

#include "catalogue/ProductItemList.h"
#include "catalogue/ProductTexts.h"

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

} // namespace pavlora::tool
