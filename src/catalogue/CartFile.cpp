// Saving and loading cart files, and the clean-up of their pictures.

#include "catalogue/Cart.h"

#include "catalogue/CartDialogs.h"
#include "catalogue/PhotoBookRefCartItemData.h"
#include "catalogue/PrintCartItemData.h"
#include "catalogue/ProductCartItemData.h"
#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"
#include "catalogue/ProductLayouts.h"
#include "core/DebugConfig.h"
#include "core/Logger.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"
#include "core/XMLUtils2.h"
#include "layout/PictureDef.h"
#include "layout/ProductPageDef.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <pugixml.hpp>

#include <algorithm>

namespace pavlora {
namespace {

constexpr char kSaveContext[] = "Base_Cart.TCart.Save";
constexpr char kLoadContext[] = "Base_Cart.TCart.Load";
constexpr int kProgressThreshold = 5;
constexpr int kMaxLineQuantity = 100000;

const QString kPictureFolderPattern = QStringLiteral("%s-Dateien");

QString FolderOf(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absolutePath());
}

bool DirectlyIn(const QString& file, const QString& folder)
{
    return !file.isEmpty() && FolderOf(file) == QDir::cleanPath(QDir(folder).absolutePath());
}

// The full id under which an item is stored: the ancestor of its first
// line's product at level 1 ("Prints.10x15" for a print in that format).
QString StoredItemId(const TCartItemData& item)
{
    if (TProductItem* product = item.Product()) {
        TProductItem* product1 = product->AncestorAtLevel(1);
        return (product1 ? product1 : product)->FullId();
    }
    const QString id = item.Lines().empty() ? QString() : item.Lines().front().productId;
    return id.section(QLatin1Char('.'), 0, 1);
}

int ClampedQuantity(pugi::xml_node line)
{
    return std::clamp(ReadIntAttribute(line, "quantity", 1), 1, kMaxLineQuantity);
}

pugi::xml_node FirstElement(pugi::xml_node node)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element)
            return child;
    }
    return {};
}

pugi::xml_node NextElement(pugi::xml_node node)
{
    for (pugi::xml_node child = node.next_sibling(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element)
            return child;
    }
    return {};
}

// Puts the pictures of `loaded` into `layout` area by area: the same print,
// the same picture slot.
void TransferPictures(const TProductPageDef& loaded, TProductPageDef& layout)
{
    for (int p = 0; p < loaded.Prints().Count() && p < layout.Prints().Count(); ++p) {
        const TPrintDef& from = loaded.Prints()[p];
        TPrintDef& to = layout.Prints()[p];
        for (int k = 0; k < from.Pictures().Count() && k < to.Pictures().Count(); ++k) {
            const TPhotoDef& photo = from.Pictures()[k].Photo();
            if (photo.Valid())
                to.Pictures()[k].Photo().SetFile(
                    photo.FileName(), photo.OriginalFileName(), TPosAlign::paOutsideDefault);
        }
    }
}

// Keeps what the catalogue's layout says about the product (mask, calendar
// flag, variant token) when the cart file's copy does not say it.
void KeepProductAttributes(const TProductPageDef& catalogue, TProductPageDef& layout)
{
    if (layout.MaskFile().isEmpty()) {
        layout.SetMaskFile(catalogue.MaskFile());
        layout.SetMaskPosition(catalogue.MaskX(), catalogue.MaskY());
    }
    if (!layout.IsCalendar())
        layout.SetIsCalendar(catalogue.IsCalendar());
    if (layout.DefaultBackgroundColor().isEmpty())
        layout.SetDefaultBackgroundColor(catalogue.DefaultBackgroundColor());
}

} // namespace

QString TCart::CompanionFolderOf(const QString& cartFile)
{
    if (cartFile.isEmpty())
        return {};
    const QFileInfo info(cartFile);
    return QDir::cleanPath(info.absolutePath() + QLatin1Char('/')
        + QString(kPictureFolderPattern).replace(QLatin1String("%s"), info.completeBaseName()));
}

QString TCart::FixedCartFile(const QString& documentsFolder, const QString& programName)
{
    return QDir::cleanPath(documentsFolder + QLatin1Char('/') + programName + QStringLiteral("/Warenkorb.psc"));
}

QSet<QString> TCart::PicturesIn(const QString& folder) const
{
    QSet<QString> files;
    for (const auto& item : items_) {
        for (const QString& file : item->PictureFiles()) {
            if (DirectlyIn(file, folder))
                files.insert(QDir::cleanPath(QFileInfo(file).absoluteFilePath()));
        }
    }
    return files;
}

