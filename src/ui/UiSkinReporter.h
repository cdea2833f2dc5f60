#pragma once

#include "skin/DesignErrors.h"

#include <QMessageBox>

#include <functional>

namespace pavlora {

// Shows the skin layer's reports in the desktop's standard message boxes:
// a design error asks Yes (ignore), Yes to all (ignore this and every later
// one) or No (raise); warnings and errors have OK. Every report also goes
// to the report log first, so a box that nobody answers still leaves its
// text behind.
//
// Boxes only appear on the UI thread; a report from a worker is logged and
// answered Ignore. Tests set an answerer, which stands in for the box.
class TUiSkinReporter final : public TSkinReporter {
public:
    // Gets the box as built and returns the button pressed.
    using TAnswerer = std::function<QMessageBox::StandardButton(QMessageBox& box)>;

    explicit TUiSkinReporter(TAnswerer answerer = {});

    TDesignErrorAnswer AskDesignError(const QString& text) override;
    void ShowWarning(const QString& text) override;
    void ShowError(const QString& title, const QString& text) override;

private:
    QMessageBox::StandardButton Ask(QMessageBox& box) const;

    TAnswerer answerer_;
};

} // namespace pavlora
