#pragma once

#include "catalogue/Cart.h"
#include "catalogue/CartDialogs.h"

#include <QString>

#include <functional>
#include <memory>

namespace pavlora {

class TProductItem;
class TProductItemList;

// How the hand-over import finds the catalogue entry of a format id. The
// order side answers from its article data once prices exist (account 2
// selects its alternative lookup); the default looks the id up in the
// catalogue.
class TFormatLookup {
public:
    virtual ~TFormatLookup() = default;
    virtual TProductItem* ProductForFormat(
        const TProductItemList& catalogue, const QString& formatId, int account) const;
};

// How the controller probes a target folder. The default probes the real
// file system; tests inject read-only folders and full disks.
class TCartFileSystem {
public:
    virtual ~TCartFileSystem() = default;
    // Creating and deleting the probe file "t0e0s0t0.txt" in `folder` works.
    virtual bool IsWritableFolder(const QString& folder) const;
    // Free bytes of the drive that holds `folder`; -1 when unknown.
    virtual qint64 FreeBytes(const QString& folder) const;
};

// The cart operations of the application object: new, open, save and
// delete with their questions, the close query, and the hand-over import.
// It owns the cart (opening a file replaces it) and the modified flag.
//
// UI thread only. The catalogue must outlive the controller or be replaced
// with SetCatalogue before it goes.
class TCartController {
public:
    enum HandlingKind { chNew = 1, chOpen = 2, chSave = 3, chDeleteConfirmed = 4, chDelete = 5 };

    TCartController(const TCartSettings& settings, TProductItemList& catalogue, TCartDialogs* dialogs = nullptr);
    ~TCartController();

    TCart& Cart() { return *cart_; }
    const TCart& Cart() const { return *cart_; }

    // The application title (title of the close question).
    void SetApplicationTitle(const QString& title) { applicationTitle_ = title; }
    // The folder the file dialogs start in.
    void SetDocumentsFolder(const QString& folder) { documentsFolder_ = folder; }
    // "query_save_products_on_exit" and "confirm_cart_item_deletion".
    void SetQuerySaveProductsOnExit(bool query) { querySaveProductsOnExit_ = query; }
    void SetConfirmItemDeletion(bool confirm) { confirmItemDeletion_ = confirm; }
    void SetFormatLookup(const TFormatLookup* lookup);
    void SetFileSystem(const TCartFileSystem* fileSystem);
    // Runs after the cart changed, to recalculate prices.
    void SetRecalculate(std::function<void()> recalculate) { recalculate_ = std::move(recalculate); }

    // A new catalogue (after a reload): the cart's lines look their
    // products up again before the old catalogue may go.
    void SetCatalogue(TProductItemList& catalogue);

    bool Modified() const { return modified_; }
    // Marks the cart modified and recalculates.
    void MarkModified();

    // New (1), open (2), save (3), delete with (4) or without (5) asking.
    // False when refused, cancelled or failed (failures are logged with
    // code 206).
    bool CartHandling(int kind);
    // The close question; true when the program may close.
    bool QueryCartSave(bool closing);
    // The save question before the cart is replaced; true to go on.
    bool AskToSaveChanges();
    // Asks before an item is deleted (when confirmation is on).
    bool ConfirmItemDeletion();
    // Saves the cart to the auto-save file without taking its name.
    bool SaveAutoSave(const QString& path);

    // The hand-over import of a ".fsw" file: the items are added, the cart
    // is saved as the ".psc" file of the same name beside it, and only then
    // are the pictures it copied and the hand-over file deleted. A missing
    // file does nothing. False when the file is refused or the save failed
    // (then nothing is deleted).
    bool ImportCartIni(const QString& fileName);

private:
    bool SaveWithDialog();
    // Asks whether to save: saves on the first button, goes on on the
    // second, cancels otherwise.
    bool SaveOnAnswer(const TCartMessage& question);
    bool OpenWithDialog();
    void ClearCart();

    TCartSettings settings_;
    TProductItemList* catalogue_;
    TCartDialogs* dialogs_;
    std::unique_ptr<TCart> cart_;
    const TFormatLookup* formatLookup_;
    const TCartFileSystem* fileSystem_;
    std::function<void()> recalculate_;
    QString applicationTitle_;
    QString documentsFolder_;
    bool querySaveProductsOnExit_ = false;
    bool confirmItemDeletion_ = false;
    bool modified_ = false;
};

} // namespace pavlora
