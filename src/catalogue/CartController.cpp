#include "catalogue/CartController.h"

#include "catalogue/HandOverFile.h"
#include "catalogue/PrintCartItemData.h"
#include "catalogue/ProductCartItemData.h"
#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"
#include "core/Logger.h"
#include "core/QORError.h"
#include "core/QORException.h"
#include "layout/PictureDef.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace pavlora {
namespace {

constexpr char kHandlingContext[] = "QOR_Class_2_0.TQORApp.CartHandling";
constexpr char kImportContext[] = "QOR_Class_2_0.TQORApp.ImportCartIni";
const QString kCartExtension = QStringLiteral("psc");
const QString kImportExtension = QStringLiteral("fsw");
const QString kCartTitle = QStringLiteral("Warenkorb");
const QString kFilterText = QStringLiteral("Vovozevezar Warenkorb");
const QString kSaveQuestion = QStringLiteral("Änderungen am Warenkorb wurden noch nicht gespeichert und würden "
                                             "verloren gehen. Wollen Sie den Warenkorb speichern?");

const TFormatLookup& DefaultLookup()
{
    static const TFormatLookup lookup;
    return lookup;
}

const TCartFileSystem& DefaultFileSystem()
{
    static const TCartFileSystem fileSystem;
    return fileSystem;
}

TCartDialogs& HeadlessDialogs()
{
    static TCartDialogs dialogs;
    return dialogs;
}

QString Canonical(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
}

// A display name taken from another program's file: only its last part, so
// that no name derived from it can reach into another folder.
QString BareName(const QString& name)
{
    const qsizetype cut = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    return name.mid(cut + 1);
}

// Records a failure of a cart operation under code 206.
void RecordHandlingFailure()
{
    TQORError error = ErrorFromCurrentException(QLatin1String(kHandlingContext));
    error.code = 206;
    RecordError(error);
}

class TBusy {
public:
    explicit TBusy(TCartDialogs& dialogs)
        : dialogs_(dialogs)
    {
        dialogs_.SetBusy(true);
    }
    ~TBusy() { dialogs_.SetBusy(false); }
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;

private:
    TCartDialogs& dialogs_;
};

} // namespace

TProductItem* TFormatLookup::ProductForFormat(
    const TProductItemList& catalogue, const QString& formatId, int /*account*/) const
{
    TProductItem* item = catalogue.Find(formatId);
    return item ? item->DefaultLeaf() : nullptr;
}

bool TCartFileSystem::IsWritableFolder(const QString& folder) const
{
    QFile probe(QDir(folder).filePath(QStringLiteral("t0e0s0t0.txt")));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    probe.close();
    return probe.remove();
}

