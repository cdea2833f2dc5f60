#pragma once

#include "catalogue/CartItemData.h"

#include <memory>

namespace pavlora {

class TProductPageDef;

// A photo product: a private copy of the product's layout with the
// customer's pictures in it.
class TProductCartItemData : public TCartItemData {
public:
    // A copy of `product`'s layout (an empty page when it has none); the
    // first line orders `product`.
    explicit TProductCartItemData(TProductItem* product);
    ~TProductCartItemData() override;

    CartItemKind Kind() const override { return CartItemKind::Product; }

    TProductPageDef& Layout() { return *layout_; }
    const TProductPageDef& Layout() const { return *layout_; }

    // Puts a picture into the first picture area of the layout; false when
    // the layout has none.
    bool SetFirstPicture(const QString& fileName, const QString& originalFileName = QString());

    // Some picture area of the layout has no picture.
    bool Incomplete() const override;
    QStringList PictureFiles() const override;

private:
    std::unique_ptr<TProductPageDef> layout_;
};

} // namespace pavlora
