#include "ui/SplashForm.h"

#include "skin/ECResourceManager.h"
#include "skin/StyleRegistry.h"
#include "ui/ECLabel.h"
#include "ui/FormConfigApplier.h"
#include "ui/Skin.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <chrono>

namespace pavlora {

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 300;
constexpr int kCloseCheckMs = 50;

std::int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

TSplashForm::TSplashForm(const QString& title)
    : title_(title)
    , stepLabel_(new TECLabel(this))
{
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setObjectName(QStringLiteral("SplashForm"));
    resize(kWidth, kHeight);
    stepLabel_->setObjectName(QStringLiteral("StepLabel"));
    stepLabel_->setGeometry(24, kHeight - 38, kWidth - 48, 20);
    stepLabel_->setStyleSheet(QStringLiteral("color: #f4f7fb;"));
    stepLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ApplySkin();
    // The designs are read again once the settings named the data folder.
    if (TECResourceManager* manager = Skin::ResourceManager())
        connect(manager, &TECResourceManager::designsChanged, this, &TSplashForm::ApplySkin);
    ApplyFormConfig(*this, TFormConfigMode::Geometry);
    setFixedSize(size());
    timer_.setInterval(kCloseCheckMs);
    connect(&timer_, &QTimer::timeout, this, &TSplashForm::CheckEnd);
}

TSplashForm::~TSplashForm() = default;

void TSplashForm::Show()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // The splash stays on top: a question asked during the start (a design
    // error, the age of the price lists) would open behind it and wait
    // there. It steps aside while a modal window is open.
    if (!watchingQuestions_) {
        QCoreApplication::instance()->installEventFilter(this);
        watchingQuestions_ = true;
    }
    show();
    repaint();
    QCoreApplication::processEvents();
}

bool TSplashForm::HasVisibleStepLabel() const
{
    return isVisible() && stepLabel_->isVisibleTo(this);
}

void TSplashForm::SetStepText(const QString& text)
{
    stepLabel_->setText(text);
    stepLabel_->repaint();
}

void TSplashForm::CloseAt(std::int64_t endTimeMs, std::function<void()> closed)
{
    endTimeMs_ = endTimeMs;
    closed_ = std::move(closed);
    timer_.start();
}

void TSplashForm::CheckEnd()
{
    if (NowMs() < endTimeMs_)
        return;
    timer_.stop();
    closing_ = true;
    close();
    if (auto closed = std::move(closed_))
        closed();
}

bool TSplashForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && !question_ && watched != this && isVisible()) {
        auto* window = qobject_cast<QWidget*>(watched);
        if (window && window->isWindow() && window->isModal()) {
            question_ = window;
            hide();
        }
    } else if (event->type() == QEvent::Hide && question_ && watched == question_.data()) {
        question_.clear();
        if (!closing_)
            show();
    }
    return TECPanel::eventFilter(watched, event);
}

bool TSplashForm::Skinned() const
{
    return !StyleName().isEmpty();
}

void TSplashForm::ApplySkin()
{
    // A skin without a splash keeps the plain window rather than asking
    // about styles it never meant to have.
    const std::shared_ptr<TStyleRegistry> styles = Skin::Styles();
    if (Skinned() || !styles
        || !styles->StyleNames(QStringLiteral("panel")).contains(QStringLiteral("Splash"), Qt::CaseInsensitive))
        return;
    SetStyleName(QStringLiteral("Splash"));
    stepLabel_->setStyleSheet(QString());
    stepLabel_->SetStyleName(QStringLiteral("SplashStep"));
}

void TSplashForm::paintEvent(QPaintEvent* event)
{
    if (Skinned())
        TECPanel::paintEvent(event);
    else
        PaintPlain();
}

void TSplashForm::PaintPlain()
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, width(), height());
    background.setColorAt(0.0, QColor(0x1f, 0x5f, 0x8b));
    background.setColorAt(1.0, QColor(0x2e, 0x8b, 0x8a));
    painter.fillRect(rect(), background);

    // A stylised photo print with a sun and hills.
    const QRectF print(36, 44, 112, 88);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 235));
    painter.drawRoundedRect(print, 6, 6);
    const QRectF picture = print.adjusted(8, 8, -8, -8);
    painter.setBrush(QColor(0xcf, 0xe8, 0xf5));
    painter.drawRect(picture);
    painter.setBrush(QColor(0xf6, 0xb9, 0x3b));
    painter.drawEllipse(QPointF(picture.right() - 20, picture.top() + 18), 10, 10);
    QPainterPath hills;
    hills.moveTo(picture.bottomLeft());
    hills.lineTo(picture.left() + 30, picture.top() + 38);
    hills.lineTo(picture.left() + 54, picture.top() + 56);
    hills.lineTo(picture.left() + 72, picture.top() + 44);
    hills.lineTo(picture.bottomRight());
    hills.closeSubpath();
    painter.setBrush(QColor(0x3f, 0x9b, 0x5f));
    painter.drawPath(hills);

    painter.setPen(QColor(0xff, 0xff, 0xff));
    QFont titleFont = font();
    titleFont.setPointSizeF(26.0);
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.drawText(QRectF(172, 52, width() - 196, 48), Qt::AlignLeft | Qt::AlignVCenter, title_);
    QFont subtitleFont = font();
    subtitleFont.setPointSizeF(11.0);
    painter.setFont(subtitleFont);
    painter.setPen(QColor(0xe3, 0xee, 0xf6));
    painter.drawText(QRectF(172, 100, width() - 196, 24), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Ihre Fotos. Ihre Produkte."));
}

void TSplashForm::closeEvent(QCloseEvent* event)
{
    // Only the end of the start-up closes the splash.
    if (!closing_)
        event->ignore();
    else
        event->accept();
}

} // namespace pavlora
