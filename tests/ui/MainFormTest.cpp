#include "SkinFixture.h"

#include "core/AppSettings.h"
#include "ui/ECButton.h"
#include "ui/FormInfoBox.h"
#include "ui/HtmlView.h"
#include "ui/MainForm.h"
#include "ui/StartFrame.h"
#include "ui/WindowMessages.h"
#include "ui/WorkFrame.h"

#include <QApplication>

#include <ios>

#include <thread>

namespace pavlora::test {
namespace {

// A frame that records what the main window tells it and answers as told.
class TRecordingFrame : public TWorkFrame {
public:
    bool mayLeave = true;
    bool handlesCart = false;
    QList<bool> leaveQuestions; // the closing flag of each question
    QList<int> activations;
    int deactivations = 0;

    bool MayLeave(bool closing) override
    {
        leaveQuestions.append(closing);
        return mayLeave;
    }
    void Activate(int reason) override { activations.append(reason); }
    void Deactivated() override { ++deactivations; }
    bool CartButtonPressed() override { return handlesCart; }
};

TAppSettings Settings(std::initializer_list<std::pair<const char*, const char*>> values = {})
{
    TNameValueList list;
    for (const auto& [name, value] : values)
        list.SetValue(QLatin1String(name), QString::fromUtf8(value));
    return TAppSettings(list);
}

class MainFormTest : public StandardSkinFixture {
protected:
    // A main window whose command `number` shows a recording frame in `slot`.
    std::unique_ptr<TMainForm> MakeForm(TMainFormServices services = {}, TAppSettings settings = Settings())
    {
        auto form = std::make_unique<TMainForm>(std::move(settings), std::move(services));
        form->Create();
        return form;
    }

    TRecordingFrame* RegisterFrame(TMainForm& form, int number, const QString& slot)
    {
        auto* holder = new TRecordingFrame*(nullptr);
        holders_.emplace_back(holder);
        form.RegisterCommand(number, [&form, slot, holder](const QStringList& arguments) {
            calls_.append({slot, arguments});
            return form.ShowFrame(slot, [holder](QWidget* host) {
                *holder = new TRecordingFrame;
                (*holder)->setParent(host);
                return *holder;
            }) != nullptr;
        });
        return nullptr;
    }
    TRecordingFrame* Frame(std::size_t index) const { return *holders_.at(index); }

