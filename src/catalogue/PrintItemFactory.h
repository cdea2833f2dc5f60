#pragma once

#include <QString>

#include <memory>

namespace pavlora {

class TPrintCartItemData;
class TProductItem;
class TProductItemList;

// What the prints page remembers for the next new print.
struct TPrintDefaults {
    // The customer chose one format and quantity for every new print.
    bool global = false;
    QString globalFormatId; // full id; may be empty
    int globalQuantity = 1;
    // The format the customer chose last on the prints page.
    QString lastFormatId;
};

// The user settings a new print falls back to.
struct TPrintUserDefaults {
    QString stdFormatId = QStringLiteral("Prints.10"); // "StdFormatID"
    int stdQuantity = 1; // "StdQuantity"
    bool saveInOnlineAlbum = false; // "save_image_in_online_album"
};

// The picture of a new print.
struct TPrintPicture {
    QString fileName;
    QString displayName; // empty: the file's own name
    int rotationDegrees = 0; // turn of the picture in its slot
};

// Makes the print items of the prints page and of the imports: one line,
// the product found from the remembered defaults, the user's preferred
// format or the prints group itself, narrowed to a variant when asked.
//
// UI thread only; the catalogue must outlive the factory.
class TPrintItemFactory {
public:
    TPrintItemFactory(const TProductItemList& catalogue, TPrintUserDefaults userDefaults);

    // The groups the program is working in: new prints belong to the
    // prints group; a format under the products group is kept as it is.
    void SetCurrentGroups(TProductItem* printsGroup, TProductItem* productsGroup);
    void SetDefaults(const TPrintDefaults& defaults) { defaults_ = defaults; }
    const TPrintDefaults& Defaults() const { return defaults_; }

    // A new print of `picture`. `variantSuffix` names a variant below the
    // prints group ("13" keeps the paper but takes format 13). Raises
    // EQORException "No print article found" when no product results.
    std::unique_ptr<TPrintCartItemData> Create(const TPrintPicture& picture, const QString& variantSuffix = {}) const;

    // The product a new print gets; null when there is none.
    TProductItem* ChooseProduct(const QString& variantSuffix = {}) const;

private:
    const TProductItemList& catalogue_;
    TPrintUserDefaults userDefaults_;
    TPrintDefaults defaults_;
    TProductItem* printsGroup_ = nullptr;
    TProductItem* productsGroup_ = nullptr;
};

} // namespace pavlora
