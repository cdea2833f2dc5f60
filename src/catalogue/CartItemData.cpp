#include "catalogue/CartItemData.h"

#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"

namespace pavlora {

void TCartItemLine::SetProduct(TProductItem* item)
{
    product = item;
    productId = item ? item->FullId() : QString();
}

TCartItemData::TCartItemData()
    : lines_(1)
{
}

TCartItemData::~TCartItemData() = default;

double TCartItemData::TotalPrice() const
{
    double total = 0.0;
    for (const TCartItemLine& line : lines_)
        total += line.Amount();
    return total;
}

bool TCartItemData::RebindProducts(const TProductItemList& catalogue)
{
    bool all = true;
    for (TCartItemLine& line : lines_) {
        if (line.productId.isEmpty()) {
            line.product = nullptr;
            continue;
        }
        TProductItem* item = catalogue.Find(line.productId);
        if (!item) {
            all = false;
            item = catalogue.FindNearest(line.productId);
        }
        // A line whose product is gone entirely keeps its id, so that it is
        // written back as it was.
        if (item)
            line.SetProduct(item);
        else
            line.product = nullptr;
    }
    if (TProductItem* product = Product())
        groupId = product->Root()->FullId();
    return all;
}

} // namespace pavlora