qint64 TCartFileSystem::FreeBytes(const QString& folder) const
{
    const QStorageInfo storage(folder);
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

TCartController::TCartController(const TCartSettings& settings, TProductItemList& catalogue, TCartDialogs* dialogs)
    : settings_(settings)
    , catalogue_(&catalogue)
    , dialogs_(dialogs ? dialogs : &HeadlessDialogs())
    , cart_(std::make_unique<TCart>(settings, dialogs_))
    , formatLookup_(&DefaultLookup())
    , fileSystem_(&DefaultFileSystem())
    , applicationTitle_(QStringLiteral("Vovozevezar"))
{
}

TCartController::~TCartController() = default;

void TCartController::SetFormatLookup(const TFormatLookup* lookup)
{
    formatLookup_ = lookup ? lookup : &DefaultLookup();
}

void TCartController::SetFileSystem(const TCartFileSystem* fileSystem)
{
    fileSystem_ = fileSystem ? fileSystem : &DefaultFileSystem();
}

void TCartController::SetCatalogue(TProductItemList& catalogue)
{
    catalogue_ = &catalogue;
    cart_->RebindProducts(catalogue);
    cart_->ComputeCatalogueTotals(catalogue);
}

void TCartController::MarkModified()
{
    modified_ = true;
    cart_->SetChangedForViews(true);
    if (recalculate_)
        recalculate_();
}

void TCartController::ClearCart()
{
    cart_->Clear();
    catalogue_->ResetTotals();
}

bool TCartController::CartHandling(int kind)
{
    try {
        switch (kind) {
        case chNew:
            if (!AskToSaveChanges())
                return false;
            ClearCart();
            cart_->SetFileName(QString());
            modified_ = false;
            return true;
        case chOpen:
            return OpenWithDialog();
        case chSave:
            return SaveWithDialog();
        case chDeleteConfirmed:
        case chDelete:
            if (kind == chDeleteConfirmed
                && dialogs_->Ask({QString(),
                       QStringLiteral("Sind Sie sicher, dass Sie diesen Warenkorb mit der zugehörigen "
                                      "Warenkorb-Datei löschen wollen?"),
                       250, 390, {bYes, bNo}, MessageKind::Confirmation})
                    != bYes)
                return false;
            cart_->DeleteFiles();
            ClearCart();
            modified_ = false;
            return true;
        default:
            return false;
        }
    } catch (...) {
        RecordHandlingFailure();
        return false;
    }
}

bool TCartController::AskToSaveChanges()
{
    if (!modified_ || cart_->IsEmpty())
        return true;
    return SaveOnAnswer({kCartTitle, kSaveQuestion, 266, 360, {bYes, bNo, bCancel}, MessageKind::Confirmation});
}

bool TCartController::QueryCartSave(bool /*closing*/)
{
    if (!modified_ || cart_->IsEmpty())
        return true;
    if (querySaveProductsOnExit_) {
        return SaveOnAnswer({applicationTitle_, QStringLiteral("Der Warenkorb wurde verändert. Wollen Sie speichern?"),
            275, 320, {bYes, bNo, bCancel}, MessageKind::Confirmation});
    }
    return SaveOnAnswer(
        {applicationTitle_, kSaveQuestion, 266, 360, {bSave, bNotSave, bCancel}, MessageKind::Confirmation});
}

bool TCartController::SaveOnAnswer(const TCartMessage& question)
{
    // The first button saves, the second goes on without saving, the
    // third (and closing the box) cancels.
    const TAppMsgDlgBtn answer = dialogs_->Ask(question);
    if (answer == question.buttons.value(0))
        return SaveWithDialog();
    return answer == question.buttons.value(1);
}

bool TCartController::ConfirmItemDeletion()
{
    if (!confirmItemDeletion_)
        return true;
    return dialogs_->Ask({QStringLiteral("Löschen"), QStringLiteral("Wollen Sie diesen Artikel wirklich löschen?"), 0,
               0, {bYes, bCancel}, MessageKind::Confirmation})
        == bYes;
}

bool TCartController::SaveAutoSave(const QString& path)
{
    return cart_->SaveCopyTo(path);
}

bool TCartController::SaveWithDialog()
{
    if (settings_.handlingMode == 0) {
        if (cart_->Save(false, CartSaveFlags::Write) < 0)
            return false;
        modified_ = false;
        return true;
    }
    QString path;
    const TCartFileDialog dialog{kCartTitle,
        kFilterText + QStringLiteral(" (*.") + kCartExtension + QStringLiteral(")|*.") + kCartExtension, kCartExtension,
        documentsFolder_};
    for (;;) {
        path = dialogs_->SaveFileName(dialog);
        if (path.isEmpty())
            return false;
        if (QFileInfo(path).suffix().isEmpty())
            path += QLatin1Char('.') + kCartExtension;
        const QString folder = QFileInfo(path).absolutePath();
        if (!fileSystem_->IsWritableFolder(folder)) {
            dialogs_->Ask({QString(),
                QStringLiteral("Auf diesen Pfad (%1) kann nicht geschrieben werden. Bitte wählen Sie ein anderes "
                               "Ziel aus.")
                    .arg(QDir::toNativeSeparators(folder)),
                290, 340, {bOK}, MessageKind::Warning});
            continue;
        }
        const qint64 needed = cart_->Measure(path);
        const qint64 free = fileSystem_->FreeBytes(folder);
        if (needed >= 0 && free >= 0 && free < needed) {
            dialogs_->Ask({QString(),
                QStringLiteral("Das Laufwerk %1 hat nicht genug freien Speicher um den Warenkorb zu speichern. Bitte "
                               "wählen Sie ein anderes Medium aus.")
                    .arg(QStorageInfo(folder).rootPath()),
                260, 350, {bOK}, MessageKind::Warning});
            continue;
        }
        break;
    }

    // Another cart of that name: its pictures go only once this cart is
    // safely written, and only the ones that cart referred to.
    QSet<QString> otherPictures;
    bool replacesOther = false;
    if (QFileInfo::exists(path)) {
        if (dialogs_->Ask({QString(), path + QStringLiteral(" existiert bereits. Möchten Sie sie ersetzen?"), 280, 430,
                {bYes, bNo}, MessageKind::Confirmation})
            != bYes)
            return false;
        replacesOther = cart_->FileName().isEmpty() || Canonical(cart_->FileName()) != Canonical(path);
        if (replacesOther)
            otherPictures = TCart::ReferencedPictures(path);
    }
    const QString previousName = cart_->FileName();
    cart_->SetFileName(path);
    if (cart_->Save(false, CartSaveFlags::Write) < 0) {
        cart_->SetFileName(previousName);
        return false;
    }
    if (replacesOther) {
        const QSet<QString> ours = TCart::ReferencedPictures(path);
        TCart::DeletePictures(otherPictures.subtract(ours), TCart::CompanionFolderOf(path));
    }
    modified_ = false;
    return true;
}

bool TCartController::OpenWithDialog()
{
    if (!AskToSaveChanges())
        return false;
    QString path = settings_.fixedCartFile;
    if (settings_.handlingMode == 1) {
        path = dialogs_->OpenFileName({QString(),
            kFilterText + QStringLiteral(" (*.") + kCartExtension + QStringLiteral(")|*.") + kCartExtension
                + QStringLiteral(";*.") + kImportExtension,
            kCartExtension, documentsFolder_});
        if (path.isEmpty())
            return false;
        if (QFileInfo(path).suffix().compare(kImportExtension, Qt::CaseInsensitive) == 0)
            return ImportCartIni(path);
    }
    // The old cart stays in place when the file cannot be read at all.
    auto cart = std::make_unique<TCart>(settings_, dialogs_);
    const TCartLoadResult result = cart->Load(path, *catalogue_, false);
    cart_ = std::move(cart);
    if (!result.complete)
        dialogs_->Ask({QString(), result.message, 250, 390, {bOK}, MessageKind::Error});
    cart_->ComputeCatalogueTotals(*catalogue_);
    if (recalculate_)
        recalculate_();
    modified_ = false;
    return true;
}

bool TCartController::ImportCartIni(const QString& fileName)
{
    if (!QFileInfo::exists(fileName))
        return false;
    const TBusy busy(*dialogs_);
    THandOverFile handOver;
    try {
        handOver = THandOverFile::Read(fileName);
    } catch (...) {
        RecordCurrentException(QLatin1String(kImportContext));
        return false;
    }
    const int account = static_cast<int>(handOver.account);
    // The items added and the source picture each of them was made from.
    std::vector<std::pair<const TCartItemData*, QString>> imported;
    for (const THandOverFile::Item& entry : handOver.items) {
        if (!QFileInfo(entry.picturePath).isFile()) {
            ReportMessage(QStringLiteral("Hand-over picture missing, item skipped: ") + entry.picturePath);
            continue;
        }
        const QString original = entry.originalFileName.isEmpty() ? QFileInfo(entry.picturePath).fileName()
                                                                  : BareName(entry.originalFileName);
        std::unique_ptr<TCartItemData> item;
        if (handOver.account == THandOverFile::Account::Products) {
            TProductItem* product = formatLookup_->ProductForFormat(*catalogue_, entry.lines.front().formatId, account);
            if (!product || product->IsGroup()) {
                ReportMessage(QStringLiteral("Hand-over product unknown: ") + entry.lines.front().formatId);
                continue;
            }
            auto productItem = std::make_unique<TProductCartItemData>(product);
            productItem->SetFirstPicture(entry.picturePath, original);
            productItem->Lines().front().quantity = entry.lines.front().quantity;
            productItem->saveInAlbum = settings_.saveImageInOnlineAlbum;
            item = std::move(productItem);
        } else {
            auto print = std::make_unique<TPrintCartItemData>();
            print->Lines().clear();
            for (const THandOverFile::Line& line : entry.lines) {
                TProductItem* product = formatLookup_->ProductForFormat(*catalogue_, line.formatId, account);
                if (!product) {
                    ReportMessage(QStringLiteral("Hand-over format unknown: ") + line.formatId);
                    continue;
                }
                TCartItemLine cartLine;
                cartLine.SetProduct(product);
                cartLine.quantity = line.quantity;
                print->Lines().push_back(cartLine);
            }
            if (print->Lines().empty())
                continue;
            print->groupId = print->Product()->Root()->FullId();
            print->SetRatioFrom(print->Product());
            print->SetPicture(entry.picturePath, original);
            print->saveInAlbum = settings_.saveImageInOnlineAlbum;
            item = std::move(print);
        }
        const TCartItemData* added = item.get();
        cart_->Add(std::move(item));
        imported.emplace_back(added, entry.picturePath);
    }
    if (!imported.empty())
        MarkModified();

    const QFileInfo info(fileName);
    const QString cartFile
        = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('.') + kCartExtension;
    cart_->SetFileName(cartFile);
    if (cart_->Save(false, CartSaveFlags::Write) < 0)
        return false; // nothing of the sources is touched
    modified_ = false;

    // Only now, and only what was copied from the hand-over file's own folder.
    const QString ownFolder = Canonical(info.absolutePath());
    for (const auto& [item, source] : imported) {
        const QString copy = item->FirstPictureFile();
        if (copy.isEmpty() || !QFileInfo::exists(copy) || Canonical(copy) == Canonical(source))
            continue;
        if (Canonical(QFileInfo(source).absolutePath()) != ownFolder)
            continue;
        if (!QFile::remove(source))
            ReportMessage(QStringLiteral("Hand-over picture could not be deleted: ") + source);
    }
    if (!QFile::remove(fileName))
        ReportMessage(QStringLiteral("Hand-over file could not be deleted: ") + fileName);
    return true;
}

} // namespace pavlora
