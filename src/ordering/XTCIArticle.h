#pragma once

#include "catalogue/Xchg.h"
#include "ordering/QORRecords.h"
#include "ordering/XTCIProtocolConfig.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

namespace pugi {
class xml_node;
} // namespace pugi

namespace pavlora {

// One price of an article: for an input source, a server delivery type
// (1 postal, 0 pick-up) and a discount level (0 the normal price, 1 and up
// the homogeneous-order levels; for the shipping article 1 = threshold
// reached). The price is in currency units.
struct TXTCIArtPriceInfo {
    int inputSource = 0;
    int deliveryType = 0;
    int discountLevel = 0;
    int articleId = 0;
    double price = 0.0;
    int articleNo = 0; // for coupons: the campaign number
    int reserved = 0;
    friend bool operator==(const TXTCIArtPriceInfo&, const TXTCIArtPriceInfo&) = default;
};
using TXTCIArtPriceInfoList = QList<TXTCIArtPriceInfo>;

// What the order file writes for an article: a head text and its lines.
struct TXTCIOrderTxtInfo {
    QString head;
    QStringList lines;
};

// A price article: the exchange record of type "zode" in XChg.dat (product
// id, format id, page-count range) joined with what the key account's
// article list says about it (names, size, prices, order-file lines).
//
// An article is filled once and then only read: a calculation never changes
// it, it passes the price entry it works with along instead. So an article
// may be read from any thread.
class TXTCIArticle : public TXchg {
public:
    // Reads "id", "type", "formatid" and the optional "params"/"book_pages"
    // with "min" and "max". A missing format id is reported (code 102,
    // "\"formatid\" not defined for xchg") and leaves format id 0.
    void ReadXML(pugi::xml_node element) override;
    // Fills the article-list part from one child of the list's "content".
    // Price entries whose input source is neither 0 nor 1 are dropped.
    // Raises EQORException code 207 for a value that is not a number.
    void ReadArticleList(pugi::xml_node article);

    // The first entry with the three values; null when none matches.
    const TXTCIArtPriceInfo* FindEntry(int inputSource, int deliveryType, int discountLevel) const;
    // The entry for `discountLevel` with the input source and delivery type
    // of `current`; `current` itself when none matches.
    TXTCIArtPriceInfo Lookup(const TXTCIArtPriceInfo& current, int deliveryType, int discountLevel) const;
    // The entry a calculation starts from: the first one (a zero entry when
    // the article has none).
    TXTCIArtPriceInfo FirstEntry() const { return prices.isEmpty() ? TXTCIArtPriceInfo{} : prices.front(); }

    int formatId = 0;
    QString visibleName;
    QString description;
    double width = 0.0;
    double height = 0.0;
    double dotsPerMm = 0.0;
    TXTCIArtPriceInfoList prices;
    TXTCIOrderTxtInfo orderTxt;
    QString printFunType;
    QString keyAccountId;
};
using TXTCIArticlePtr = std::shared_ptr<const TXTCIArticle>;

// The article of a checked coupon: one price entry per coupon entry, its
// value as the price and its campaign as the article number.
std::shared_ptr<TXTCIArticle> MakeCouponArticle(const QList<TQORCouponEntry>& entries);

// Registers TXTCIArticle as the record class of type "zode" (once; later
// calls do nothing).
void RegisterXTCIArticleClass();

struct TXTCIHomogMin {
    int level = 0;
    int minimum = 0;
    friend bool operator==(const TXTCIHomogMin&, const TXTCIHomogMin&) = default;
};
using TXTCIHomogMinList = QList<TXTCIHomogMin>;
using TDiscountLevelList = TXTCIHomogMinList;
using TPriceList = QList<double>;

// Largest number of articles, prices per article and levels a list may
// hold; a list beyond them is refused.
inline constexpr int kMaxListArticles = 10000;
inline constexpr int kMaxArticlePrices = 1000;

// The prices of one key account: its articles by format id, the shipping
// article, the delivery types offered, the free-shipping threshold and the
// homogeneous-order levels. Built whole from the two price lists and then
// only read; a new download builds a new model.
class TXTCIArticleModel {
public:
    // Builds the model of `account` from the "content" of its article list
    // and of its transfer list. Raises EQORException code 207 with the fault
    // for a list that is no price list or holds values that are no numbers.
    static std::shared_ptr<const TXTCIArticleModel> Build(
        const TXTCIKeyAccount& account, pugi::xml_node articleContent, pugi::xml_node transferContent);

    QString keyAccountId;
    int maxOrderItems = 0;
    // A trial-offer account: its group ids hold "Teaser".
    bool trial = false;
    // Articles by format id; the first of a format id wins.
    std::map<int, TXTCIArticlePtr> articles;
    std::shared_ptr<TXTCIArticle> shippingArticle; // not changed once built
    // The server delivery types of the shipping article's entries, in order
    // of first appearance.
    QStringList deliveryTypes;
    double threshold = 0.0;
    TXTCIHomogMinList homogLevels;

    bool HasHomogLevels() const { return !homogLevels.isEmpty() && homogLevels.front().minimum != 9999; }
    const TXTCIArticle* ArticleForFormat(int formatId) const;
};
using TXTCIArticleModelPtr = std::shared_ptr<const TXTCIArticleModel>;

} // namespace pavlora
