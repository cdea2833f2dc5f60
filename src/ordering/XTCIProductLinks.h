#pragma once

#include "ordering/OrderShell.h"
#include "ordering/XTCIArticleModels.h"
#include "ordering/XTCIPrices.h"

#include <memory>
#include <mutex>
#include <vector>

namespace pugi {
class xml_node;
} // namespace pugi

namespace pavlora {

class TProductItemList;
class TXTCI;

using TXTCIArticleList = std::vector<std::shared_ptr<TXTCIArticle>>;

// The exchange records of XChg.dat: every child of `root` named "xchg" (in
// any case), created by the class registered for its "type". A record
// without "type" (code 100) or of an unknown type stops the reading, one
// without "id" (code 3) is skipped; each fault is reported and the records
// read so far are kept.
TXchgList ReadXchgLinks(const pugi::xml_node& root);

// Links the exchange records of type "zode" to the articles of the models:
// for each model, each record whose format id the model has and whose group
// belongs to the model's key account gets its own copy of the article,
// carrying the record's product id, type and page-count range. Every
// record thus has its article, also when several share a format id.
TXTCIArticleList LinkArticles(
    const TXchgList& links, const QList<TXTCIArticleModelPtr>& models, const TXTCIKeyAccountList& accounts);

// Gives every catalogue entry whose full id is an article's product id that
// article as its exchange link (others lose theirs), then prunes what is
// left without one.
void ApplyArticleLinks(const TXTCIArticleList& articles, TProductItemList& catalogue);

// The price side of UpdateProducts: loads the models (downloading first
// when asked) and links the catalogue's products to their articles.
//
// Thread contract: UpdateProducts runs on a worker when it downloads and
// there only swaps the new models in; the catalogue is linked on the UI
// thread, right away when UpdateProducts runs there, otherwise by Link
// once the worker's result has come back.
class TXTCIProductUpdater : public IProductUpdater {
public:
    // `catalogue` may be null (nothing to link); it must outlive this.
    TXTCIProductUpdater(TXchgList links, TProductItemList* catalogue);

    void UpdateProducts(TProtocol& protocol, bool download, const QString& groupId) override;
    // Links the catalogue to the current models of `protocol`. UI thread.
    void Link(TXTCI& protocol);

    const TXchgList& XchgLinks() const { return links_; }
    // The linked articles of the last Link.
    const TXTCIArticleList& Articles() const { return articles_; }
    // A price calculator on the current models and links of `protocol`.
    TXTCIPrices Prices(TXTCI& protocol, const TPriceSettings& settings) const;

private:
    TXchgList links_;
    TProductItemList* catalogue_;
    TXTCIArticleList articles_;
};

} // namespace pavlora
