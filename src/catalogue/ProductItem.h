#pragma once

#include <QString>

#include <memory>

namespace pavlora {

class TProductItemList;
class TProductPageDef;
class TXchg;

// How the children of an item are offered.
enum class ProductSelectMode { Radio = 0, Check = 1, Combo = 2 };
// Which frame edits a group's products; inherited by every descendant.
enum class ProductEditType { Prints = 1, Products = 2, Books = 3 };

// One node of the catalogue: a group (level 0), a product (level 1) or a
// variant below it. An item owns its children and its layout; its exchange
// record belongs to the order side.
//
// The catalogue is built on the UI thread and read there; it has no locks.
class TProductItem {
public:
    TProductItem(TProductItem* parent, int level);
    ~TProductItem();
    TProductItem(const TProductItem&) = delete;
    TProductItem& operator=(const TProductItem&) = delete;

    // A deep copy below `parent`: every field, the layout and the children;
    // the exchange link is shared.
    std::unique_ptr<TProductItem> Clone(TProductItem* parent) const;

    // ---- Tree ----
    TProductItem* Parent() const { return parent_; }
    int Level() const { return level_; }
    // The group at the top of the item's chain (the item itself for a group).
    TProductItem* Root();
    const TProductItem* Root() const;
    bool IsGroup() const { return parent_ == nullptr; }
    bool HasChildren() const;
    // The children, or null when the item has none.
    TProductItemList* Children() const { return children_.get(); }
    TProductItemList& EnsureChildren();
    TProductItem* DefaultChild() const { return defaultChild_; }
    void SetDefaultChild(TProductItem* child) { defaultChild_ = child; }

    // ---- Queries ----
    // The dotted path from the group: "Prints.10".
    QString FullId() const;
    // Follows default children while there are any; an item that still has
    // children but no default continues with its first child.
    TProductItem* DefaultLeaf();
    // The leaf that the full id `path` chooses below this item: at each
    // level the child named by the part of `path` at that level, else the
    // default child, else the first child. A calendar leaf with a variant
    // token gets its pictures renamed to its id.
    TProductItem* VariantByPath(const QString& path);
    // The "maxproducts" limit: the item's own value when at least 1, 0 as
    // it is, else (-1) the nearest ancestor's value that is not negative;
    // -1 when none has one.
    int MaxProducts() const;
    // The default leaf of the variant whose page-count range holds
    // `pageCount` (clamped into the range of the variants).
    TProductItem* PageCountVariant(int pageCount);
    // The plural name, or the display name when there is none.
    QString PluralName() const { return pluralName.isEmpty() ? displayName : pluralName; }
    // The item's own exchange link or the nearest ancestor's; the shared
    // empty record without any.
    const TXchg& EffectiveXchg() const;
    // Zeroes the run-time totals of the item and its descendants.
    void ResetTotals();
    // The ancestor at `level` (the item itself when it is at that level),
    // or null when the item lies above it.
    TProductItem* AncestorAtLevel(int level);

    // ---- Fields read from the catalogue ----
    QString id;
    QString displayName;
    QString pluralName;
    QString subgroupCaption;
    QString file;
    QString infoFile;
    QString size;
    QString resourceFolder;
    QString ratio;
    bool indexPrint = false;
    bool teaser = false;
    bool hidden = false;
    bool forcePortrait = false;
    bool insideDefault = false;
    int maxProducts = -1;
    // "bundle_quantity": above 0, the price list offers each variant as a
    // bundle of this many prints with postage.
    int bundleQuantity = 0;
    // "pricelist_hide_shipping": the price list shows no shipping rows for
    // this group.
    bool hideShippingInPriceList = false;
    int calendarMonth = 0;
    int calendarYear = 0;
    ProductSelectMode selectMode = ProductSelectMode::Combo;
    ProductEditType editType = ProductEditType::Products;
    // The layout of a photo product; may be null.
    std::unique_ptr<TProductPageDef> layout;
    // Set by the order side; not owned.
    TXchg* xchg = nullptr;

    // ---- Run-time totals, filled from the cart ----
    int totalQuantity = 0;
    double totalAmount = 0.0;
    // -1 none yet, -2 the lines had differing prices.
    double totalUnitPrice = -1.0;

private:
    TProductItem* parent_;
    int level_;
    std::unique_ptr<TProductItemList> children_;
    TProductItem* defaultChild_ = nullptr;
};

} // namespace pavlora
