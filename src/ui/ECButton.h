#pragma once

#include <QAbstractButton>
#include <QHash>
#include <QString>

#include <memory>

namespace pavlora {

class TButtonStyle;
class TECPictureResource;
class TStyleRegistry;

// A skinned button: it paints its background picture and its individual
// picture for each of the nine button states, its caption in the state's
// font, and keeps the size its style asks for. A style with
// "message_after_paint" posts the layout notice (window message 45257) to
// its top-level window the first time it has painted at a width.
//
// UI thread only.
class TECButton : public QAbstractButton {
    Q_OBJECT

public:
    // The button states; the index of a state's picture suffix.
    enum TState {
        Up = 0,
        UpFocused,
        UpHighlighted,
        UpPressed,
        Down,
        DownFocused,
        DownHighlighted,
        DownPressed,
        Disabled
    };

    explicit TECButton(QWidget* parent = nullptr);
    ~TECButton() override;

    QString StyleName() const { return styleName_; }
    void SetStyleName(const QString& name);
    QString IndivImageId() const { return indivImageId_; }
    void SetIndivImageId(const QString& id);
    // The result a dialog gives when this button closes it (0: none).
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // False keeps a form configuration away from this button.
    bool AvailableInDesignMode() const { return availableInDesignMode_; }
    void SetAvailableInDesignMode(bool available) { availableInDesignMode_ = available; }

    TState State() const;
    // The picture names of the current state: background and individual.
    QString BackgroundPictureName(TState state) const;
    QString IndivPictureName(TState state) const;
    const TButtonStyle* Style() const { return style_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Looks the style up again (the designs changed).
    void RefreshStyle();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::shared_ptr<const TECPictureResource> CachedPicture(const QString& name) const;
    QFont StateFont(TState state, QColor* color) const;

    QString styleName_;
    QString indivImageId_;
    int modalResult_ = 0;
    bool availableInDesignMode_ = true;
    bool hovered_ = false;
    int noticeWidth_ = -1; // the width the last layout notice was posted for
    std::shared_ptr<TStyleRegistry> registry_; // keeps style_ alive
    const TButtonStyle* style_ = nullptr;
    mutable QHash<QString, std::shared_ptr<const TECPictureResource>> pictures_;
};

} // namespace pavlora
