#include "ordering/XTCIPrices.h"

#include "catalogue/Cart.h"
#include "catalogue/CartItemData.h"
#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"
#include "core/QORException.h"

#include <QHash>

#include <algorithm>

namespace pavlora {
namespace {

constexpr char kCalculateContext[] = "ZODE.TXTCI.CalculateCart";
constexpr char kNoModelText[] = "Can not find ZODEArticleModel for ProductGroupID: ";

// The homogeneity and total quantity of a cart.
struct TCartShape {
    bool homogeneous = true;
    int totalQuantity = 0;
};

} // namespace

TXTCIPrices::TXTCIPrices(
    QList<TXTCIArticleModelPtr> models, TXTCIKeyAccountList keyAccounts, TPriceSettings settings, TXchgList links)
    : models_(std::move(models))
    , keyAccounts_(std::move(keyAccounts))
    , settings_(std::move(settings))
    , links_(std::move(links))
{
}

QString TXTCIPrices::KeyAccountIdForGroup(const QString& groupId) const
{
    for (const TXTCIKeyAccount& account : keyAccounts_) {
        for (const QString& id : account.groupIds) {
            if (id.compare(groupId, Qt::CaseInsensitive) == 0)
                return account.id;
        }
    }
    return QString();
}

const TXTCIArticleModel* TXTCIPrices::ModelForKeyAccount(const QString& keyAccountId) const
{
    for (const TXTCIArticleModelPtr& model : models_) {
        if (model->keyAccountId == keyAccountId)
            return model.get();
    }
    return nullptr;
}

const TXTCIArticleModel* TXTCIPrices::ModelForGroup(const QString& groupId) const
{
    const QString account = KeyAccountIdForGroup(groupId);
    return account.isEmpty() ? nullptr : ModelForKeyAccount(account);
}

const TXTCIArticleModel& TXTCIPrices::RequireModelForGroup(const QString& groupId) const
{
    const TXTCIArticleModel* model = ModelForGroup(groupId);
    if (!model)
        throw EQORException(207, QLatin1String(kNoModelText) + groupId, QString(), QLatin1String(kCalculateContext));
    return *model;
}

const TXTCIArticle* TXTCIPrices::ArticleOf(const TProductItem* product) const
{
    if (!product)
        return nullptr;
    const auto* link = dynamic_cast<const TXTCIArticle*>(&product->EffectiveXchg());
    if (!link)
        return nullptr;
    // The prices of the latest lists, whatever the link was made from.
    if (const TXTCIArticleModel* model = ModelForKeyAccount(link->keyAccountId)) {
        if (const TXTCIArticle* article = model->ArticleForFormat(link->formatId))
            return article;
    }
    return link;
}

const TXTCIArticleModel* TXTCIPrices::CartModel(const TCart& cart) const
{
    if (cart.IsEmpty())
        return nullptr;
    const TProductItem* product = cart.At(0)->Product();
    const QString group = product ? product->Root()->id : cart.At(0)->groupId.section(QLatin1Char('.'), 0, 0);
    return &RequireModelForGroup(group);
}

namespace {

TCartShape ShapeOf(const TCart& cart, const TXTCIPrices& prices)
{
    TCartShape shape;
    int firstFormat = -1;
    bool first = true;
    for (qsizetype i = 0; i < cart.Count(); ++i) {
        for (const TCartItemLine& line : cart.At(i)->Lines()) {
            const TXTCIArticle* article = prices.ArticleOf(line.product);
            const int format = article ? article->formatId : -1;
            if (first) {
                firstFormat = format;
                first = false;
            } else if (format != firstFormat) {
                shape.homogeneous = false;
            }
            shape.totalQuantity += line.quantity;
        }
    }
    return shape;
}

int DiscountLevel(const TXTCIArticleModel& model, const TCartShape& shape)
{
    int level = 0;
    if (model.HasHomogLevels() && shape.homogeneous) {
        for (const TXTCIHomogMin& entry : model.homogLevels) {
            if (shape.totalQuantity >= entry.minimum)
                level = entry.level;
        }
    }
    return level;
}

} // namespace

void TXTCIPrices::CalculateCart(TQOROrder& order) const
{
    try {
        if (!order.cart || order.cart->IsEmpty()) {
            order.shippingCharge.price = 0.0F;
            for (TQORShippingCharges& charge : order.shippingChargesList)
                charge.price = 0.0F;
            if (order.cart)
                order.cart->discountLevel = 0;
            order.orderTotal = 0.0F;
            return;
        }
        TCart& cart = *order.cart;
        const TXTCIArticleModel* model = CartModel(cart);
        if (!model)
            throw EQORException(207, QStringLiteral("Could not find the matching ArticleModel"), QString(),
                QLatin1String(kCalculateContext));
        const TCartShape shape = ShapeOf(cart, *this);
        const int level = DiscountLevel(*model, shape);
        cart.discountLevel = level;

        // Quantities per product, for the cheaper-step flags.
        QHash<const TProductItem*, int> productQuantities;
        for (qsizetype i = 0; i < cart.Count(); ++i) {
            for (const TCartItemLine& line : cart.At(i)->Lines())
                productQuantities[line.product] += line.quantity;
        }

        double orderValue = 0.0;
        for (qsizetype i = 0; i < cart.Count(); ++i) {
            TCartItemData& item = *cart.At(i);
            const bool print = item.Kind() == CartItemKind::Print;
            for (TCartItemLine& line : item.Lines()) {
                const TXTCIArticle* article = ArticleOf(line.product);
                if (article) {
                    const TXTCIArtPriceInfo first = article->FirstEntry();
                    line.unitPrice = static_cast<float>(article->Lookup(first, first.deliveryType, level).price);
                } else {
                    line.unitPrice = 0.0F;
                }
                orderValue += line.quantity * static_cast<double>(line.unitPrice);
                if (!print)
                    continue;
                line.homogeneous = shape.homogeneous;
                line.cheaperStep = false;
                line.priceSteps.clear();
                if (!article)
                    continue;
                const TXTCIArtPriceInfo first = article->FirstEntry();
                line.priceSteps.push_back(TPriceStep{0, 0, article->Lookup(first, first.deliveryType, 0).price});
                const int productQuantity = productQuantities.value(line.product);
                for (const TXTCIHomogMin& entry : model->homogLevels) {
                    const double price = article->Lookup(first, first.deliveryType, entry.level).price;
                    line.priceSteps.push_back(TPriceStep{entry.level, entry.minimum, price});
                    if (productQuantity < entry.minimum && price < line.unitPrice)
                        line.cheaperStep = true;
                }
            }
        }

        const bool thresholdReached = model->threshold > 0 && model->threshold <= orderValue;
        const int shippingLevel = thresholdReached ? 1 : 0;
        const TXTCIArticle& shipping = *model->shippingArticle;
        const TXTCIArtPriceInfo current = shipping.FirstEntry();
        order.shippingCharge.shippingArticle = model->shippingArticle;
        if (order.selectedDeliveryType == TDeliveryType::dtUnknown
            || order.selectedDeliveryType == TDeliveryType::dtUndefined)
            order.selectedDeliveryType = DeliveryTypeFromServer(current.deliveryType);
        const TXTCIArtPriceInfo entry
            = shipping.Lookup(current, ServerDeliveryType(order.selectedDeliveryType), shippingLevel);
        order.shippingCharge.deliveryType = DeliveryTypeFromServer(entry.deliveryType);
        order.shippingCharge.price = static_cast<float>(entry.price);
        order.shippingCharge.thresholdReached = thresholdReached;
        order.selectedDeliveryType = order.shippingCharge.deliveryType;

        order.shippingChargesList.clear();
        for (const QString& type : model->deliveryTypes) {
            const TXTCIArtPriceInfo offered = shipping.Lookup(current, type.toInt(), shippingLevel);
            order.shippingChargesList.append(TQORShippingCharges{model->shippingArticle,
                DeliveryTypeFromServer(offered.deliveryType), static_cast<float>(offered.price), thresholdReached});
        }

        const double coupon = order.coupon.couponNumber.isEmpty() ? 0.0 : order.coupon.value;
        order.orderTotal = static_cast<float>(std::max(0.0, orderValue + order.shippingCharge.price - coupon));
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kCalculateContext));
    }
}

