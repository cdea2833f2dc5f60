#include "ui/FormInfoBox.h"

#include "core/AppSettings.h"
#include "core/Logger.h"
#include "ui/ECButton.h"
#include "ui/ECPanel.h"
#include "ui/FormConfigApplier.h"
#include "ui/HtmlView.h"
#include "ui/WindowMessages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>
#include <QThread>
#include <QVBoxLayout>

namespace pavlora {

namespace {

TFormInfoBox::TAnswerer& Answerer()
{
    static TFormInfoBox::TAnswerer answerer;
    return answerer;
}

struct TButtonText {
    const char* caption; // UTF-8
    const char* imageId;
};

// The caption and picture of a button; null caption: the value makes no button.
TButtonText ButtonText(TAppMsgDlgBtn button)
{
    switch (button) {
    case bYes:
        return {"Ja", "OKF"};
    case bNo:
        return {"Nein", "Cancel"};
    case bOK:
        return {"OK", "OKF"};
    case bCancel:
    case bAbort:
        return {"Abbrechen", "Cancel"};
    case bRetry:
        return {" Wiederholen ", "OKF"};
    case bIgnore:
        return {"Ignorieren", "Cancel"};
    case bSave:
        return {"Speichern", "OKF"};
    case bNotSave:
        return {"Nicht speichern", "Cancel"};
    case bClose:
        return {"Schließen", "OKF"};
    case bNext:
        return {"Weiter", "OKF"};
    case bUpdate:
        return {"Aktualisieren", "Update"};
    case bSkip:
        return {"Überspringen", "Cancel"};
    case bAll:
    case bNoToAll:
    case bYesToAll:
    case bHelp:
        break;
    }
    return {nullptr, nullptr};
}

TButtonText KindText(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return {"Warnung", "MsgDlgWarning"};
    case MessageKind::Error:
        return {"Fehler", "MsgDlgError"};
    case MessageKind::Information:
        return {"Informationen", "MsgDlgInformation"};
    case MessageKind::Confirmation:
        return {"Bestätigung", "MsgDlgConfirm"};
    case MessageKind::Hint:
        return {"Hinweis", "MsgDlgAdvice"};
    }
    return {nullptr, nullptr};
}

} // namespace

TFormInfoBox::TFormInfoBox(const TMessageButtonRow& row, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , row_(row)
{
    setObjectName(QStringLiteral("FormInfoBox"));
    setWindowTitle(QStringLiteral("Vovozevezar"));
    setModal(true);
    resize(kDesignedWidth, kDesignedHeight);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSizeConstraint(QLayout::SetNoConstraint); // a caller's size is taken as given
    background_ = new TECPanel(this);
    background_->setObjectName(QStringLiteral("BackgroundPanel"));
    background_->SetStyleName(QStringLiteral("ContentBox"));
    outer->addWidget(background_);

    auto* column = new QVBoxLayout(background_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    header_ = new TECButton(background_);
    header_->setObjectName(QStringLiteral("HeaderButton"));
    header_->SetStyleName(QStringLiteral("HeaderDesc"));
    header_->setEnabled(false);
    header_->setFixedHeight(23);
    header_->setMinimumWidth(43);
    column->addWidget(header_, 0, Qt::AlignLeft | Qt::AlignTop);

    browser_ = new THtmlView(background_);
    browser_->setObjectName(QStringLiteral("Browser"));
    browser_->SetStyleName(QStringLiteral("Standard"));
    browser_->SetPictureFolder(QStringLiteral("Help/"));
    browser_->setFrameShape(QFrame::NoFrame);
    browser_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    browser_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    browser_->setTextInteractionFlags(Qt::NoTextInteraction);
    browser_->setFocusPolicy(Qt::NoFocus);
    browser_->setMinimumSize(0, 0);
    browser_->document()->setDocumentMargin(12);
    column->addWidget(browser_, 1);

    bottomPanel_ = new TECPanel(background_);
    bottomPanel_->setObjectName(QStringLiteral("BottomPanel"));
    bottomPanel_->SetStyleName(QStringLiteral("Spacer"));
    bottomPanel_->setFixedHeight(40);
    column->addWidget(bottomPanel_);

    ApplyFormConfig(*this);
}

TFormInfoBox::~TFormInfoBox() = default;

QString TFormInfoBox::HtmlFor(const QString& text, MessageTextForm form)
{
    switch (form) {
    case MessageTextForm::Plain:
        return QStringLiteral("<html><body>") + text + QStringLiteral("</body></html>");
    case MessageTextForm::Bold:
    case MessageTextForm::BoldAlso:
        return QStringLiteral("<html><body><b>") + text + QStringLiteral("</b></body></html>");
    case MessageTextForm::Html:
        return text;
    case MessageTextForm::File: {
        QFile file(QDir::current().filePath(text));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll());
    }
    }
    return text;
}

void TFormInfoBox::Prepare(const TMessageBoxRequest& request)
{
    QList<TAppMsgDlgBtn> list = request.buttons;
    if (row_.reversed && list.size() > 1)
        std::reverse(list.begin(), list.end());

    // The size a caller gives is the outer size; the frame of an offscreen
    // or not yet shown window counts as none.
    if (request.width > 100)
        resize(request.width, height());
    if (request.height > 100)
        resize(width(), request.height);

    const TButtonText kind = KindText(request.kind);
    if (kind.caption) {
        header_->setText(QString::fromUtf8(kind.caption));
        header_->SetIndivImageId(QLatin1String(kind.imageId));
        header_->setFixedWidth(std::max(43, header_->sizeHint().width()));
    }

    for (const TAppMsgDlgBtn value : std::as_const(list)) {
        const TButtonText text = ButtonText(value);
        if (!text.caption)
            continue;
        auto* button = new TECButton(bottomPanel_);
        button->setObjectName(QStringLiteral("Button%1").arg(static_cast<int>(value)));
        button->setText(QString::fromUtf8(text.caption));
        button->SetIndivImageId(QLatin1String(text.imageId));
        button->SetStyleName(QStringLiteral("FooterMessage"));
        button->setCheckable(false);
        button->SetModalResult(MessageButtonResult(value));
        button->resize(button->sizeHint());
        button->move(0, row_.top);
        connect(button, &TECButton::clicked, this, [this, button] { done(button->ModalResult()); });
        buttons_.append(button);
    }
    if (!buttons_.isEmpty())
        buttons_.front()->setFocus();

    browser_->setHtml(HtmlFor(request.text, request.textForm));
    if (!request.keepScrollPosition)
        browser_->verticalScrollBar()->setValue(0);
}

bool TFormInfoBox::Press(const QString& caption)
{
    for (TECButton* button : std::as_const(buttons_)) {
        if (button->text().trimmed() == caption.trimmed()) {
            button->click();
            return true;
        }
    }
    return false;
}

void TFormInfoBox::SetAnswerer(TAnswerer answerer)
{
    Answerer() = std::move(answerer);
}

bool TFormInfoBox::event(QEvent* event)
{
    if (event->type() == static_cast<QEvent::Type>(WindowMessage::LayoutNotice)) {
        ++notices_;
        if (!arranged_ && notices_ == buttons_.size()) {
            ArrangeButtons();
            CallAnswerer();
        }
        return true;
    }
    return QDialog::event(event);
}

void TFormInfoBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (buttons_.isEmpty())
        CallAnswerer();
}

