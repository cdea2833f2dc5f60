#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <mutex>

class QLabel;
class QProgressBar;
class QPushButton;

namespace pavlora {

// The state of a long operation as a progress notice reports it.
namespace ProgressState {
inline constexpr std::uint8_t Hide = 1;
inline constexpr std::uint8_t ServerExchange = 3;
inline constexpr std::uint8_t ComputingPictures = 4;
inline constexpr std::uint8_t ComputingPicturesToo = 5;
inline constexpr std::uint8_t CopyingIntoCart = 6;
inline constexpr std::uint8_t CopyingIntoCartToo = 8;
inline constexpr std::uint8_t BackgroundLoading = 9; // shown only after a delay
inline constexpr std::uint8_t HideAfterLoading = 10;
inline constexpr std::uint8_t Computing = 11;
} // namespace ProgressState

// The text and cancel action of the progress notice in force: one shared
// slot that any thread writes and the progress window reads.
class TProgressNoticeSlot {
public:
    static constexpr qsizetype kMaxText = 255;

    void Set(const QString& text, std::function<void()> cancel);
    QString Text() const;
    std::function<void()> Cancel() const;

private:
    mutable std::mutex mutex_;
    QString text_;
    std::function<void()> cancel_;
};

// The progress window: the operation's text, a bar and, when the operation
// can be cancelled, a cancel button. Stays on top of the main window while
// it is shown.
//
// UI thread only.
class TProgressWindow : public QDialog {
    Q_OBJECT

public:
    TProgressWindow(const TProgressNoticeSlot& notice, QWidget* parent = nullptr);

    // Takes the state, the text and cancel action of the slot and, when not
    // negative, the progress value (0 to 100).
    void Update(std::uint8_t state, float progress);
    std::uint8_t State() const { return state_; }

private:
    const TProgressNoticeSlot& notice_;
    QLabel* text_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::uint8_t state_ = ProgressState::Hide;
};

} // namespace pavlora
