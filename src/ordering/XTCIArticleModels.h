#pragma once

#include "ordering/XTCIArticle.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <mutex>

namespace pavlora {

// The article models of the key accounts, by key account id, and the date
// of the price lists they were built from.
//
// Thread contract: a download builds new models on a worker and swaps them
// in here; the UI thread takes snapshots for its calculations. Models are
// never changed once registered, so a snapshot stays valid and consistent
// whatever is swapped in after it was taken. Every function locks.
class TXTCIArticleModels {
public:
    // The registry of the program.
    static TXTCIArticleModels& Instance();

    // The models in key account order.
    QList<TXTCIArticleModelPtr> Snapshot() const;
    TXTCIArticleModelPtr Find(const QString& keyAccountId) const;
    bool IsEmpty() const;
    // Replaces every model at once.
    void ReplaceAll(const QList<TXTCIArticleModelPtr>& models, const QDateTime& priceListDate);
    // Replaces the model of the same key account, or appends it.
    void ReplaceOne(const TXTCIArticleModelPtr& model, const QDateTime& priceListDate);
    void Clear();
    // The oldest modification time among the stored lists read by the last
    // load; invalid before any load.
    QDateTime PriceListDate() const;

private:
    mutable std::mutex mutex_;
    QList<TXTCIArticleModelPtr> models_;
    QDateTime priceListDate_;
};

} // namespace pavlora
