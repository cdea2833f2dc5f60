#include "skin/PanelStyle.h"

#include "skin/DesignErrors.h"

namespace pavlora {

void TPanelStyle::ReadFromNode(const TStyleAttributes& a, const TStyleReadContext&)
{
    backImageId = a.Text("back_image_id", backImageId);
    backPainting = ReadBackPainting(a, "back_painting", backPainting);
    fillStyle = ReadFillStyle(a, "fill_style", fillStyle);
    bufferMethod = ReadBufferMethod(a, "buffer_method", bufferMethod);
    // The colour is never taken from a master: without one, the parent's.
    color = kParentColor;
    if (a.Has("color")) {
        const QString value = a.Raw("color");
        if (value.compare(QLatin1String("parent"), Qt::CaseInsensitive) != 0)
            color = a.Integer("color", kParentColor);
    }
    showHint = a.Boolean("show_hint", showHint);
    tabStop = a.Boolean("tab_stop", tabStop);
    transparent = a.Boolean("transparent", transparent);
    transparentColor = a.Integer("transparent_color", transparentColor);
    borderTop = a.Integer("border_top", borderTop);
    borderRight = a.Integer("border_right", borderRight);
    borderBottom = a.Integer("border_bottom", borderBottom);
    borderLeft = a.Integer("border_left", borderLeft);
    clientBorderTop = a.Integer("client_border_top", borderTop);
    clientBorderRight = a.Integer("client_border_right", borderRight);
    clientBorderBottom = a.Integer("client_border_bottom", borderBottom);
    clientBorderLeft = a.Integer("client_border_left", borderLeft);
    fillModeX = ReadFillMode(a, "fill_mode_x", fillModeX);
    fillModeY = ReadFillMode(a, "fill_mode_y", fillModeY);
    centerWidth = a.Integer("center_width", centerWidth);
}

} // namespace pavlora
