#include "layout/PhotoBookDef.h"

#include "layout/LayoutXml.h"

#include "core/QORError.h"
#include "core/QORException.h"
#include "core/XMLUtils2.h"

#include <pugixml.hpp>

#include <algorithm>
#include <stdexcept>

namespace pavlora {
namespace {

const char kClassName[] = "TPhotoBookDef";
constexpr int kDefaultMinPages = 16;
constexpr int kDefaultMaxPages = 100;
constexpr int kSpreadBits = TPrintDef::kPrintRight | TPrintDef::kPrintSpread;
constexpr int kSideBits = TPrintDef::kPrintLeft | kSpreadBits;

// Reports progress between `from` and `to` when the range is usable.
class TProgressRange {
public:
    TProgressRange(double from, double to, const TDefProgress& progress)
        : from_(from)
        , to_(to)
        , progress_(progress)
        , active_(progress && from >= 0 && to > from)
    {
    }
    void Report(int done, int total) const
    {
        if (active_)
            progress_(total > 0 ? from_ + done * (to_ - from_) / total : to_);
    }
    void Start() const
    {
        if (active_)
            progress_(from_);
    }
    void Finish() const
    {
        if (active_)
            progress_(to_);
    }

private:
    double from_;
    double to_;
    const TDefProgress& progress_;
    bool active_;
};

} // namespace

TPhotoBookDef::TPhotoBookDef()
    : TDefObject(nullptr)
{
}

TPhotoBookDef::~TPhotoBookDef() = default;

void TPhotoBookDef::Assign(const TPhotoBookDef& source)
{
    if (&source == this)
        return;
    productId_ = source.productId_;
    minPageCount_ = source.minPageCount_;
    maxPageCount_ = source.maxPageCount_;
    hasPageNumbers_ = source.hasPageNumbers_;
    defaultPosAlign_ = source.defaultPosAlign_;
    if (source.documentElements_) {
        auto elements = std::make_unique<TPrintDef>(this);
        elements->SetDocumentElements(true);
        elements->Assign(*source.documentElements_);
        documentElements_ = std::move(elements);
    } else {
        documentElements_.reset();
    }
    while (!pages_.IsEmpty())
        pages_.Delete(pages_.Count() - 1);
    for (const TPageDef& page : source.pages_) {
        std::unique_ptr<TSizeDef> copy = page.Clone(this);
        pages_.Insert(-1, std::unique_ptr<TPageDef>(static_cast<TPageDef*>(copy.release())));
    }
    RaiseChange();
}

void TPhotoBookDef::SetDocumentElements(std::unique_ptr<TPrintDef> elements)
{
    if (elements) {
        elements->SetOwner(this);
        elements->SetDocumentElements(true);
    }
    documentElements_ = std::move(elements);
}

void TPhotoBookDef::RaiseChange()
{
    if (OnChange)
        OnChange(this);
}

int TPhotoBookDef::PageCount() const
{
    return std::max(0, 2 * pages_.Count() - 4);
}

int TPhotoBookDef::PageDefsFor(int pages)
{
    return (pages + 1) / 2 + 2;
}

void TPhotoBookDef::RewrapGeneratedFrom(int index)
{
    for (int i = std::max(index, 0); i < pages_.Count(); ++i) {
        for (TPrintDef& print : pages_[i].Prints()) {
            // Generated labels carry the page numbers; a label the customer
            // wrote a placeholder into follows its page as well.
            for (TLabelDef& label : print.Labels()) {
                if (label.Generated() || label.Paragraphs().join(QString()).contains(QLatin1String("PageNo}")))
                    label.UpdateLines();
            }
        }
    }
}

int TPhotoBookDef::InsertPage(std::unique_ptr<TPageDef> page, int index)
{
    if (!page)
        page = std::make_unique<TPageDef>(this);
    page->SetOwner(this);
    const bool inside = pages_.InRange(index);
    const int at = pages_.Insert(index, std::move(page));
    if (inside)
        RewrapGeneratedFrom(at);
    pages_[at].ApplyDocumentElements();
    return at;
}

void TPhotoBookDef::DeletePage(int index)
{
    if (!pages_.InRange(index))
        return;
    pages_.Delete(index);
    RewrapGeneratedFrom(index);
}

void TPhotoBookDef::SetPageCount(int pages)
{
    const int target = PageDefsFor(std::max(pages, 0));
    if (pages_.Count() < target) {
        if (pages_.Count() < 2)
            return;
        const int templateIndex = pages_.Count() - 2;
        TPageDef& last = pages_.Last();
        const TPageDef& before = pages_[pages_.Count() - 2];
        if (last.Prints().Count() == 1 && before.Prints().Count() >= 2) {
            auto right = std::make_unique<TPrintDef>(&last);
            right->AssignCleared(last.Prints()[0]);
            right->SetCenter(before.Prints()[1].CenterX(), before.Prints()[1].CenterY());
            right->SetTag(TPrintDef::kPrintRight);
            last.InsertPrint(std::move(right));
            last.SetTag(last.Tag() | kSpreadBits);
        }
        const int lastTag = pages_.Last().Tag();
        while (pages_.Count() < target) {
            auto page = std::make_unique<TPageDef>(this);
            page->AssignCleared(pages_[templateIndex]);
            page->SetTag(lastTag);
            InsertPage(std::move(page));
        }
        TPageDef& newLast = pages_.Last();
        if (newLast.Prints().Count() == 2) {
            newLast.DeletePrint(1);
            newLast.SetTag((newLast.Tag() & ~kSideBits) + TPrintDef::kPrintLeft);
        }
    } else if (pages_.Count() > target) {
        while (pages_.Count() > target)
            DeletePage(pages_.Count() - 1);
        if (!pages_.IsEmpty()) {
            TPageDef& last = pages_.Last();
            while (last.Prints().Count() > 1)
                last.DeletePrint(last.Prints().Count() - 1);
            last.SetTag(last.Tag() & ~kSpreadBits);
        }
    }
}

void TPhotoBookDef::SetPageLimits(const TPageLimits& limits)
{
    minPageCount_ = limits.minPages >= 1 ? limits.minPages : kDefaultMinPages;
    maxPageCount_ = limits.maxPages >= 1 ? limits.maxPages : kDefaultMaxPages;
    if (limits.grow) {
        while (pages_.Count() < PageDefsFor(minPageCount_)) {
            auto page = std::make_unique<TPageDef>(this);
            if (pages_.Count() > 2)
                page->AssignCleared(pages_[pages_.Count() - 2]);
            InsertPage(std::move(page), std::max(pages_.Count() - 1, 0));
        }
    }
    if (limits.shrink) {
        while (pages_.Count() > PageDefsFor(maxPageCount_))
            DeletePage(pages_.Count() - 1);
    }
}

void TPhotoBookDef::Clear()
{
    for (TPageDef& page : pages_)
        page.Clear();
}

bool TPhotoBookDef::HasContent() const
{
    return std::any_of(pages_.begin(), pages_.end(), [](const TPageDef& page) { return page.HasContent(); });
}

const TSizeDef* TPhotoBookDef::QualityProblem(int kind) const
{
    for (const TPageDef& page : pages_) {
        if (const TSizeDef* problem = page.QualityProblem(kind))
            return problem;
    }
    return nullptr;
}

void TPhotoBookDef::ReadXML(pugi::xml_node node, TDefVersion& version)
{
    try {
        hasPageNumbers_ = ReadBoolAttribute(node, "has_page_numbers");
        productId_ = ReadStringAttribute(node, "product_id");
        const int minPages = ReadIntAttribute(node, "min_page_count");
        const int maxPages = ReadIntAttribute(node, "max_page_count");
        minPageCount_ = minPages >= 1 ? minPages : kDefaultMinPages;
        maxPageCount_ = maxPages >= 1 ? maxPages : kDefaultMaxPages;
        const double read = ReadFloatAttribute(node, "version", version / 10000.0);
        if (read > 0 && read < 1000)
            version = static_cast<TDefVersion>(std::lround(read * 10000));
    } catch (const std::exception& failure) {
        const TQORError error{208, QStringLiteral("ProductDef.TPhotoBookDef.ReadXML"), QString(), QString()};
        RecordError(error);
        const QString reason = dynamic_cast<const EQORException*>(&failure)
            ? static_cast<const EQORException&>(failure).Message()
            : QString::fromUtf8(failure.what());
        throw std::runtime_error(QString(error.Message() + reason).toStdString());
    }
}

void TPhotoBookDef::WriteXML(pugi::xml_node node, bool writeVersion) const
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "WriteXML"), [&] {
        WriteBoolAttribute(node, "has_page_numbers", hasPageNumbers_);
        WriteStringAttribute(node, "product_id", productId_);
        WriteIntAttribute(node, "min_page_count", minPageCount_);
        WriteIntAttribute(node, "max_page_count", maxPageCount_);
        if (writeVersion)
            WriteStringAttribute(node, "version", FormatFloatAttribute(kDefVersion11 / 10000.0));
    });
}

