#pragma once

#include <QString>

class QWidget;

namespace pavlora {

// How a window's own entry of a form configuration is applied.
enum class TFormConfigMode {
    ControlsOnly = 0, // the window keeps its size and position
    Geometry = 1, // left and top, then width and height
    ParentClient = 2, // the parent's client size, then the window's size
};

// The name a form configuration uses for a window: its class name without
// the namespace ("TFormInfoBox").
QString FormConfigName(const QWidget& window);

// Applies the resource manager's configuration of the window's class to the
// window: creates the labels and pictures it names, sets the window's own
// values by `mode`, then moves, sizes, anchors, shows or hides and restyles
// each named control below the window (not inside nested windows or working
// frames). Nothing happens without a resource manager or a configuration.
// Controls whose AvailableInDesignMode is false keep their design.
//
// UI thread only.
void ApplyFormConfig(QWidget& window, TFormConfigMode mode = TFormConfigMode::ControlsOnly);

} // namespace pavlora
