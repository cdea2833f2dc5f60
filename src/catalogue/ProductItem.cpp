#include "catalogue/ProductItem.h"

#include "catalogue/ProductItemList.h"
#include "catalogue/ProductLayouts.h"
#include "catalogue/Xchg.h"
#include "layout/ProductPageDef.h"

#include <QStringList>

#include <algorithm>
#include <climits>

namespace pavlora {

TProductItem::TProductItem(TProductItem* parent, int level)
    : parent_(parent)
    , level_(level)
{
}

TProductItem::~TProductItem() = default;

std::unique_ptr<TProductItem> TProductItem::Clone(TProductItem* parent) const
{
    auto copy = std::make_unique<TProductItem>(parent, level_);
    copy->id = id;
    copy->displayName = displayName;
    copy->pluralName = pluralName;
    copy->subgroupCaption = subgroupCaption;
    copy->file = file;
    copy->infoFile = infoFile;
    copy->size = size;
    copy->resourceFolder = resourceFolder;
    copy->ratio = ratio;
    copy->indexPrint = indexPrint;
    copy->teaser = teaser;
    copy->hidden = hidden;
    copy->forcePortrait = forcePortrait;
    copy->insideDefault = insideDefault;
    copy->maxProducts = maxProducts;
    copy->calendarMonth = calendarMonth;
    copy->calendarYear = calendarYear;
    copy->selectMode = selectMode;
    copy->editType = editType;
    copy->xchg = xchg;
    if (layout)
        copy->layout = CloneProductLayout(*layout);
    if (children_) {
        TProductItemList& children = copy->EnsureChildren();
        for (const auto& child : *children_) {
            TProductItem* childCopy = children.Append(child->Clone(copy.get()));
            if (child.get() == defaultChild_)
                copy->defaultChild_ = childCopy;
        }
    }
    return copy;
}

TProductItem* TProductItem::Root()
{
    TProductItem* item = this;
    while (item->parent_)
        item = item->parent_;
    return item;
}

const TProductItem* TProductItem::Root() const
{
    const TProductItem* item = this;
    while (item->parent_)
        item = item->parent_;
    return item;
}

bool TProductItem::HasChildren() const
{
    return children_ && !children_->IsEmpty();
}

TProductItemList& TProductItem::EnsureChildren()
{
    if (!children_)
        children_ = std::make_unique<TProductItemList>();
    return *children_;
}

QString TProductItem::FullId() const
{
    return parent_ ? parent_->FullId() + QLatin1Char('.') + id : id;
}

TProductItem* TProductItem::DefaultLeaf()
{
    TProductItem* item = this;
    while (item->HasChildren())
        item = item->defaultChild_ ? item->defaultChild_ : item->children_->At(0);
    return item;
}

TProductItem* TProductItem::VariantByPath(const QString& path)
{
    const QStringList parts = path.split(QLatin1Char('.'));
    TProductItem* item = this;
    while (item->HasChildren()) {
        const QString part = parts.value(item->level_ + 1);
        const qsizetype index = part.isEmpty() ? -1 : item->children_->IndexOfId(part);
        if (index >= 0)
            item = item->children_->At(index);
        else
            item = item->defaultChild_ ? item->defaultChild_ : item->children_->At(0);
    }
    if (item->layout)
        ApplyVariantToken(*item->layout, item->id);
    return item;
}

int TProductItem::MaxProducts() const
{
    if (maxProducts >= 0)
        return maxProducts;
    for (const TProductItem* ancestor = parent_; ancestor; ancestor = ancestor->parent_) {
        if (ancestor->maxProducts >= 0)
            return ancestor->maxProducts;
    }
    return -1;
}

TProductItem* TProductItem::PageCountVariant(int pageCount)
{
    TProductItem* leaf = DefaultLeaf();
    TProductItem* ranged = leaf;
    while (ranged && !(ranged->xchg && ranged->xchg->MinPageCount() > 0))
        ranged = ranged->parent_;
    if (!ranged || !ranged->parent_)
        return leaf;
    const TProductItemList& siblings = *ranged->parent_->children_;
    int lowest = INT_MAX;
    int highest = INT_MIN;
    for (const auto& sibling : siblings) {
        if (sibling->xchg && sibling->xchg->MinPageCount() > 0) {
            lowest = std::min(lowest, sibling->xchg->MinPageCount());
            highest = std::max(highest, sibling->xchg->MaxPageCount());
        }
    }
    const int count = std::clamp(pageCount, lowest, std::max(lowest, highest));
    for (const auto& sibling : siblings) {
        if (sibling->xchg && sibling->xchg->MinPageCount() > 0 && count >= sibling->xchg->MinPageCount()
            && count <= sibling->xchg->MaxPageCount())
            return sibling->DefaultLeaf();
    }
    return leaf;
}

const TXchg& TProductItem::EffectiveXchg() const
{
    for (const TProductItem* item = this; item; item = item->parent_) {
        if (item->xchg)
            return *item->xchg;
    }
    return TXchg::EmptyDefault();
}

void TProductItem::ResetTotals()
{
    totalQuantity = 0;
    totalAmount = 0.0;
    totalUnitPrice = -1.0;
    if (children_)
        children_->ResetTotals();
}

TProductItem* TProductItem::AncestorAtLevel(int level)
{
    TProductItem* item = this;
    while (item && item->level_ > level)
        item = item->parent_;
    return item && item->level_ == level ? item : nullptr;
}

} // namespace pavlora
