#include "layout/PageDef.h"

#include "layout/LayoutServices.h"
#include "layout/LayoutXml.h"
#include "layout/PhotoBookDef.h"

#include "core/XMLUtils2.h"

#include <pugixml.hpp>

#include <algorithm>

namespace pavlora {
namespace {

const char kClassName[] = "TPageDef";

} // namespace

TPageDef::TPageDef(TDefObject* owner)
    : TAreaDef(owner)
{
}

TPageDef::~TPageDef() = default;

std::unique_ptr<TSizeDef> TPageDef::Clone(TDefObject* owner) const
{
    auto copy = std::make_unique<TPageDef>(owner);
    copy->Assign(*this);
    return copy;
}

void TPageDef::Assign(const TSizeDef& source)
{
    TAreaDef::Assign(source);
    const auto* page = dynamic_cast<const TPageDef*>(&source);
    if (!page || page == this)
        return;
    while (!prints_.IsEmpty())
        prints_.Delete(prints_.Count() - 1);
    for (const TPrintDef& print : page->prints_) {
        auto copy = std::make_unique<TPrintDef>(this);
        copy->Assign(print);
        prints_.Insert(-1, std::move(copy));
    }
    collage_ = page->collage_;
}

void TPageDef::AssignCleared(const TPageDef& source)
{
    Assign(source);
    for (TPrintDef& print : prints_) {
        for (TPictureDef& picture : print.Pictures())
            picture.Clear();
        for (TLabelDef& label : print.Labels())
            label.Clear();
    }
}

TPhotoBookDef* TPageDef::PhotoBook() const
{
    return dynamic_cast<TPhotoBookDef*>(Owner());
}

int TPageDef::PageIndex() const
{
    const TPhotoBookDef* book = PhotoBook();
    return book ? book->Pages().IndexOf(this) : -1;
}

bool TPageDef::IsCover() const
{
    return PhotoBook() && PageIndex() == 0;
}

int TPageDef::InsertPrint(std::unique_ptr<TPrintDef> print, int index)
{
    if (!print)
        print = std::make_unique<TPrintDef>(this);
    print->SetOwner(this);
    const int at = prints_.Insert(index, std::move(print));
    if (OnPrintAdded)
        OnPrintAdded(this, at);
    if (PhotoBook())
        prints_[at].ApplyDocumentElements();
    return at;
}

void TPageDef::DeletePrint(int index)
{
    if (!prints_.InRange(index))
        return;
    prints_.Delete(index);
    if (OnPrintDeleted)
        OnPrintDeleted(this, index);
}

void TPageDef::ClearPrints()
{
    for (int i = prints_.Count() - 1; i >= 0; --i)
        DeletePrint(i);
}

void TPageDef::ApplyDocumentElements()
{
    for (TPrintDef& print : prints_)
        print.ApplyDocumentElements();
}

void TPageDef::RegisterFileUsage(const QString& entry) const
{
    IFileUsageRegister& usage = FileUsageRegister();
    const int index = PageIndex();
    for (const TPrintDef& print : prints_) {
        const int right = (print.Tag() & TPrintDef::kPrintRight) ? 1 : 0;
        const int page = std::max(0, 2 * index - 2 + right);
        for (const TPictureDef& picture : print.Pictures()) {
            if (!picture.Photo().OriginalFileName().isEmpty())
                usage.Add(picture.Photo().OriginalFileName(), entry, page);
        }
    }
}

void TPageDef::Clear()
{
    TAreaDef::Clear();
    for (TPrintDef& print : prints_)
        print.Clear();
}

void TPageDef::ClearEvents()
{
    TAreaDef::ClearEvents();
    OnPrintAdded = nullptr;
    OnPrintDeleted = nullptr;
    for (TPrintDef& print : prints_)
        print.ClearEvents();
}

bool TPageDef::HasContent() const
{
    if (Photo().Valid())
        return true;
    return std::any_of(prints_.begin(), prints_.end(), [](const TPrintDef& print) { return print.HasContent(); });
}

const TSizeDef* TPageDef::QualityProblem(int kind) const
{
    for (const TPrintDef& print : prints_) {
        if (const TSizeDef* problem = print.QualityProblem(kind))
            return problem;
    }
    return nullptr;
}

int TPageDef::Problems() const
{
    return (QualityProblem(kProblemLowQuality) ? 1 : 0) | (QualityProblem(kProblemTextCut) ? 2 : 0);
}

void TPageDef::ReadXML(pugi::xml_node node, TDefVersion& version)
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "ReadXML"), [&] {
        TAreaDef::ReadXML(node, version);
        collage_ = ReadBoolAttribute(node, "collage");
    });
}

void TPageDef::WriteXML(pugi::xml_node node, bool writeVersion) const
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "WriteXML"), [&] {
        TAreaDef::WriteXML(node, writeVersion);
        WriteBoolAttribute(node, "collage", collage_);
    });
}

void TPageDef::LoadPrints(pugi::xml_node node, const QString& pictureFolder, TDefVersion version)
{
    ClearPrints();
    for (pugi::xml_node child = node.child(layoutxml::kPrint); child; child = child.next_sibling(layoutxml::kPrint)) {
        auto print = std::make_unique<TPrintDef>(this);
        print->LoadFrom(child, pictureFolder, version);
        InsertPrint(std::move(print));
    }
}

void TPageDef::LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version)
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "LoadFrom"), [&] {
        ReadXML(node, version);
        ValidateGeometry(true, "ProductDef.TPageDef.LoadFrom");
        LoadPhoto(node, pictureFolder, version);
        LoadPrints(node, pictureFolder, version);
    });
}

bool TPageDef::SaveChildren(
    pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary, qint64& totalBytes)
{
    bool stored = SavePhoto(node, pictureFolder, flags, onlyTemporary, totalBytes);
    for (TPrintDef& print : prints_) {
        pugi::xml_node child = node.append_child(layoutxml::kPrint);
        stored = print.InternalSaveTo(child, pictureFolder, flags, onlyTemporary, false, totalBytes) && stored;
    }
    return stored;
}

bool TPageDef::InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
    bool writeVersion, qint64& totalBytes)
{
    return layoutxml::Guarded(layoutxml::Context(kClassName, "InternalSaveTo"), [&] {
        WriteXML(node, writeVersion);
        return SaveChildren(node, pictureFolder, flags, onlyTemporary, totalBytes);
    });
}

} // namespace pavlora