QString TXTCIPrices::CheckCartMix(const TCart& cart, const TCartItemData& newItem) const
{
    if (cart.IsEmpty())
        return QString();
    const TProductItem* first = cart.At(0)->Product();
    const TProductItem* added = newItem.Product();
    if (!first || !added)
        return QString();
    const QString firstAccount = KeyAccountIdForGroup(first->Root()->id);
    const QString newAccount = KeyAccountIdForGroup(added->Root()->id);
    if (firstAccount.compare(newAccount, Qt::CaseInsensitive) == 0)
        return QString();
    return QStringLiteral("In Ihrem Warenkorb befinden sich %1, die nicht zusammen mit %2 bestellt werden "
                          "können.\r\nSie können den aktuellen Warenkorb speichern oder ihn mit Weiter löschen und "
                          "forfahren.")
        .arg(first->Root()->PluralName(), added->Root()->PluralName());
}

QString TXTCIPrices::CheckCartLimits(const TCart& cart, bool adding) const
{
    const TXTCIArticleModel* model = CartModel(cart);
    if (!model)
        return QString();
    const int total = cart.TotalQuantity();
    const int limit = model->maxOrderItems;
    if (adding && total >= limit) {
        return model->trial
            ? QStringLiteral("Beim Schnupperangebot können Sie nur maximal %1 Fotos bestellen.").arg(limit)
            : QStringLiteral("Sie können maximal nur %1 Fotos/Fotogeschenke bestellen.").arg(limit);
    }
    if (!adding && total > limit) {
        return model->trial
            ? QStringLiteral("Ihr Warenkorb beinhaltet %1 Foto(s). Bei der Schnupperbestellung können Sie jedoch nur "
                             "%2 Fotos bestellen. Sie müssen %3 Foto(s) aus dem Warenkorb entfernen, bevor Sie mit der "
                             "Bestellung beginnen können.")
                  .arg(total)
                  .arg(limit)
                  .arg(total - limit)
            : QStringLiteral("Ihr Warenkorb beinhaltet %1 Produkt(e). Sie können jedoch nur %2 Produkt(e) bestellen. "
                             "Sie müssen %3 Produkt(e) aus dem Warenkorb entfernen, bevor Sie mit der Bestellung "
                             "beginnen können.")
                  .arg(total)
                  .arg(limit)
                  .arg(total - limit);
    }
    return QString();
}

