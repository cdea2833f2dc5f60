// The HTML texts of the prices: the price list and the order summary.

#include "ordering/XTCIPrices.h"

#include "catalogue/Cart.h"
#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"
#include "core/QORException.h"

#include <algorithm>
#include <cmath>

namespace pavlora {
namespace {

constexpr char kPriceListContext[] = "ZODE.TXCTI.GetHTMLPriceList";

// The row attributes of the price list: a class when a style sheet is
// given, else alternating background colours. Each attribute built
// advances the row counter.
class TRowAttributes {
public:
    TRowAttributes(bool styled, const TPriceSettings& settings)
        : styled_(styled)
        , settings_(settings)
    {
    }
    QString Named(const char* name) { return Make(QLatin1String(name)); }
    QString Product() { return Make(counter_ % 2 ? QStringLiteral("odd") : QStringLiteral("even")); }
    QString Shipping() { return Make(counter_ % 2 ? QStringLiteral("shipping_odd") : QStringLiteral("shipping_even")); }

private:
    QString Make(const QString& className)
    {
        const bool odd = counter_ % 2;
        ++counter_;
        if (styled_)
            return QStringLiteral(" class=\"%1\" ").arg(className);
        return QStringLiteral(" bgcolor=\"%1\" ").arg(odd ? settings_.rowColor2 : settings_.rowColor1);
    }

    bool styled_;
    const TPriceSettings& settings_;
    int counter_ = 0;
};

QString Escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

bool SamePrices(const TPriceList& a, const TPriceList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (std::abs(a.at(i) - b.at(i)) > 0.001)
            return false;
    }
    return true;
}

struct TPriceListWriter {
    const TXTCIPrices& prices;
    TRowAttributes& rows;
    QString& html;
    int levels; // N

    QString Amount(double value) const { return Escaped(FormatPrice(value, prices.Settings())); }

    void ProductRow(const QString& name, const TPriceList& list)
    {
        const qsizetype shown = list.size() == 1 ? 1 : list.size();
        html += QStringLiteral("<tr %1><td colspan=\"%2\">%3</td>")
                    .arg(rows.Product())
                    .arg(levels + 2 - static_cast<int>(shown))
                    .arg(Escaped(name));
        for (qsizetype i = 0; i < shown; ++i)
            html += QStringLiteral("<td align=\"right\">%1</td>").arg(Amount(list.at(i)));
        html += QStringLiteral("<td></td></tr>");
    }

    // The products below `parent`, recursively.
    void Products(const TProductItemList& items)
    {
        for (const auto& item : items) {
            if (item->hidden)
                continue;
            if (item->xchg && prices.ArticleOf(item.get())) {
                ProductRow(item->displayName, prices.GetPriceList(*item));
                continue;
            }
            if (!item->Children())
                continue;
            if (item->bundleQuantity > 0)
                BundleRows(*item);
            else if (!Collapsed(*item))
                Products(*item->Children());
        }
    }

    // A bundle offer: each variant as so many prints including postage.
    void BundleRows(const TProductItem& item)
    {
        const TPriceList shipping = prices.GetShippingPrices(item.Root()->id);
        const double postage = shipping.isEmpty() ? 0.0 : shipping.front();
        for (const auto& child : *item.Children()) {
            if (child->hidden || !child->xchg || !prices.ArticleOf(child.get()))
                continue;
            const TPriceList list = prices.GetPriceList(*child);
            if (list.isEmpty())
                continue;
            const QString text
                = QStringLiteral("%1 Abzüge %2 inkl. Porto").arg(item.bundleQuantity).arg(child->displayName);
            html += QStringLiteral("<tr %1><td>%2</td><td align=\"right\">%3</td><td></td></tr>")
                        .arg(rows.Product(), Escaped(text), Amount(item.bundleQuantity * list.front() + postage));
        }
    }

