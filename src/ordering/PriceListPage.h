#pragma once

#include <QDateTime>
#include <QString>

namespace pavlora {

class TProductItemList;
class TXTCIPrices;

// The price list the customer opens from the navigation: every product
// group of the catalogue that has prices, with the date of the stored
// price lists below it ("Stand der Preisliste: 01.12.2026"), in the style
// sheet of the price settings. Raises what the HTML price list raises.
QString PriceListPage(const TXTCIPrices& prices, const TProductItemList& catalogue, const QDateTime& date);

} // namespace pavlora
