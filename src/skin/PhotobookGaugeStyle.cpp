#include "skin/PhotobookGaugeStyle.h"

namespace pavlora {

void TECPhotobookGaugeStyle::ReadFromNode(const TStyleAttributes& a, const TStyleReadContext& context)
{
    font = context.ReadFont(a, "font", font);
    showMinMaxLabels = a.Boolean("show_min_max_labels", showMinMaxLabels);
    showPriceLabels = a.Boolean("show_price_labels", showPriceLabels);
    showValueLabels = a.Boolean("show_value_labels", showValueLabels);
    showLegendText = a.Boolean("show_legend_text", showLegendText);
    showValueTicks = a.Boolean("show_value_ticks", showValueTicks);
    transparent = a.Boolean("transparent", transparent);
    tickInterval = a.Integer("tick_interval", tickInterval);
    borderWidth = a.Integer("border_width", borderWidth);
    borderColor = a.Integer("border_color", borderColor);
    minLabelColor = a.Integer("min_label_color", minLabelColor);
    labelColor = a.Integer("label_color", labelColor);
    valueLabelMode = a.Enumeration<TValueLabelMode>("value_label_mode", "ValueLabelMode",
        {{"according_to_price_marks", TValueLabelMode::AccordingToPriceMarks},
            {"fixed_interval", TValueLabelMode::FixedInterval}},
        valueLabelMode);
    gaugeImageId = a.Text("gauge_image_id", gaugeImageId);
}

} // namespace pavlora
