#pragma once

#include "app/AppShell.h"

#include <QTimer>
#include <QWidget>

class QLabel;

namespace pavlora {

// The splash window of the start-up: the program's title and the step
// label "StepLabel" that names the step under way. The customer cannot
// close it; it closes itself once its end time has come. UI thread only.
class TSplashForm : public QWidget, public ISplashWindow {
public:
    explicit TSplashForm(const QString& title);
    ~TSplashForm() override;

    void Show() override;
    bool HasVisibleStepLabel() const override;
    void SetStepText(const QString& text) override;
    void CloseAt(std::int64_t endTimeMs, std::function<void()> closed) override;

    QLabel* StepLabel() const { return stepLabel_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CheckEnd();

    QString title_;
    QLabel* stepLabel_;
    QTimer timer_;
    std::int64_t endTimeMs_ = 0;
    std::function<void()> closed_;
    bool closing_ = false;
};

} // namespace pavlora
