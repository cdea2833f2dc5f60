#pragma once

#include <QDialog>

namespace pavlora {

class THtmlView;

// The price list (command 11): the HTML price list in the program's HTML
// view, "pricelist_width" wide when the deployment sets it. UI thread only.
class TPriceListDialog : public QDialog {
    Q_OBJECT

public:
    TPriceListDialog(const QString& html, int width, QWidget* parent = nullptr);

    THtmlView* View() const { return view_; }

private:
    THtmlView* view_;
};

} // namespace pavlora