QString TXTCIPrices::GetCartHints(const TCart& cart, TDeliveryType deliveryType) const
{
    const TXTCIArticleModel* model = CartModel(cart);
    if (!model)
        return QString();
    const TCartShape shape = ShapeOf(cart, *this);
    double value = 0.0;
    for (qsizetype i = 0; i < cart.Count(); ++i) {
        for (const TCartItemLine& line : cart.At(i)->Lines())
            value += line.Amount();
    }
    QString hint;
    if (model->HasHomogLevels() && shape.homogeneous) {
        const TProductItem* product = cart.At(0)->Product();
        const TPriceList prices = product ? GetPriceList(*product) : TPriceList{};
        for (qsizetype i = 0; i < model->homogLevels.size(); ++i) {
            const int minimum = model->homogLevels.at(i).minimum;
            if (shape.totalQuantity < minimum && shape.totalQuantity + 3 >= minimum && prices.size() >= i + 2
                && prices.at(i + 1) < prices.at(i)) {
                hint = QStringLiteral("Wenn Ihr Auftrag %1 Bilder oder mehr Bilder enthält und Sie alle Bilder in "
                                      "einem Format (9x13 bis 13x18) bestellen, dann profitieren Sie von unserem "
                                      "\"Sortenrein-Bonus\".")
                           .arg(minimum);
                break;
            }
        }
    }
    const double threshold = model->threshold;
    if (threshold - 1.0 <= value && value < threshold) {
        const TXTCIArticle& shipping = *model->shippingArticle;
        const TXTCIArtPriceInfo current = shipping.FirstEntry();
        const int serverType = deliveryType == TDeliveryType::dtUndefined || deliveryType == TDeliveryType::dtUnknown
            ? current.deliveryType
            : ServerDeliveryType(deliveryType);
        if (!hint.isEmpty())
            hint += QStringLiteral("\r\n\r\n");
        hint += QStringLiteral("Ab %1 € Bestellwert verringern sich Ihre Versandkosten von %2 € auf %3 €.")
                    .arg(FormatAmount(threshold), FormatAmount(shipping.Lookup(current, serverType, 0).price),
                        FormatAmount(shipping.Lookup(current, serverType, 1).price));
    }
    return hint;
}

TQORShippingCharges TXTCIPrices::GetArticleInfo(const QString& groupId) const
{
    const TXTCIArticleModel& model = RequireModelForGroup(groupId);
    const TXTCIArtPriceInfo first = model.shippingArticle->FirstEntry();
    return TQORShippingCharges{
        model.shippingArticle, DeliveryTypeFromServer(first.deliveryType), static_cast<float>(first.price), false};
}

