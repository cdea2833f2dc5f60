// Downloading the price lists from the reference order server: what is
// stored, and what a failed or broken download leaves alone.

#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"
#include "core/QORThread.h"
#include "core/XMLUtils2.h"
#include "ordering/INA.h"
#include "ordering/QOROrderInterface.h"
#include "ordering/ServerTestTimeouts.h"
#include "ordering/XTCIProductLinks.h"
#include "ordering/ZODE.h"
#include "support/OrderServerProcess.h"
#include "support/TestSandbox.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <sstream>

namespace pavlora {
namespace {

using test::OrderServerProcess;

const QStringList kListFiles = {QStringLiteral("al1001.dat"), QStringLiteral("tl1001.dat"),
    QStringLiteral("al1002.dat"), QStringLiteral("tl1002.dat")};

std::string ContentOf(const QString& path)
{
    const TXMLDocumentPtr document = ReadXMLDocument(path);
    std::ostringstream text;
    document->document_element().child("content").print(text, "", pugi::format_raw);
    return text.str();
}

class PriceDownloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ina_.SetTimeouts(test::ServerTestTimeouts());
        data_ = test::MakeFolder(QStringLiteral("Data"));
        RegisterPathPlaceholder(QStringLiteral("{Data}"), data_);
    }

    // The demo deployment's XChg.dat, pointed at `server`.
    std::unique_ptr<TXTCI> Client(const OrderServerProcess& server)
    {
        QByteArray text = test::ReadFile(DemoFolder() + QStringLiteral("/XChg.dat"));
        text.replace("127.0.0.1:18470/zode", server.ControllerUrl().toUtf8());
        text.replace("127.0.0.1:18470/dtd", server.DtdUrl().toUtf8());
        EXPECT_TRUE(xchg_.load_buffer(text.constData(), static_cast<std::size_t>(text.size())));
        auto protocol = std::make_unique<TXTCI>(ina_);
        protocol->Initialize(xchg_);
        protocol->SetArticleModels(models_);
        return protocol;
    }

    static QString DemoFolder() { return test::BuiltProgramFolder() + QStringLiteral("/Data"); }

    // The demo deployment's lists as the stored ones.
    void StoreDemoLists() const
    {
        for (const QString& name : kListFiles)
            test::WriteFile(data_ + QLatin1Char('/') + name, test::ReadFile(DemoFolder() + QLatin1Char('/') + name));
    }

    QList<QByteArray> StoredBytes() const
    {
        QList<QByteArray> bytes;
        for (const QString& name : kListFiles)
            bytes.append(test::ReadFile(data_ + QLatin1Char('/') + name));
        return bytes;
    }

    TINA ina_;
    TXTCIArticleModels models_;
    pugi::xml_document xchg_;
    QString data_;
};

