#pragma once

#include "layout/DefList.h"
#include "layout/PageDef.h"
#include "layout/PhotoBookDef.h"
#include "layout/PhotoDef.h"
#include "layout/PrintDef.h"

#include <QString>

#include <memory>

namespace pugi {
class xml_node;
} // namespace pugi

namespace pavlora {

// File-level reading and writing of layouts: photobook files (".pbf", and
// the template "Default.pbd"), layout lists (".pbl") and cover backgrounds
// (".pbc").

// The picture folder that belongs to a photobook or cart file: beside it,
// named "<file name without extension>-Dateien".
QString PictureFolderFor(const QString& fileName);

// Reads a photobook file through the data-document layer, with its picture
// folder when that exists. A missing file gives none; a file that cannot be
// read raises EQORException "QORProdCls_2_0.LoadPhotoBookDef"; a file whose
// content cannot be loaded gives none (the failure is logged).
std::unique_ptr<TPhotoBookDef> LoadPhotoBookDef(
    const QString& fileName, double progressFrom = -1, double progressTo = -1, const TDefProgress& progress = {});
// The same for the "photobook_def" child of `parent`.
std::unique_ptr<TPhotoBookDef> LoadPhotoBookDef(pugi::xml_node parent, const QString& pictureFolder,
    double progressFrom = -1, double progressTo = -1, const TDefProgress& progress = {});

// What saving a photobook did.
struct TPhotoBookSaveResult {
    bool allPicturesStored = true; // false when a picture could not be copied
    qint64 pictureBytes = 0; // block-rounded space of the picture files
};

// Saves a photobook: its pictures are copied into the picture folder
// (created when missing; with `reduced` only the visible parts of slot
// pictures), then the document is written atomically, encrypted when
// `encrypted` and the data layer stores documents encrypted. Elements
// without attributes and children are dropped. Files of the picture folder
// that the book no longer uses are left for the photobook document to
// clean up. Raises EQORException "QORProdCls_2_0.SavePhotoBookDef".
TPhotoBookSaveResult SavePhotoBookDef(TPhotoBookDef& book, const QString& fileName, bool encrypted, bool reduced,
    double progressFrom = -1, double progressTo = -1, const TDefProgress& progress = {});
// Saves into a new "photobook_def" child of `parent` with the given picture
// folder.
TPhotoBookSaveResult SavePhotoBookDef(TPhotoBookDef& book, pugi::xml_node parent, const QString& pictureFolder,
    bool reduced, double progressFrom = -1, double progressTo = -1, const TDefProgress& progress = {});

// The layouts of a layout list ("pb_layouts", "pb_cover_layouts") or the
// cover backgrounds of "pb_cover_bkgnds", loaded at version 1.0 without a
// picture folder.
struct TLayoutCollection {
    QString rootName;
    TDefList<TPrintDef> prints; // "print_def" children
    TDefList<TPageDef> pages; // "page_def" children
    TDefList<TPhotoDef> photos; // "photo_def" children
};

// Reads a layout list or cover background file. Raises EQORException
// "ProductDef.LoadLayoutCollection" when the file cannot be read or its
// content is broken.
std::unique_ptr<TLayoutCollection> LoadLayoutCollection(const QString& fileName);

} // namespace pavlora
