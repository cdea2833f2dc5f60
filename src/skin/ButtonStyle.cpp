#include "skin/ButtonStyle.h"

namespace pavlora {

bool TButtonStyle::HasBackgroundBorder() const
{
    return bgBorderTop != 0 || bgBorderRight != 0 || bgBorderBottom != 0 || bgBorderLeft != 0;
}

void TButtonStyle::ReadFromNode(const TStyleAttributes& a, const TStyleReadContext& context)
{
    // "auto_updown" and "dyn_resize_direction" are never taken from a master.
    autoUpDown = a.Integer("auto_updown", 0);
    backPainting = ReadBackPainting(a, "back_painting", backPainting);
    borderTop = a.Integer("border_top", borderTop);
    borderRight = a.Integer("border_right", borderRight);
    borderBottom = a.Integer("border_bottom", borderBottom);
    borderLeft = a.Integer("border_left", borderLeft);
    bgBorderTop = a.Integer("bg_border_top", bgBorderTop);
    bgBorderRight = a.Integer("bg_border_right", bgBorderRight);
    bgBorderBottom = a.Integer("bg_border_bottom", bgBorderBottom);
    bgBorderLeft = a.Integer("bg_border_left", bgBorderLeft);
    bufferMethod = ReadBufferMethod(a, "buffer_method", bufferMethod);
    centerDrawing = a.Enumeration<TCenterDrawing>("center_drawing", "CenterDrawing",
        {{"none", TCenterDrawing::None}, {"color", TCenterDrawing::Color}, {"image", TCenterDrawing::Image}},
        centerDrawing);
    color = a.Integer("color", color);
    exclusive = a.Boolean("exclusive", exclusive);
    imageIdMask = a.Text("image_id_mask", imageIdMask);
    indivPath = a.Text("indiv_path", indivPath);
    innerSpacing = a.Integer("inner_spacing", innerSpacing);
    showHint = a.Boolean("show_hint", showHint);
    tabStop = a.Boolean("tab_stop", tabStop);
    transparent = a.Boolean("transparent", transparent);
    transparentColor = a.Integer("transparent_color", transparentColor);
    allowSetMaxConstraints = a.Boolean("allow_set_max_constraints", allowSetMaxConstraints);
    messageAfterPaint = a.Boolean("message_after_paint", messageAfterPaint);
    minimumWidth = a.Integer("minimum_width", minimumWidth);
    minimumHeight = a.Integer("minimum_height", minimumHeight);
    // The operators' tools name this check "FillStyle".
    dynResizeDirection = a.Enumeration<TResizeDirection>("dyn_resize_direction", "FillStyle",
        {{"left", TResizeDirection::Left}, {"right", TResizeDirection::Right}}, TResizeDirection::Right);
    indivImageUsage = a.Enumeration<TIndivImageUsage>("indiv_image_usage", "IndivImageUsage",
        {{"ignore", TIndivImageUsage::Ignore}, {"background", TIndivImageUsage::Background},
            {"iconleft", TIndivImageUsage::IconLeft}, {"iconright", TIndivImageUsage::IconRight},
            {"icontop", TIndivImageUsage::IconTop}, {"iconbottom", TIndivImageUsage::IconBottom}},
        indivImageUsage);
    pressOffsetX = a.Integer("press_offset_x", pressOffsetX);
    pressOffsetY = a.Integer("press_offset_y", pressOffsetY);
    useCaption = a.Enumeration<TUseCaption>("use_caption", "UseCaption",
        {{"AsCaption", TUseCaption::AsCaption}, {"AsHint", TUseCaption::AsHint}, {"ignore", TUseCaption::Ignore}},
        useCaption);
    fillSpace = a.Enumeration<TFillSpace>("fill_space", "FillSpace",
        {{"lefttop", TFillSpace::LeftTop}, {"rightbottom", TFillSpace::RightBottom}, {"Stretch", TFillSpace::Stretch},
            {"center", TFillSpace::Center}},
        fillSpace);
    font = context.ReadFont(a, "font", font);
    fontDis = context.ReadFont(a, "font_dis", fontDis);
    fontDown = context.ReadFont(a, "font_down", fontDown);
    fontFocused = context.ReadFont(a, "font_focused", fontFocused);
    fontHigh = context.ReadFont(a, "font_high", fontHigh);
    fontPress = context.ReadFont(a, "font_press", fontPress);
}

} // namespace pavlora
