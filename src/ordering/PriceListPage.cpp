#include "ordering/PriceListPage.h"

#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"
#include "ordering/XTCIPrices.h"

namespace pavlora {

QString PriceListPage(const TXTCIPrices& prices, const TProductItemList& catalogue, const QDateTime& date)
{
    // Groups of no key account (a catalogue ahead of its prices) have no
    // rows to show.
    QList<const TProductItem*> groups;
    for (const auto& group : catalogue) {
        if (prices.ModelForGroup(group->id))
            groups.append(group.get());
    }
    const QString bottom = date.isValid()
        ? QStringLiteral("Stand der Preisliste: ") + date.toString(QStringLiteral("dd.MM.yyyy"))
        : QString();
    return prices.GetHTMLPriceList(groups, prices.Settings().styleSheet, QString(), bottom);
}

} // namespace pavlora
