#pragma once

#include "catalogue/CartItemData.h"

namespace pavlora {

// A photobook: a reference to a photobook file and its page count.
class TPhotoBookRefCartItemData : public TCartItemData {
public:
    CartItemKind Kind() const override { return CartItemKind::PhotoBookRef; }

    QString fileName;
    int pageCount = 0;
};

// Whether two photobook files are the same file (the cart merges them).
bool SamePhotoBookFile(const QString& a, const QString& b);

} // namespace pavlora