TPriceList TXTCIPrices::GetPriceList(const TProductItem& product) const
{
    const TXTCIArticle* article = ArticleOf(&product);
    if (!article)
        return {};
    const TXTCIArtPriceInfo first = article->FirstEntry();
    TPriceList prices{article->Lookup(first, first.deliveryType, 0).price};
    const TXTCIArticleModel* model = ModelForKeyAccount(article->keyAccountId);
    if (model && model->HasHomogLevels()) {
        for (const TXTCIHomogMin& entry : model->homogLevels)
            prices.append(article->Lookup(first, first.deliveryType, entry.level).price);
    }
    return prices;
}

TPriceList TXTCIPrices::GetShippingPrices(const QString& groupId, int serverDeliveryType) const
{
    const TXTCIArticleModel& model = RequireModelForGroup(groupId);
    const TXTCIArticle& shipping = *model.shippingArticle;
    const TXTCIArtPriceInfo current = shipping.FirstEntry();
    const int type = serverDeliveryType < 0 ? current.deliveryType : serverDeliveryType;
    TPriceList prices{shipping.Lookup(current, type, 0).price};
    if (model.threshold > 0)
        prices.append(shipping.Lookup(current, type, 1).price);
    return prices;
}

bool TXTCIPrices::HasHomogDiscount(const QString& groupId) const
{
    if (!groupId.isEmpty())
        return RequireModelForGroup(groupId).HasHomogLevels();
    return std::any_of(models_.begin(), models_.end(), [](const auto& model) { return model->HasHomogLevels(); });
}

bool TXTCIPrices::HasShippingThreshold(const QString& groupId) const
{
    if (!groupId.isEmpty())
        return RequireModelForGroup(groupId).threshold > 0;
    return std::any_of(models_.begin(), models_.end(), [](const auto& model) { return model->threshold > 0; });
}

TDiscountLevelList TXTCIPrices::GetDiscountLevels(const QString& groupId) const
{
    return RequireModelForGroup(groupId).homogLevels;
}

TPriceList TXTCIPrices::GetShippingThreshold(const QString& groupId) const
{
    const double threshold = RequireModelForGroup(groupId).threshold;
    return threshold == 0.0 ? TPriceList{} : TPriceList{threshold};
}

TProductItem* TXTCIPrices::FindProductForFormat(
    const QString& formatId, const TProductItemList& catalogue, bool trialOnly) const
{
    bool ok = false;
    const int format = formatId.trimmed().toInt(&ok);
    if (!ok)
        return nullptr;
    for (const TXTCIArticleModelPtr& model : models_) {
        if ((trialOnly && !model->trial) || !model->ArticleForFormat(format))
            continue;
        for (const std::shared_ptr<TXchg>& record : links_) {
            const auto* article = dynamic_cast<const TXTCIArticle*>(record.get());
            if (!article || article->formatId != format
                || KeyAccountIdForGroup(article->GroupId()) != model->keyAccountId)
                continue;
            TProductItem* item = catalogue.Find(article->Id());
            return item ? item->DefaultLeaf() : nullptr;
        }
        return nullptr;
    }
    return nullptr;
}

QString TXTCIPrices::FormattedPrice(const QString& catalogueId) const
{
    for (const std::shared_ptr<TXchg>& record : links_) {
        const auto* link = dynamic_cast<const TXTCIArticle*>(record.get());
        if (!link || link->Id().compare(catalogueId, Qt::CaseInsensitive) != 0)
            continue;
        const TXTCIArticleModel* model = ModelForGroup(link->GroupId());
        const TXTCIArticle* article = model ? model->ArticleForFormat(link->formatId) : nullptr;
        if (!article)
            break;
        const TXTCIArtPriceInfo first = article->FirstEntry();
        return FormatPrice(article->Lookup(first, first.deliveryType, 0).price, settings_);
    }
    return QStringLiteral("???");
}

TProductItem* TXTCIPrices::ProductForFormat(
    const TProductItemList& catalogue, const QString& formatId, int account) const
{
    // Service format ids are numbers; a hand-over file written with catalogue
    // ids ("Prints.10") is looked up in the catalogue.
    bool numeric = false;
    formatId.trimmed().toInt(&numeric);
    if (!numeric)
        return TFormatLookup::ProductForFormat(catalogue, formatId, account);
    return FindProductForFormat(formatId, catalogue, account == 2);
}

} // namespace pavlora