void TFormInfoBox::reject()
{
    // Escape and the window's close button.
    done(MessageResult::Cancel);
}

void TFormInfoBox::ArrangeButtons()
{
    arranged_ = true;
    QList<int> widths;
    for (const TECButton* button : std::as_const(buttons_))
        widths.append(button->width());
    const QList<int> lefts = ArrangeButtonRow(widths, bottomPanel_->contentsRect().width(), row_);
    for (qsizetype i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->move(bottomPanel_->contentsRect().left() + lefts[i], buttons_[i]->y());
        buttons_[i]->update();
    }
}

void TFormInfoBox::CallAnswerer()
{
    if (answered_ || !Answerer())
        return;
    answered_ = true;
    QPointer<TFormInfoBox> box(this);
    QMetaObject::invokeMethod(
        this,
        [box] {
            if (box && Answerer())
                Answerer()(*box);
        },
        Qt::QueuedConnection);
}

int ShowMessageBox(
    const TMessageBoxRequest& request, const TAppSettings& settings, QWidget* owner, QWidget* progressWindow)
{
    if (!QApplication::instance() || QThread::currentThread() != QApplication::instance()->thread()) {
        ReportMessage(
            QStringLiteral("A message box was asked for outside the UI thread and not shown: ") + request.text);
        return MessageResult::None;
    }
    TFormInfoBox box(TMessageButtonRow::FromSettings(settings), owner);
    const bool progressOnTop = progressWindow && progressWindow->isVisible()
        && progressWindow->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (progressOnTop) {
        progressWindow->setWindowFlag(Qt::WindowStaysOnTopHint, false);
        progressWindow->show();
    }
    box.Prepare(request);
    // Centred on the screen, whoever owns it.
    if (const QScreen* screen = owner ? owner->screen() : box.screen())
        box.move(screen->availableGeometry().center() - box.rect().center());
    const int result = box.exec();
    if (progressOnTop && progressWindow) {
        progressWindow->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        progressWindow->show();
    }
    return result;
}

void RegisterMessageBoxHook(const TAppSettings& settings, QWidget* owner)
{
    QPointer<QWidget> guardedOwner(owner);
    SetMessageBoxHook([settings, guardedOwner](const TMessageBoxRequest& request) {
        return ShowMessageBox(request, settings, guardedOwner.data());
    });
}

} // namespace pavlora
