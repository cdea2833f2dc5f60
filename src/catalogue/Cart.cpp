#include "catalogue/Cart.h"

#include "catalogue/CartDialogs.h"
#include "catalogue/PhotoBookRefCartItemData.h"
#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"

#include <QFileInfo>

#include <cmath>

namespace pavlora {
namespace {

TCartDialogs& HeadlessDialogs()
{
    static TCartDialogs dialogs;
    return dialogs;
}

bool InGroup(const TCartItemData& item, const QString& groupId)
{
    return groupId.isEmpty() || item.groupId.compare(groupId, Qt::CaseInsensitive) == 0;
}

} // namespace

TCart::TCart(const TCartSettings& settings, TCartDialogs* dialogs)
    : settings_(settings)
    , dialogs_(dialogs ? dialogs : &HeadlessDialogs())
{
}

TCart::~TCart() = default;

void TCart::SetDialogs(TCartDialogs* dialogs)
{
    dialogs_ = dialogs ? dialogs : &HeadlessDialogs();
}

qsizetype TCart::IndexOf(const TCartItemData* item) const
{
    for (qsizetype i = 0; i < Count(); ++i) {
        if (At(i) == item)
            return i;
    }
    return -1;
}

qsizetype TCart::Add(std::unique_ptr<TCartItemData> item)
{
    lastGroupId_ = item->groupId;
    changedForViews_ = true;
    if (item->Kind() == CartItemKind::PhotoBookRef) {
        const auto& book = static_cast<const TPhotoBookRefCartItemData&>(*item);
        for (qsizetype i = 0; i < Count(); ++i) {
            auto* present = dynamic_cast<TPhotoBookRefCartItemData*>(At(i));
            if (present && SamePhotoBookFile(present->fileName, book.fileName)) {
                if (!present->Lines().empty() && !book.Lines().empty())
                    present->Lines().front().quantity += book.Lines().front().quantity;
                return i;
            }
        }
    }
    items_.push_back(std::move(item));
    return Count() - 1;
}

void TCart::Remove(const TCartItemData* item)
{
    const qsizetype index = IndexOf(item);
    if (index < 0)
        return;
    items_.erase(items_.begin() + index);
    changedForViews_ = true;
}

void TCart::Clear()
{
    items_.clear();
    changedForViews_ = true;
}

TCartItemData* TCart::HasIncomplete(const QString& groupId) const
{
    for (const auto& item : items_) {
        if (InGroup(*item, groupId) && item->Incomplete())
            return item.get();
    }
    return nullptr;
}

void TCart::RemoveIncomplete(const QString& groupId)
{
    std::erase_if(items_, [&](const auto& item) { return InGroup(*item, groupId) && item->Incomplete(); });
    changedForViews_ = true;
}

int TCart::TotalQuantity() const
{
    int total = 0;
    for (const auto& item : items_) {
        for (const TCartItemLine& line : item->Lines())
            total += line.quantity;
    }
    return total;
}

double TCart::TotalPrice() const
{
    double total = 0.0;
    for (const auto& item : items_)
        total += item->TotalPrice();
    return total;
}

bool TCart::HasTeaser() const
{
    for (const auto& item : items_) {
        if (const TProductItem* product = item->Product(); product && product->Root()->teaser)
            return true;
    }
    return false;
}

void TCart::ComputeCatalogueTotals(TProductItemList& catalogue) const
{
    catalogue.ResetTotals();
    for (const auto& item : items_) {
        for (const TCartItemLine& line : item->Lines()) {
            if (line.quantity <= 0 || !line.product)
                continue;
            const double price = line.unitPrice;
            for (TProductItem* entry = line.product; entry; entry = entry->Parent()) {
                entry->totalQuantity += line.quantity;
                entry->totalAmount += line.Amount();
                if (entry->totalUnitPrice == -1.0)
                    entry->totalUnitPrice = price;
                else if (entry->totalUnitPrice != -2.0 && std::fabs(entry->totalUnitPrice - price) > 0.001)
                    entry->totalUnitPrice = -2.0;
            }
        }
    }
}

TCartSummary TCart::Summary(int kind, const TProductItemList& catalogue) const
{
    TCartSummary summary;
    auto& rows = summary.rows;
    const auto firstLine
        = [](const TCartItemData& item) { return item.Lines().empty() ? TCartItemLine() : item.Lines().front(); };
    const auto levelOne = [](const TCartItemData& item) -> const TProductItem* {
        TProductItem* product = item.Product();
        return product ? product->AncestorAtLevel(1) : nullptr;
    };
    if (kind == 0) {
        for (const auto& group : catalogue) {
            if (!group->HasChildren() || group->editType != ProductEditType::Prints)
                continue;
            for (const auto& child : *group->Children()) {
                if (child->totalQuantity > 0)
                    rows.push_back({child->displayName, child->totalQuantity, child.get(), nullptr, child->totalAmount,
                        QString()});
            }
        }
        for (const auto& item : items_) {
            if (item->Kind() == CartItemKind::Print)
                continue;
            const TCartItemLine line = firstLine(*item);
            const TProductItem* product = levelOne(*item);
            rows.push_back({product ? product->displayName : QString(), line.quantity, product, item.get(),
                line.Amount(), item->FirstPictureFile()});
        }
    } else if (kind == 1) {
        for (const auto& item : items_) {
            const TCartItemLine line = firstLine(*item);
            const TProductItem* product = item->Kind() == CartItemKind::Print ? item->Product() : levelOne(*item);
            rows.push_back({product ? product->displayName : QString(), line.quantity, product, item.get(),
                line.Amount(), item->FirstPictureFile()});
        }
    } else {
        for (const auto& group : catalogue) {
            if (group->editType == ProductEditType::Books) {
                for (const auto& item : items_) {
                    if (item->Kind() != CartItemKind::PhotoBookRef
                        || item->groupId.compare(group->id, Qt::CaseInsensitive) != 0)
                        continue;
                    const TCartItemLine line = firstLine(*item);
                    const TProductItem* product = levelOne(*item);
                    const QString name = !product ? QString()
                        : line.quantity < 2       ? product->displayName
                                                  : product->PluralName();
                    rows.push_back({name, line.quantity, product, item.get(), line.Amount(), QString()});
                }
            } else if (group->HasChildren() && group->totalQuantity > 0) {
                rows.push_back({group->totalQuantity < 2 ? group->displayName : group->PluralName(),
                    group->totalQuantity, group.get(), nullptr, group->totalAmount, QString()});
            }
        }
    }
    // The limit of the last item's product: the items of its group count.
    if (!items_.empty()) {
        if (const TProductItem* product = items_.back()->Product()) {
            const int limit = product->MaxProducts();
            if (limit > 0) {
                int inGroup = 0;
                for (const auto& item : items_) {
                    if (item->groupId.compare(items_.back()->groupId, Qt::CaseInsensitive) == 0)
                        inGroup += item->Lines().empty() ? 0 : item->Lines().front().quantity;
                }
                summary.withinLimit = inGroup <= limit;
            }
        }
    }
    return summary;
}

void TCart::RebindProducts(const TProductItemList& catalogue)
{
    for (const auto& item : items_)
        item->RebindProducts(catalogue);
    changedForViews_ = true;
}

bool TCart::DefaultCartFileExists() const
{
    return UsesDefaultFile() && !settings_.fixedCartFile.isEmpty() && QFileInfo::exists(settings_.fixedCartFile);
}

} // namespace pavlora
