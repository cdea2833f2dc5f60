#pragma once

#include <QLabel>
#include <QString>

#include <memory>

namespace pavlora {

class TLabelData;
class TStyleRegistry;

// A skinned label: font, colour and alignment from its style.
//
// UI thread only.
class TECLabel : public QLabel {
    Q_OBJECT

public:
    explicit TECLabel(QWidget* parent = nullptr);
    ~TECLabel() override;

    QString StyleName() const { return styleName_; }
    void SetStyleName(const QString& name);
    bool AvailableInDesignMode() const { return availableInDesignMode_; }
    void SetAvailableInDesignMode(bool available) { availableInDesignMode_ = available; }

    void RefreshStyle();

protected:
    bool event(QEvent* event) override;

private:
    QString styleName_;
    bool availableInDesignMode_ = true;
    std::shared_ptr<TStyleRegistry> registry_;
    const TLabelData* style_ = nullptr;
};

// A picture of the skin, sized to the picture.
class TECImage : public QLabel {
    Q_OBJECT

public:
    explicit TECImage(QWidget* parent = nullptr);

    QString ResourceId() const { return resourceId_; }
    // Shows the picture resource of that name (nothing when there is none).
    void SetResourceId(const QString& id);

private:
    QString resourceId_;
};

} // namespace pavlora
