#pragma once

#include "layout/AreaDef.h"
#include "layout/DefList.h"
#include "layout/PrintDef.h"

#include <QString>

namespace pavlora {

class TPhotoBookDef;

using TPrintDefList = TDefList<TPrintDef>;

// One page or spread: a background photo and prints (XML "page_def").
class TPageDef : public TAreaDef {
public:
    explicit TPageDef(TDefObject* owner);
    ~TPageDef() override;

    std::unique_ptr<TSizeDef> Clone(TDefObject* owner) const override;
    void Assign(const TSizeDef& source) override;
    // Assign, then Clear every slot and label of every print.
    void AssignCleared(const TPageDef& source);

    TPhotoBookDef* PhotoBook() const;
    // The page's index in its photobook, -1 outside one.
    int PageIndex() const;
    int IndexInOwner() const override { return PageIndex(); }
    // Page 0 of a photobook.
    bool IsCover() const;

    TPrintDefList& Prints() { return prints_; }
    const TPrintDefList& Prints() const { return prints_; }
    // The customer may move and resize the graphics of this page freely
    // (unless a graphic has FixedPos).
    bool Collage() const { return collage_; }
    void SetCollage(bool collage) { collage_ = collage; }
    bool IsFirstLoaded() const { return isFirstLoaded_; }
    void SetIsFirstLoaded(bool value) { isFirstLoaded_ = value; }

    TDefIndexEvent OnPrintAdded;
    TDefIndexEvent OnPrintDeleted;

    // Inserts a print (none: a new empty one) at `index`, or appends; in a
    // photobook the document elements are applied to it. Returns the index.
    int InsertPrint(std::unique_ptr<TPrintDef> print = nullptr, int index = -1);
    void DeletePrint(int index);
    void ClearPrints();
    void ApplyDocumentElements();

    // Records every slot picture with an original file in the file usage
    // register under `entry`, with its page number.
    void RegisterFileUsage(const QString& entry) const;

    void Clear() override;
    void ClearEvents() override;
    bool HasContent() const override;
    const TSizeDef* QualityProblem(int kind) const override;
    // 0 none, 1 low quality only, 2 text cut only, 3 both.
    int Problems() const;

    void ReadXML(pugi::xml_node node, TDefVersion& version) override;
    void WriteXML(pugi::xml_node node, bool writeVersion) const override;
    void LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version) override;
    bool InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
        bool writeVersion, qint64& totalBytes) override;

protected:
    // Reads the "print_def" children (after ReadXML and the photo).
    void LoadPrints(pugi::xml_node node, const QString& pictureFolder, TDefVersion version);
    bool SaveChildren(
        pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary, qint64& totalBytes);

private:
    TPrintDefList prints_;
    bool collage_ = false;
    bool isFirstLoaded_ = false;
};

} // namespace pavlora