    static inline QList<std::pair<QString, QStringList>> calls_;
    std::vector<std::unique_ptr<TRecordingFrame*>> holders_;
};

TEST_F(MainFormTest, StartsOnTheStartPageWithUnbuiltCommandsRefused)
{
    calls_.clear();
    const auto form = MakeForm();
    EXPECT_EQ(form->CurrentSlot(), QStringLiteral("Start"));
    EXPECT_NE(qobject_cast<TStartFrame*>(form->CurrentFrame()), nullptr);
    EXPECT_FALSE(form->NavigationButton(QStringLiteral("OverviewButton"))->isEnabled());
    EXPECT_FALSE(form->NavigationButton(QStringLiteral("CartButton"))->isEnabled());
    EXPECT_FALSE(form->NavigationButton(QStringLiteral("SettingsButton"))->isEnabled());
    EXPECT_TRUE(form->NavigationButton(QStringLiteral("HelpButton"))->isEnabled());
    EXPECT_FALSE(form->ExecuteCommandText(QStringLiteral("ViewGroup(Prints)")));
    EXPECT_FALSE(form->ExecuteCommandText(QStringLiteral("Browse(a.XNF)")));
    EXPECT_FALSE(form->ExecuteCommandText(QStringLiteral("ViewGroup Prints")));
    for (TECButton* tile : static_cast<TStartFrame*>(form->CurrentFrame())->Tiles())
        EXPECT_FALSE(tile->isEnabled()) << tile->objectName().toStdString();
}

TEST_F(MainFormTest, RegisteredCommandsRunWithTheirArgumentsAndEnableTheirButtons)
{
    calls_.clear();
    const auto form = MakeForm();
    RegisterFrame(*form, Command::ViewGroup, QStringLiteral("Prints"));
    RegisterFrame(*form, Command::OrderMain, QStringLiteral("Cart"));
    EXPECT_TRUE(form->NavigationButton(QStringLiteral("CartButton"))->isEnabled());
    EXPECT_TRUE(form->ExecuteCommandText(QStringLiteral("viewgroup(|Prints;Fotos|;extra)")));
    ASSERT_EQ(calls_.size(), 1);
    EXPECT_EQ(calls_[0].second, (QStringList{QStringLiteral("Prints;Fotos"), QStringLiteral("extra")}));
    EXPECT_EQ(form->CurrentSlot(), QStringLiteral("Prints"));
    EXPECT_TRUE(form->NavigationButton(QStringLiteral("OverviewButton"))->isEnabled());

    // On the cart page the cart button is off.
    form->NavigationButton(QStringLiteral("CartButton"))->click();
    EXPECT_EQ(form->CurrentSlot(), QStringLiteral("Cart"));
    EXPECT_FALSE(form->NavigationButton(QStringLiteral("CartButton"))->isEnabled());
}

TEST_F(MainFormTest, AFrameThatRefusesToBeLeftKeepsItsPlace)
{
    const auto form = MakeForm();
    RegisterFrame(*form, Command::ViewGroup, QStringLiteral("Prints"));
    ASSERT_TRUE(form->ExecuteCommandText(QStringLiteral("ViewGroup(Prints)")));
    TRecordingFrame* prints = Frame(0);
    ASSERT_NE(prints, nullptr);
    EXPECT_EQ(prints->activations, QList<int>{0});

    prints->mayLeave = false;
    EXPECT_FALSE(form->ExecuteCommand(Command::Browse, QString()));
    EXPECT_EQ(form->CurrentFrame(), prints);
    EXPECT_EQ(prints->leaveQuestions, QList<bool>{false});
    EXPECT_EQ(prints->deactivations, 0);

    // Closing asks with the closing flag and is refused too.
    form->show();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(prints->leaveQuestions.back(), true);

    prints->mayLeave = true;
    EXPECT_TRUE(form->ExecuteCommand(Command::Browse, QString()));
    EXPECT_EQ(form->CurrentSlot(), QStringLiteral("Start"));
    EXPECT_EQ(prints->deactivations, 1);
    EXPECT_TRUE(prints->isHidden());
    // Shown again, the frame is the same one and is activated again.
    ASSERT_TRUE(form->ExecuteCommandText(QStringLiteral("ViewGroup(Prints)")));
    EXPECT_EQ(form->CurrentFrame(), prints);
    EXPECT_EQ(prints->activations, (QList<int>{0, 0}));
}

TEST_F(MainFormTest, CartButtonGoesToTheFrameFirst)
{
    calls_.clear();
    const auto form = MakeForm();
    RegisterFrame(*form, Command::ViewGroup, QStringLiteral("Photobook"));
    RegisterFrame(*form, Command::OrderMain, QStringLiteral("Cart"));
    ASSERT_TRUE(form->ExecuteCommandText(QStringLiteral("ViewGroup(PhotoBooks)")));
    TRecordingFrame* photobook = Frame(0);
    photobook->handlesCart = true;
    form->NavigationButton(QStringLiteral("CartButton"))->click();
    EXPECT_EQ(form->CurrentFrame(), photobook);

    photobook->handlesCart = false;
    QPointer<TRecordingFrame> watch(photobook);
    form->NavigationButton(QStringLiteral("CartButton"))->click();
    EXPECT_EQ(form->CurrentSlot(), QStringLiteral("Cart"));
    // The photobook frame is freed once replaced.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
}

TEST_F(MainFormTest, CommandLineRunsOnceWhenProcessed)
{
    calls_.clear();
    const auto form = MakeForm();
    RegisterFrame(*form, Command::ViewGroup, QStringLiteral("Prints"));
    form->SetCommandLine({QStringLiteral("-TEASER"), QStringLiteral("-dd"), QStringLiteral("-prints")});
    EXPECT_TRUE(form->DeviceStart());
    form->PostProcessCommandLine();
    form->PostProcessCommandLine();
    QApplication::processEvents();
    ASSERT_EQ(calls_.size(), 1);
    EXPECT_EQ(calls_[0].second, QStringList{QStringLiteral("Prints")});
}

TEST_F(MainFormTest, ListFileWithProductsAddsEachPictureAndTheLastWithAddProduct)
{
    const QString list = MakeFolder(QStringLiteral("list")) + QStringLiteral("/pictures.txt");
    WriteFile(list, "/p/a.jpg\n/p/b;c.jpg\r\n\n/p/d.jpg\n");
    TMainFormServices services;
    services.defaultLeafFullId = [](const QString& group) { return QString(group + QStringLiteral(".Mug")); };
    const auto form = MakeForm(services);
    QList<std::pair<int, QStringList>> runs;
    for (const int number : {Command::AddProductPicture, Command::AddProduct})
        form->RegisterCommand(number, [&runs, number](const QStringList& arguments) {
            runs.append({number, arguments});
            return true;
        });
    form->SetCommandLine({QStringLiteral("-F"), list, QStringLiteral("-PRODUCTS")});
    form->PostProcessCommandLine();
    QApplication::processEvents();
    ASSERT_EQ(runs.size(), 3);
    EXPECT_EQ(runs[0].first, Command::AddProductPicture);
    EXPECT_EQ(runs[1].first, Command::AddProductPicture);
    EXPECT_EQ(runs[2].first, Command::AddProduct);
    EXPECT_EQ(runs[1].second, (QStringList{QStringLiteral("Vuvediro.Mug"), QStringLiteral("/p/b;c.jpg"), QString()}));
}

TEST_F(MainFormTest, ListFileWithPrintsAddsThePicturesAsPrints)
{
    const QString list = MakeFolder(QStringLiteral("list")) + QStringLiteral("/pictures.txt");
    WriteFile(list, "/p/a.jpg\n/p/b.jpg\n");
    QStringList added;
    TMainFormServices services;
    services.addImagesAsPrints = [&added](const QStringList& pictures) { added = pictures; };
    const auto form = MakeForm(services);
    RegisterFrame(*form, Command::ViewGroup, QStringLiteral("Prints"));
    form->SetCommandLine({QStringLiteral("-PRINTS"), QStringLiteral("-F"), list});
    form->PostProcessCommandLine();
    QApplication::processEvents();
    EXPECT_EQ(added, (QStringList{QStringLiteral("/p/a.jpg"), QStringLiteral("/p/b.jpg")}));
    EXPECT_EQ(form->CurrentSlot(), QStringLiteral("Prints"));
}

struct IncompleteCase {
    std::string name;
    int command;
    QString answer;
    bool runs;
};

class IncompleteProductsTest : public MainFormTest, public ::testing::WithParamInterface<IncompleteCase> { };

TEST_P(IncompleteProductsTest, AsksBeforeLeavingIncompleteProducts)
{
    const IncompleteCase& c = GetParam();
    bool removed = false;
    bool incomplete = false;
    QString asked;
    TMainFormServices services;
    services.cartHasIncompleteProducts = [&incomplete] { return incomplete; };
    services.removeIncompleteProducts = [&removed] { removed = true; };
    const auto form = MakeForm(services);
    RegisterFrame(*form, Command::ViewGroup, QStringLiteral("Prints"));
    RegisterFrame(*form, Command::OrderMain, QStringLiteral("Cart"));
    ASSERT_TRUE(form->RunCommand(Command::ViewGroup, {QStringLiteral("Prints")}));
    incomplete = true;
    TFormInfoBox::SetAnswerer([&](TFormInfoBox& box) {
        asked = box.Browser()->toPlainText();
        box.Press(c.answer);
    });
    EXPECT_EQ(form->ExecuteCommand(c.command, QString()), c.runs);
    EXPECT_EQ(removed, c.runs);
    EXPECT_TRUE(asked.endsWith(QStringLiteral("Wollen Sie fortfahren?"))) << asked.toStdString();
    EXPECT_EQ(form->CurrentSlot(),
        c.runs ? (c.command == Command::Browse ? QStringLiteral("Start") : QStringLiteral("Cart"))
               : QStringLiteral("Prints"));
}

INSTANTIATE_TEST_SUITE_P(Answers, IncompleteProductsTest,
    ::testing::Values(IncompleteCase{"OverviewNo", Command::Browse, QStringLiteral("Nein"), false},
        IncompleteCase{"OverviewYes", Command::Browse, QStringLiteral("Ja"), true},
        IncompleteCase{"CartYes", Command::OrderMain, QStringLiteral("Ja"), true}),
    CaseName());

TEST_F(MainFormTest, WindowMessagesLockNavigationAndDriveTheProgressWindow)
{
    int aborted = 0;
    TMainFormServices services;
    services.markOrderAborted = [&aborted] { ++aborted; };
    services.startOnlineUpdate = [] {};
    const auto form = MakeForm(services);
    form->show();
    EXPECT_TRUE(form->NavigationButton(QStringLiteral("UpdateButton"))->isEnabled());
    form->PostMessage(WindowMessage::LockNavigation, 1);
    QApplication::processEvents();
    EXPECT_FALSE(form->NavigationButton(QStringLiteral("UpdateButton"))->isEnabled());
    form->PostMessage(WindowMessage::LockNavigation, 0);
    QApplication::processEvents();
    EXPECT_TRUE(form->NavigationButton(QStringLiteral("UpdateButton"))->isEnabled());

    // A notice from a worker arrives queued.
    std::thread worker(
        [&form] { form->ProgressNotice(ProgressState::ServerExchange, QStringLiteral("Senden"), {}, 40); });
    worker.join();
    EXPECT_EQ(form->ProgressWindow(), nullptr);
    QApplication::processEvents();
    ASSERT_NE(form->ProgressWindow(), nullptr);
    EXPECT_TRUE(form->ProgressWindow()->isVisible());
    EXPECT_FALSE(form->isEnabled());
    form->ProgressNotice(ProgressState::Hide, {}, {}, -1);
    EXPECT_FALSE(form->ProgressWindow()->isVisible());
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(aborted, 1);
    // Background loading waits before it shows anything.
    form->ProgressNotice(ProgressState::BackgroundLoading, QStringLiteral("Bilder laden"), {}, 0);
    EXPECT_FALSE(form->ProgressWindow()->isVisible());
    EXPECT_TRUE(WaitUntil([&] { return form->ProgressWindow()->isVisible(); }));
    form->ProgressNotice(ProgressState::HideAfterLoading, {}, {}, 0);
    EXPECT_FALSE(form->ProgressWindow()->isVisible());
}

TEST_F(MainFormTest, ErrorMessagesFromWorkersBecomeErrorBoxes)
{
    const auto form = MakeForm();
    QString header;
    QString text;
    TFormInfoBox::SetAnswerer([&](TFormInfoBox& box) {
        header = box.HeaderButton()->text();
        text = box.Browser()->toPlainText();
        box.Press(QStringLiteral("OK"));
    });
    std::thread worker(
        [&form] { form->PostMessage(WindowMessage::ShowError, 0, 0, QStringLiteral("Keine Verbindung")); });
    worker.join();
    QApplication::processEvents();
    EXPECT_EQ(header, QStringLiteral("Fehler"));
    EXPECT_EQ(text, QStringLiteral("Keine Verbindung"));
}

struct UnhandledCase {
    std::string name;
    std::function<void()> raise;
    int code;
    QString context;
    QString detail;
};

class UnhandledExceptionTest : public MainFormTest, public ::testing::WithParamInterface<UnhandledCase> { };

TEST_P(UnhandledExceptionTest, BecomesAnErrorBox)
{
    const UnhandledCase& c = GetParam();
    const auto form = MakeForm();
    QString header;
    TFormInfoBox::SetAnswerer([&](TFormInfoBox& box) {
        header = box.HeaderButton()->text();
        box.Press(QStringLiteral("OK"));
    });
    try {
        c.raise();
        FAIL() << "nothing raised";
    } catch (const std::exception& error) {
        const TQORError shown = form->ShowUnhandledException(error);
        EXPECT_EQ(shown.code, c.code);
        EXPECT_EQ(shown.context, c.context);
        EXPECT_EQ(shown.detail, c.detail);
        EXPECT_EQ(LastError(), shown);
    }
    EXPECT_EQ(header, QStringLiteral("Fehler"));
}

INSTANTIATE_TEST_SUITE_P(Exceptions, UnhandledExceptionTest,
    ::testing::Values(UnhandledCase{"FileOpenClass", [] { throw std::ios_base::failure("cannot open"); }, 211,
                          QStringLiteral("Main.TMainForm.OnAppException"), QString()},
        UnhandledCase{"FileOpenMessage", [] { throw std::runtime_error("File Open Error"); }, 211,
            QStringLiteral("Main.TMainForm.OnAppException"), QString()},
        UnhandledCase{"OutOfMemory", [] { throw std::bad_alloc(); }, 212,
            QStringLiteral("Main.TMainForm.OnAppException"), QString()},
        UnhandledCase{"Other", [] { throw std::runtime_error("kaputt"); }, 1, QStringLiteral("Main.OnAppEception"),
            QStringLiteral("kaputt")}),
    CaseName());

struct UrlCase {
    std::string name;
    QString address;
    bool opened;
};

class ExternalUrlTest : public MainFormTest, public ::testing::WithParamInterface<UrlCase> { };

TEST_P(ExternalUrlTest, OnlyWebAddressesGoToTheDesktop)
{
    const auto form = MakeForm();
    QList<QUrl> opened;
    form->SetUrlOpener([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    EXPECT_EQ(form->OpenExternalUrl(GetParam().address), GetParam().opened);
    EXPECT_EQ(opened.size(), GetParam().opened ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Addresses, ExternalUrlTest,
    ::testing::Values(UrlCase{"Https", QStringLiteral("https://example.org/agb.html"), true},
        UrlCase{"Http", QStringLiteral("http://example.org"), true},
        UrlCase{"File", QStringLiteral("file:///etc/passwd"), false},
        UrlCase{"Program", QStringLiteral("/usr/bin/xterm"), false},
        UrlCase{"JavaScript", QStringLiteral("javascript:alert(1)"), false},
        UrlCase{"NoHost", QStringLiteral("https://"), false}, UrlCase{"Empty", QString(), false}),
    CaseName());

TEST_F(MainFormTest, TermsCommandOpensTheTermsLink)
{
    const auto form = MakeForm({}, Settings({{"terms_link", "https://example.org/agb"}}));
    QList<QUrl> opened;
    form->SetUrlOpener([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    EXPECT_TRUE(form->ExecuteCommand(Command::Terms, QString()));
    EXPECT_EQ(opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/agb"))});
}

// The placement goes back where it was stored, and a closing window says so
// and reports the size it had before it was maximised.
TEST_F(MainFormTest, PlacementIsRestoredAndReadWhenClosing)
{
    auto form = MakeForm();
    form->RestorePlacement(TWindowPlacement{40, 30, 900, 640, TWindowState::Normal});
    form->show();
    EXPECT_EQ(form->Placement(), (TWindowPlacement{40, 30, 900, 640, TWindowState::Normal}));

    form->setWindowState(Qt::WindowMaximized);
    const TWindowPlacement maximised = form->Placement();
    EXPECT_EQ(maximised.state, TWindowState::Maximized);
    EXPECT_EQ(QRect(maximised.left, maximised.top, maximised.width, maximised.height), QRect(40, 30, 900, 640));

    int closings = 0;
    QObject::connect(form.get(), &TMainForm::closing, [&closings] { ++closings; });
    EXPECT_TRUE(form->close());
    EXPECT_EQ(closings, 1);
}

} // namespace
} // namespace pavlora::test
