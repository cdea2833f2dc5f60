#pragma once

#include "catalogue/CartItemData.h"

#include <QSet>
#include <QString>

#include <memory>
#include <vector>

namespace pavlora {

class TCartDialogs;
class TProductItem;
class TProductItemList;

// The installation settings the cart reads (the program passes them from
// its settings).
struct TCartSettings {
    // "cart_handling_mode": 1 the customer names cart files, 0 one fixed file.
    int handlingMode = 1;
    // The fixed cart file of mode 0: the documents folder + the program's
    // name + "/" + "Warenkorb" + ".psc".
    QString fixedCartFile;
    // "notify_incomplete_item_load" is 1: loading tells about incomplete
    // products.
    bool notifyIncompleteItemLoad = false;
    // "save_image_in_online_album": the default of a new item's album flag.
    bool saveImageInOnlineAlbum = false;
};

// The flags of TCart::Save.
namespace CartSaveFlags {
inline constexpr int Write = 1; // write the file and copy the pictures
inline constexpr int Measure = 2; // only count the space needed
} // namespace CartSaveFlags

// What loading a cart file found.
struct TCartLoadResult {
    // Neither incomplete products (when they are reported) nor missing
    // pictures.
    bool complete = true;
    // The text to show when not complete.
    QString message;
    int missingPictures = 0;
    int incompleteProducts = 0;
};

// A row of the cart summary.
struct TCartSummaryRow {
    QString name;
    int quantity = 0;
    const TProductItem* product = nullptr;
    const TCartItemData* item = nullptr;
    double amount = 0.0;
    QString pictureFile;
};

// The cart summary and whether the cart keeps within the "maxproducts"
// limit of the last item's product.
struct TCartSummary {
    std::vector<TCartSummaryRow> rows;
    bool withinLimit = true;
};

// The customer's cart: an owning list of items, saved to and loaded from
// cart files (".psc") whose pictures are copied into the companion folder
// "NAME-Dateien" beside the file.
//
// A cart deletes only picture files it wrote itself (or loaded from its own
// file) and no longer refers to: a photobook "NAME.pbf" that shares the
// picture folder keeps its files. Every cart file is written to a temporary
// sibling and renamed into place.
//
// UI thread only.
class TCart {
public:
    explicit TCart(const TCartSettings& settings, TCartDialogs* dialogs = nullptr);
    ~TCart();
    TCart(const TCart&) = delete;
    TCart& operator=(const TCart&) = delete;

    // ---- Items ----
    qsizetype Count() const { return static_cast<qsizetype>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    TCartItemData* At(qsizetype index) const { return items_.at(static_cast<std::size_t>(index)).get(); }
    qsizetype IndexOf(const TCartItemData* item) const;
    // Appends the item; a photobook whose file is already in the cart only
    // adds its quantity to that item. Returns the index of the item that
    // holds it. The cart remembers the item's group id.
    qsizetype Add(std::unique_ptr<TCartItemData> item);
    // Frees the item (and its attachment); marks changed.
    void Remove(const TCartItemData* item);
    void Clear();
    // The first item (of `groupId`, or of all when empty) that is incomplete.
    TCartItemData* HasIncomplete(const QString& groupId = QString()) const;
    void RemoveIncomplete(const QString& groupId = QString());

    // ---- Totals ----
    int TotalQuantity() const;
    // The homogeneous-order discount level the last price calculation
    // found for the whole cart (0 none).
    int discountLevel = 0;
    double TotalPrice() const;
    // Some item's root group is a teaser.
    bool HasTeaser() const;
    // Resets the catalogue's run-time totals and adds every line with a
    // positive quantity to its product and every ancestor. A catalogue
    // entry's unit price is the first line price seen, and -2 once a price
    // differing by more than 0.001 is added.
    void ComputeCatalogueTotals(TProductItemList& catalogue) const;
    TCartSummary Summary(int kind, const TProductItemList& catalogue) const;

    // After a catalogue reload: every line looks its product up again.
    void RebindProducts(const TProductItemList& catalogue);

    // ---- Files ----
    // Saves the cart to its file (mode 0 without a file: the fixed cart
    // file). With Write, copies the pictures into the companion folder and
    // writes the file; with Measure, returns the bytes the pictures and the
    // document need without writing. Returns -1 on failure, after a warning
    // unless `silent`.
    qint64 Save(bool silent, int flags);
    // The bytes saving the cart as `path` would need (pictures in whole
    // blocks, the document in whole clusters of the drive); -1 on failure.
    qint64 Measure(const QString& path) { return SaveDocument(path, true, CartSaveFlags::Measure, true); }
    // Saves a copy of the cart to `path` (the auto-save file) without
    // taking that name and without changing the items. False on failure.
    bool SaveCopyTo(const QString& path);
    // Loads a cart file (mode 0 without a file: the fixed cart file) into
    // this (empty) cart.
    TCartLoadResult Load(const QString& path, const TProductItemList& catalogue, bool silent);
    // Clears the cart and deletes its file, the pictures of its companion
    // folder that it wrote, and the folder when nothing else is left in it.
    // Does nothing without a file name.
    void DeleteFiles();

    // The file name (empty while not saved), its companion folder.
    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& fileName) { fileName_ = fileName; }
    QString CompanionFolder() const { return CompanionFolderOf(fileName_); }
    // The fixed cart file of mode 0: the documents folder + the program's
    // name + "/Warenkorb.psc".
    static QString FixedCartFile(const QString& documentsFolder, const QString& programName);
    // "NAME-Dateien" beside `cartFile`.
    static QString CompanionFolderOf(const QString& cartFile);
    // The picture files a cart file refers to inside its companion folder
    // (unreadable files refer to none).
    static QSet<QString> ReferencedPictures(const QString& cartFile);
    // Deletes `files` that lie directly in `folder`, then the folder when
    // it is empty.
    static void DeletePictures(const QSet<QString>& files, const QString& folder);

    int HandlingMode() const { return settings_.handlingMode; }
    const TCartSettings& Settings() const { return settings_; }
    // Mode 0 and no file name yet: the fixed cart file is used.
    bool UsesDefaultFile() const { return settings_.handlingMode == 0 && fileName_.isEmpty(); }
    bool DefaultCartFileExists() const;

    bool ChangedForViews() const { return changedForViews_; }
    void SetChangedForViews(bool changed) { changedForViews_ = changed; }
    const QString& IndexPrintText() const { return indexPrintText_; }
    void SetIndexPrintText(const QString& text) { indexPrintText_ = text; }
    const QString& LastGroupId() const { return lastGroupId_; }

    void SetDialogs(TCartDialogs* dialogs);

private:
    qint64 SaveDocument(const QString& path, bool silent, int flags, bool keepItems);
    // The picture files of the items that lie directly in `folder`.
    QSet<QString> PicturesIn(const QString& folder) const;

    TCartSettings settings_;
    TCartDialogs* dialogs_;
    std::vector<std::unique_ptr<TCartItemData>> items_;
    QString fileName_;
    bool changedForViews_ = false;
    QString indexPrintText_;
    QString lastGroupId_;
    // Picture files of the companion folder that this cart wrote or loaded
    // from its own file.
    QSet<QString> ownPictures_;
};

} // namespace pavlora
