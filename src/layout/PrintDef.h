#pragma once

#include "layout/AreaDef.h"
#include "layout/DefList.h"
#include "layout/LabelDef.h"
#include "layout/PictureDef.h"

namespace pavlora {

class TPageDef;
class TPhotoBookDef;

using TPictureDefList = TDefList<TPictureDef>;
using TLabelDefList = TDefList<TLabelDef>;

// One print: a background photo, picture slots and labels (XML "print_def",
// and "document_elements" for the labels a photobook puts on every print).
//
// Tag bits of a print on a page: kPrintLeft, kPrintRight, kPrintSpread.
class TPrintDef : public TAreaDef {
public:
    static constexpr int kPrintLeft = 1;
    static constexpr int kPrintRight = 2;
    static constexpr int kPrintSpread = 4;

    explicit TPrintDef(TDefObject* owner);
    ~TPrintDef() override;

    std::unique_ptr<TSizeDef> Clone(TDefObject* owner) const override;
    // Copies the slots (keeping their classes) and labels; takes the Collage
    // flag of the source print's page.
    void Assign(const TSizeDef& source) override;
    // Assign, then Clear every slot and label: a layout without content.
    void AssignCleared(const TPrintDef& source);

    // The page the print lies on, and that page's photobook; or none.
    TPageDef* Page() const;
    TPhotoBookDef* PhotoBook() const;
    int IndexInOwner() const override;

    TPictureDefList& Pictures() { return pictures_; }
    const TPictureDefList& Pictures() const { return pictures_; }
    TLabelDefList& Labels() { return labels_; }
    const TLabelDefList& Labels() const { return labels_; }
    bool Collage() const { return collage_; }
    void SetCollage(bool collage) { collage_ = collage; }
    TLayoutVariant LayoutVariant() const { return layoutVariant_; }
    void SetLayoutVariant(TLayoutVariant variant) { layoutVariant_ = variant; }
    // The layout is offered only by the photobook wizard.
    bool WizardExclusive() const { return wizardExclusive_; }
    void SetWizardExclusive(bool exclusive) { wizardExclusive_ = exclusive; }

    TDefIndexEvent OnPictureAdded;
    TDefIndexEvent OnLabelAdded;
    TDefIndexEvent OnPictureDeleted;
    TDefIndexEvent OnLabelDeleted;

    // Adds a slot (none: a new slot centred at (Width/2, Height/2) of half
    // the print's size) at `index`, or appends when the index is outside
    // 0..Count-1. Returns the index.
    int AddPicture(std::unique_ptr<TPictureDef> picture = nullptr, int index = -1);
    int AddLabel(std::unique_ptr<TLabelDef> label = nullptr, int index = -1);
    // Out-of-range indexes are ignored.
    void DeletePicture(int index);
    void DeleteLabel(int index);
    void ClearPictures();
    void ClearLabels();

    // Rebuilds the labels the photobook's document elements put on this
    // print (page numbers and the like).
    void ApplyDocumentElements();

    void Clear() override;
    void ClearEvents() override;
    bool HasContent() const override;
    const TSizeDef* QualityProblem(int kind) const override;

    void ReadXML(pugi::xml_node node, TDefVersion& version) override;
    void WriteXML(pugi::xml_node node, bool writeVersion) const override;
    void LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version) override;
    bool InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
        bool writeVersion, qint64& totalBytes) override;

    // The print as document elements: loaded without the extent check.
    void SetDocumentElements(bool value) { documentElements_ = value; }
    bool IsDocumentElements() const { return documentElements_; }

private:
    TPictureDefList pictures_;
    TLabelDefList labels_;
    bool collage_ = false;
    TLayoutVariant layoutVariant_ = TLayoutVariant::lvNone;
    bool wizardExclusive_ = false;
    bool documentElements_ = false;
};

// XML names of the layout variants.
QString LayoutVariantName(TLayoutVariant variant);
TLayoutVariant LayoutVariantFromName(const QString& name);

} // namespace pavlora
