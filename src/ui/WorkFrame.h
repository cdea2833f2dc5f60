#pragma once

#include <QStringList>
#include <QWidget>

namespace pavlora {

// A working frame of the main window (the start page, prints, products,
// photobook, cart and order pages). The main window shows one at a time in
// its host panel and talks to it through these calls, which stand for the
// window messages a frame answers.
//
// UI thread only.
class TWorkFrame : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Message 1126: may the frame be left? `closing` when the program ends.
    // A frame saves or confirms its work here; false keeps it in place.
    virtual bool MayLeave(bool /*closing*/) { return true; }
    // Message 1125: shown (reason 0) or refresh for a reason of RefreshReason.
    virtual void Activate(int /*reason*/) { }
    // Message 1130: another frame took its place, or the window closes.
    virtual void Deactivated() { }
    // Message 1147: the cart button was pressed; true when handled here.
    virtual bool CartButtonPressed() { return false; }
    // Message 1132: pictures were added as prints from the command line.
    virtual void PicturesAdded() { }
    // The arguments of the command that showed the frame.
    virtual void SetArguments(const QStringList& /*arguments*/) { }
};

} // namespace pavlora
