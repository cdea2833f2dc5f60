// The application object's recovery after an abnormal end and its
// shutdown.

#include "app/QORApp.h"

#include "catalogue/CartController.h"
#include "catalogue/ProductItemList.h"
#include "core/AppMessageBox.h"
#include "core/Logger.h"
#include "core/QORException.h"
#include "ordering/OrderFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pavlora {

namespace {

constexpr char kRecoveryContext[] = "QOR_Cls_2_0.TQORApp.Create";
constexpr int kOpenPhotoBookCommand = 7;

QString CleanPath(const QString& path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

} // namespace

void TQORApp::Recover()
{
    recoveryReached_ = true;
    const bool withBook = QFile::exists(autoSavePhotoBookFile_);
    // Without a photobook page the book cannot be opened: it stays for a
    // later start that can open it.
    const bool openBook = withBook && CanRunCommand(kOpenPhotoBookCommand);
    if (withBook && !openBook) {
        keepAutoSavePhotoBook_ = true;
        ReportMessage(QStringLiteral("The auto-saved photobook is kept: it cannot be opened in this version"));
    }
    if (!QFile::exists(autoSaveCartFile_))
        return;

    QString text = QStringLiteral("Die Anwendung wurde nicht korrekt beendet. Der Warenkorb wird wieder hergestellt.");
    if (openBook)
        text += QStringLiteral(" Das zuletzt bearbeitete Fotobuch wird geöffnet.");
    mainWindow_->SetEnabled(true);
    TMessageBoxRequest request;
    request.title = applicationTitle_;
    request.text = text;
    request.height = openBook ? 290 : 260;
    request.width = 360;
    request.buttons = {bOK};
    request.kind = MessageKind::Information;
    ShowAppMessageBox(request);

    if (openBook) {
        photoBookRequest_ = TPhotoBookRequest{QString(), autoSavePhotoBookFile_, false, true};
        if (!ExecuteCommand(kOpenPhotoBookCommand))
            keepAutoSavePhotoBook_ = true;
    }

    // The recovered cart keeps no file name: saving asks for one (or uses
    // the fixed cart file) instead of writing into the auto-save file,
    // which is deleted at the end of the run.
    TCart& cart = cart_->Cart();
    try {
        cart.SetFileName(autoSaveCartFile_);
        cart.Load(autoSaveCartFile_, *catalogue_, false);
        cart.SetFileName(QString());
        cart_->MarkModified();
    } catch (...) {
        cart.SetFileName(QString());
        keepAutoSaveCart_ = true;
        const TQORError error = RecordCurrentException(QLatin1String(kRecoveryContext));
        ReportMessage(QStringLiteral("The auto-saved cart is kept: ") + error.VerboseMessage());
    }
}

void TQORApp::DeleteAutoSaveFiles()
{
    if (!keepAutoSavePhotoBook_) {
        QFile::remove(autoSavePhotoBookFile_);
        QDir(autoSaveFolder_ + QStringLiteral("/AutoSavePB-Dateien")).removeRecursively();
    }
    if (!keepAutoSaveCart_ && QFile::exists(autoSaveCartFile_)) {
        const QSet<QString> pictures = TCart::ReferencedPictures(autoSaveCartFile_);
        if (QFile::remove(autoSaveCartFile_))
            TCart::DeletePictures(pictures, TCart::CompanionFolderOf(autoSaveCartFile_));
        else
            ReportMessage(QStringLiteral("Cannot delete ") + autoSaveCartFile_);
    }
}

void TQORApp::SweepOrderFolders(const QString& kept)
{
    const QString keptPath = kept.isEmpty() ? QString() : CleanPath(kept);
    QDir root(OrderFoldersRoot());
    if (!root.exists())
        return;
    const QFileInfoList folders
        = root.entryInfoList({QStringLiteral("tmp_order_*")}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo& folder : folders) {
        if (!keptPath.isEmpty() && CleanPath(folder.absoluteFilePath()) == keptPath)
            continue;
        DeleteOrderFolder(folder.absoluteFilePath());
    }
}

} // namespace pavlora
