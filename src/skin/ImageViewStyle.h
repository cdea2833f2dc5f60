#pragma once

#include "skin/StyleData.h"

namespace pavlora {

// "imageview": the thumbnail view.
class TECImageViewStyle final : public TStyleRecord<TECImageViewStyle> {
public:
    TFontRef font;
    bool smoothScrolling = true;
    bool thumbviewEmulation = false;
    bool frameEnabled = true;
    bool showHint = true;
    bool showCaptions = false;
    bool shadowEnable = true;
    double shadowBlur = 3.0;
    std::int32_t selectionFrameWidth = 3;
    std::int32_t imageColumnsCount = 3;
    std::int32_t frameWidth = 1;
    std::int32_t shadowOffsetX = 15;
    std::int32_t shadowOffsetY = 15;
    std::int32_t focusFrameWidth = 1;
    std::int32_t imageSpacingX = 20;
    std::int32_t imageSpacingY = 20;
    std::int32_t selectionFrameColor = 0xFF0000;
    std::int32_t frameColor = 0;
    std::int32_t focusFrameColor = 0xFFFF;
    std::int32_t imageArrangement = 0;
    std::int32_t imageSize = 128;
    std::int32_t shadowColor = 0x606060;
    std::int32_t bgColor = 0xFFFFFF;
    TPenStyle focusFramePenStyle = TPenStyle::Dot;

    void ReadFromNode(const TStyleAttributes& attributes, const TStyleReadContext& context) override;
};

} // namespace pavlora
