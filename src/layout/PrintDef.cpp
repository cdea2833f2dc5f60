#include "layout/PrintDef.h"

#include "layout/LayoutXml.h"
#include "layout/PageDef.h"
#include "layout/PhotoBookDef.h"

#include "core/XMLUtils2.h"

#include <pugixml.hpp>

#include <array>

namespace pavlora {
namespace {

const char kClassName[] = "TPrintDef";
constexpr int kDocumentElementBits = 0xFF00; // tag bits 256 … 32768
constexpr int kPageNumberBit = 256;

const std::array<const char*, 5> kVariantNames
    = {"none", "default_symmetric", "withtext_symmetric", "experimental", "relaxed"};

// The graphic's bounding box overlaps the print's rectangle.
bool Overlaps(const TGraphicDef& graphic, double width, double height)
{
    const double left = graphic.CenterX() - graphic.GetWidth() / 2;
    const double top = graphic.CenterY() - graphic.GetHeight() / 2;
    return left < width && left + graphic.GetWidth() > 0 && top < height && top + graphic.GetHeight() > 0;
}

} // namespace

QString LayoutVariantName(TLayoutVariant variant)
{
    const auto index = static_cast<std::size_t>(variant);
    return index < kVariantNames.size() ? QLatin1String(kVariantNames[index]) : QLatin1String(kVariantNames[0]);
}

TLayoutVariant LayoutVariantFromName(const QString& name)
{
    for (std::size_t i = 0; i < kVariantNames.size(); ++i) {
        if (name.compare(QLatin1String(kVariantNames[i]), Qt::CaseInsensitive) == 0)
            return static_cast<TLayoutVariant>(i);
    }
    return TLayoutVariant::lvNone;
}

TPrintDef::TPrintDef(TDefObject* owner)
    : TAreaDef(owner)
{
}

TPrintDef::~TPrintDef() = default;

std::unique_ptr<TSizeDef> TPrintDef::Clone(TDefObject* owner) const
{
    auto copy = std::make_unique<TPrintDef>(owner);
    copy->Assign(*this);
    return copy;
}

void TPrintDef::Assign(const TSizeDef& source)
{
    TAreaDef::Assign(source);
    const auto* print = dynamic_cast<const TPrintDef*>(&source);
    if (!print || print == this)
        return;
    while (!pictures_.IsEmpty())
        pictures_.Delete(pictures_.Count() - 1);
    while (!labels_.IsEmpty())
        labels_.Delete(labels_.Count() - 1);
    for (const TPictureDef& picture : print->pictures_) {
        std::unique_ptr<TSizeDef> copy = picture.Clone(this);
        pictures_.Insert(-1, std::unique_ptr<TPictureDef>(static_cast<TPictureDef*>(copy.release())));
    }
    for (const TLabelDef& label : print->labels_) {
        std::unique_ptr<TSizeDef> copy = label.Clone(this);
        labels_.Insert(-1, std::unique_ptr<TLabelDef>(static_cast<TLabelDef*>(copy.release())));
    }
    const TPageDef* page = print->Page();
    collage_ = page ? page->Collage() : print->collage_;
    layoutVariant_ = print->layoutVariant_;
    wizardExclusive_ = print->wizardExclusive_;
    documentElements_ = print->documentElements_;
}

void TPrintDef::AssignCleared(const TPrintDef& source)
{
    Assign(source);
    for (TPictureDef& picture : pictures_)
        picture.Clear();
    for (TLabelDef& label : labels_)
        label.Clear();
}

TPageDef* TPrintDef::Page() const
{
    return dynamic_cast<TPageDef*>(Owner());
}

TPhotoBookDef* TPrintDef::PhotoBook() const
{
    const TPageDef* page = Page();
    return page ? page->PhotoBook() : nullptr;
}

int TPrintDef::IndexInOwner() const
{
    const TPageDef* page = Page();
    return page ? page->Prints().IndexOf(this) : -1;
}

int TPrintDef::AddPicture(std::unique_ptr<TPictureDef> picture, int index)
{
    if (!picture) {
        picture = std::make_unique<TPictureDef>(this);
        picture->SetCenter(Width() / 2, Height() / 2);
        picture->SetSize(Width() / 2, Height() / 2);
    }
    picture->SetOwner(this);
    const int at = pictures_.Insert(index, std::move(picture));
    if (OnPictureAdded)
        OnPictureAdded(this, at);
    return at;
}

int TPrintDef::AddLabel(std::unique_ptr<TLabelDef> label, int index)
{
    if (!label) {
        label = std::make_unique<TLabelDef>(this);
        label->SetCenter(Width() / 2, Height() / 2);
        label->SetSize(Width() / 2, Height() / 2);
    }
    label->SetOwner(this);
    const int at = labels_.Insert(index, std::move(label));
    labels_[at].UpdateLines();
    if (OnLabelAdded)
        OnLabelAdded(this, at);
    return at;
}

void TPrintDef::DeletePicture(int index)
{
    if (!pictures_.InRange(index))
        return;
    pictures_.Delete(index);
    if (OnPictureDeleted)
        OnPictureDeleted(this, index);
}

void TPrintDef::DeleteLabel(int index)
{
    if (!labels_.InRange(index))
        return;
    labels_.Delete(index);
    if (OnLabelDeleted)
        OnLabelDeleted(this, index);
}

void TPrintDef::ClearPictures()
{
    for (int i = pictures_.Count() - 1; i >= 0; --i)
        DeletePicture(i);
}

void TPrintDef::ClearLabels()
{
    for (int i = labels_.Count() - 1; i >= 0; --i)
        DeleteLabel(i);
}

void TPrintDef::ApplyDocumentElements()
{
    const TPhotoBookDef* book = PhotoBook();
    const TPrintDef* elements = book ? book->DocumentElements() : nullptr;
    if (!elements)
        return;
    for (int i = labels_.Count() - 1; i >= 0; --i) {
        if (labels_[i].Generated() || (labels_[i].Tag() & kDocumentElementBits) != 0)
            DeleteLabel(i);
    }
    const int mask = book->HasPageNumbers() ? kPageNumberBit : 0;
    for (const TLabelDef& label : elements->Labels()) {
        if ((label.Tag() & Tag()) == 0 || (label.Tag() & mask) == 0)
            continue;
        std::unique_ptr<TSizeDef> copy = label.Clone(this);
        auto* generated = static_cast<TLabelDef*>(copy.get());
        generated->SetGenerated(true);
        // Document elements are laid out on the spread.
        if (Tag() == kPrintRight)
            generated->SetCenterX(generated->CenterX() - (CenterX() - Width() / 2));
        copy.release();
        AddLabel(std::unique_ptr<TLabelDef>(generated));
    }
}

void TPrintDef::Clear()
{
    TAreaDef::Clear();
    for (TPictureDef& picture : pictures_)
        picture.Clear();
    for (TLabelDef& label : labels_)
        label.Clear();
}

void TPrintDef::ClearEvents()
{
    TAreaDef::ClearEvents();
    OnPictureAdded = nullptr;
    OnLabelAdded = nullptr;
    OnPictureDeleted = nullptr;
    OnLabelDeleted = nullptr;
    for (TPictureDef& picture : pictures_)
        picture.ClearEvents();
    for (TLabelDef& label : labels_)
        label.ClearEvents();
}

bool TPrintDef::HasContent() const
{
    for (const TLabelDef& label : labels_) {
        if (label.HasContent())
            return true;
    }
    for (const TPictureDef& picture : pictures_) {
        if (picture.HasContent())
            return true;
    }
    return false;
}

const TSizeDef* TPrintDef::QualityProblem(int kind) const
{
    for (const TLabelDef& label : labels_) {
        if (const TSizeDef* problem = label.QualityProblem(kind))
            return problem;
    }
    for (const TPictureDef& picture : pictures_) {
        if (const TSizeDef* problem = picture.QualityProblem(kind))
            return problem;
    }
    return nullptr;
}

void TPrintDef::ReadXML(pugi::xml_node node, TDefVersion& version)
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "ReadXML"), [&] {
        TAreaDef::ReadXML(node, version);
        layoutVariant_ = LayoutVariantFromName(ReadStringAttribute(node, "layout_variant"));
        wizardExclusive_ = ReadBoolAttribute(node, "wizard_exclusive");
    });
}

