#include "ordering/XTCIArticleModels.h"

namespace pavlora {

TXTCIArticleModels& TXTCIArticleModels::Instance()
{
    static TXTCIArticleModels models;
    return models;
}

QList<TXTCIArticleModelPtr> TXTCIArticleModels::Snapshot() const
{
    std::lock_guard lock(mutex_);
    return models_;
}

TXTCIArticleModelPtr TXTCIArticleModels::Find(const QString& keyAccountId) const
{
    std::lock_guard lock(mutex_);
    for (const TXTCIArticleModelPtr& model : models_) {
        if (model->keyAccountId == keyAccountId)
            return model;
    }
    return nullptr;
}

bool TXTCIArticleModels::IsEmpty() const
{
    std::lock_guard lock(mutex_);
    return models_.isEmpty();
}

void TXTCIArticleModels::ReplaceAll(const QList<TXTCIArticleModelPtr>& models, const QDateTime& priceListDate)
{
    std::lock_guard lock(mutex_);
    models_ = models;
    priceListDate_ = priceListDate;
}

void TXTCIArticleModels::ReplaceOne(const TXTCIArticleModelPtr& model, const QDateTime& priceListDate)
{
    std::lock_guard lock(mutex_);
    priceListDate_ = priceListDate;
    for (TXTCIArticleModelPtr& existing : models_) {
        if (existing->keyAccountId == model->keyAccountId) {
            existing = model;
            return;
        }
    }
    models_.append(model);
}

void TXTCIArticleModels::Clear()
{
    std::lock_guard lock(mutex_);
    models_.clear();
    priceListDate_ = QDateTime();
}

QDateTime TXTCIArticleModels::PriceListDate() const
{
    std::lock_guard lock(mutex_);
    return priceListDate_;
}

} // namespace pavlora
