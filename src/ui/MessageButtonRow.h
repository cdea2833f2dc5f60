#pragma once

#include <QList>
#include <QString>

namespace pavlora {

class TAppSettings;

// Where the buttons of a message box stand in their row.
enum class TButtonRowPosition { Right, Left, Center, RightMiddle };

// The settings of the message box's button row.
struct TMessageButtonRow {
    int top = 5; // "info_box_buttons_top"
    int offset = 10; // "info_box_buttons_offset"
    int space = 10; // "info_box_buttons_space"
    TButtonRowPosition position = TButtonRowPosition::Right; // "info_box_buttons_position"
    bool reversed = false; // "reverse_dialog_button_order"

    // Reads the settings. An empty value keeps the default; a value that is
    // not an integer keeps the default too and is logged, so that one bad
    // setting does not break every box.
    static TMessageButtonRow FromSettings(const TAppSettings& settings);
};

// The left edges of buttons of the given widths, in row order, in a row of
// `clientWidth`.
QList<int> ArrangeButtonRow(const QList<int>& widths, int clientWidth, const TMessageButtonRow& row);

} // namespace pavlora