void TPrintDef::WriteXML(pugi::xml_node node, bool writeVersion) const
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "WriteXML"), [&] {
        TAreaDef::WriteXML(node, writeVersion);
        if (layoutVariant_ != TLayoutVariant::lvNone)
            WriteStringAttribute(node, "layout_variant", LayoutVariantName(layoutVariant_));
        WriteBoolAttribute(node, "wizard_exclusive", wizardExclusive_);
    });
}

void TPrintDef::LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version)
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "LoadFrom"), [&] {
        ReadXML(node, version);
        ValidateGeometry(!documentElements_, "ProductDef.TPrintDef.LoadFrom");
        LoadPhoto(node, pictureFolder, version);
        ClearPictures();
        for (pugi::xml_node child = node.child(layoutxml::kPicture); child;
             child = child.next_sibling(layoutxml::kPicture)) {
            auto picture = std::make_unique<TPictureDef>(this);
            picture->LoadFrom(child, pictureFolder, version);
            AddPicture(std::move(picture));
        }
        ClearLabels();
        for (pugi::xml_node child = node.child(layoutxml::kLabel); child;
             child = child.next_sibling(layoutxml::kLabel)) {
            auto label = std::make_unique<TLabelDef>(this);
            label->LoadFrom(child, pictureFolder, version);
            AddLabel(std::move(label));
        }
    });
}

bool TPrintDef::InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
    bool writeVersion, qint64& totalBytes)
{
    return layoutxml::Guarded(layoutxml::Context(kClassName, "InternalSaveTo"), [&] {
        WriteXML(node, writeVersion);
        bool stored = SavePhoto(node, pictureFolder, flags, onlyTemporary, totalBytes);
        const bool extract = (flags & SaveFlags::Extract) != 0;
        for (TPictureDef& picture : pictures_) {
            if (picture.Generated() || (extract && !Overlaps(picture, Width(), Height())))
                continue;
            pugi::xml_node child = node.append_child(layoutxml::kPicture);
            stored = picture.InternalSaveTo(child, pictureFolder, flags, onlyTemporary, false, totalBytes) && stored;
        }
        for (TLabelDef& label : labels_) {
            if (label.Generated())
                continue;
            pugi::xml_node child = node.append_child(layoutxml::kLabel);
            stored = label.InternalSaveTo(child, pictureFolder, flags, onlyTemporary, false, totalBytes) && stored;
        }
        return stored;
    });
}

} // namespace pavlora
