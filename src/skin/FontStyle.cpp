#include "skin/FontStyle.h"

#include <cmath>

namespace pavlora {

std::int32_t TFontStyle::PixelHeight() const
{
    return -static_cast<std::int32_t>(std::lround(size * 96.0 / 72.0));
}

void TFontStyle::ReadFromNode(const TStyleAttributes& a, const TStyleReadContext&)
{
    charset = a.Integer("charset", charset);
    color = a.Integer("color", color);
    name = a.Text("name", name);
    pitch = a.Integer("pitch", pitch);
    size = a.Integer("size", size);
    // A true value adds the style; false never removes one taken from the master.
    bold = a.Boolean("bold", false) || bold;
    italic = a.Boolean("italic", false) || italic;
    underline = a.Boolean("underline", false) || underline;
    strikeout = a.Boolean("strikeout", false) || strikeout;
    shadowColor = a.Integer("shadow_color", shadowColor);
}

} // namespace pavlora
