#pragma once

#include "skin/StyleData.h"

namespace pavlora {

// "button": how a skinned button paints itself in each of its nine states.
class TButtonStyle final : public TStyleRecord<TButtonStyle> {
public:
    std::int32_t autoUpDown = 0;
    TBackPainting backPainting = TBackPainting::FillColor;
    std::int32_t borderTop = 0, borderRight = 0, borderBottom = 0, borderLeft = 0;
    // Fixed edges of the background picture; the middle is stretched.
    std::int32_t bgBorderTop = 0, bgBorderRight = 0, bgBorderBottom = 0, bgBorderLeft = 0;
    TBufferMethod bufferMethod = TBufferMethod::Vcl;
    TCenterDrawing centerDrawing = TCenterDrawing::None;
    std::int32_t color = 0;
    bool exclusive = false;
    QString imageIdMask; // picture name with "%s" for the state suffix
    QString indivPath; // with two "%s": the individual image id and the state suffix
    std::int32_t innerSpacing = 0;
    bool showHint = false;
    bool tabStop = true;
    bool transparent = true;
    std::int32_t transparentColor = kNoColor;
    bool allowSetMaxConstraints = false;
    bool messageAfterPaint = false; // post the layout notice after painting
    std::int32_t minimumWidth = 0, minimumHeight = 0;
    TResizeDirection dynResizeDirection = TResizeDirection::Right;
    TIndivImageUsage indivImageUsage = TIndivImageUsage::Ignore;
    std::int32_t pressOffsetX = 1, pressOffsetY = 1;
    TUseCaption useCaption = TUseCaption::AsCaption;
    TFillSpace fillSpace = TFillSpace::Center;
    TFontRef font, fontDis, fontDown, fontFocused, fontHigh, fontPress;

    bool HasBackgroundBorder() const;

    void ReadFromNode(const TStyleAttributes& attributes, const TStyleReadContext& context) override;
};

} // namespace pavlora
