#include "skin/ControlStyles.h"

namespace pavlora {

void TLabelData::ReadFromNode(const TStyleAttributes& a, const TStyleReadContext& context)
{
    color = a.Integer("color", color);
    transparent = a.Boolean("transparent", transparent);
    align = ReadAlign(a, "align", align);
    font = context.ReadFont(a, "font", font);
    fontDis = context.ReadFont(a, "font_dis", fontDis);
}

void TSplitterStyle::ReadFromNode(const TStyleAttributes& a, const TStyleReadContext&)
{
    backImageId = a.Text("back_image_id", backImageId);
    backPainting = ReadBackPainting(a, "back_painting", backPainting);
    fillStyle = ReadFillStyle(a, "fill_style", fillStyle);
    bufferMethod = ReadBufferMethod(a, "buffer_method", bufferMethod);
    position = a.Enumeration<TSplitterPosition>("position", "SplitterPosition",
        {{"horizontal", TSplitterPosition::Horizontal}, {"vertical", TSplitterPosition::Vertical}}, position);
    color = a.Integer("color", color);
    centerSize = a.Integer("center_size", centerSize);
    size = a.Integer("size", size);
}

void TECListBoxStyle::ReadFromNode(const TStyleAttributes& a, const TStyleReadContext&)
{
    bgColor = a.Integer("bg_color", bgColor);
    bgColorChange = a.Integer("bg_color_change", bgColorChange);
    bgColorActive = a.Integer("bg_color_active", bgColorActive);
    fontColor = a.Integer("font_color", fontColor);
    fontColorActive = a.Integer("font_color_active", fontColorActive);
}

void TProgressStyle::ReadFromNode(const TStyleAttributes& a, const TStyleReadContext&)
{
    fillMode = ReadFillMode(a, "fill_mode", fillMode);
    centerWidth = a.Integer("center_width", centerWidth);
    backImageId = a.Text("back_image_id", backImageId);
    foreImageId = a.Text("fore_image_id", foreImageId);
}

void TECHTMLViewerStyle::ReadFromNode(const TStyleAttributes& a, const TStyleReadContext& context)
{
    font = context.ReadFont(a, "font", font);
    bgColor = a.Integer("bg_color", bgColor);
    hotSpotColor = a.Integer("hot_spot_color", hotSpotColor);
    overLinkColor = a.Integer("over_link_color", overLinkColor);
    visitedLinkColor = a.Integer("visited_link_color", visitedLinkColor);
}

} // namespace pavlora
