#include "layout/SizeDef.h"

#include "layout/LayoutXml.h"

#include "core/XMLUtils2.h"

#include <pugixml.hpp>

#include <cmath>

namespace pavlora {
namespace {

// The largest distance of a centre from its owner's corner read from a file.
constexpr double kMaxLayoutOffset = 10 * kMaxLayoutExtent;

// The version text of a fixed-point version ("1.1").
QString VersionText(TDefVersion version)
{
    return FormatFloatAttribute(version / 10000.0);
}

} // namespace

TSizeDef::TSizeDef(TDefObject* owner)
    : TDefObject(owner)
{
}

TSizeDef::~TSizeDef() = default;

void TSizeDef::Assign(const TSizeDef& source)
{
    centerX_ = source.centerX_;
    centerY_ = source.centerY_;
    width_ = source.width_;
    height_ = source.height_;
    tag_ = source.tag_;
    tagString_ = source.tagString_;
    fixedPos_ = source.fixedPos_;
}

void TSizeDef::SetCenterX(double value)
{
    if (value == centerX_)
        return;
    centerX_ = value;
    GeometryChanged(kChangedPosition);
    Notify(kChangedPosition);
}

void TSizeDef::SetCenterY(double value)
{
    if (value == centerY_)
        return;
    centerY_ = value;
    GeometryChanged(kChangedPosition);
    Notify(kChangedPosition);
}

void TSizeDef::SetWidth(double value)
{
    if (value == width_)
        return;
    width_ = value;
    GeometryChanged(kChangedContent);
    Notify(kChangedContent);
}

void TSizeDef::SetHeight(double value)
{
    if (value == height_)
        return;
    height_ = value;
    GeometryChanged(kChangedContent);
    Notify(kChangedContent);
}

void TSizeDef::SetCenter(double x, double y)
{
    SetCenterX(x);
    SetCenterY(y);
}

void TSizeDef::SetSize(double width, double height)
{
    SetWidth(width);
    SetHeight(height);
}

void TSizeDef::SetOnChange(const TDefChangeEvent& handler)
{
    onChange_ = handler;
}

void TSizeDef::Changed()
{
    Notify(kChangedContent);
}

void TSizeDef::Notify(int flag)
{
    if (onChange_)
        onChange_(this, flag);
}

void TSizeDef::SetGeometry(double centerX, double centerY, double width, double height)
{
    centerX_ = centerX;
    centerY_ = centerY;
    width_ = width;
    height_ = height;
}

void TSizeDef::ValidateGeometry(bool isExtent, const char* context) const
{
    const auto refuse = [context](const QString& what) {
        throw EQORException(2, QStringLiteral("Invalid geometry"), what, QLatin1String(context));
    };
    for (const double value : {centerX_, centerY_, width_, height_}) {
        if (!std::isfinite(value))
            refuse(QStringLiteral("not a number"));
    }
    if (std::abs(centerX_) > kMaxLayoutOffset || std::abs(centerY_) > kMaxLayoutOffset)
        refuse(QStringLiteral("centre out of range"));
    if (width_ < 0 || height_ < 0 || width_ > kMaxLayoutExtent || height_ > kMaxLayoutExtent)
        refuse(QStringLiteral("size out of range"));
    if (isExtent && (width_ <= 0 || height_ <= 0))
        refuse(QStringLiteral("empty area"));
}

void TSizeDef::ReadXML(pugi::xml_node node, TDefVersion& version)
{
    centerX_ = ReadFloatAttribute(node, "client_h_center");
    centerY_ = ReadFloatAttribute(node, "client_v_center");
    width_ = ReadFloatAttribute(node, "client_h_size");
    height_ = ReadFloatAttribute(node, "client_v_size");
    tag_ = ReadIntAttribute(node, "tag");
    tagString_ = ReadStringAttribute(node, "tag_string");
    fixedPos_ = ReadBoolAttribute(node, "fixed_pos");
    const double read = ReadFloatAttribute(node, "version", version / 10000.0);
    if (std::isfinite(read) && read > 0 && read < 1000)
        version = static_cast<TDefVersion>(std::lround(read * 10000));
}

void TSizeDef::WriteXML(pugi::xml_node node, bool writeVersion) const
{
    WriteFloatAttribute(node, "client_h_center", centerX_);
    WriteFloatAttribute(node, "client_v_center", centerY_);
    WriteFloatAttribute(node, "client_h_size", width_);
    WriteFloatAttribute(node, "client_v_size", height_);
    WriteIntAttribute(node, "tag", tag_);
    WriteStringAttribute(node, "tag_string", tagString_);
    WriteBoolAttribute(node, "fixed_pos", fixedPos_);
    if (writeVersion)
        WriteStringAttribute(node, "version", VersionText(kDefVersion11));
}

bool TSizeDef::SaveTo(
    pugi::xml_node node, const QString& pictureFolder, int flags, bool onlyTemporary, qint64& totalBytes)
{
    return InternalSaveTo(node, pictureFolder, flags, onlyTemporary, true, totalBytes);
}

const TSizeDef* TSizeDef::QualityProblem(int kind) const
{
    Q_UNUSED(kind);
    return nullptr;
}

} // namespace pavlora
