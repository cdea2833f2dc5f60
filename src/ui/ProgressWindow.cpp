#include "ui/ProgressWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace pavlora {

void TProgressNoticeSlot::Set(const QString& text, std::function<void()> cancel)
{
    std::lock_guard guard(mutex_);
    text_ = text.left(kMaxText);
    cancel_ = std::move(cancel);
}

QString TProgressNoticeSlot::Text() const
{
    std::lock_guard guard(mutex_);
    return text_;
}

std::function<void()> TProgressNoticeSlot::Cancel() const
{
    std::lock_guard guard(mutex_);
    return cancel_;
}

TProgressWindow::TProgressWindow(const TProgressNoticeSlot& notice, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , notice_(notice)
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(QStringLiteral("Bitte warten"));
    setMinimumWidth(360);
    auto* column = new QVBoxLayout(this);
    text_ = new QLabel(this);
    text_->setWordWrap(true);
    column->addWidget(text_);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    column->addWidget(bar_);
    cancel_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    column->addWidget(cancel_, 0, Qt::AlignRight);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (const auto cancel = notice_.Cancel())
            cancel();
    });
}

void TProgressWindow::Update(std::uint8_t state, float progress)
{
    state_ = state;
    const QString text = notice_.Text();
    text_->setText(text);
    text_->setVisible(!text.isEmpty());
    cancel_->setVisible(static_cast<bool>(notice_.Cancel()));
    if (progress >= 0 && std::isfinite(progress)) {
        bar_->setRange(0, 100);
        bar_->setValue(static_cast<int>(std::lround(std::min(progress, 100.0f))));
    } else {
        bar_->setRange(0, 0); // busy
    }
}

} // namespace pavlora
