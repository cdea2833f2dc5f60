#pragma once

#include <QString>
#include <QWidget>

#include <memory>

namespace pavlora {

class TECPictureResource;
class TPanelStyle;
class TStyleRegistry;

// A skinned panel: fills itself with its style's colour or background
// picture and keeps its children inside the style's client borders (the
// contents margins, which layouts respect).
//
// UI thread only.
class TECPanel : public QWidget {
    Q_OBJECT

public:
    explicit TECPanel(QWidget* parent = nullptr);
    ~TECPanel() override;

    QString StyleName() const { return styleName_; }
    void SetStyleName(const QString& name);
    bool AvailableInDesignMode() const { return availableInDesignMode_; }
    void SetAvailableInDesignMode(bool available) { availableInDesignMode_ = available; }
    const TPanelStyle* Style() const { return style_; }
    // The colour the panel fills with, or an invalid colour when it shows
    // its parent's.
    QColor FillColor() const;

    void RefreshStyle();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QString styleName_;
    bool availableInDesignMode_ = true;
    std::shared_ptr<TStyleRegistry> registry_;
    const TPanelStyle* style_ = nullptr;
    std::shared_ptr<const TECPictureResource> backImage_;
};

} // namespace pavlora
