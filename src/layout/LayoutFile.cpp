#include "layout/LayoutFile.h"

#include "layout/LayoutXml.h"

#include "core/DebugConfig.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"
#include "core/XMLUtils2.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <pugixml.hpp>

namespace pavlora {
namespace {

const QString kLoadContext = QStringLiteral("QORProdCls_2_0.LoadPhotoBookDef");
const QString kSaveContext = QStringLiteral("QORProdCls_2_0.SavePhotoBookDef");

// Makes every file of the picture folder writable again, so a save can
// replace what it wrote before.
void MakeFolderWritable(const QString& folder)
{
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner | QFile::WriteUser);
    }
}

void PreparePictureFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir()) {
        MakeFolderWritable(folder);
        return;
    }
    if (!QDir().mkpath(folder))
        throw EQORException(2, QStringLiteral("Could not create the picture folder"), folder, kSaveContext);
}

std::unique_ptr<TPhotoBookDef> LoadBook(
    pugi::xml_node element, const QString& pictureFolder, double from, double to, const TDefProgress& progress)
{
    auto book = std::make_unique<TPhotoBookDef>();
    try {
        book->LoadFrom(element, pictureFolder, kDefVersion10, from, to, progress);
    } catch (...) {
        RecordCurrentException(kLoadContext);
        return nullptr;
    }
    return book;
}

TPhotoBookSaveResult SaveBook(TPhotoBookDef& book, pugi::xml_node element, const QString& pictureFolder, bool reduced,
    double from, double to, const TDefProgress& progress)
{
    TPhotoBookSaveResult result;
    const int flags = SaveFlags::Perform | (reduced ? SaveFlags::Extract : 0);
    result.allPicturesStored
        = book.SaveTo(element, pictureFolder, flags, false, result.pictureBytes, from, to, progress);
    RemoveEmptyElements(element);
    return result;
}

} // namespace

QString PictureFolderFor(const QString& fileName)
{
    const QFileInfo info(fileName);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("-Dateien");
}

std::unique_ptr<TPhotoBookDef> LoadPhotoBookDef(
    const QString& fileName, double progressFrom, double progressTo, const TDefProgress& progress)
{
    const QString path = ExpandPath(fileName);
    if (!QFileInfo(path).isFile())
        return nullptr;
    TXMLDocumentPtr document;
    try {
        document = ReadXMLDocument(path);
    } catch (...) {
        throw EQORException::WrapCurrent(kLoadContext);
    }
    const QString folder = PictureFolderFor(path);
    const pugi::xml_node root = document->document_element();
    if (QLatin1String(root.name()) != QLatin1String(layoutxml::kPhotoBook)) {
        RecordError(TQORError{208, kLoadContext, QStringLiteral("wrong content"), path});
        return nullptr;
    }
    return LoadBook(root, QFileInfo(folder).isDir() ? folder : QString(), progressFrom, progressTo, progress);
}

std::unique_ptr<TPhotoBookDef> LoadPhotoBookDef(pugi::xml_node parent, const QString& pictureFolder,
    double progressFrom, double progressTo, const TDefProgress& progress)
{
    const pugi::xml_node element = parent.child(layoutxml::kPhotoBook);
    if (!element)
        return nullptr;
    return LoadBook(
        element, QFileInfo(pictureFolder).isDir() ? pictureFolder : QString(), progressFrom, progressTo, progress);
}

TPhotoBookSaveResult SavePhotoBookDef(TPhotoBookDef& book, const QString& fileName, bool encrypted, bool reduced,
    double progressFrom, double progressTo, const TDefProgress& progress)
{
    return layoutxml::Guarded(kSaveContext, [&] {
        const QString path = ExpandPath(fileName);
        const QString folder = PictureFolderFor(path);
        PreparePictureFolder(folder);
        pugi::xml_document document;
        pugi::xml_node root = document.append_child(layoutxml::kPhotoBook);
        const TPhotoBookSaveResult result = SaveBook(book, root, folder, reduced, progressFrom, progressTo, progress);
        SaveXMLDocument(document, path, encrypted && !IsEncryptingDisabled(), EncryptVariant::Des, true);
        return result;
    });
}

TPhotoBookSaveResult SavePhotoBookDef(TPhotoBookDef& book, pugi::xml_node parent, const QString& pictureFolder,
    bool reduced, double progressFrom, double progressTo, const TDefProgress& progress)
{
    return layoutxml::Guarded(kSaveContext, [&] {
        if (!pictureFolder.isEmpty())
            PreparePictureFolder(pictureFolder);
        pugi::xml_node element = parent.append_child(layoutxml::kPhotoBook);
        return SaveBook(book, element, pictureFolder, reduced, progressFrom, progressTo, progress);
    });
}

std::unique_ptr<TLayoutCollection> LoadLayoutCollection(const QString& fileName)
{
    return layoutxml::Guarded(QStringLiteral("ProductDef.LoadLayoutCollection"), [&] {
        const TXMLDocumentPtr document = ReadXMLDocument(fileName);
        const pugi::xml_node root = document->document_element();
        auto collection = std::make_unique<TLayoutCollection>();
        collection->rootName = QString::fromUtf8(root.name());
        if (collection->rootName != QLatin1String("pb_layouts")
            && collection->rootName != QLatin1String("pb_cover_layouts")
            && collection->rootName != QLatin1String("pb_cover_bkgnds"))
            throw EQORException(2, QStringLiteral("wrong content"), ExpandPath(fileName), QString());
        for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
            const QLatin1String name(child.name());
            if (name == QLatin1String(layoutxml::kPrint)) {
                auto print = std::make_unique<TPrintDef>(nullptr);
                print->LoadFrom(child, QString(), kDefVersion10);
                collection->prints.Insert(-1, std::move(print));
            } else if (name == QLatin1String(layoutxml::kPage)) {
                auto page = std::make_unique<TPageDef>(nullptr);
                page->LoadFrom(child, QString(), kDefVersion10);
                collection->pages.Insert(-1, std::move(page));
            } else if (name == QLatin1String(layoutxml::kPhoto)) {
                auto photo = std::make_unique<TPhotoDef>(nullptr);
                photo->LoadFrom(child, QString(), kDefVersion10);
                collection->photos.Insert(-1, std::move(photo));
            }
        }
        return collection;
    });
}

} // namespace pavlora
