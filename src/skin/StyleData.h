#pragma once

#include "skin/StyleAttributes.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace pavlora {

class TStyleRegistry;
class TFontStyle;

// Colours are platform colour values: blue in the high byte, red in the low.
inline constexpr std::int32_t kNoColor = 0x1FFFFFFF;
inline constexpr std::int32_t kParentColor = 0x20000000;

// A named reference to a "font" style, resolved when the referring element
// is read. `font` points into the same registry and is null when the name
// was not defined (the control then falls back to "font", then its own).
struct TFontRef {
    QString name;
    const TFontStyle* font = nullptr;
};

// What reading one design-file element needs besides its attributes.
struct TStyleReadContext {
    TStyleRegistry& registry;
    QString className;
    QString styleName;

    TFontRef ReadFont(const TStyleAttributes& attributes, const char* name, const TFontRef& current) const;
};

// The base of every style record: the values a skinned control paints with.
// A new record holds the defaults of its class.
class TStyleData {
public:
    virtual ~TStyleData() = default;

    // Reads an element's attributes over the current values.
    virtual void ReadFromNode(const TStyleAttributes& attributes, const TStyleReadContext& context) = 0;
    virtual std::unique_ptr<TStyleData> Clone() const = 0;
    // Takes every value of `other`, a record of the same class ("master").
    virtual void AssignFrom(const TStyleData& other) = 0;
    virtual void ResetToDefaults() = 0;

protected:
    TStyleData() = default;
    TStyleData(const TStyleData&) = default;
    TStyleData& operator=(const TStyleData&) = default;
};

// Implements the copying operations for a record class `Derived`.
template <class Derived>
class TStyleRecord : public TStyleData {
public:
    std::unique_ptr<TStyleData> Clone() const override
    {
        return std::make_unique<Derived>(static_cast<const Derived&>(*this));
    }
    void AssignFrom(const TStyleData& other) override
    {
        static_cast<Derived&>(*this) = static_cast<const Derived&>(other);
    }
    void ResetToDefaults() override { static_cast<Derived&>(*this) = Derived(); }
};

// Enumerations of the design-file vocabulary.
enum class TBackPainting { None = 0, FillColor = 1, AlphaParent = 2, ParentColor = 3 };
enum class TBufferMethod { None = 0, Vcl = 1, Buffer = 2 };
enum class TCenterDrawing { None = 0, Color = 1, Image = 2 };
enum class TFillStyle { Color, Image };
enum class TResizeDirection { Left, Right };
enum class TValueLabelMode { AccordingToPriceMarks, FixedInterval };
enum class TPenStyle { Solid = 0, Dash = 1, Dot = 2, Clear = 5 };
enum class TIndivImageUsage { Ignore = 0, Background = 1, IconLeft = 2, IconRight = 3, IconTop = 4, IconBottom = 5 };
enum class TFillMode { Stretch = 0, TileLeftTop = 1, TileRightBottom = 2 };
enum class TFillSpace { LeftTop = 0, RightBottom = 1, Stretch = 2, Center = 3 };
enum class TAlign { Left = 0, Right = 1, Center = 2 };
enum class TVAlign { Top = 0, Center = 1, Bottom = 2 };
enum class TUseCaption { AsCaption = 0, AsHint = 1, Ignore = 2 };
enum class TSplitterPosition { Horizontal, Vertical };

// Readers of the shared enumerations, named as in the error messages.
TBackPainting ReadBackPainting(const TStyleAttributes& a, const char* name, TBackPainting current);
TBufferMethod ReadBufferMethod(const TStyleAttributes& a, const char* name, TBufferMethod current);
TFillStyle ReadFillStyle(const TStyleAttributes& a, const char* name, TFillStyle current);
TFillMode ReadFillMode(const TStyleAttributes& a, const char* name, TFillMode current);
TAlign ReadAlign(const TStyleAttributes& a, const char* name, TAlign current);
TVAlign ReadVAlign(const TStyleAttributes& a, const char* name, TVAlign current);

} // namespace pavlora
