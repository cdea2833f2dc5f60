#pragma once

#include "catalogue/CartItemData.h"

#include <memory>

namespace pavlora {

class TPictureDef;

// A print: one picture in one or more formats (one line per format).
class TPrintCartItemData : public TCartItemData {
public:
    TPrintCartItemData();
    ~TPrintCartItemData() override;

    CartItemKind Kind() const override { return CartItemKind::Print; }

    // The picture slot that holds the picture.
    TPictureDef& Picture() { return *picture_; }
    const TPictureDef& Picture() const { return *picture_; }
    // Puts a picture file into the slot, filling it.
    void SetPicture(const QString& fileName, const QString& originalFileName = QString());

    // The product's picture ratio is 2:3 or 3:4.
    bool ratio23 = false;
    bool ratio34 = false;
    // Sets the ratio flags from the product's "ratio".
    void SetRatioFrom(const TProductItem* product);

    QStringList PictureFiles() const override;

private:
    std::unique_ptr<TPictureDef> picture_;
};

} // namespace pavlora