    // One row for all sub-products when they (two or more) price alike.
    bool Collapsed(const TProductItem& item)
    {
        const TProductItemList& children = *item.Children();
        if (children.Count() < 2)
            return false;
        TPriceList first;
        for (qsizetype i = 0; i < children.Count(); ++i) {
            const TProductItem* child = children.At(i);
            if (!child->xchg || !prices.ArticleOf(child))
                return false;
            const TPriceList list = prices.GetPriceList(*child);
            if (i == 0)
                first = list;
            else if (!SamePrices(first, list))
                return false;
        }
        const QString name = children.Count() == 2
            ? item.displayName + QStringLiteral(" (") + children.At(0)->displayName + QStringLiteral(", ")
                + children.At(1)->displayName + QStringLiteral(")")
            : item.displayName + QStringLiteral(" (") + children.At(0)->displayName + QStringLiteral(" - ")
                + children.Last()->displayName + QStringLiteral(")");
        ProductRow(name, first);
        return true;
    }

    void ShippingRows(const QString& groupId, const TXTCIArticleModel& model)
    {
        const bool several = model.deliveryTypes.size() > 1;
        for (const QString& type : model.deliveryTypes) {
            const int serverType = type.toInt();
            const QString label = serverType == 0 ? QStringLiteral("Filialabholung") : QStringLiteral("Post");
            const TPriceList list = prices.GetShippingPrices(groupId, serverType);
            QString text = QStringLiteral("Versandkosten pro Auftrag");
            if (several)
                text += QStringLiteral(" (") + label + QStringLiteral(")");
            if (!(prices.Settings().hideZeroShipping && !(list.front() > 0))) {
                html += QStringLiteral("<tr %1><td colspan=\"%2\">%3</td><td align=\"right\">%4</td><td></td></tr>")
                            .arg(rows.Shipping())
                            .arg(levels + 1)
                            .arg(text, Amount(list.front()));
            }
            if (list.size() > 1) {
                QString threshold
                    = QStringLiteral("Versandkosten pro Auftrag<br/>ab %1 Bestellwert").arg(Amount(model.threshold));
                if (several)
                    threshold += QStringLiteral(" (") + label + QStringLiteral(")");
                html += QStringLiteral(
                    "<tr %1><td colspan=\"%2\" width=\"180\">%3</td><td align=\"right\">%4</td><td></td></tr>")
                            .arg(rows.Shipping())
                            .arg(levels + 1)
                            .arg(threshold, Amount(list.at(1)));
            }
        }
    }
};

} // namespace

QString TXTCIPrices::GetHTMLPriceList(const QList<const TProductItem*>& groups, const QString& styleSheet,
    const QString& header, const QString& bottomText) const
{
    try {
        const bool styled = !styleSheet.isEmpty();
        TRowAttributes rows(styled, settings_);
        int levels = 0;
        for (const TProductItem* group : groups) {
            const TXTCIArticleModel* model = ModelForGroup(group->id);
            if (model && model->HasHomogLevels())
                levels = std::max(levels, static_cast<int>(model->homogLevels.size()));
        }
        QString html = styled ? QStringLiteral("<html><head><style>") + styleSheet
                + QStringLiteral("</style></head><body><table width=\"100%\" cellspacing=\"0\">")
                              : QStringLiteral("<html><body><table width=\"100%\" cellspacing=\"0\">");
        const QString headerText = header.isEmpty()
            ? QStringLiteral("Sollten sich hier angegebene Preise geändert haben, erfolgt eine automatische "
                             "Aktualisierung beim Login.")
            : header;
        html += QStringLiteral("<tr %1><td colspan=\"%2\">%3</td></tr>")
                    .arg(rows.Named("header"))
                    .arg(levels + 2)
                    .arg(headerText);
        TPriceListWriter writer{*this, rows, html, levels};
        // The first of the levels + 2 cells is twice as wide: the row is
        // levels + 3 cells wide in all, so that it fits the view.
        const int cellWidth = settings_.viewWidth / (levels + 3);
        for (const TProductItem* group : groups) {
            const TXTCIArticleModel& model = RequireModelForGroup(group->id);
            html += QStringLiteral("<tr %1>").arg(rows.Named("separator"));
            for (int i = 0; i < levels + 2; ++i)
                html += QStringLiteral("<td width=%1><br></td>").arg(i == 0 ? 2 * cellWidth : cellWidth);
            html += QStringLiteral("<td></td></tr>");
            const int groupLevels = model.HasHomogLevels() ? static_cast<int>(model.homogLevels.size()) : 0;
            if (groupLevels == 0) {
                html += QStringLiteral("<tr %1 align=\"left\"><th colspan=%2 valign=\"top\">%3</th><th "
                                       "align=\"right\">%4</th>")
                            .arg(rows.Named("group_header"))
                            .arg(levels + 1)
                            .arg(Escaped(group->displayName), QStringLiteral("Preis:"));
            } else {
                html += QStringLiteral("<tr %1><td colspan=\"%2\">%3</td></tr>")
                            .arg(rows.Named("discount_info"))
                            .arg(levels + 2)
                            .arg(QStringLiteral("Wenn Ihr Auftrag nur Bilder in einem Format umfasst und Sie mehr "
                                                "als %1 Bilder bestellen, erhalten Sie unseren Sortenrein-Preis.")
                                     .arg(model.homogLevels.front().minimum));
                html += QStringLiteral("<tr %1 align=\"left\"><th valign=\"top\">%2</th>")
                            .arg(rows.Named("group_header"), Escaped(group->displayName));
                if (levels - groupLevels != 0)
                    html += QStringLiteral("<td colspan=\"%1\"></td>").arg(levels - groupLevels);
                html += QStringLiteral("<th align=\"right\" valign=\"top\">%1</th>").arg(QStringLiteral("Normal:"));
                for (const TXTCIHomogMin& entry : model.homogLevels)
                    html += QStringLiteral("<th align=\"right\" valign=\"top\">%1</th>")
                                .arg(QStringLiteral("Ab %1 Abzüge").arg(entry.minimum));
            }
            html += QStringLiteral("<td></td></tr>");
            if (group->xchg && ArticleOf(group))
                writer.ProductRow(group->displayName, GetPriceList(*group));
            if (group->Children())
                writer.Products(*group->Children());
            if (!group->hideShippingInPriceList)
                writer.ShippingRows(group->id, model);
        }
        if (!bottomText.isEmpty())
            html += QStringLiteral("</table><p %1>").arg(rows.Named("bottom_text")) + bottomText
                + QStringLiteral("</p></body></html>");
        else
            html += QStringLiteral("</table></body></html>");
        return html;
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kPriceListContext));
    }
}

