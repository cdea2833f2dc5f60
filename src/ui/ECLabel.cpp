#include "ui/ECLabel.h"

#include "skin/ControlStyles.h"
#include "skin/ECPictureResource.h"
#include "skin/ECResourceManager.h"
#include "skin/FontStyle.h"
#include "skin/StyleRegistry.h"
#include "ui/Skin.h"
#include "ui/WindowMessages.h"

#include <QPixmap>

namespace pavlora {

TECLabel::TECLabel(QWidget* parent)
    : QLabel(parent)
{
    if (TECResourceManager* manager = Skin::ResourceManager())
        connect(manager, &TECResourceManager::designsChanged, this, &TECLabel::RefreshStyle);
    RefreshStyle();
}

TECLabel::~TECLabel() = default;

void TECLabel::SetStyleName(const QString& name)
{
    styleName_ = name;
    RefreshStyle();
}

void TECLabel::RefreshStyle()
{
    registry_ = Skin::Styles();
    style_ = registry_ ? registry_->StyleOrDefault<TLabelData>(QStringLiteral("label"), styleName_) : nullptr;
    if (!style_)
        return;
    QPalette colours = palette();
    const TFontStyle* fontStyle = isEnabled() || !style_->fontDis.font ? style_->font.font : style_->fontDis.font;
    if (fontStyle) {
        setFont(Skin::Font(*fontStyle));
        const QColor text = Skin::Color(fontStyle->color);
        if (text.isValid())
            colours.setColor(QPalette::WindowText, text);
    }
    const QColor back = Skin::Color(style_->color);
    setAutoFillBackground(!style_->transparent && back.isValid());
    if (back.isValid())
        colours.setColor(QPalette::Window, back);
    setPalette(colours);
    const Qt::Alignment horizontal = style_->align == TAlign::Right ? Qt::AlignRight
        : style_->align == TAlign::Center                           ? Qt::AlignHCenter
                                                                    : Qt::AlignLeft;
    setAlignment(horizontal | Qt::AlignVCenter);
}

bool TECLabel::event(QEvent* event)
{
    if (event->type() == static_cast<QEvent::Type>(WindowMessage::DesignChanged)
        || event->type() == QEvent::EnabledChange) {
        RefreshStyle();
        if (event->type() != QEvent::EnabledChange)
            return true;
    }
    return QLabel::event(event);
}

TECImage::TECImage(QWidget* parent)
    : QLabel(parent)
{
}

void TECImage::SetResourceId(const QString& id)
{
    resourceId_ = id;
    const auto picture = Skin::Picture(id);
    if (!picture) {
        clear();
        return;
    }
    setPixmap(QPixmap::fromImage(picture->Image()));
    resize(picture->Image().size());
}

} // namespace pavlora
