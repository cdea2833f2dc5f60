#include "ui/ECButton.h"

#include "skin/ButtonStyle.h"
#include "skin/ECPictureResource.h"
#include "skin/ECResourceManager.h"
#include "skin/FontStyle.h"
#include "skin/StyleRegistry.h"
#include "ui/Skin.h"
#include "ui/SkinPainter.h"
#include "ui/WindowMessages.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QPainter>

namespace pavlora {

namespace {

// Blank room around an icon beside the caption.
constexpr int kIconGap = 6;

} // namespace

TECButton::TECButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setAttribute(Qt::WA_Hover);
    if (TECResourceManager* manager = Skin::ResourceManager())
        connect(manager, &TECResourceManager::designsChanged, this, &TECButton::RefreshStyle);
    RefreshStyle();
}

TECButton::~TECButton() = default;

void TECButton::SetStyleName(const QString& name)
{
    styleName_ = name;
    RefreshStyle();
}

void TECButton::SetIndivImageId(const QString& id)
{
    indivImageId_ = id;
    updateGeometry();
    update();
}

void TECButton::RefreshStyle()
{
    pictures_.clear();
    registry_ = Skin::Styles();
    style_ = registry_ ? registry_->StyleOrDefault<TButtonStyle>(QStringLiteral("button"), styleName_) : nullptr;
    setFocusPolicy(style_ && !style_->tabStop ? Qt::NoFocus : Qt::StrongFocus);
    updateGeometry();
    update();
}

TECButton::TState TECButton::State() const
{
    if (!isEnabled())
        return Disabled;
    const bool down = isCheckable() && isChecked();
    if (isDown())
        return down ? DownPressed : UpPressed;
    if (hovered_)
        return down ? DownHighlighted : UpHighlighted;
    if (hasFocus())
        return down ? DownFocused : UpFocused;
    return down ? Down : Up;
}

QString TECButton::BackgroundPictureName(TState state) const
{
    if (!style_ || style_->imageIdMask.isEmpty() || !registry_)
        return {};
    return Skin::FormatPattern(style_->imageIdMask, {registry_->ButtonStateSuffixes().value(state)});
}

QString TECButton::IndivPictureName(TState state) const
{
    if (!style_ || style_->indivImageUsage == TIndivImageUsage::Ignore || indivImageId_.isEmpty()
        || style_->indivPath.isEmpty() || !registry_)
        return {};
    return Skin::FormatPattern(style_->indivPath, {indivImageId_, registry_->ButtonStateSuffixes().value(state)});
}

std::shared_ptr<const TECPictureResource> TECButton::CachedPicture(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    const auto found = pictures_.constFind(name);
    if (found != pictures_.constEnd())
        return found.value();
    auto picture = Skin::Picture(name);
    pictures_.insert(name, picture);
    return picture;
}

QFont TECButton::StateFont(TState state, QColor* color) const
{
    const TFontStyle* chosen = nullptr;
    if (style_) {
        switch (state) {
        case UpFocused:
            chosen = style_->fontFocused.font;
            break;
        case UpHighlighted:
            chosen = style_->fontHigh.font;
            break;
        case UpPressed:
        case Down:
        case DownFocused:
        case DownHighlighted:
        case DownPressed:
            chosen = style_->fontDown.font;
            break;
        case Disabled:
            chosen = style_->fontDis.font;
            break;
        case Up:
            break;
        }
        if (!chosen)
            chosen = style_->font.font;
    }
    if (!chosen) {
        *color = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
        return font();
    }
    *color = Skin::Color(chosen->color);
    if (!color->isValid())
        *color = Qt::black;
    return Skin::Font(*chosen);
}

QSize TECButton::sizeHint() const
{
    QColor color;
    const QFont captionFont = StateFont(Up, &color);
    const QFontMetrics metrics(captionFont);
    const bool showCaption = !style_ || style_->useCaption == TUseCaption::AsCaption;
    int width = showCaption ? metrics.horizontalAdvance(text()) : 0;
    int height = showCaption ? metrics.height() : 0;
    if (style_) {
        width += style_->borderLeft + style_->borderRight + 2 * style_->innerSpacing;
        height += style_->borderTop + style_->borderBottom;
        if (const auto icon = CachedPicture(IndivPictureName(Up))) {
            const QSize size = icon->Image().size();
            switch (style_->indivImageUsage) {
            case TIndivImageUsage::IconLeft:
            case TIndivImageUsage::IconRight:
                width += size.width() + (showCaption && !text().isEmpty() ? kIconGap : 0);
                height = std::max(height, size.height() + style_->borderTop + style_->borderBottom);
                break;
            case TIndivImageUsage::IconTop:
            case TIndivImageUsage::IconBottom:
                height += size.height() + (showCaption && !text().isEmpty() ? kIconGap / 2 : 0);
                width = std::max(width, size.width() + style_->borderLeft + style_->borderRight);
                break;
            case TIndivImageUsage::Background:
                width = std::max(width, size.width());
                height = std::max(height, size.height());
                break;
            case TIndivImageUsage::Ignore:
                break;
            }
        }
        if (const auto background = CachedPicture(BackgroundPictureName(Up))) {
            // A picture with fixed edges stretches; others give the height.
            height = std::max(height, background->Image().height());
            if (!style_->HasBackgroundBorder())
                width = std::max(width, background->Image().width());
        }
        width = std::max(width, style_->minimumWidth);
        height = std::max(height, style_->minimumHeight);
    } else {
        width += 16;
        height += 8;
    }
    return {width, height};
}

