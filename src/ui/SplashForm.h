#pragma once

#include "app/AppShell.h"
#include "ui/ECPanel.h"

#include <QPointer>
#include <QTimer>

namespace pavlora {

class TECLabel;

// The splash window of the start-up, skinned: the panel style "Splash"
// (the deployment's picture) and the step label "StepLabel" (style
// "SplashStep") that names the step under way; the form configuration
// "TSplashForm" sizes the window and places, shows or hides the label.
// Without a skin it paints the program's title on a plain background.
//
// The customer cannot close it; it closes itself once its end time has
// come. While a modal window (a question of the start-up) is open it hides,
// so that the question is not covered. UI thread only.
class TSplashForm : public TECPanel, public ISplashWindow {
    Q_OBJECT

public:
    explicit TSplashForm(const QString& title);
    ~TSplashForm() override;

    void Show() override;
    bool HasVisibleStepLabel() const override;
    void SetStepText(const QString& text) override;
    void CloseAt(std::int64_t endTimeMs, std::function<void()> closed) override;

    TECLabel* StepLabel() const { return stepLabel_; }
    // The deployment's skin paints the window.
    bool Skinned() const;
    // Takes the skin's splash once the designs have one.
    void ApplySkin();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CheckEnd();
    void PaintPlain();

    QString title_;
    TECLabel* stepLabel_;
    QTimer timer_;
    std::int64_t endTimeMs_ = 0;
    std::function<void()> closed_;
    bool closing_ = false;
    bool watchingQuestions_ = false;
    // The modal window the splash stepped aside for.
    QPointer<QWidget> question_;
};

} // namespace pavlora