QString TXTCIPrices::OrderSummaryHtml(
    const TQOROrder& order, const TProductItemList& catalogue, bool pricesChanged) const
{
    QString html = QStringLiteral("<html><body>");
    if (pricesChanged)
        html += QStringLiteral("<p><b>ACHTUNG:</b> Aufgrund von Preisänderungen wurde ein Update durchgeführt - die "
                               "aktuellen Preise wurden gespeichert. Der Gesamtbetrag Ihrer Bestellung hat sich "
                               "dadurch geändert. Sollten Sie zum Warenkorb zurückkehren wollen, dann wählen Sie bitte "
                               "unten \"Zurück\".</p>");
    html += QStringLiteral("<p>Ihre Bestellung umfasst:</p><table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" "
                           "width=\"100%\">");
    const auto row = [&html](const QString& text, const QString& amount) {
        html += QStringLiteral("<tr><td>") + text + QStringLiteral("</td><td align=\"right\">") + amount
            + QStringLiteral("</td></tr>");
    };
    for (const auto& group : catalogue) {
        if (!group->Children())
            continue;
        for (const auto& product : *group->Children()) {
            if (product->totalQuantity <= 0)
                continue;
            const QString name = Escaped(product->displayName);
            const QString text = product->totalUnitPrice >= 0
                ? QStringLiteral("%1 mal %2 zu je %3:")
                      .arg(QString::number(product->totalQuantity), name, FormatAmount(product->totalUnitPrice))
                : QStringLiteral("%1 mal %2:").arg(QString::number(product->totalQuantity), name);
            row(text, Escaped(FormatPrice(product->totalAmount, settings_)));
        }
    }
    row(QStringLiteral("Versandkosten:"), Escaped(FormatPrice(order.shippingCharge.price, settings_)));
    if (!order.coupon.couponNumber.isEmpty())
        row(QStringLiteral("Gutschein:"), Escaped(FormatPrice(order.coupon.value, settings_)));
    html += QStringLiteral("</table>");
    if (order.cart && order.cart->discountLevel > 0)
        html += QStringLiteral("<p>Sie erhalten den reduzierten Preis für sortenreine Bestellungen.</p>");
    html += QStringLiteral("</body></html>");
    return html;
}

} // namespace pavlora
