#include "skin/ImageViewStyle.h"

namespace pavlora {

void TECImageViewStyle::ReadFromNode(const TStyleAttributes& a, const TStyleReadContext& context)
{
    font = context.ReadFont(a, "font", font);
    smoothScrolling = a.Boolean("smooth_scrolling", smoothScrolling);
    thumbviewEmulation = a.Boolean("thumbview_emulation", thumbviewEmulation);
    frameEnabled = a.Boolean("frame_enabled", frameEnabled);
    showHint = a.Boolean("show_hint", showHint);
    showCaptions = a.Boolean("show_captions", showCaptions);
    shadowEnable = a.Boolean("shadow_enable", shadowEnable);
    shadowBlur = a.Real("shadow_blur", shadowBlur);
    selectionFrameWidth = a.Integer("selection_frame_width", selectionFrameWidth);
    imageColumnsCount = a.Integer("image_columns_count", imageColumnsCount);
    frameWidth = a.Integer("frame_width", frameWidth);
    shadowOffsetX = a.Integer("shadow_offset_x", shadowOffsetX);
    shadowOffsetY = a.Integer("shadow_offset_y", shadowOffsetY);
    focusFrameWidth = a.Integer("focus_frame_width", focusFrameWidth);
    imageSpacingX = a.Integer("image_spacing_x", imageSpacingX);
    imageSpacingY = a.Integer("image_spacing_y", imageSpacingY);
    selectionFrameColor = a.Integer("selection_frame_color", selectionFrameColor);
    frameColor = a.Integer("frame_color", frameColor);
    focusFrameColor = a.Integer("focus_frame_color", focusFrameColor);
    imageArrangement = a.Integer("image_arrangement", imageArrangement);
    imageSize = a.Integer("image_size", imageSize);
    shadowColor = a.Integer("shadow_color", shadowColor);
    bgColor = a.Integer("bg_color", bgColor);
    focusFramePenStyle = a.Enumeration<TPenStyle>("focus_frame_pen_style", "PenStyle",
        {{"solid", TPenStyle::Solid}, {"dash", TPenStyle::Dash}, {"dot", TPenStyle::Dot}, {"clear", TPenStyle::Clear}},
        focusFramePenStyle);
}

} // namespace pavlora
