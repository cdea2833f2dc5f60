#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace pavlora {

class TProductItem;

// The display names of a choice list with the items they stand for.
struct TProductChoice {
    QString name;
    TProductItem* item = nullptr;
};

// An ordered, owning list of catalogue items: the groups of the catalogue,
// or the children of an item. Lookups never raise; they return null.
class TProductItemList {
public:
    TProductItemList() = default;
    ~TProductItemList();
    TProductItemList(const TProductItemList&) = delete;
    TProductItemList& operator=(const TProductItemList&) = delete;
    TProductItemList(TProductItemList&&) noexcept;
    TProductItemList& operator=(TProductItemList&&) noexcept;

    qsizetype Count() const { return static_cast<qsizetype>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    TProductItem* At(qsizetype index) const { return items_.at(static_cast<std::size_t>(index)).get(); }
    TProductItem* Last() const { return items_.empty() ? nullptr : items_.back().get(); }
    TProductItem* Append(std::unique_ptr<TProductItem> item);
    // Removes and frees the item at `index`.
    void Delete(qsizetype index);
    void Clear();

    // Position of the item with `id` (without regard to case), or -1.
    qsizetype IndexOfId(const QString& id) const;
    // The item with the dotted id `path` ("Prints.10"), or null.
    TProductItem* Find(const QString& path) const;
    // Find; when that fails, the item of the longest leading part of `path`
    // that exists, followed down by default children as many times as parts
    // were dropped. Null when not even the first part exists.
    TProductItem* FindNearest(const QString& path) const;

    // The display names of the items that are not hidden. `selected`
    // receives the position of the item with id `selectId`, or of the
    // entry that is an ancestor of (or is) `selectItem`; -1 otherwise.
    std::vector<TProductChoice> Choices(
        const QString& selectId = QString(), const TProductItem* selectItem = nullptr, int* selected = nullptr) const;
    // The full ids of the items.
    QStringList FullIds() const;

    // Zeroes the run-time totals of every item of the tree.
    void ResetTotals();

    std::vector<std::unique_ptr<TProductItem>>::const_iterator begin() const { return items_.cbegin(); }
    std::vector<std::unique_ptr<TProductItem>>::const_iterator end() const { return items_.cend(); }

private:
    std::vector<std::unique_ptr<TProductItem>> items_;
};

} // namespace pavlora