QSet<QString> TCart::ReferencedPictures(const QString& cartFile)
{
    QSet<QString> files;
    const QString folder = CompanionFolderOf(cartFile);
    try {
        const TXMLDocumentPtr document = ReadXMLDocument(cartFile);
        for (const pugi::xpath_node& node : document->select_nodes("//photo_def/file")) {
            const QString stored = ReadStringAttribute(node.node(), "filename");
            const QString file = QDir::cleanPath(TPhotoDef::ResolveStoredName(stored, folder));
            if (DirectlyIn(file, folder))
                files.insert(file);
        }
    } catch (...) {
        RecordCurrentException(QStringLiteral("Base_Cart.TCart.ReferencedPictures"));
    }
    return files;
}

void TCart::DeletePictures(const QSet<QString>& files, const QString& folder)
{
    if (folder.isEmpty())
        return;
    for (const QString& file : files) {
        if (!DirectlyIn(file, folder))
            continue;
        // Saving marks the pictures read-only; that mark says nothing about
        // who owns them.
        QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::WriteOwner);
        if (!QFile::remove(file) && QFile::exists(file))
            ReportMessage(QStringLiteral("Cart picture could not be deleted: ") + file);
    }
    QDir().rmdir(folder); // only when nothing else is left in it
}

qint64 TCart::Save(bool silent, int flags)
{
    QString path = fileName_;
    if (path.isEmpty() && settings_.handlingMode == 0) {
        path = settings_.fixedCartFile;
        if (!path.isEmpty())
            QDir().mkpath(FolderOf(path));
    }
    return SaveDocument(path, silent, flags, false);
}

bool TCart::SaveCopyTo(const QString& path)
{
    return SaveDocument(path, true, CartSaveFlags::Write, true) >= 0;
}

qint64 TCart::SaveDocument(const QString& path, bool silent, int flags, bool keepItems)
{
    const bool write = (flags & CartSaveFlags::Write) != 0;
    const bool progress = !silent && Count() > kProgressThreshold;
    if (progress)
        dialogs_->ShowProgress(
            QStringLiteral("Die Bilddateien des Warenkorbs werden gespeichert."), static_cast<int>(Count()));
    qint64 result = -1;
    try {
        if (path.isEmpty())
            throw EQORException(2, QStringLiteral("No cart file"), QString(), QLatin1String(kSaveContext));
        const QString folder = CompanionFolderOf(path);
        const int layoutFlags = write ? SaveFlags::Perform : SaveFlags::Estimate;
        if (write && !QDir().mkpath(folder))
            throw EQORException(2, QStringLiteral("Folder could not be created"), folder, QLatin1String(kSaveContext));

        pugi::xml_document document;
        pugi::xml_node root = document.append_child("cart");
        qint64 bytes = 0;
        bool picturesStored = true;
        for (const auto& item : items_) {
            pugi::xml_node element = root.append_child("item");
            element.append_attribute("saveinalbum").set_value(item->saveInAlbum ? "-1" : "0");
            WriteStringAttribute(element, "id", StoredItemId(*item));
            switch (item->Kind()) {
            case CartItemKind::Print: {
                const TPictureDef& slot = static_cast<TPrintCartItemData&>(*item).Picture();
                pugi::xml_node picture = element.append_child("picture_def");
                if (keepItems) {
                    const std::unique_ptr<TSizeDef> copy = slot.Clone(nullptr);
                    picturesStored &= copy->SaveTo(picture, folder, layoutFlags, false, bytes);
                } else {
                    picturesStored &= static_cast<TPrintCartItemData&>(*item).Picture().SaveTo(
                        picture, folder, layoutFlags, false, bytes);
                }
                break;
            }
            case CartItemKind::Product: {
                TProductPageDef& layout = static_cast<TProductCartItemData&>(*item).Layout();
                if (keepItems)
                    picturesStored &= CloneProductLayout(layout)->SaveTo(element, folder, layoutFlags, false, bytes);
                else
                    picturesStored &= layout.SaveTo(element, folder, layoutFlags, false, bytes);
                break;
            }
            case CartItemKind::PhotoBookRef: {
                const auto& book = static_cast<const TPhotoBookRefCartItemData&>(*item);
                WriteStringAttribute(element, "filename", CollapsePath(book.fileName));
                WriteIntAttribute(element, "pagecount", book.pageCount);
                break;
            }
            }
            pugi::xml_node lines = element.append_child("lines");
            for (const TCartItemLine& line : item->Lines()) {
                pugi::xml_node entry = lines.append_child("line");
                WriteStringAttribute(entry, "productid", line.product ? line.product->FullId() : line.productId);
                entry.append_attribute("quantity").set_value(line.quantity);
            }
            if (progress) {
                dialogs_->AdvanceProgress();
                dialogs_->ProcessPendingEvents();
            }
        }
        pugi::xml_node misc = root.append_child("misc");
        if (!indexPrintText_.isEmpty())
            misc.append_child("indexprint").text().set(indexPrintText_.toUtf8().constData());

        if (write) {
            if (!picturesStored)
                throw EQORException(
                    2, QStringLiteral("A picture could not be copied"), folder, QLatin1String(kSaveContext));
            SaveXMLDocument(document, path, !IsEncryptingDisabled(), EncryptVariant::Des, true);
            if (!keepItems) {
                // Pictures this cart wrote earlier into this folder and no
                // longer refers to (removed items) go; nothing else does.
                const QSet<QString> referenced = PicturesIn(folder);
                QSet<QString> stale;
                for (const QString& file : std::as_const(ownPictures_)) {
                    if (DirectlyIn(file, folder) && !referenced.contains(file))
                        stale.insert(file);
                }
                if (!stale.isEmpty())
                    DeletePictures(stale, folder);
                ownPictures_ = referenced;
            }
            result = bytes;
        } else {
            const qint64 text = XMLDocumentText(document, true).size();
            const QStorageInfo storage(FolderOf(path));
            const qint64 cluster = storage.isValid() && storage.blockSize() > 0 ? storage.blockSize() : 4096;
            result = bytes + (text + cluster - 1) / cluster * cluster;
        }
    } catch (...) {
        RecordCurrentException(QLatin1String(kSaveContext));
        if (!silent) {
            dialogs_->Ask({QString(),
                QStringLiteral("Das Speichern der Datei %1 ist fehlgeschlagen.").arg(QDir::toNativeSeparators(path)),
                260, 350, {bOK}, MessageKind::Warning});
        }
        result = -1;
    }
    if (progress)
        dialogs_->HideProgress();
    return result;
}

