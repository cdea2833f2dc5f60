#pragma once

#include "catalogue/ProductItemList.h"

#include <QString>

namespace pugi {
class xml_node;
} // namespace pugi

namespace pavlora {

class TTextMacros;

// Context under which a failed catalogue read is logged and re-raised.
inline constexpr char kReadProductsContext[] = "OnlineUpdate.ReadProductsXML";

// Reads the catalogue "Products.dat" (any stored variant) at `path`: the
// links are expanded from their masters, then every "group" of the root
// "productsdef" becomes a top-level item. Display names are expanded with
// `macros` (kind "[lang]" by default). Layout pictures named without a
// folder are looked for in the catalogue's folder.
//
// Every structural fault fails the whole read with EQORException code 2
// whose code text names it ("wrong content (FILE)", "Invalid edit type",
// "DefaultChild X not found", ...), context "OnlineUpdate.ReadProductsXML".
TProductItemList ReadProductsXML(const QString& path, const TTextMacros& macros);

// The same from a parsed root element; `fileName` appears in the texts of
// the root's faults.
TProductItemList ReadProductsElement(
    pugi::xml_node root, const QString& fileName, const QString& pictureFolder, const TTextMacros& macros);

// Removes what cannot be ordered once the order side has linked exchange
// records: groups and items without a link of their own are removed when
// nothing below them remains; an item with a link keeps all of it.
void PruneCatalogue(TProductItemList& groups);

} // namespace pavlora
