#pragma once

#include "ui/WorkFrame.h"

namespace pavlora {

class THtmlView;

// The browser frame: an HTML page of the deployment in the host panel.
// Pages are named relative to the resource folders, or by a path (with
// "{Data}" and the like) inside one of them; anything else is refused.
class TBrowserFrame : public TWorkFrame {
    Q_OBJECT

public:
    explicit TBrowserFrame(QWidget* parent = nullptr);

    // Shows the page; false when it is not a page of the resource folders.
    bool Open(const QString& address, int page);
    int Page() const { return page_; }
    QString Address() const { return address_; }
    THtmlView* View() const { return view_; }
    // Reads the shown page again (message 1176).
    void Reload();

    // The resource name of a page address, or empty when it lies outside
    // the resource folders.
    static QString ResourceName(const QString& address);

private:
    THtmlView* view_ = nullptr;
    QString address_;
    int page_ = 0;
};

} // namespace pavlora
