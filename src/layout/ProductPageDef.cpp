#include "layout/ProductPageDef.h"

#include "layout/LayoutXml.h"

#include "core/XMLUtils2.h"

#include <pugixml.hpp>

namespace pavlora {
namespace {

// A stored mask name that would climb out of its folder is dropped.
QString ConfinedName(const QString& stored)
{
    QString name = stored;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name.split(QLatin1Char('/')).contains(QLatin1String("..")) ? QString() : stored;
}

} // namespace

TProductPageDef::TProductPageDef(TDefObject* owner)
    : TPageDef(owner)
{
}

TProductPageDef::~TProductPageDef() = default;

std::unique_ptr<TSizeDef> TProductPageDef::Clone(TDefObject* owner) const
{
    auto copy = std::make_unique<TProductPageDef>(owner);
    copy->Assign(*this);
    return copy;
}

void TProductPageDef::Assign(const TSizeDef& source)
{
    TPageDef::Assign(source);
    if (const auto* page = dynamic_cast<const TProductPageDef*>(&source)) {
        maskFile_ = page->maskFile_;
        maskX_ = page->maskX_;
        maskY_ = page->maskY_;
        isCalendar_ = page->isCalendar_;
        defaultBackgroundColor_ = page->defaultBackgroundColor_;
    }
}

void TProductPageDef::ReadXML(pugi::xml_node node, TDefVersion& version)
{
    TPageDef::ReadXML(node, version);
    isCalendar_ = ReadIntAttribute(node, "calendar") == 1;
    defaultBackgroundColor_ = ReadStringAttribute(node, "def_bg_color");
}

void TProductPageDef::WriteXML(pugi::xml_node node, bool writeVersion) const
{
    TPageDef::WriteXML(node, writeVersion);
    WriteIntAttribute(node, "calendar", isCalendar_ ? 1 : 0);
    WriteStringAttribute(node, "def_bg_color", defaultBackgroundColor_);
}

void TProductPageDef::LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version)
{
    layoutxml::Guarded(QStringLiteral("QORProdCls_2_0.TProductPageDef.LoadFrom"), [&] {
        ReadXML(node, version);
        ValidateGeometry(true, "QORProdCls_2_0.TProductPageDef.LoadFrom");
        LoadPhoto(node, pictureFolder, version);
        const pugi::xml_node mask = node.child("mask");
        maskFile_ = ConfinedName(ReadStringAttribute(mask, "file"));
        maskX_ = ReadIntAttribute(mask, "x");
        maskY_ = ReadIntAttribute(mask, "y");
        LoadPrints(node, pictureFolder, version);
    });
}

bool TProductPageDef::InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
    bool writeVersion, qint64& totalBytes)
{
    return layoutxml::Guarded(layoutxml::Context("TProductPageDef", "InternalSaveTo"), [&] {
        WriteXML(node, writeVersion);
        const bool stored = SaveChildren(node, pictureFolder, flags, onlyTemporary, totalBytes);
        // The mask goes with a saved copy, so a cart keeps its product's look.
        if (!maskFile_.isEmpty() || maskX_ != 0 || maskY_ != 0) {
            pugi::xml_node mask = node.append_child("mask");
            WriteStringAttribute(mask, "file", maskFile_);
            WriteIntAttribute(mask, "x", maskX_);
            WriteIntAttribute(mask, "y", maskY_);
        }
        return stored;
    });
}

} // namespace pavlora