TEST_F(PriceDownloadTest, TheServerServesTheDemoDeploymentsListsAndTheyAreStoredEncrypted)
{
    OrderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    auto protocol = Client(server);
    const QString before = protocol->Config().CurrentKeyAccount().id;
    protocol->LoadArticleModels(true, QString());

    EXPECT_EQ(server.RequestCount(QStringLiteral("articlelist_request")), 2);
    EXPECT_EQ(server.RequestCount(QStringLiteral("transferlist_request")), 2);
    EXPECT_EQ(protocol->Config().CurrentKeyAccount().id, before);
    for (const QString& name : kListFiles) {
        SCOPED_TRACE(name.toStdString());
        const QString stored = data_ + QLatin1Char('/') + name;
        EXPECT_FALSE(test::ReadFile(stored).startsWith("<?xml")); // encrypted
        EXPECT_EQ(ContentOf(stored), ContentOf(DemoFolder() + QLatin1Char('/') + name));
    }
    QStringList expected = kListFiles;
    expected.sort();
    EXPECT_EQ(QDir(data_).entryList(QDir::Files, QDir::Name), expected); // no temporaries left

    const TXTCIArticleModelPtr prints = models_.Find(QStringLiteral("1001"));
    ASSERT_NE(prints, nullptr);
    EXPECT_EQ(prints->homogLevels.size(), 2);
    EXPECT_DOUBLE_EQ(prints->threshold, 30.0);
    ASSERT_NE(prints->ArticleForFormat(10), nullptr);
    EXPECT_DOUBLE_EQ(prints->ArticleForFormat(10)->FirstEntry().price, 0.19);
    const TXTCIArticleModelPtr gifts = models_.Find(QStringLiteral("1002"));
    ASSERT_NE(gifts, nullptr);
    EXPECT_FALSE(gifts->HasHomogLevels());
    EXPECT_TRUE(models_.PriceListDate().isValid());

    // A checked coupon comes with its article: campaign and value.
    TQORCoupon coupon;
    coupon.couponNumber = QStringLiteral("DEMO5");
    protocol->CheckCoupon(coupon);
    ASSERT_NE(coupon.couponArticle, nullptr);
    ASSERT_EQ(coupon.couponArticle->prices.size(), 1);
    EXPECT_EQ(coupon.couponArticle->prices.front().articleNo, 77);
    EXPECT_DOUBLE_EQ(coupon.couponArticle->prices.front().price, 5.0);

    // The linked catalogue of the demo: every record has its article.
    const TXchgList links = ReadXchgLinks(xchg_.document_element());
    EXPECT_EQ(LinkArticles(links, models_.Snapshot(), protocol->Config().KeyAccounts()).size(), links.size());
}

struct FaultCase {
    std::string name;
    QStringList serverArguments;
    QString brokenList; // written over the server's list of that name
    int code;
};

class PriceDownloadFaultTest : public PriceDownloadTest, public ::testing::WithParamInterface<FaultCase> { };

TEST_P(PriceDownloadFaultTest, AFailedOrBrokenDownloadKeepsTheOldPrices)
{
    const FaultCase& c = GetParam();
    QStringList arguments = c.serverArguments;
    if (!c.brokenList.isEmpty()) {
        const QString serverData = test::MakeFolder(QStringLiteral("ServerData"));
        const QString builtData = test::BuiltProgramFolder() + QStringLiteral("/OrderServerData");
        for (const QString& name : QDir(builtData).entryList(QDir::Files))
            test::WriteFile(serverData + QLatin1Char('/') + name, test::ReadFile(builtData + QLatin1Char('/') + name));
        test::WriteFile(serverData + QStringLiteral("/articlelist_1002.xml"), c.brokenList.toUtf8());
        arguments << QStringLiteral("--data") << serverData;
    }
    StoreDemoLists();
    OrderServerProcess server(arguments);
    ASSERT_TRUE(server.IsRunning());
    auto protocol = Client(server);
    protocol->LoadArticleModels(false, QString());
    const TXTCIArticleModelPtr old = models_.Find(QStringLiteral("1002"));
    ASSERT_NE(old, nullptr);
    const QList<QByteArray> before = StoredBytes();

    try {
        protocol->LoadArticleModels(true, QString());
        ADD_FAILURE() << "the download did not fail";
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().code, c.code);
        EXPECT_EQ(error.Error().context.section(QLatin1Char('.'), 0, 2),
            QStringLiteral("ZODE.TXTCI.DownloadKeyAccPriceLists"));
    }
    // Key account 1002's lists are as they were; so are the models.
    EXPECT_EQ(StoredBytes().mid(2), before.mid(2));
    EXPECT_EQ(models_.Find(QStringLiteral("1002")), old);
    EXPECT_EQ(protocol->Config().CurrentKeyAccount().id, QStringLiteral("1001"));
}

INSTANTIATE_TEST_SUITE_P(Faults, PriceDownloadFaultTest,
    ::testing::Values(
        FaultCase{"ServerError", {QStringLiteral("--fail"), QStringLiteral("articlelist_request=3")}, QString(), 1},
        FaultCase{"PriceIsNoNumber", {},
            QStringLiteral("<content><article format_id=\"401\"><prices><price input_source=\"0\" "
                           "delivery_type=\"1\" discount_level=\"0\" price=\"zwei\"/></prices></article></content>"),
            207},
        FaultCase{"FormatIdIsNoNumber", {}, QStringLiteral("<content><article format_id=\"x\"/></content>"), 207}),
    test::CaseName());

