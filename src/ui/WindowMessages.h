#pragma once

#include <QEvent>
#include <QString>

#include <cstdint>

namespace pavlora {

// The program's window messages, delivered as Qt events whose type is the
// message number. Posted ones cross threads safely; "sent" ones are direct
// calls of the receiver's virtual functions where a frame answers them.
namespace WindowMessage {
inline constexpr int FolderPath = 1042; // a folder path for the folder tree
inline constexpr int Refresh = 1125; // main window: pending picture import; frames: activate or refresh
inline constexpr int MayLeave = 1126; // frames: may the frame be left (1: the program closes)
inline constexpr int Deactivated = 1130;
inline constexpr int PicturesAdded = 1132;
inline constexpr int LockNavigation = 1133; // 1 locks, 0 unlocks
inline constexpr int ProcessCommandLine = 1140;
inline constexpr int NoAction = 1142;
inline constexpr int CartButton = 1147;
inline constexpr int CloseRequest = 1148; // another program asks us to close
inline constexpr int ReloadPages = 1176;
inline constexpr int UploadView = 1224;
inline constexpr int Progress = 1225;
inline constexpr int ShowError = 1398;
inline constexpr int DesignChanged = 45256;
inline constexpr int LayoutNotice = 45257; // a skinned button painted at its final width
} // namespace WindowMessage

// Why a frame is told to refresh (the parameter of message 1125).
namespace RefreshReason {
inline constexpr int Shown = 0;
inline constexpr int CatalogueReloaded = 1;
inline constexpr int AfterUpdate = 3;
inline constexpr int AfterSettings = 4;
inline constexpr int OrderInterfaceFinished = 5;
} // namespace RefreshReason

// One window message with its two parameters and, where a message carries
// one, a text.
class TWindowMessageEvent final : public QEvent {
public:
    TWindowMessageEvent(int message, std::int64_t wParam = 0, std::int64_t lParam = 0, QString text = {})
        : QEvent(static_cast<QEvent::Type>(message))
        , wParam_(wParam)
        , lParam_(lParam)
        , text_(std::move(text))
    {
    }

    int Message() const { return static_cast<int>(type()); }
    std::int64_t WParam() const { return wParam_; }
    std::int64_t LParam() const { return lParam_; }
    const QString& Text() const { return text_; }

private:
    std::int64_t wParam_;
    std::int64_t lParam_;
    QString text_;
};

} // namespace pavlora
