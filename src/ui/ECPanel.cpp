#include "ui/ECPanel.h"

#include "skin/ECPictureResource.h"
#include "skin/ECResourceManager.h"
#include "skin/PanelStyle.h"
#include "skin/StyleRegistry.h"
#include "ui/Skin.h"
#include "ui/SkinPainter.h"
#include "ui/WindowMessages.h"

#include <QPainter>

namespace pavlora {

TECPanel::TECPanel(QWidget* parent)
    : QWidget(parent)
{
    if (TECResourceManager* manager = Skin::ResourceManager())
        connect(manager, &TECResourceManager::designsChanged, this, &TECPanel::RefreshStyle);
    RefreshStyle();
}

TECPanel::~TECPanel() = default;

void TECPanel::SetStyleName(const QString& name)
{
    styleName_ = name;
    RefreshStyle();
}

void TECPanel::RefreshStyle()
{
    registry_ = Skin::Styles();
    style_ = registry_ ? registry_->StyleOrDefault<TPanelStyle>(QStringLiteral("panel"), styleName_) : nullptr;
    backImage_ = style_ && style_->fillStyle == TFillStyle::Image ? Skin::Picture(style_->backImageId) : nullptr;
    if (style_)
        setContentsMargins(
            style_->clientBorderLeft, style_->clientBorderTop, style_->clientBorderRight, style_->clientBorderBottom);
    update();
}

QColor TECPanel::FillColor() const
{
    if (!style_ || style_->backPainting != TBackPainting::FillColor)
        return {};
    return Skin::Color(style_->color);
}

void TECPanel::paintEvent(QPaintEvent* /*event*/)
{
    if (!style_)
        return;
    QPainter painter(this);
    const QColor fill = FillColor();
    if (fill.isValid())
        painter.fillRect(rect(), fill);
    if (backImage_) {
        const QRect inside
            = rect().adjusted(style_->borderLeft, style_->borderTop, -style_->borderRight, -style_->borderBottom);
        SkinPainter::DrawFilled(painter, inside, backImage_->Image(), style_->fillModeX, style_->fillModeY);
    }
}

bool TECPanel::event(QEvent* event)
{
    if (event->type() == static_cast<QEvent::Type>(WindowMessage::DesignChanged)) {
        RefreshStyle();
        return true;
    }
    return QWidget::event(event);
}

} // namespace pavlora
