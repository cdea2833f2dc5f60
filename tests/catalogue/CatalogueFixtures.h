#pragma once

#include "catalogue/ProductItemList.h"

#include <QByteArray>
#include <QString>

namespace pavlora::test {

// A JPEG of `width` × `height` pixels at `path`.
void WritePicture(const QString& path, int width = 60, int height = 40);

// A small catalogue: prints 10 and 13 with glossy and matt, a mug with two
// colours whose layout has one print with two picture slots, and a
// photobook group.
QByteArray SmallCatalogueXml();

// Reads `xml` as "Products.dat" of a fresh data folder (registered as
// "{Data}") and returns the catalogue.
TProductItemList ReadCatalogue(const QByteArray& xml);

// Registers the picture facade once per process.
void EnsureImaging();

} // namespace pavlora::test
