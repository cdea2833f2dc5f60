#include "ui/MainForm.h"

#include "core/Logger.h"
#include "core/QORException.h"
#include "ui/BrowserFrame.h"
#include "ui/ECButton.h"
#include "ui/ECLabel.h"
#include "ui/ECPanel.h"
#include "ui/FormConfigApplier.h"
#include "ui/FormInfoBox.h"
#include "ui/HelpForm.h"
#include "ui/StartFrame.h"
#include "ui/WindowMessages.h"
#include "ui/WorkFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QStackedLayout>
#include <QThread>
#include <QVBoxLayout>

#include <bit>
#include <ios>
#include <new>

namespace pavlora {

namespace {

const QString kStartSlot = QStringLiteral("Start");
const QString kBrowserSlot = QStringLiteral("Browser");
const QString kPrintsSlot = QStringLiteral("Prints");
const QString kPhotobookSlot = QStringLiteral("Photobook");
const QString kCartSlot = QStringLiteral("Cart");
const QString kOrganizingSlot = QStringLiteral("Organizing");
const QString kDiscSlot = QStringLiteral("DiscWriting");

constexpr int kProgressDelayMs = 550;

struct TNavButton {
    const char* name;
    const char* caption; // UTF-8
    const char* imageId;
    bool visible;
};

constexpr TNavButton kNavButtons[] = {
    {"OverviewButton", "Übersicht", "Nav_Overview", true},
    {"OrganizingButton", "Bildverwaltung", "Nav_Organizing", false},
    {"CartButton", "Warenkorb", "Nav_Cart", true},
    {"PricelistButton", "Preisliste", "Nav_Pricelist", true},
    {"SettingsButton", "Einstellungen", "Nav_Settings", true},
    {"UpdateButton", "Update", "Nav_Update", true},
    {"HelpButton", "Hilfe", "Nav_Help", true},
    {"WebsiteButton", "Webseite", "Nav_Website", false},
    {"IntroButton", "Einführung", "Nav_Intro", false},
    {"CloseButton", "Schließen", "Nav_Close", false},
};

QString Message(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TMainForm::TMainForm(TAppSettings settings, TMainFormServices services, QWidget* parent)
    : QWidget(parent)
    , settings_(std::move(settings))
    , services_(std::move(services))
{
    setObjectName(QStringLiteral("MainForm"));
    setMinimumSize(800, 600);
    urlOpener_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    progressDelay_.setSingleShot(true);
    progressDelay_.setInterval(kProgressDelayMs);
    connect(&progressDelay_, &QTimer::timeout, this, [this] { ShowProgressWindow(pendingProgressState_, -1, true); });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    BuildNavigation();
    column->addWidget(buttonPanel_);
    host_ = new TECPanel(this);
    host_->setObjectName(QStringLiteral("MainFrame"));
    host_->SetStyleName(QStringLiteral("Background"));
    new QStackedLayout(host_);
    column->addWidget(host_, 1);
}

TMainForm::~TMainForm()
{
    SetMessageBoxHook({});
}

void TMainForm::BuildNavigation()
{
    buttonPanel_ = new TECPanel(this);
    buttonPanel_->setObjectName(QStringLiteral("ButtonPanel"));
    buttonPanel_->SetStyleName(QStringLiteral("Navigation"));
    auto* row = new QHBoxLayout(buttonPanel_);
    row->setSpacing(4);
    logo1_ = new TECImage(buttonPanel_);
    logo1_->setObjectName(QStringLiteral("Logo1"));
    logo1_->SetResourceId(QStringLiteral("Headlines/Logo1.png"));
    row->addWidget(logo1_, 0, Qt::AlignVCenter);
    logo2_ = new TECImage(buttonPanel_);
    logo2_->setObjectName(QStringLiteral("Logo2"));
    logo2_->SetResourceId(QStringLiteral("Headlines/Logo2.png"));
    logo2_->hide();
    row->addWidget(logo2_, 0, Qt::AlignVCenter);
    row->addStretch(1);
    for (const TNavButton& nav : kNavButtons) {
        auto* button = new TECButton(buttonPanel_);
        button->setObjectName(QLatin1String(nav.name));
        button->SetStyleName(QStringLiteral("Navigation"));
        button->SetIndivImageId(QLatin1String(nav.imageId));
        button->setText(Message(nav.caption));
        button->setVisible(nav.visible);
        row->addWidget(button, 0, Qt::AlignBottom);
        buttons_.insert(QLatin1String(nav.name), button);
    }
    connect(buttons_[QStringLiteral("OverviewButton")], &TECButton::clicked, this,
        [this] { ExecuteCommand(Command::Browse, QString()); });
    connect(buttons_[QStringLiteral("OrganizingButton")], &TECButton::clicked, this,
        [this] { ExecuteCommand(Command::Organizing, QString()); });
    connect(buttons_[QStringLiteral("CartButton")], &TECButton::clicked, this, &TMainForm::CartAction);
    connect(buttons_[QStringLiteral("CloseButton")], &TECButton::clicked, this, &TMainForm::CartAction);
    connect(buttons_[QStringLiteral("PricelistButton")], &TECButton::clicked, this,
        [this] { ExecuteCommand(Command::Prices, QString()); });
    connect(buttons_[QStringLiteral("SettingsButton")], &TECButton::clicked, this,
        [this] { ExecuteCommand(Command::Settings, QString()); });
    connect(buttons_[QStringLiteral("UpdateButton")], &TECButton::clicked, this, [this] {
        if (services_.startOnlineUpdate)
            services_.startOnlineUpdate();
    });
    connect(buttons_[QStringLiteral("HelpButton")], &TECButton::clicked, this,
        [this] { ExecuteCommand(Command::Help, QString()); });
    connect(buttons_[QStringLiteral("WebsiteButton")], &TECButton::clicked, this,
        [this] { OpenExternalUrl(settings_.Text(QStringLiteral("websiteurl"))); });
    connect(buttons_[QStringLiteral("IntroButton")], &TECButton::clicked, this,
        [this] { ExecuteCommand(Command::Tour, QString()); });
}

void TMainForm::Create()
{
    if (created_)
        return;
    created_ = true;
    const QString title = settings_.Text(QStringLiteral("apptitle"), QStringLiteral("Pavlora"));
    setWindowTitle(title);
    RegisterMessageBoxHook(settings_, this);
    if (settings_.IsText(QStringLiteral("show_prices"), QStringLiteral("0")))
        buttons_[QStringLiteral("PricelistButton")]->hide();
    ApplyDesign();
    ExecuteCommand(Command::Browse, QString());
    UpdateButtons();
}

void TMainForm::ApplyDesign()
{
    ApplyFormConfig(*this);
    if (current_)
        ApplyFormConfig(*current_);
}

TECButton* TMainForm::NavigationButton(const QString& name) const
{
    return buttons_.value(name);
}

void TMainForm::RegisterCommand(int number, TCommandHandler handler)
{
    handlers_[number] = std::move(handler);
    UpdateButtons();
}

bool TMainForm::CanRun(int number) const
{
    if (handlers_.count(number))
        return true;
    switch (number) {
    case Command::Browse:
    case Command::Help:
        return true;
    case Command::Terms:
        return !settings_.Text(QStringLiteral("terms_link")).isEmpty();
    case Command::ServiceDescription:
        return !settings_.Text(QStringLiteral("service_description")).isEmpty();
    default:
        return false;
    }
}

bool TMainForm::ExecuteCommandText(const QString& text)
{
    const TCommandText command = SplitCommandText(text);
    const std::optional<int> number = vocabulary_.Find(command.name);
    if (!number) {
        ReportMessage(QStringLiteral("Unknown command: ") + text);
        return false;
    }
    return ExecuteCommand(*number, command.argumentText);
}

bool TMainForm::ExecuteCommand(int number, const QString& argumentText)
{
    const QStringList arguments = SplitCommandArguments(argumentText);
    if (number == Command::Back || number == Command::Nothing)
        return true;
    if ((number == Command::Browse || number == Command::OrderMain) && services_.cartHasIncompleteProducts
        && services_.cartHasIncompleteProducts()) {
        TMessageBoxRequest request;
        request.title = QStringLiteral("Informationen");
        request.text = number == Command::Browse
            ? Message("Ein bearbeitetes Produkt ist unvollständig. Wenn Sie fortfahren werden unvollständige Produkte "
                      "gelöscht. Vollständige Produkte werden in den Warenkorb übertragen und können von dort "
                      "weiterbearbeitet oder bestellt werden.")
            : Message("Ein bearbeitetes Produkt ist unvollständig. Wenn Sie fortfahren werden unvollständige Produkte "
                      "nicht in den Warenkorb übergeben.");
        request.text += QStringLiteral("<br><br>Wollen Sie fortfahren?");
        request.height = 332;
        request.width = 425;
        request.buttons = {bYes, bNo};
        request.kind = MessageKind::Warning;
        if (ShowMessageBox(request) != MessageResult::Yes)
            return false;
        const bool ran = RunCommand(number, arguments);
        if (services_.removeIncompleteProducts)
            services_.removeIncompleteProducts();
        if (current_)
            current_->Activate(RefreshReason::Shown);
        return ran;
    }
    if (number == Command::Terms && !settings_.Text(QStringLiteral("terms_link")).isEmpty())
        return OpenExternalUrl(settings_.Text(QStringLiteral("terms_link")));
    if (number == Command::ServiceDescription && !settings_.Text(QStringLiteral("service_description")).isEmpty())
        return OpenExternalUrl(settings_.Text(QStringLiteral("service_description")));
    return RunCommand(number, arguments);
}

bool TMainForm::RunCommand(int number, const QStringList& arguments)
{
    if (number == Command::PictureImport && QApplication::activeModalWidget()) {
        // Not over a modal window: when the program is next activated or refreshed.
        pendingPictureImport_ = true;
        return false;
    }
    if (progress_ && progress_->isVisible())
        ShowProgressWindow(ProgressState::Hide, 0);
    bool ran = false;
    try {
        const auto handler = handlers_.find(number);
        if (handler != handlers_.end()) {
            ran = handler->second(arguments);
        } else {
            bool handled = false;
            ran = RunBuiltIn(number, arguments, &handled);
            if (!handled)
                ReportMessage(QStringLiteral("Command %1 cannot run here and was refused").arg(number));
        }
    } catch (const std::exception& error) {
        // A command's failure ends the command, not the program.
        ReportMessage(QStringLiteral("Command %1 failed: %2").arg(number).arg(QString::fromUtf8(error.what())));
        ran = false;
    }
    // The photobook frame is freed once another frame has replaced it.
    if (previous_ && previous_ != current_ && frames_.key(previous_) == kPhotobookSlot) {
        frames_.remove(kPhotobookSlot);
        previous_->deleteLater();
        previous_ = nullptr;
    }
    UpdateButtons();
    if (ran)
        Q_EMIT commandRan(number, arguments);
    return ran;
}

bool TMainForm::RunBuiltIn(int number, const QStringList& arguments, bool* handled)
{
    *handled = true;
    switch (number) {
    case Command::Browse:
        if (arguments.isEmpty()) {
            OverviewHint();
            return ShowStartPage();
        }
        if (arguments.front().endsWith(QLatin1String(".xnf"), Qt::CaseInsensitive)) {
            *handled = false; // page descriptions are not part of this program yet
            return false;
        }
        if (arguments.size() == 1)
            OverviewHint();
        return ShowBrowser(arguments.front(), arguments.value(1).toInt());
    case Command::Help:
        ShowHelp(arguments);
        return true;
    default:
        *handled = false;
        return false;
    }
}

bool TMainForm::ShowStartPage()
{
    return ShowFrame(kStartSlot, [this](QWidget* host) { return new TStartFrame(*this, host); }) != nullptr;
}

bool TMainForm::ShowBrowser(const QString& address, int page)
{
    if (TBrowserFrame::ResourceName(address).isEmpty())
        return false;
    auto* frame
        = qobject_cast<TBrowserFrame*>(ShowFrame(kBrowserSlot, [](QWidget* host) { return new TBrowserFrame(host); }));
    return frame && frame->Open(address, page);
}

void TMainForm::ShowHelp(const QStringList& arguments)
{
    if (!help_)
        help_ = new THelpForm([this](const QString& address) { return OpenExternalUrl(address); }, this);
    help_->ShowTopic(arguments.value(0).toInt());
    help_->show();
    help_->raise();
}

void TMainForm::OverviewHint()
{
    if (!settings_.Boolean(QStringLiteral("info_on_enter_overview"), false) || !services_.cartIsEmpty
        || services_.cartIsEmpty())
        return;
    if (CurrentSlot() != kPrintsSlot)
        return;
    TMessageBoxRequest request;
    request.text = Message("Ihre Abzüge bzw. Produkte befinden sich im Warenkorb. Von dort können Sie diese "
                           "weiterbearbeiten oder bestellen.");
    request.height = 270;
    request.width = 340;
    request.buttons = {bOK};
    request.kind = MessageKind::Information;
    ShowMessageBox(request);
}

TWorkFrame* TMainForm::ShowFrame(const QString& slot, const TFrameFactory& create)
{
    if (!CanLeaveFrame(false))
        return nullptr;
    TWorkFrame* frame = frames_.value(slot);
    const bool created = !frame;
    if (created) {
        frame = create ? create(host_) : nullptr;
        if (!frame)
            return nullptr;
        frame->setParent(host_);
        static_cast<QStackedLayout*>(host_->layout())->addWidget(frame);
        frames_.insert(slot, frame);
    }
    frame->Activate(RefreshReason::Shown);
    if (created)
        ApplyFormConfig(*frame);
    static_cast<QStackedLayout*>(host_->layout())->setCurrentWidget(frame);
    frame->show();
    frame->raise();
    TWorkFrame* old = current_;
    if (old && old != frame)
        old->Deactivated();
    previous_ = old;
    current_ = frame;
    if (frame->isVisible())
        frame->setFocus();
    if (old && old != frame)
        old->hide();
    return frame;
}

bool TMainForm::CanLeaveFrame(bool closing)
{
    return !current_ || current_->MayLeave(closing);
}

QString TMainForm::CurrentSlot() const
{
    return current_ ? frames_.key(current_) : QString();
}

void TMainForm::CartAction()
{
    if (current_ && current_->CartButtonPressed())
        return;
    RunCommand(Command::OrderMain, {});
}

void TMainForm::UpdateButtons()
{
    const QString slot = CurrentSlot();
    const bool lockedOut = navigationLocked_;
    const auto enable = [this](const char* name, bool on) {
        if (TECButton* button = buttons_.value(QLatin1String(name)))
            button->setEnabled(on);
    };
    enable("CartButton", !lockedOut && CanRun(Command::OrderMain) && slot != kCartSlot);
    enable("CloseButton", CanRun(Command::OrderMain));
    enable("OrganizingButton", !lockedOut && CanRun(Command::Organizing) && slot != kOrganizingSlot);
    enable("OverviewButton", slot != kStartSlot && !(lockedOut && slot == kDiscSlot) && !lockedOut);
    enable("PricelistButton", !lockedOut && CanRun(Command::Prices));
    enable("SettingsButton", !lockedOut && CanRun(Command::Settings));
    enable("UpdateButton", !lockedOut && static_cast<bool>(services_.startOnlineUpdate));
    enable("HelpButton", CanRun(Command::Help));
    enable("IntroButton", CanRun(Command::Tour));
    enable("WebsiteButton", !settings_.Text(QStringLiteral("websiteurl")).isEmpty());
}

void TMainForm::SetCommandLine(const QStringList& arguments)
{
    commandLine_ = arguments;
    deviceStart_ = ParseCommandLineSwitches(arguments).deviceStart;
}

void TMainForm::PostProcessCommandLine()
{
    PostMessage(WindowMessage::ProcessCommandLine);
}

void TMainForm::PostRefresh(int reason)
{
    PostMessage(WindowMessage::Refresh, reason);
}

void TMainForm::PostMessage(int message, std::int64_t wParam, std::int64_t lParam, const QString& text)
{
    QCoreApplication::postEvent(this, new TWindowMessageEvent(message, wParam, lParam, text));
}

void TMainForm::ProcessCommandLine()
{
    if (commandLineDone_)
        return;
    commandLineDone_ = true;
    const TCommandLineSwitches switches = ParseCommandLineSwitches(commandLine_);
    if (switches.listFile.isEmpty()) {
        if (!switches.commandText.isEmpty())
            ExecuteCommandText(switches.commandText);
        return;
    }
    QFile list(switches.listFile);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ReportMessage(QStringLiteral("The list file of the command line cannot be read: ") + switches.listFile);
        return;
    }
    QStringList pictures;
    for (const QString& line : QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'))) {
        const QString picture = line.trimmed();
        if (!picture.isEmpty())
            pictures.append(picture);
    }
    switch (switches.mode) {
    case TCommandLineMode::Prints:
    case TCommandLineMode::Teaser:
        RunCommand(Command::ViewGroup, {QStringLiteral("Prints")});
        if (services_.addImagesAsPrints)
            services_.addImagesAsPrints(pictures);
        if (current_)
            current_->PicturesAdded();
        break;
    case TCommandLineMode::Products:
    case TCommandLineMode::ProductsPage: {
        const QString leaf
            = services_.defaultLeafFullId ? services_.defaultLeafFullId(QStringLiteral("Vuvediro")) : QString();
        if (leaf.isEmpty())
            break;
        for (qsizetype i = 0; i < pictures.size(); ++i)
            RunCommand(i + 1 < pictures.size() ? Command::AddProductPicture : Command::AddProduct,
                {leaf, pictures.at(i), QString()});
        break;
    }
    case TCommandLineMode::None:
        break;
    }
}

void TMainForm::ProgressNotice(std::uint8_t state, const QString& text, std::function<void()> cancel, float progress)
{
    noticeSlot_.Set(text, std::move(cancel));
    auto* notice = new TWindowMessageEvent(WindowMessage::Progress, std::bit_cast<std::int32_t>(progress), state);
    if (QThread::currentThread() == thread()) {
        QCoreApplication::sendEvent(this, notice);
        delete notice;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else {
        QCoreApplication::postEvent(this, notice);
    }
}

void TMainForm::ShowProgressWindow(std::uint8_t state, float progress, bool delayOver)
{
    if (state == ProgressState::Hide || state == ProgressState::HideAfterLoading) {
        progressDelay_.stop();
        if (progress < 0 && services_.markOrderAborted)
            services_.markOrderAborted();
        if (progress_ && progress_->isVisible()) {
            progress_->hide();
            setEnabled(true);
        }
        return;
    }
    if (state == ProgressState::BackgroundLoading && !delayOver && !(progress_ && progress_->isVisible())) {
        pendingProgressState_ = state;
        if (!progressDelay_.isActive())
            progressDelay_.start();
        return;
    }
    if (!progress_)
        progress_ = new TProgressWindow(noticeSlot_, this);
    progress_->Update(state, progress);
    if (!progress_->isVisible()) {
        progress_->show();
        setEnabled(false);
        progress_->setEnabled(true);
    }
}

void TMainForm::ShowError(const QString& text)
{
    TMessageBoxRequest request;
    request.text = text;
    request.buttons = {bOK};
    request.kind = MessageKind::Error;
    ShowMessageBox(request);
}

int TMainForm::ShowMessageBox(const TMessageBoxRequest& request)
{
    return pavlora::ShowMessageBox(request, settings_, this, progress_.data());
}

bool TMainForm::OpenExternalUrl(const QString& address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()
        || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        ReportMessage(QStringLiteral("Only http and https addresses are opened: ") + address);
        return false;
    }
    return urlOpener_ && urlOpener_(url);
}

bool TMainForm::event(QEvent* event)
{
    const int type = static_cast<int>(event->type());
    auto* message = dynamic_cast<TWindowMessageEvent*>(event);
    if (!message)
        return QWidget::event(event);
    switch (type) {
    case WindowMessage::Refresh:
        if (pendingPictureImport_) {
            pendingPictureImport_ = false;
            RunCommand(Command::PictureImport, {});
        }
        if (current_)
            current_->Activate(static_cast<int>(message->WParam()));
        return true;
    case WindowMessage::LockNavigation:
        navigationLocked_ = message->WParam() == 1;
        UpdateButtons();
        return true;
    case WindowMessage::ProcessCommandLine:
        ProcessCommandLine();
        return true;
    case WindowMessage::CloseRequest: {
        TMessageBoxRequest request;
        request.text = QStringLiteral("AppMustClose");
        request.height = 290;
        request.width = 300;
        request.buttons = {bOK};
        request.kind = MessageKind::Warning;
        ShowMessageBox(request);
        close();
        return true;
    }
    case WindowMessage::ReloadPages:
        if (auto* browser = qobject_cast<TBrowserFrame*>(frames_.value(kBrowserSlot).data()))
            browser->Reload();
        return true;
    case WindowMessage::Progress:
        ShowProgressWindow(static_cast<std::uint8_t>(message->LParam()),
            std::bit_cast<float>(static_cast<std::int32_t>(message->WParam())));
        return true;
    case WindowMessage::ShowError:
        ShowError(message->Text());
        return true;
    case WindowMessage::FolderPath:
    case WindowMessage::NoAction:
    case WindowMessage::UploadView:
        return true;
    default:
        return QWidget::event(event);
    }
}

TQORError TMainForm::UnhandledExceptionError(const std::exception& error)
{
    const QString message = QString::fromUtf8(error.what());
    TQORError record;
    if (dynamic_cast<const std::ios_base::failure*>(&error) || message == QLatin1String("File Open Error")) {
        record.code = 211;
        record.context = QStringLiteral("Main.TMainForm.OnAppException");
    } else if (dynamic_cast<const std::bad_alloc*>(&error)) {
        record.code = 212;
        record.context = QStringLiteral("Main.TMainForm.OnAppException");
    } else {
        record.code = 1;
        record.context = QStringLiteral("Main.OnAppEception");
        record.detail = message;
    }
    return record;
}

TQORError TMainForm::ShowUnhandledException(const std::exception& error)
{
    const TQORError record = RecordError(UnhandledExceptionError(error));
    TMessageBoxRequest request;
    request.text = record.HtmlMessage();
    request.buttons = {bOK};
    request.kind = MessageKind::Error;
    ShowMessageBox(request);
    return record;
}

void TMainForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && pendingPictureImport_
        && !QApplication::activeModalWidget()) {
        pendingPictureImport_ = false;
        RunCommand(Command::PictureImport, {});
    }
    QWidget::changeEvent(event);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (!CanLeaveFrame(true) || (services_.mayClose && !services_.mayClose())) {
        event->ignore();
        return;
    }
    Q_EMIT closing();
    if (current_)
        current_->Deactivated();
    if (help_)
        help_->close();
    event->accept();
}

void TMainForm::RestorePlacement(const TWindowPlacement& placement)
{
    setGeometry(placement.left, placement.top, placement.width, placement.height);
    setWindowState(placement.state == TWindowState::Maximized ? Qt::WindowMaximized : Qt::WindowNoState);
}

TWindowPlacement TMainForm::Placement() const
{
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    TWindowPlacement placement{normal.x(), normal.y(), normal.width(), normal.height(), TWindowState::Normal};
    if (isMaximized())
        placement.state = TWindowState::Maximized;
    else if (isMinimized())
        placement.state = TWindowState::Minimized;
    return placement;
}

} // namespace pavlora
