#pragma once

#include "catalogue/CartController.h"
#include "catalogue/TextMacros.h"
#include "ordering/PriceFormat.h"
#include "ordering/QORRecords.h"
#include "ordering/XTCIArticle.h"

#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace pavlora {

class TCart;
class TCartItemData;
class TProductItem;
class TProductItemList;

using TXchgList = std::vector<std::shared_ptr<TXchg>>;

// The prices of the cart and the catalogue, worked out offline from a
// snapshot of the key accounts' article models.
//
// Everything a calculation depends on is given to it: the models it was
// made with, the key accounts (which group belongs to which), the price
// entry it works with. It changes no article, no model and no current key
// account, so the UI thread can price while a worker downloads new lists;
// the next snapshot sees them.
//
// The cart, order and catalogue passed in belong to the calling thread
// (the UI thread).
class TXTCIPrices : public TPriceTextSource, public TFormatLookup {
public:
    // `links` are the exchange records of XChg.dat (for "[price]" and the
    // format lookup of the hand-over import).
    TXTCIPrices(QList<TXTCIArticleModelPtr> models, TXTCIKeyAccountList keyAccounts, TPriceSettings settings,
        TXchgList links = {});

    const TPriceSettings& Settings() const { return settings_; }

    // ---- Models and articles ----
    // The model of the key account of `groupId`; null when there is none.
    const TXTCIArticleModel* ModelForGroup(const QString& groupId) const;
    // Same, raising EQORException ("Can not find ZODEArticleModel for
    // ProductGroupID: " + group id).
    const TXTCIArticleModel& RequireModelForGroup(const QString& groupId) const;
    // The article that prices `product` (its own link or an ancestor's),
    // as the current model has it; null when it has none.
    const TXTCIArticle* ArticleOf(const TProductItem* product) const;

    // ---- Synchronous operations ----
    // Prices every line of the order's cart, the discount level, the
    // shipping charge (and the charges per delivery type) and the order
    // total (order value + shipping - coupon, never below 0).
    void CalculateCart(TQOROrder& order) const;
    // The text to show when `newItem` cannot join `cart` (another key
    // account); empty when it can.
    QString CheckCartMix(const TCart& cart, const TCartItemData& newItem) const;
    // The order limit text: adding is refused once the total reaches the
    // limit; a cart beyond it must lose items before ordering.
    QString CheckCartLimits(const TCart& cart, bool adding) const;
    // The up-selling hints: the "Sortenrein" bonus within reach and the
    // shipping threshold within one unit. `deliveryType` is the delivery
    // chosen (undefined: the shipping article's first).
    QString GetCartHints(const TCart& cart, TDeliveryType deliveryType = TDeliveryType::dtUndefined) const;
    // The group's shipping article with the price and delivery type it
    // starts from (its first entry).
    TQORShippingCharges GetArticleInfo(const QString& groupId) const;
    // The product's prices: level 0, then each homogeneous level.
    TPriceList GetPriceList(const TProductItem& product) const;
    // The group's shipping price at level 0, and at level 1 when the model
    // has a threshold, for a server delivery type (-1: the first offered).
    TPriceList GetShippingPrices(const QString& groupId, int serverDeliveryType = -1) const;
    // Without a group: whether any key account has one.
    bool HasHomogDiscount(const QString& groupId = QString()) const;
    bool HasShippingThreshold(const QString& groupId = QString()) const;
    TDiscountLevelList GetDiscountLevels(const QString& groupId) const;
    // The threshold, or an empty list when it is 0.
    TPriceList GetShippingThreshold(const QString& groupId) const;
    // The leaf of the catalogue entry whose article has `formatId`: the
    // first model (only trial ones when asked) with such an article, the
    // first exchange record of its key account with that format id.
    TProductItem* FindProductForFormat(
        const QString& formatId, const TProductItemList& catalogue, bool trialOnly) const;

    // The HTML price list of `groups`; `styleSheet` is "pricelist_style".
    // `header` replaces the standard header text; a `bottomText` ends it.
    QString GetHTMLPriceList(const QList<const TProductItem*>& groups, const QString& styleSheet,
        const QString& header = QString(), const QString& bottomText = QString()) const;
    // The order summary, from the catalogue totals the cart filled in.
    QString OrderSummaryHtml(const TQOROrder& order, const TProductItemList& catalogue, bool pricesChanged) const;

    // ---- The catalogue's hooks ----
    // "[price]ID": the level-0 price of the entry's article, formatted.
    QString FormattedPrice(const QString& catalogueId) const override;
    // The hand-over import: account 2 looks among the trial accounts.
    TProductItem* ProductForFormat(
        const TProductItemList& catalogue, const QString& formatId, int account) const override;

private:
    const TXTCIArticleModel* ModelForKeyAccount(const QString& keyAccountId) const;
    QString KeyAccountIdForGroup(const QString& groupId) const;
    // The model of the first item's group; null for an empty cart.
    const TXTCIArticleModel* CartModel(const TCart& cart) const;

    QList<TXTCIArticleModelPtr> models_;
    TXTCIKeyAccountList keyAccounts_;
    TPriceSettings settings_;
    TXchgList links_;
};

} // namespace pavlora
