#pragma once

#include "skin/StyleData.h"

namespace pavlora {

// "photobook_gauge": the page-count gauge of the photobook editor.
class TECPhotobookGaugeStyle final : public TStyleRecord<TECPhotobookGaugeStyle> {
public:
    TFontRef font;
    bool showMinMaxLabels = true;
    bool showPriceLabels = true;
    bool showValueLabels = true;
    bool showLegendText = false;
    bool showValueTicks = false;
    bool transparent = false;
    std::int32_t tickInterval = 0;
    std::int32_t borderWidth = 1;
    std::int32_t borderColor = 0x754410;
    std::int32_t minLabelColor = 0x3DAA32;
    std::int32_t labelColor = 0x754410;
    TValueLabelMode valueLabelMode = TValueLabelMode::AccordingToPriceMarks;
    QString gaugeImageId = QStringLiteral("Misc\\PhotobookGauge.bmp");

    void ReadFromNode(const TStyleAttributes& attributes, const TStyleReadContext& context) override;
};

} // namespace pavlora
