#include "catalogue/ProductItemList.h"

#include "catalogue/ProductItem.h"

namespace pavlora {

TProductItemList::~TProductItemList() = default;
TProductItemList::TProductItemList(TProductItemList&&) noexcept = default;
TProductItemList& TProductItemList::operator=(TProductItemList&&) noexcept = default;

TProductItem* TProductItemList::Append(std::unique_ptr<TProductItem> item)
{
    items_.push_back(std::move(item));
    return items_.back().get();
}

void TProductItemList::Clear()
{
    items_.clear();
}

void TProductItemList::Delete(qsizetype index)
{
    if (index < 0 || index >= Count())
        return;
    items_.erase(items_.begin() + index);
}

qsizetype TProductItemList::IndexOfId(const QString& id) const
{
    for (qsizetype i = 0; i < Count(); ++i) {
        if (items_[static_cast<std::size_t>(i)]->id.compare(id, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

TProductItem* TProductItemList::Find(const QString& path) const
{
    const qsizetype dot = path.indexOf(QLatin1Char('.'));
    const qsizetype index = IndexOfId(dot < 0 ? path : path.left(dot));
    if (index < 0)
        return nullptr;
    TProductItem* item = At(index);
    if (dot < 0)
        return item;
    if (!item->HasChildren())
        return nullptr;
    return item->Children()->Find(path.mid(dot + 1));
}

TProductItem* TProductItemList::FindNearest(const QString& path) const
{
    QString rest = path;
    int dropped = 0;
    while (!rest.isEmpty()) {
        if (TProductItem* item = Find(rest)) {
            for (int i = 0; i < dropped && item->DefaultChild(); ++i)
                item = item->DefaultChild();
            return item;
        }
        const qsizetype dot = rest.lastIndexOf(QLatin1Char('.'));
        rest = dot < 0 ? QString() : rest.left(dot);
        ++dropped;
    }
    return nullptr;
}

std::vector<TProductChoice> TProductItemList::Choices(
    const QString& selectId, const TProductItem* selectItem, int* selected) const
{
    std::vector<TProductChoice> choices;
    if (selected)
        *selected = -1;
    for (const auto& item : items_) {
        if (item->hidden)
            continue;
        bool chosen = !selectId.isEmpty() && item->id.compare(selectId, Qt::CaseInsensitive) == 0;
        for (const TProductItem* up = selectItem; up && !chosen; up = up->Parent())
            chosen = up == item.get();
        if (chosen && selected && *selected < 0)
            *selected = static_cast<int>(choices.size());
        choices.push_back({item->displayName, item.get()});
    }
    return choices;
}

QStringList TProductItemList::FullIds() const
{
    QStringList ids;
    for (const auto& item : items_)
        ids.append(item->FullId());
    return ids;
}

void TProductItemList::ResetTotals()
{
    for (const auto& item : items_)
        item->ResetTotals();
}

} // namespace pavlora
