#include "skin/StyleData.h"

#include "skin/FontStyle.h"
#include "skin/StyleRegistry.h"

namespace pavlora {

TFontRef TStyleReadContext::ReadFont(
    const TStyleAttributes& attributes, const char* name, const TFontRef& current) const
{
    if (!attributes.Has(name))
        return current;
    TFontRef ref;
    ref.name = attributes.Raw(name);
    ref.font = dynamic_cast<const TFontStyle*>(registry.GetStyle(QStringLiteral("font"), ref.name, false));
    return ref;
}

TBackPainting ReadBackPainting(const TStyleAttributes& a, const char* name, TBackPainting current)
{
    return a.Enumeration<TBackPainting>(name, "BackPainting",
        {{"none", TBackPainting::None}, {"fillcolor", TBackPainting::FillColor},
            {"alphaparent", TBackPainting::AlphaParent}, {"parentcolor", TBackPainting::ParentColor}},
        current);
}

TBufferMethod ReadBufferMethod(const TStyleAttributes& a, const char* name, TBufferMethod current)
{
    return a.Enumeration<TBufferMethod>(name, "BufferMethod",
        {{"none", TBufferMethod::None}, {"vcl", TBufferMethod::Vcl}, {"buffer", TBufferMethod::Buffer}}, current);
}

TFillStyle ReadFillStyle(const TStyleAttributes& a, const char* name, TFillStyle current)
{
    return a.Enumeration<TFillStyle>(
        name, "FillStyle", {{"color", TFillStyle::Color}, {"image", TFillStyle::Image}}, current);
}

TFillMode ReadFillMode(const TStyleAttributes& a, const char* name, TFillMode current)
{
    return a.Enumeration<TFillMode>(name, "FillMode",
        {{"Stretch", TFillMode::Stretch}, {"TileLeftTop", TFillMode::TileLeftTop},
            {"TileRightBottom", TFillMode::TileRightBottom}},
        current);
}

TAlign ReadAlign(const TStyleAttributes& a, const char* name, TAlign current)
{
    return a.Enumeration<TAlign>(
        name, "Align", {{"left", TAlign::Left}, {"right", TAlign::Right}, {"center", TAlign::Center}}, current);
}

TVAlign ReadVAlign(const TStyleAttributes& a, const char* name, TVAlign current)
{
    return a.Enumeration<TVAlign>(
        name, "VAlign", {{"top", TVAlign::Top}, {"center", TVAlign::Center}, {"bottom", TVAlign::Bottom}}, current);
}

} // namespace pavlora
