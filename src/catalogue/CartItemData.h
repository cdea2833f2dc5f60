#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace pugi {
class xml_node;
} // namespace pugi

namespace pavlora {

class TProductItem;
class TProductItemList;

// A price step of a line: from `minimumQuantity` copies on, `price` each.
struct TPriceStep {
    int discountLevel = 0;
    int minimumQuantity = 0;
    double price = 0.0;
};

// One format (or variant) of a cart item with its quantity and price.
struct TCartItemLine {
    int quantity = 1;
    // Price of one copy, set by the pricing.
    float unitPrice = 0.0f;
    // The catalogue leaf that is ordered, and its full id: the id is what
    // the line keeps across a catalogue reload.
    TProductItem* product = nullptr;
    QString productId;
    std::vector<TPriceStep> priceSteps;
    bool homogeneous = false;
    bool cheaperStep = false;

    void SetProduct(TProductItem* item);
    double Amount() const { return quantity * static_cast<double>(unitPrice); }
};

enum class CartItemKind { Print, Product, PhotoBookRef };

// Something another part of the program attaches to a cart item; the item
// owns it and frees it with itself.
class TCartItemAttachment {
public:
    virtual ~TCartItemAttachment() = default;
};

// The payload of one cart item: its lines and what it orders. A new item
// has one line with quantity 1. Items live on the UI thread.
class TCartItemData {
public:
    TCartItemData();
    virtual ~TCartItemData();
    TCartItemData(const TCartItemData&) = delete;
    TCartItemData& operator=(const TCartItemData&) = delete;

    virtual CartItemKind Kind() const = 0;

    std::vector<TCartItemLine>& Lines() { return lines_; }
    const std::vector<TCartItemLine>& Lines() const { return lines_; }
    // The product of the first line, or null.
    TProductItem* Product() const { return lines_.empty() ? nullptr : lines_.front().product; }

    // Save the picture in the customer's online album.
    bool saveInAlbum = false;
    // Full id of the root group of the item's product.
    QString groupId;
    std::unique_ptr<TCartItemAttachment> attachment;

    virtual QImage Thumbnail() const { return thumbnail_; }
    void SetThumbnail(const QImage& image) { thumbnail_ = image; }
    // Sum over the lines of quantity × unit price.
    virtual double TotalPrice() const;
    // A product with an empty picture area.
    virtual bool Incomplete() const { return false; }
    // The picture files the item shows (for the file usage register and
    // the cart's own picture folder).
    virtual QStringList PictureFiles() const { return {}; }
    // The first picture file, for summaries.
    QString FirstPictureFile() const { return PictureFiles().value(0); }

    // Looks every line's product up again by its full id in `catalogue`
    // (after a reload): exactly, else the nearest entry. Lines whose product
    // is gone entirely keep no product. Returns whether all were found.
    bool RebindProducts(const TProductItemList& catalogue);

private:
    std::vector<TCartItemLine> lines_;
    QImage thumbnail_;
};

} // namespace pavlora
