#pragma once

#include "skin/StyleData.h"

namespace pavlora {

// "panel": background, borders and the inset where child controls go.
class TPanelStyle final : public TStyleRecord<TPanelStyle> {
public:
    QString backImageId;
    TBackPainting backPainting = TBackPainting::FillColor;
    TFillStyle fillStyle = TFillStyle::Color;
    TBufferMethod bufferMethod = TBufferMethod::Buffer;
    std::int32_t color = kParentColor; // kParentColor: the parent's colour
    bool showHint = false;
    bool tabStop = true;
    bool transparent = true;
    std::int32_t transparentColor = kNoColor;
    std::int32_t borderTop = 0, borderRight = 0, borderBottom = 0, borderLeft = 0;
    std::int32_t clientBorderTop = 0, clientBorderRight = 0, clientBorderBottom = 0, clientBorderLeft = 0;
    TFillMode fillModeX = TFillMode::Stretch;
    TFillMode fillModeY = TFillMode::Stretch;
    std::int32_t centerWidth = 0;

    void ReadFromNode(const TStyleAttributes& attributes, const TStyleReadContext& context) override;
};

} // namespace pavlora
