#pragma once

#include <QColor>

#include <cstdint>

namespace pavlora {

// A colour as the layout files and the picture operations store it: a
// Windows colour value, red in the low byte, blue in the third byte
// (0x00BBGGRR). `clNone` means "no colour": no fill, no frame.
using TColor = std::uint32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clBlack = 0x00000000;

// The opaque colour of `color`. The high byte (system colour indexes of the
// original platform) is ignored; callers test for clNone first.
inline QColor ToQColor(TColor color)
{
    return QColor(
        static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF), static_cast<int>((color >> 16) & 0xFF));
}

inline TColor FromQColor(const QColor& color)
{
    return static_cast<TColor>(color.red()) | (static_cast<TColor>(color.green()) << 8)
        | (static_cast<TColor>(color.blue()) << 16);
}

} // namespace pavlora