TCartLoadResult TCart::Load(const QString& path, const TProductItemList& catalogue, bool silent)
{
    if (settings_.handlingMode == 1 || !fileName_.isEmpty())
        fileName_ = path;
    else
        fileName_ = settings_.fixedCartFile;
    const QString folder = CompanionFolder();

    TXMLDocumentPtr document;
    try {
        document = ReadXMLDocument(fileName_);
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kLoadContext));
    }
    const pugi::xml_node cart = document->child("cart");
    if (!cart)
        throw EQORException(2, QStringLiteral("wrong content (") + fileName_ + QLatin1Char(')'), QString(),
            QLatin1String(kLoadContext));

    int children = 0;
    for (pugi::xml_node child = FirstElement(cart); child; child = NextElement(child))
        ++children;
    const bool progress = !silent && children > kProgressThreshold;
    if (progress)
        dialogs_->ShowProgress(QString(), children); // state 8 without a text of its own

    TCartLoadResult result;
    for (pugi::xml_node child = FirstElement(cart); child; child = NextElement(child)) {
        if (progress) {
            dialogs_->AdvanceProgress();
            dialogs_->ProcessPendingEvents();
        }
        if (QString::fromUtf8(child.name()) == QLatin1String("misc")) {
            if (pugi::xml_node indexPrint = child.child("indexprint"))
                indexPrintText_ = QString::fromUtf8(indexPrint.text().get());
            continue;
        }
        try {
            const QString id = ReadStringAttribute(child, "id");
            const qsizetype groupIndex = catalogue.IndexOfId(id.section(QLatin1Char('.'), 0, 0));
            if (groupIndex < 0) {
                ReportMessage(QStringLiteral("Cart item of an unknown group skipped: ") + id);
                continue;
            }
            TProductItem* group = catalogue.At(groupIndex);
            switch (group->editType) {
            case ProductEditType::Prints: {
                auto print = std::make_unique<TPrintCartItemData>();
                const pugi::xml_node picture = FirstElement(child);
                if (picture)
                    print->Picture().LoadFrom(picture, folder, kDefVersion10);
                const TPhotoDef& photo = print->Picture().Photo();
                if (!photo.Valid() || !QFileInfo::exists(photo.FileName())) {
                    ++result.missingPictures;
                    continue;
                }
                print->saveInAlbum = ReadBoolAttribute(child, "saveinalbum");
                print->groupId = group->FullId();
                print->Lines().clear();
                for (pugi::xml_node line = NextElement(picture).child("line"); line; line = line.next_sibling("line")) {
                    TProductItem* product = catalogue.FindNearest(ReadStringAttribute(line, "productid"));
                    TCartItemLine entry;
                    entry.SetProduct(product ? product : group);
                    entry.quantity = ClampedQuantity(line);
                    print->Lines().push_back(entry);
                }
                if (print->Lines().empty()) {
                    TProductItem* product = catalogue.FindNearest(id);
                    print->Lines().emplace_back();
                    print->Lines().front().SetProduct(product ? product : group);
                }
                print->SetRatioFrom(print->Product());
                Add(std::move(print));
                break;
            }
            case ProductEditType::Products: {
                const pugi::xml_node line = child.child("lines").child("line");
                const QString productId = ReadStringAttribute(line, "productid");
                TProductItem* product = catalogue.Find(productId);
                const bool exact = product != nullptr;
                if (!product)
                    product = catalogue.FindNearest(productId);
                if (!product || product->IsGroup()) {
                    ReportMessage(QStringLiteral("Cart product not in the catalogue skipped: ") + productId);
                    continue;
                }
                auto item = std::make_unique<TProductCartItemData>(product);
                if (exact) {
                    item->Layout().LoadFrom(child, folder, kDefVersion10);
                    if (product->layout)
                        KeepProductAttributes(*product->layout, item->Layout());
                } else {
                    TProductPageDef loaded(nullptr);
                    loaded.LoadFrom(child, folder, kDefVersion10);
                    TransferPictures(loaded, item->Layout());
                }
                item->saveInAlbum = ReadBoolAttribute(child, "saveinalbum");
                item->Lines().front().quantity = ClampedQuantity(line);
                if (item->Incomplete())
                    ++result.incompleteProducts;
                Add(std::move(item));
                break;
            }
            case ProductEditType::Books: {
                TProductItem* base = catalogue.Find(id);
                if (!base)
                    base = catalogue.FindNearest(id);
                if (!base) {
                    ReportMessage(QStringLiteral("Cart photobook not in the catalogue skipped: ") + id);
                    continue;
                }
                auto book = std::make_unique<TPhotoBookRefCartItemData>();
                book->fileName = ExpandPath(ReadStringAttribute(child, "filename"));
                book->pageCount = std::max(0, ReadIntAttribute(child, "pagecount"));
                book->Lines().front().SetProduct(base->PageCountVariant(book->pageCount));
                book->Lines().front().quantity = ClampedQuantity(FirstElement(child).child("line"));
                book->saveInAlbum = ReadBoolAttribute(child, "saveinalbum");
                book->groupId = group->FullId();
                Add(std::move(book));
                break;
            }
            }
        } catch (...) {
            // One broken item does not cost the customer the rest of the cart.
            RecordCurrentException(QLatin1String(kLoadContext));
        }
    }
    ownPictures_ = PicturesIn(folder);
    changedForViews_ = true;

    if (settings_.notifyIncompleteItemLoad && result.incompleteProducts > 0)
        result.message = QStringLiteral("Im gespeicherten Warenkorb wurden unvollständige Produkte gefunden. Bitte "
                                        "überprüfen Sie Ihre Produkte.");
    if (result.missingPictures > 0) {
        if (!result.message.isEmpty())
            result.message += QStringLiteral("<br/><br/>");
        result.message += QStringLiteral("Beim Laden des Warenkorbs wurde(n) %1 Bild(er) für Abzüge nicht gefunden. "
                                         "Die zugehörigen Einträge wurden entfernt.")
                              .arg(result.missingPictures);
    }
    result.complete = result.message.isEmpty();
    if (progress)
        dialogs_->HideProgress();
    return result;
}

void TCart::DeleteFiles()
{
    if (fileName_.isEmpty())
        return;
    const QString folder = CompanionFolder();
    QSet<QString> pictures = ownPictures_;
    pictures.unite(PicturesIn(folder));
    Clear();
    if (!QFile::remove(fileName_) && QFile::exists(fileName_))
        ReportMessage(QStringLiteral("Cart file could not be deleted: ") + fileName_);
    DeletePictures(pictures, folder);
    fileName_.clear();
    ownPictures_.clear();
}

} // namespace pavlora