QSize TECButton::minimumSizeHint() const
{
    return sizeHint();
}

void TECButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const TState state = State();
    const QRect area = rect();
    if (style_ && style_->backPainting == TBackPainting::FillColor && !style_->transparent) {
        const QColor fill = Skin::Color(style_->color);
        if (fill.isValid())
            painter.fillRect(area, fill);
    }
    if (style_) {
        if (const auto background = CachedPicture(BackgroundPictureName(state)))
            SkinPainter::DrawBordered(painter, area, background->Image(),
                QMargins(style_->bgBorderLeft, style_->bgBorderTop, style_->bgBorderRight, style_->bgBorderBottom));
    } else {
        SkinPainter::DrawPlainButton(painter, area, state == UpPressed || state == DownPressed, isEnabled());
    }

    QRect content = area;
    if (style_)
        content = area.adjusted(style_->borderLeft + style_->innerSpacing, style_->borderTop,
            -style_->borderRight - style_->innerSpacing, -style_->borderBottom);
    if (style_ && (state == UpPressed || state == DownPressed))
        content.translate(style_->pressOffsetX, style_->pressOffsetY);

    const bool showCaption = !style_ || style_->useCaption == TUseCaption::AsCaption;
    if (const auto icon = CachedPicture(IndivPictureName(state))) {
        const QImage& image = icon->Image();
        const TIndivImageUsage usage = style_->indivImageUsage;
        if (usage == TIndivImageUsage::Background) {
            SkinPainter::DrawCentered(painter, area, image);
        } else {
            const bool hasCaption = showCaption && !text().isEmpty();
            QColor unused;
            const QFontMetrics metrics(StateFont(state, &unused));
            const int captionWidth = hasCaption ? metrics.horizontalAdvance(text()) : 0;
            const int captionHeight = hasCaption ? metrics.height() : 0;
            QRect iconRect(QPoint(), image.size());
            if (usage == TIndivImageUsage::IconLeft || usage == TIndivImageUsage::IconRight) {
                const int total = image.width() + (hasCaption ? kIconGap + captionWidth : 0);
                const int left = content.left() + (content.width() - total) / 2;
                iconRect.moveTopLeft(QPoint(usage == TIndivImageUsage::IconLeft ? left : left + total - image.width(),
                    content.top() + (content.height() - image.height()) / 2));
                content.setLeft(usage == TIndivImageUsage::IconLeft ? iconRect.right() + 1 + kIconGap : left);
                content.setWidth(captionWidth);
            } else {
                const int total = image.height() + (hasCaption ? kIconGap / 2 + captionHeight : 0);
                const int top = content.top() + (content.height() - total) / 2;
                iconRect.moveTopLeft(QPoint(content.left() + (content.width() - image.width()) / 2,
                    usage == TIndivImageUsage::IconTop ? top : top + total - image.height()));
                content.setTop(usage == TIndivImageUsage::IconTop ? iconRect.bottom() + 1 + kIconGap / 2 : top);
                content.setHeight(captionHeight);
            }
            painter.drawImage(iconRect.topLeft(), image);
        }
    }

    if (showCaption && !text().isEmpty()) {
        QColor color;
        const QFont captionFont = StateFont(state, &color);
        painter.setFont(captionFont);
        const TFontStyle* fontStyle = style_ ? style_->font.font : nullptr;
        if (fontStyle && Skin::Color(fontStyle->shadowColor).isValid()) {
            painter.setPen(Skin::Color(fontStyle->shadowColor));
            painter.drawText(content.translated(1, 1), Qt::AlignCenter | Qt::TextSingleLine, text());
        }
        painter.setPen(color);
        painter.drawText(content, Qt::AlignCenter | Qt::TextSingleLine, text());
    }
    painter.end();

    if (style_ && style_->messageAfterPaint && noticeWidth_ != width()) {
        noticeWidth_ = width();
        QCoreApplication::postEvent(window(), new TWindowMessageEvent(WindowMessage::LayoutNotice));
    }
}

void TECButton::enterEvent(QEnterEvent* event)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TECButton::leaveEvent(QEvent* event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

bool TECButton::event(QEvent* event)
{
    if (event->type() == static_cast<QEvent::Type>(WindowMessage::DesignChanged)) {
        RefreshStyle();
        return true;
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut || event->type() == QEvent::EnabledChange)
        update();
    return QAbstractButton::event(event);
}

} // namespace pavlora