// A shell nobody looks at.
class QuietShell : public IOrderShell {
public:
    void ShowProgress(TProgressState, float) override { }
    void UploadView(TUploadViewAction, const TUploadProgress&) override { }
    bool AskRetry(const TQORError&) override { return false; }
    void ShowError(const TQORError&) override { }
    bool ConfirmCancel() override { return true; }
    void RunContinuation(int) override { }
    void ReturnToCart() override { }
    void FinishAbortedAction(int) override { }
    void TransferCancelled() override { }
};

TEST_F(PriceDownloadTest, TheOrderInterfaceDownloadsOnAWorkerAndTheCatalogueIsLinkedOnTheUiThread)
{
    OrderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    Client(server); // loads the demo's XChg.dat pointed at the server
    QuietShell shell;
    TQOROrderInterface orders(TQOROrderInterface::CreateProtocol(0, ina_, {}), xchg_, shell, ina_);
    ASSERT_EQ(orders.XchgLinks().size(), 13U);

    // Prints 10 and 13 have articles, "Prints.77" has none.
    TProductItemList catalogue;
    auto group = std::make_unique<TProductItem>(nullptr, 0);
    group->id = QStringLiteral("Prints");
    TProductItem* prints = catalogue.Append(std::move(group));
    for (const char* id : {"10", "13", "77"}) {
        auto product = std::make_unique<TProductItem>(prints, 1);
        product->id = QLatin1String(id);
        prints->EnsureChildren().Append(std::move(product));
    }
    TXTCIProductUpdater updater(orders.XchgLinks(), &catalogue);
    orders.SetProductUpdater(&updater);
    auto& protocol = dynamic_cast<TXTCI&>(orders.Protocol());

    bool done = false;
    orders.UpdateProducts(true, QStringLiteral("Prints"), [&](const TQORError& error) {
        EXPECT_FALSE(error.IsError()) << error.VerboseMessage().toStdString();
        EXPECT_TRUE(IsUiThread());
        updater.Link(protocol);
        done = true;
    });
    ASSERT_TRUE(test::WaitUntil([&] { return done; }));
    // Only the group's own key account was downloaded.
    EXPECT_EQ(server.RequestCount(QStringLiteral("articlelist_request")), 1);
    EXPECT_TRUE(QFile::exists(data_ + QStringLiteral("/al1001.dat")));
    EXPECT_FALSE(QFile::exists(data_ + QStringLiteral("/al1002.dat")));
    EXPECT_EQ(catalogue.FullIds(), QStringList{QStringLiteral("Prints")});
    EXPECT_EQ(prints->Children()->FullIds(), (QStringList{QStringLiteral("Prints.10"), QStringLiteral("Prints.13")}));
    const auto* article = dynamic_cast<const TXTCIArticle*>(prints->Children()->At(1)->xchg);
    ASSERT_NE(article, nullptr);
    EXPECT_EQ(article->formatId, 13);
    EXPECT_TRUE(test::WaitUntil([&] { return orders.RunningThreads() == 0; }));
}

TEST_F(PriceDownloadTest, PricesOlderThanTheConfiguredDaysAreOutdated)
{
    StoreDemoLists();
    OrderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    auto protocol = Client(server);
    protocol->LoadArticleModels(false, QString());
    const QDateTime loaded = models_.PriceListDate();
    ASSERT_TRUE(loaded.isValid());
    protocol->SetLanguage(QString(), QString(), 0);
    EXPECT_FALSE(protocol->PricesOutdated(loaded.addDays(365)));
    protocol->SetLanguage(QString(), QString(), 7);
    EXPECT_FALSE(protocol->PricesOutdated(loaded.addDays(6)));
    EXPECT_TRUE(protocol->PricesOutdated(loaded.addDays(8)));
}

} // namespace
} // namespace pavlora
