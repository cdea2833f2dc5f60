#pragma once

#include "core/AppMessageBox.h"
#include "ui/MessageButtonRow.h"

#include <QDialog>
#include <QList>

#include <functional>

namespace pavlora {

class TAppSettings;
class TECButton;
class TECPanel;
class THtmlView;

// The program's message box: a header with the kind's word and picture, the
// text in an HTML view and a row of skinned buttons. The row is arranged
// once every button has painted at its final width (each posts the layout
// notice). Pressing a button closes the box with the button's result;
// closing the window otherwise gives 2.
//
// UI thread only.
class TFormInfoBox : public QDialog {
    Q_OBJECT

public:
    // Designed client size.
    static constexpr int kDesignedWidth = 396;
    static constexpr int kDesignedHeight = 264;

    TFormInfoBox(const TMessageButtonRow& row, QWidget* parent = nullptr);
    ~TFormInfoBox() override;

    // Fills the box for a request (buttons, header, text, size).
    void Prepare(const TMessageBoxRequest& request);

    QList<TECButton*> Buttons() const { return buttons_; }
    TECButton* HeaderButton() const { return header_; }
    THtmlView* Browser() const { return browser_; }
    TECPanel* BottomPanel() const { return bottomPanel_; }
    bool Arranged() const { return arranged_; }
    int NoticesReceived() const { return notices_; }
    // Presses the button with this caption (tests and keyboard); false when
    // there is none.
    bool Press(const QString& caption);

    // The HTML a text form shows for a text.
    static QString HtmlFor(const QString& text, MessageTextForm form);

    // Who answers boxes instead of the customer: called on the UI thread
    // once a shown box has arranged its buttons (at once when it has none).
    // It presses a button or closes the box. Tests set one so that no test
    // waits for a person.
    using TAnswerer = std::function<void(TFormInfoBox&)>;
    static void SetAnswerer(TAnswerer answerer);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void ArrangeButtons();
    void CallAnswerer();

    TMessageButtonRow row_;
    TECPanel* background_ = nullptr;
    TECButton* header_ = nullptr;
    THtmlView* browser_ = nullptr;
    TECPanel* bottomPanel_ = nullptr;
    QList<TECButton*> buttons_;
    int notices_ = 0;
    bool arranged_ = false;
    bool answered_ = false;
};

// Shows a message box and returns its result. Boxes are shown on the UI
// thread only: a call from another thread shows nothing, is logged and gives
// MessageResult::None. `progressWindow`, when visible, stops staying on top
// while the box is open.
int ShowMessageBox(const TMessageBoxRequest& request, const TAppSettings& settings, QWidget* owner = nullptr,
    QWidget* progressWindow = nullptr);

// Registers the message box as the process-wide hook (core/AppMessageBox.h)
// for code that has no application object.
void RegisterMessageBoxHook(const TAppSettings& settings, QWidget* owner);

} // namespace pavlora