void TPhotoBookDef::LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version,
    double progressFrom, double progressTo, const TDefProgress& progress)
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "LoadFrom"), [&] {
        const TProgressRange range(progressFrom, progressTo, progress);
        range.Start();
        ReadXML(node, version);
        documentElements_.reset();
        if (const pugi::xml_node elements = node.child(layoutxml::kDocumentElements)) {
            auto print = std::make_unique<TPrintDef>(this);
            print->SetDocumentElements(true);
            print->LoadFrom(elements, pictureFolder, version);
            documentElements_ = std::move(print);
        }
        while (!pages_.IsEmpty())
            pages_.Delete(pages_.Count() - 1);
        int total = 0;
        for (pugi::xml_node child = node.child(layoutxml::kPage); child; child = child.next_sibling(layoutxml::kPage))
            ++total;
        int done = 0;
        for (pugi::xml_node child = node.child(layoutxml::kPage); child; child = child.next_sibling(layoutxml::kPage)) {
            const int index = InsertPage();
            pages_[index].SetIsFirstLoaded(index == 0);
            pages_[index].LoadFrom(child, pictureFolder, version);
            range.Report(++done, total);
        }
        range.Finish();
    });
}

bool TPhotoBookDef::InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
    bool writeVersion, qint64& totalBytes, double progressFrom, double progressTo, const TDefProgress& progress)
{
    return layoutxml::Guarded(layoutxml::Context(kClassName, "InternalSaveTo"), [&] {
        const TProgressRange range(progressFrom, progressTo, progress);
        range.Start();
        WriteXML(node, writeVersion);
        bool stored = true;
        if (documentElements_) {
            // Document elements keep their pictures where they are.
            qint64 ignored = 0;
            pugi::xml_node child = node.append_child(layoutxml::kDocumentElements);
            documentElements_->InternalSaveTo(child, QString(), 0, false, false, ignored);
        }
        for (int i = 0; i < pages_.Count(); ++i) {
            pugi::xml_node child = node.append_child(layoutxml::kPage);
            stored = pages_[i].InternalSaveTo(child, pictureFolder, flags, onlyTemporary, false, totalBytes) && stored;
            range.Report(i + 1, pages_.Count());
        }
        range.Finish();
        return stored;
    });
}

bool TPhotoBookDef::SaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
    qint64& totalBytes, double progressFrom, double progressTo, const TDefProgress& progress)
{
    return InternalSaveTo(
        node, pictureFolder, flags, onlyTemporary, true, totalBytes, progressFrom, progressTo, progress);
}

} // namespace pavlora
