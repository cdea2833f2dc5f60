#pragma once

#include "skin/StyleData.h"

namespace pavlora {

// "font": a font and the colour of its shadow. Other styles refer to fonts
// by name.
class TFontStyle final : public TStyleRecord<TFontStyle> {
public:
    std::int32_t charset = 1;
    std::int32_t color = 0;
    QString name = QStringLiteral("Arial");
    std::int32_t pitch = 0;
    std::int32_t size = 8; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    std::int32_t shadowColor = kNoColor;

    // The font height in pixels at 96 dots per inch, negative as the
    // platform writes a character height: -size * 96 / 72, rounded.
    std::int32_t PixelHeight() const;

    void ReadFromNode(const TStyleAttributes& attributes, const TStyleReadContext& context) override;
};

} // namespace pavlora
