#include "catalogue/ProductsReader.h"

#include "catalogue/ProductItem.h"
#include "catalogue/ProductLayouts.h"
#include "catalogue/TextMacros.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"
#include "core/XMLUtils2.h"
#include "layout/ProductPageDef.h"

#include <QFileInfo>

#include <pugixml.hpp>

#include <algorithm>

namespace pavlora {
namespace {

// A structural fault of the catalogue.
[[noreturn]] void Fail(const QString& text)
{
    throw EQORException(2, text, QString(), QLatin1String(kReadProductsContext));
}

bool NameIs(pugi::xml_node node, const char* name)
{
    return QString::fromUtf8(node.name()).compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

class TProductsReader {
public:
    TProductsReader(const QString& pictureFolder, const TTextMacros& macros)
        : pictureFolder_(pictureFolder)
        , macros_(macros)
    {
    }

    std::unique_ptr<TProductItem> ReadItem(pugi::xml_node element, TProductItem* parent, int level) const;

private:
    QString Expanded(pugi::xml_node element, const char* name) const
    {
        return macros_.Expand(ReadStringAttribute(element, name), TextMacroKind::Lang);
    }
    void ApplyOverride(pugi::xml_node override, TProductItem& item) const;
    void ReadSubgroup(pugi::xml_node element, TProductItem& item) const;

    QString pictureFolder_;
    const TTextMacros& macros_;
};

std::unique_ptr<TProductItem> TProductsReader::ReadItem(pugi::xml_node element, TProductItem* parent, int level) const
{
    auto item = std::make_unique<TProductItem>(parent, level);
    item->id = ReadStringAttribute(element, "id");
    item->displayName = Expanded(element, "dispname");
    item->pluralName = Expanded(element, "dispname_pl");
    item->file = ReadStringAttribute(element, "file");
    item->infoFile = ReadStringAttribute(element, "infofile");
    item->size = ReadStringAttribute(element, "size");
    item->indexPrint = ReadBoolAttribute(element, "indexprint");
    item->maxProducts = ReadIntAttribute(element, "maxproducts", -1);
    item->bundleQuantity = std::max(0, ReadIntAttribute(element, "bundle_quantity", 0));
    item->hideShippingInPriceList = ReadBoolAttribute(element, "pricelist_hide_shipping");
    item->teaser = ReadBoolAttribute(element, "teaser");
    item->resourceFolder = ReadStringAttribute(element, "resfolder");
    item->calendarMonth = ReadIntAttribute(element, "calmonth", parent ? parent->calendarMonth : 0);
    item->calendarYear = ReadIntAttribute(element, "calyear", parent ? parent->calendarYear : 0);
    item->ratio = ReadStringAttribute(element, "ratio");
    item->hidden = ReadBoolAttribute(element, "hidden");
    item->forcePortrait = ReadBoolAttribute(element, "forcePortrait");
    item->insideDefault = !element.attribute("InsideDefault").empty();

    if (parent) {
        item->editType = parent->editType;
    } else {
        const QString edit = ReadStringAttribute(element, "edit");
        if (edit.isEmpty() || edit.compare(QLatin1String("products"), Qt::CaseInsensitive) == 0)
            item->editType = ProductEditType::Products;
        else if (edit.compare(QLatin1String("prints"), Qt::CaseInsensitive) == 0)
            item->editType = ProductEditType::Prints;
        else if (edit.compare(QLatin1String("books"), Qt::CaseInsensitive) == 0)
            item->editType = ProductEditType::Books;
        else
            Fail(QStringLiteral("Invalid edit type"));
    }

    const char* childName = level == 0 ? "product" : "item";
    pugi::xml_node subgroup;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        if (NameIs(child, "conf")) {
            item->layout = LoadProductLayout(child, pictureFolder_);
        } else if (NameIs(child, childName)) {
            item->EnsureChildren().Append(ReadItem(child, item.get(), level + 1));
        } else if (NameIs(child, "override")) {
            TProductItemList& children = item->EnsureChildren();
            if (children.IsEmpty())
                Fail(QStringLiteral("No calendar-product found to override"));
            if (ReadBoolAttribute(child, "copy"))
                children.Append(children.Last()->Clone(item.get()));
            ApplyOverride(child, *children.Last());
        } else if (NameIs(child, "subgroup") && !subgroup) {
            subgroup = child;
        }
    }
    if (item->HasChildren()) {
        if (!subgroup)
            Fail(QStringLiteral("subgroup info required for parents"));
        ReadSubgroup(subgroup, *item);
    }
    return item;
}

void TProductsReader::ReadSubgroup(pugi::xml_node element, TProductItem& item) const
{
    item.subgroupCaption = Expanded(element, "name");
    const QString select = ReadStringAttribute(element, "select");
    if (select.isEmpty() || select.compare(QLatin1String("combo"), Qt::CaseInsensitive) == 0)
        item.selectMode = ProductSelectMode::Combo;
    else if (select.compare(QLatin1String("radio"), Qt::CaseInsensitive) == 0)
        item.selectMode = ProductSelectMode::Radio;
    else if (select.compare(QLatin1String("check"), Qt::CaseInsensitive) == 0)
        item.selectMode = ProductSelectMode::Check;
    else
        Fail(QStringLiteral("Invalid select mode"));
    const QString defaultChild = ReadStringAttribute(element, "defchild");
    if (!defaultChild.isEmpty()) {
        const qsizetype index = item.Children()->IndexOfId(defaultChild);
        if (index < 0)
            Fail(QStringLiteral("DefaultChild ") + defaultChild + QStringLiteral(" not found"));
        item.SetDefaultChild(item.Children()->At(index));
    }
}

// Renumbers the month sheets of the layouts of `item` and its descendants so
// that the first one is the item's calendar month.
void RotateMonths(TProductItem& item)
{
    if (item.layout && item.calendarMonth >= 1)
        RotateCalendarMonths(*item.layout, item.calendarMonth);
    if (item.Children()) {
        for (const auto& child : *item.Children())
            RotateMonths(*child);
    }
}

void TProductsReader::ApplyOverride(pugi::xml_node override, TProductItem& item) const
{
    const QString id = ReadStringAttribute(override, "id");
    if (!id.isEmpty())
        item.id = id;
    const QString name = Expanded(override, "dispname");
    if (!name.isEmpty())
        item.displayName = name;
    const QString plural = Expanded(override, "dispname_pl");
    item.pluralName = plural.isEmpty() ? item.displayName : plural;

    const int month = ReadIntAttribute(override, "calmonth");
    const int year = ReadIntAttribute(override, "calyear");
    const auto forItemAndChildren = [&item](const auto& apply) {
        apply(item);
        if (item.Children()) {
            for (const auto& child : *item.Children())
                apply(*child);
        }
    };
    if (month > 0)
        forItemAndChildren([month](TProductItem& target) { target.calendarMonth = month; });
    if (year > 0)
        forItemAndChildren([year](TProductItem& target) { target.calendarYear = year; });
    if (!override.attribute("cal_title_image").empty()) {
        const QString picture = ExpandPath(ReadStringAttribute(override, "cal_title_image"));
        forItemAndChildren([&picture](TProductItem& target) {
            if (target.layout)
                SetCalendarTitlePicture(*target.layout, picture);
        });
    }
    RotateMonths(item);
}

void PruneChildren(TProductItem& item);

// Whether `item` stays: it has a link, or something below it stays.
bool Prune(TProductItem& item)
{
    if (item.xchg)
        return true;
    if (!item.HasChildren())
        return false;
    PruneChildren(item);
    return item.HasChildren();
}

void PruneChildren(TProductItem& item)
{
    TProductItemList& children = *item.Children();
    for (qsizetype i = children.Count() - 1; i >= 0; --i) {
        TProductItem* child = children.At(i);
        if (!Prune(*child)) {
            if (item.DefaultChild() == child)
                item.SetDefaultChild(nullptr);
            children.Delete(i);
        }
    }
}

} // namespace

TProductItemList ReadProductsElement(
    pugi::xml_node root, const QString& fileName, const QString& pictureFolder, const TTextMacros& macros)
{
    if (!NameIs(root, "productsdef"))
        Fail(QStringLiteral("wrong content (") + fileName + QLatin1Char(')'));
    if (ReadStringAttribute(root, "version") != QLatin1String("1.0"))
        Fail(QStringLiteral("wrong file format (") + fileName + QLatin1Char(')'));
    const TProductsReader reader(pictureFolder, macros);
    TProductItemList groups;
    for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && NameIs(child, "group"))
            groups.Append(reader.ReadItem(child, nullptr, 0));
    }
    return groups;
}

TProductItemList ReadProductsXML(const QString& path, const TTextMacros& macros)
{
    try {
        const TXMLDocumentPtr document = ReadXMLDocument(path);
        const pugi::xml_node root = document->document_element();
        ResolveLinks(root);
        return ReadProductsElement(root, path, QFileInfo(ExpandPath(path)).absolutePath(), macros);
    } catch (const EQORException& error) {
        if (error.Error().context == QLatin1String(kReadProductsContext))
            throw;
        throw EQORException::Wrap(error, QLatin1String(kReadProductsContext));
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kReadProductsContext));
    }
}

void PruneCatalogue(TProductItemList& groups)
{
    for (qsizetype i = groups.Count() - 1; i >= 0; --i) {
        if (!Prune(*groups.At(i)))
            groups.Delete(i);
    }
}

} // namespace pavlora
