#pragma once

#include "layout/DefList.h"
#include "layout/PageDef.h"
#include "layout/PrintDef.h"
#include "layout/SizeDef.h"

#include <QString>

#include <functional>
#include <memory>

namespace pavlora {

using TPageDefList = TDefList<TPageDef>;

// The page limits of a photobook, by name so that they cannot be swapped.
struct TPageLimits {
    int minPages = 16;
    int maxPages = 100;
    bool grow = false; // add pages up to minPages
    bool shrink = false; // remove pages above maxPages
};

// A photobook (XML "photobook_def"): page 0 is the cover, every further
// page a spread. Its page count, the printed inner pages, is
// 2 · (page definitions) − 4; n pages need (n + 1) div 2 + 2 definitions.
class TPhotoBookDef : public TDefObject {
public:
    TPhotoBookDef();
    ~TPhotoBookDef() override;

    // Deep copy; raises OnChange.
    void Assign(const TPhotoBookDef& source);

    QString ProductId() const { return productId_; }
    void SetProductId(const QString& id) { productId_ = id; }
    TPageDefList& Pages() { return pages_; }
    const TPageDefList& Pages() const { return pages_; }
    // Labels copied onto every print; none when the book has none.
    TPrintDef* DocumentElements() const { return documentElements_.get(); }
    void SetDocumentElements(std::unique_ptr<TPrintDef> elements);
    int MinPageCount() const { return minPageCount_; }
    int MaxPageCount() const { return maxPageCount_; }
    bool HasPageNumbers() const { return hasPageNumbers_; }
    void SetHasPageNumbers(bool value) { hasPageNumbers_ = value; }
    // The alignment of a picture put into a slot of an inner page (set by
    // the photobook document, not stored).
    TPosAlign DefaultPosAlign() const { return defaultPosAlign_; }
    void SetDefaultPosAlign(TPosAlign value) { defaultPosAlign_ = value; }

    std::function<void(TPhotoBookDef* sender)> OnChange;

    // The number of printed inner pages.
    int PageCount() const;
    // The page definitions n pages need.
    static int PageDefsFor(int pages);
    // The page numbers of page definition `index` (≥ 1).
    static int LeftPageNumber(int index) { return 2 * (index - 1); }
    static int RightPageNumber(int index) { return 2 * (index - 1) + 1; }

    // Inserts a page (none: a new empty one) at `index`, or appends;
    // re-wraps the generated labels of the pages after it and applies the
    // document elements to its prints. Returns the index.
    int InsertPage(std::unique_ptr<TPageDef> page = nullptr, int index = -1);
    void DeletePage(int index);
    // Grows or shrinks the book to `pages` inner pages.
    void SetPageCount(int pages);
    void SetPageLimits(const TPageLimits& limits);

    void Clear();
    bool HasContent() const;
    const TSizeDef* QualityProblem(int kind) const;

    // Attributes; a broken element raises the "XML-Datei korrupt: " error
    // (code 208).
    void ReadXML(pugi::xml_node node, TDefVersion& version);
    void WriteXML(pugi::xml_node node, bool writeVersion) const;
    // Reads the attributes, the document elements and every page.
    // `progress` gets positions from `progressFrom` to `progressTo` when
    // progressFrom ≥ 0 and progressTo > progressFrom.
    void LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version, double progressFrom = -1,
        double progressTo = -1, const TDefProgress& progress = {});
    bool InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
        bool writeVersion, qint64& totalBytes, double progressFrom = -1, double progressTo = -1,
        const TDefProgress& progress = {});
    bool SaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary, qint64& totalBytes,
        double progressFrom = -1, double progressTo = -1, const TDefProgress& progress = {});

private:
    void RewrapGeneratedFrom(int index);
    void RaiseChange();

    QString productId_;
    TPageDefList pages_;
    std::unique_ptr<TPrintDef> documentElements_;
    int minPageCount_ = 16;
    int maxPageCount_ = 100;
    bool hasPageNumbers_ = false;
    TPosAlign defaultPosAlign_ = TPosAlign::paOutsideDefault;
};

} // namespace pavlora
