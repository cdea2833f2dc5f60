#include "layout/PictureDef.h"

#include "layout/LayoutXml.h"
#include "layout/PrintDef.h"

#include <pugixml.hpp>

namespace pavlora {
namespace {

const char kClassName[] = "TPictureDef";

} // namespace

TPictureDef::TPictureDef(TDefObject* owner)
    : TGraphicDef(owner)
{
}

TPictureDef::~TPictureDef() = default;

std::unique_ptr<TSizeDef> TPictureDef::Clone(TDefObject* owner) const
{
    auto copy = std::make_unique<TPictureDef>(owner);
    copy->Assign(*this);
    return copy;
}

TPrintDef* TPictureDef::Print() const
{
    return dynamic_cast<TPrintDef*>(Owner());
}

int TPictureDef::IndexInOwner() const
{
    const TPrintDef* print = Print();
    return print ? print->Pictures().IndexOf(this) : -1;
}

void TPictureDef::LoadFrom(pugi::xml_node node, const QString& pictureFolder, TDefVersion version)
{
    layoutxml::Guarded(layoutxml::Context(kClassName, "LoadFrom"), [&] {
        ReadXML(node, version);
        ValidateGeometry(true, "ProductDef.TPictureDef.LoadFrom");
        LoadPhoto(node, pictureFolder, version);
    });
}

bool TPictureDef::InternalSaveTo(pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary,
    bool writeVersion, qint64& totalBytes)
{
    // The graphic's save context is spelled as the program always logged it.
    return layoutxml::Guarded(QStringLiteral("ProductDef.TGRaphicDef.InternalSaveTo"), [&] {
        WriteXML(node, writeVersion);
        return SavePhoto(node, pictureFolder, flags, onlyTemporary, totalBytes);
    });
}

} // namespace pavlora
