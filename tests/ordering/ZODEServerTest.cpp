// The ZODE client against the reference order server on loopback: discovery,
// sessions, TLS, the messages, the error mapping and the transport's fault
// paths, with faults the server injects.

#include "ordering/INA.h"
#include "ordering/ZODE.h"
#include "ordering/ZODERequests.h"

#include "core/QORException.h"
#include "ordering/ServerTestTimeouts.h"
#include "support/OrderServerProcess.h"
#include "support/TestSandbox.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace pavlora {
namespace {

using test::OrderServerProcess;

// Data of a server with an account that logs in with errorcode "49" and a
// payment option the client does not know.
QString NoticeData()
{
    const QString folder = test::MakeFolder(QStringLiteral("notice-data"));
    test::WriteFile(folder + QStringLiteral("/server.xml"),
        "<order_server><keyaccounts><ka id=\"1001\"/></keyaccounts><accounts>"
        "<account email=\"notice@example.org\" pwd=\"pw\" login_code=\"49\" user_id=\"9\" firstname=\"Nora\"/>"
        "</accounts><payments><payment id=\"1\" name=\"Karte\"/><payment id=\"4\" name=\"Neu\"/></payments>"
        "</order_server>");
    return folder;
}

class ZodeServerTest : public ::testing::Test {
protected:
    void SetUp() override { ina_.SetTimeouts(test::ServerTestTimeouts()); }

    // A protocol whose XChg.dat names `servers` ("CONTROLLER|DTD" each).
    std::unique_ptr<TXTCI> Client(const QStringList& servers, bool useSsl = false)
    {
        auto protocol = std::make_unique<TXTCI>(ina_);
        const QByteArray text = test::XChgText(servers, useSsl);
        pugi::xml_document document;
        EXPECT_TRUE(document.load_buffer(text.constData(), static_cast<std::size_t>(text.size())));
        protocol->Initialize(document);
        return protocol;
    }

    std::unique_ptr<TXTCI> Client(const OrderServerProcess& server, bool useSsl = false)
    {
        return Client({server.ControllerUrl() + QLatin1Char('|') + server.DtdUrl()}, useSsl);
    }

    static TQORError ErrorOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const EQORException& error) {
            return error.Error();
        }
        return TQORError{};
    }

    TINA ina_;
};

TEST_F(ZodeServerTest, DiscoveryFallsBackToTheNextServerAndSessionsAreReusedAndRenewed)
{
    OrderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    // Nothing listens on port 1 of loopback.
    auto protocol = Client({QStringLiteral("127.0.0.1:1/zode|127.0.0.1:1/dtd"),
        server.ControllerUrl() + QLatin1Char('|') + server.DtdUrl()});

    protocol->CreateSession();
    const QString first = protocol->SessionId();
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(protocol->Config().ActiveServer().controllerUrl, server.ControllerUrl());
    EXPECT_EQ(protocol->Config().ActiveServer().dtdUrl, server.DtdUrl() + QLatin1Char('/'));

    protocol->CreateSession(); // the session exists: nothing is sent
    EXPECT_EQ(server.RequestCount(QStringLiteral("session_request")), 1);
    EXPECT_EQ(protocol->SessionId(), first);

    protocol->RenewSession(true);
    EXPECT_EQ(server.RequestCount(QStringLiteral("session_request")), 2);
    EXPECT_NE(protocol->SessionId(), first);

    protocol->CloseSession(true);
    EXPECT_EQ(server.RequestCount(QStringLiteral("endsession_request")), 1);
    EXPECT_TRUE(protocol->SessionId().isEmpty());
    protocol->CreateSession();
    EXPECT_EQ(server.RequestCount(QStringLiteral("session_request")), 3);
    EXPECT_EQ(server.RequestCount(QStringLiteral("zode2_request")), 1);
}

TEST_F(ZodeServerTest, DiscoveryWithoutAnAnsweringServerReportsTheLastFailure)
{
    auto protocol = Client({QStringLiteral("127.0.0.1:1/zode|127.0.0.1:1/dtd")});
    const TQORError error = ErrorOf([&] { protocol->InitZodeServers(); });
    EXPECT_EQ(error.code, 40);
    EXPECT_EQ(error.context, QStringLiteral("ZODE.TXTCI.InitZodeServers"));
    EXPECT_TRUE(protocol->Config().ActiveServer().IsEmpty());
}

TEST_F(ZodeServerTest, ADiscoveryAnswerNamingAForeignHostIsRefused)
{
    OrderServerProcess server({QStringLiteral("--advertise-host"), QStringLiteral("orders.evil.example")});
    ASSERT_TRUE(server.IsRunning());
    auto protocol = Client(server);
    const TQORError error = ErrorOf([&] { protocol->CreateSession(); });
    EXPECT_EQ(error.code, 47);
    EXPECT_EQ(server.RequestCount(QStringLiteral("session_request")), 0);
    EXPECT_TRUE(protocol->Config().ActiveServer().IsEmpty());
}

TEST_F(ZodeServerTest, HttpsWithAVerifiedCertificateLogsInAndReadsTheUser)
{
    OrderServerProcess server({QStringLiteral("--tls-port"), QStringLiteral("0")});
    ASSERT_TRUE(server.IsRunning());
    ina_.SetCaFile(server.CertificateFile());
    auto protocol = Client(server, true);

    protocol->UserLogin(QStringLiteral("demo@example.org"), QStringLiteral("demo"));
    TQORUser user;
    protocol->GetUserData(user);
    // Discovery stays on plain HTTP and sends the client to the TLS port.
    EXPECT_EQ(
        protocol->Config().ActiveServer().controllerUrl, QStringLiteral("127.0.0.1:%1/zode").arg(server.HttpsPort()));
    EXPECT_EQ(user.userId, QStringLiteral("4711"));
    EXPECT_EQ(user.email, QStringLiteral("demo@example.org"));
    ASSERT_EQ(user.addresses.size(), 2);
    EXPECT_EQ(user.addresses[0].firstName, QStringLiteral("Max"));
    EXPECT_EQ(user.addresses[0].email, QStringLiteral("demo@example.org"));
    EXPECT_EQ(user.addresses[0].streetPart, QStringLiteral("Musterweg"));
    EXPECT_EQ(user.addresses[0].houseNumberPart, QStringLiteral("12a"));
    EXPECT_EQ(user.addresses[1].firstName, QStringLiteral("Erika"));
    EXPECT_EQ(user.addresses[1].street, QStringLiteral("Beispielstraße 3"));
    EXPECT_EQ(user.addresses[1].addressKind, 1);
    EXPECT_FALSE(user.acceptNewsletter);
}

TEST_F(ZodeServerTest, AServerWithAnotherCertificateIsRefused)
{
    OrderServerProcess server({QStringLiteral("--tls-port"), QStringLiteral("0")});
    OrderServerProcess other({QStringLiteral("--tls-port"), QStringLiteral("0")});
    ASSERT_TRUE(server.IsRunning() && other.IsRunning());
    ina_.SetCaFile(other.CertificateFile());
    auto protocol = Client(server, true);
    const TQORError error = ErrorOf([&] { protocol->CreateSession(); });
    EXPECT_EQ(error.code, 40);
    EXPECT_EQ(server.RequestCount(QStringLiteral("session_request")), 0);
}

TEST_F(ZodeServerTest, LoginCodes)
{
    OrderServerProcess server({QStringLiteral("--data"), NoticeData()});
    ASSERT_TRUE(server.IsRunning());
    auto protocol = Client(server);

    // "49" logs in.
    protocol->UserLogin(QStringLiteral("notice@example.org"), QStringLiteral("pw"));
    TQORUser user;
    protocol->GetUserData(user);
    EXPECT_EQ(user.addresses[0].firstName, QStringLiteral("Nora"));

    // "2" fails with its text.
    const TQORError error
        = ErrorOf([&] { protocol->UserLogin(QStringLiteral("notice@example.org"), QStringLiteral("wrong")); });
    EXPECT_EQ(error.code, 103);
    EXPECT_EQ(error.context, QStringLiteral("ZODE.TXTCI.UserLogin"));
    EXPECT_EQ(error.Message(), QStringLiteral("Login fehlgeschlagen. Bitte überprüfen Sie Ihre Eingaben."));

    // A payment option of an unknown type fails the whole list quietly.
    TQORPaymentInfoList payments;
    SetLastError(TQORError{});
    protocol->GetPaymentInfoList(payments);
    EXPECT_TRUE(payments.isEmpty());
    EXPECT_EQ(LastError().context, QStringLiteral("ZODE.TXTCI.GetPaymentInfoList"));
    EXPECT_TRUE(LastError().codeText.contains(QStringLiteral("unknown ZodePaymentType: 4")));
}

TEST_F(ZodeServerTest, RegistrationAndChangeOfTheUserData)
{
    OrderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    auto protocol = Client(server);

    TQORUser user;
    user.email = QStringLiteral("neu@example.org");
    user.password = QStringLiteral("pw1");
    user.acceptNewsletter = true;
    user.Billing().firstName = QStringLiteral("Nina");
    user.Billing().city = QStringLiteral("Altstadt");
    user.Billing().fax = QStringLiteral("0301");
    protocol->UserRegistration(user);
    protocol->UserLogin(user.email, user.password);

    TQORUser changed = user;
    changed.acceptNewsletter = false;
    changed.Billing().city = QStringLiteral("Neustadt");
    changed.Billing().fax.clear(); // an empty field is not sent, so the server keeps its value
    protocol->UpdateUserData(changed);

    TQORUser read;
    protocol->GetUserData(read);
    EXPECT_EQ(read.addresses[0].firstName, QStringLiteral("Nina"));
    EXPECT_EQ(read.addresses[0].city, QStringLiteral("Neustadt"));
    EXPECT_EQ(read.addresses[0].fax, QStringLiteral("0301"));
    EXPECT_FALSE(read.acceptNewsletter); // the flag is always sent

    // A refused change reaches the caller.
    changed.email = QStringLiteral("demo@example.org");
    const TQORError refused = ErrorOf([&] { protocol->UpdateUserData(changed); });
    EXPECT_EQ(refused.code, 104);
    EXPECT_EQ(refused.context, QStringLiteral("ZODE.TXTCI.UpdateUserData"));

    // Registering the same address again is refused.
    EXPECT_EQ(ErrorOf([&] { protocol->UserRegistration(user); }).code, 104);
}

TEST_F(ZodeServerTest, ListsAndCoupons)
{
    OrderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    auto protocol = Client(server);

    TQORCountryList countries;
    protocol->GetCountryList(countries);
    ASSERT_EQ(countries.size(), 3);
    EXPECT_EQ(countries[1], (TQORCountry{QStringLiteral("Österreich"), QStringLiteral("AT")}));

    TQORPickupStoreList stores;
    protocol->GetPickupStoreList(stores, QStringLiteral("1234"), QStringLiteral("Nirgendwo"));
    ASSERT_EQ(stores.size(), 2); // the zip wins over the city
    EXPECT_EQ(stores[0].storeId, QStringLiteral("501"));
    EXPECT_EQ(stores[0].fax, QStringLiteral("0123 1112"));

    // Neither zip nor city: nothing is sent, the list stays, the error is recorded.
    const int sent = server.RequestCount(QStringLiteral("locationlist_request"));
    protocol->GetPickupStoreList(stores, QString(), QString());
    EXPECT_EQ(stores.size(), 2);
    EXPECT_EQ(LastError().code, 1);
    EXPECT_EQ(LastError().detail, QStringLiteral("\"Zip\" or \"Country\" Empty"));
    EXPECT_EQ(server.RequestCount(QStringLiteral("locationlist_request")), sent);

    TQORPaymentInfoList payments;
    protocol->GetPaymentInfoList(payments);
    ASSERT_EQ(payments.size(), 3);
    EXPECT_EQ(payments[0].paymentType, TQORPaymentType::ptCreditCard);
    EXPECT_EQ(payments[2].paymentType, TQORPaymentType::ptPaymentAtPickup);
    EXPECT_EQ(payments[2].allowedDeliveryTypes, TDeliveryTypeList{TDeliveryType::dtPickupAtStore});

    TQORCreditCardTypeList cards;
    protocol->GetCreditCardTypeList(cards);
    ASSERT_EQ(cards.size(), 2);
    EXPECT_EQ(cards[1], (TQORCreditCardType{QStringLiteral("Mastercard"), QStringLiteral("MC")}));

    TQORCoupon coupon;
    coupon.couponNumber = QStringLiteral("DEMO5");
    protocol->CheckCoupon(coupon);
    EXPECT_FLOAT_EQ(coupon.value, 5.0F);
    EXPECT_EQ(coupon.entries, (QList<TQORCouponEntry>{{77, 5.0}}));

    coupon.couponNumber = QStringLiteral("NOPE");
    EXPECT_EQ(ErrorOf([&] { protocol->CheckCoupon(coupon); }).code, 109);
    EXPECT_EQ(server.RequestCount(QStringLiteral("session_request")), 1); // one session served all
}

TEST_F(ZodeServerTest, ServerErrorCodesAreMapped)
{
    OrderServerProcess server({QStringLiteral("--fail"), QStringLiteral("countrylist_request="),
        QStringLiteral("--fail"), QStringLiteral("couponcheck_request=72"), QStringLiteral("--fail"),
        QStringLiteral("creditcards_request=617"), QStringLiteral("--fail"), QStringLiteral("secquestion_request=81")});
    ASSERT_TRUE(server.IsRunning());
    auto protocol = Client(server);

    TQORCountryList countries;
    const TQORError missing = ErrorOf([&] { protocol->GetCountryList(countries); });
    EXPECT_EQ(missing.code, 118);
    EXPECT_EQ(missing.context, QStringLiteral("ZODE.TXTCI.GetCountryList"));
    EXPECT_TRUE(missing.Message().contains(QStringLiteral("(Code 2099)")));

    TQORCoupon coupon;
    coupon.couponNumber = QStringLiteral("DEMO5");
    EXPECT_EQ(ErrorOf([&] { protocol->CheckCoupon(coupon); }).code, 115);

    TQORUser user;
    user.email = QStringLiteral("demo@example.org");
    EXPECT_EQ(ErrorOf([&] { protocol->GetUserSecurityQuestion(user); }).code, 110);

    TQORCreditCardTypeList cards{TQORCreditCardType{QStringLiteral("old"), QStringLiteral("OLD")}};
    SetLastError(TQORError{});
    protocol->GetCreditCardTypeList(cards); // "617": the service offers no card types
    EXPECT_TRUE(cards.isEmpty());
    EXPECT_FALSE(LastError().IsError());
}

TEST_F(ZodeServerTest, PasswordResetWithTheSecurityQuestion)
{
    OrderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    auto protocol = Client(server);
    TQORUser user;
    user.email = QStringLiteral("demo@example.org");
    protocol->GetUserSecurityQuestion(user);
    EXPECT_EQ(user.securityQuestion, QStringLiteral("Name Ihres ersten Haustiers?"));
    EXPECT_EQ(ErrorOf([&] { protocol->RequestNewUserPassword(user.email, QStringLiteral("Rex")); }).code, 111);
    protocol->RequestNewUserPassword(user.email, QStringLiteral("Bello"));
}

TEST_F(ZodeServerTest, ADroppedConnectionIsCode40AndTheRetrySucceeds)
{
    OrderServerProcess server({QStringLiteral("--drop"), QStringLiteral("countrylist_request:1")});
    ASSERT_TRUE(server.IsRunning());
    auto protocol = Client(server);
    TQORCountryList countries;
    const TQORError error = ErrorOf([&] { protocol->GetCountryList(countries); });
    EXPECT_EQ(error.code, 40);
    EXPECT_FALSE(error.codeText.isEmpty());
    EXPECT_TRUE(countries.isEmpty());
    protocol->GetCountryList(countries);
    EXPECT_EQ(countries.size(), 3);
    EXPECT_EQ(ina_.BusyClients(), 0);
}

TEST_F(ZodeServerTest, ASilentServerRunsIntoTheReadTimeOut)
{
    OrderServerProcess server({QStringLiteral("--delay"), QStringLiteral("countrylist_request=4000")});
    ASSERT_TRUE(server.IsRunning());
    TINATimeouts timeouts = ina_.Timeouts();
    timeouts.read = std::chrono::milliseconds(1000);
    ina_.SetTimeouts(timeouts);
    auto protocol = Client(server);
    protocol->CreateSession();
    TQORCountryList countries;
    EXPECT_EQ(ErrorOf([&] { protocol->GetCountryList(countries); }).code, 40);
}

// Declares an order of `files` (name -> bytes) in the protocol's session.
void DeclareOrder(TXTCI& protocol, const QList<std::pair<QString, QByteArray>>& files)
{
    TXTCIRequest request = ZodeRequests::OrderDeclaration(protocol.Dtd(), protocol.SessionId());
    pugi::xml_node parts = request.Root().append_child("orderposition").append_child("parts");
    for (const auto& [name, bytes] : files) {
        pugi::xml_node part = parts.append_child("part");
        part.append_attribute("type") = "file";
        part.append_attribute("filename") = name.toUtf8().constData();
        part.append_attribute("filesize") = static_cast<long long>(bytes.size());
    }
    protocol.SendZODERequest(protocol.Config().UseSsl(), request, true)->CheckError();
}

TEST_F(ZodeServerTest, TheServerDrivenUploadSurvivesADroppedTransferAndFinishesTheOrder)
{
    OrderServerProcess server({QStringLiteral("--drop-upload-after"), QStringLiteral("1000:1")});
    ASSERT_TRUE(server.IsRunning());
    auto protocol = Client(server);
    protocol->UserLogin(QStringLiteral("demo@example.org"), QStringLiteral("demo"));
    const QString folder = test::MakeFolder(QStringLiteral("order"));
    const QList<std::pair<QString, QByteArray>> files{
        {QStringLiteral("File_1.jpg"), QByteArray(300000, 'a')}, {QStringLiteral("File_2.jpg"), QByteArray(7, 'b')}};
    for (const auto& [name, bytes] : files)
        test::WriteFile(folder + QLatin1Char('/') + name, bytes);
    DeclareOrder(*protocol, files);

    int uploaded = 0;
    int failures = 0;
    float lastOverall = 0.0F;
    while (const std::optional<TXTCIUploadSlot> slot = protocol->RequestUploadSlot(protocol->SessionId())) {
        ASSERT_LT(uploaded + failures, 5);
        TQORUploadInfo job;
        job.url = slot->uploadUrl;
        job.filePath = folder + QLatin1Char('/') + slot->fileName;
        job.contentType = QStringLiteral("image/jpeg");
        job.totalBytes = slot->totalBytes;
        job.submittedBytes = slot->submittedBytes;
        job.params = {TQORUploadParam{QStringLiteral("uplid"), slot->uploadId}};
        job.fileCount = 2;
        job.fileIndex = uploaded + 1;
        job.progress = [&](const TUploadProgress& progress) { lastOverall = progress.overallFraction; };
        try {
            ina_.UploadFile(job);
            ++uploaded;
        } catch (const EQORException& error) {
            EXPECT_EQ(error.Error().code, 40); // the first transfer is cut by the server
            EXPECT_EQ(error.Error().context, QStringLiteral("INA.TINA.UploadFile"));
            ++failures;
        }
    }
    EXPECT_EQ(uploaded, 2);
    EXPECT_EQ(failures, 1);
    EXPECT_GT(lastOverall, 0.99F);

    TQOROrder order;
    protocol->OrderFinish(order);
    ASSERT_FALSE(order.orderNumber.isEmpty());
    const QString stored = server.OrdersFolder() + QLatin1Char('/') + order.orderNumber;
    for (const auto& [name, bytes] : files)
        EXPECT_EQ(test::ReadFile(stored + QLatin1Char('/') + name), bytes) << name.toStdString();
    EXPECT_TRUE(QFile::exists(stored + QStringLiteral("/declaration.xml")));
}

TEST_F(ZodeServerTest, ACaFileChangeTakesEffectAndDropsKeptConnections)
{
    OrderServerProcess first({QStringLiteral("--tls-port"), QStringLiteral("0")});
    OrderServerProcess second({QStringLiteral("--tls-port"), QStringLiteral("0")});
    ASSERT_TRUE(first.IsRunning() && second.IsRunning());
    const auto send = [&](const OrderServerProcess& server) {
        return ErrorOf([&] {
            ina_.SendHTTPRequest(
                QStringLiteral("https://127.0.0.1:%1/zode").arg(server.HttpsPort()), "<countrylist_request/>");
        });
    };
    ina_.SetCaFile(first.CertificateFile());
    EXPECT_EQ(send(first).code, 0);
    // The connection kept to the first server was verified with the old
    // certificates: it is not used again.
    ina_.SetCaFile(second.CertificateFile());
    EXPECT_EQ(send(first).code, 40);
    EXPECT_EQ(send(second).code, 0);
    EXPECT_EQ(first.RequestCount(QStringLiteral("countrylist_request")), 1);
}

TEST_F(ZodeServerTest, RedirectsAreFollowedOnlyWhenTheyKeepTls)
{
    struct Case {
        const char* name;
        bool tls;
        const char* location;
        int code;
        int sessionRequests; // the first one, and the redirected one when followed
    };
    const Case cases[]{
        {"https to http refused", true, "http://127.0.0.1:{http}/zode", 40, 1},
        {"https to https followed", true, "https://127.0.0.1:{https}/zode", 0, 2},
        {"http to http followed", false, "http://127.0.0.1:{http}/zode", 0, 2},
    };
    for (const Case& c : cases) {
        QStringList arguments{
            QStringLiteral("--redirect"), QStringLiteral("session_request:1=") + QLatin1String(c.location)};
        if (c.tls)
            arguments << QStringLiteral("--tls-port") << QStringLiteral("0");
        OrderServerProcess server(arguments);
        ASSERT_TRUE(server.IsRunning()) << c.name;
        if (c.tls)
            ina_.SetCaFile(server.CertificateFile());
        auto protocol = Client(server, c.tls);
        EXPECT_EQ(ErrorOf([&] { protocol->CreateSession(); }).code, c.code) << c.name;
        EXPECT_EQ(server.RequestCount(QStringLiteral("session_request")), c.sessionRequests) << c.name;
        EXPECT_EQ(protocol->SessionId().isEmpty(), c.code != 0) << c.name;
    }
}

TEST_F(ZodeServerTest, AnHttpsSessionUploadsOnlyOverHttps)
{
    struct Case {
        const char* uploadUrl;
        const char* expected; // empty: refused
    };
    const Case cases[]{
        {"http://127.0.0.1:{http}/upload", ""},
        {"HTTP://127.0.0.1:{http}/upload", ""},
        {"ftp://127.0.0.1:{http}/upload", ""},
        {"https://127.0.0.1:{https}/upload", "https://127.0.0.1:{https}/upload"},
        {"127.0.0.1:{https}/upload", "https://127.0.0.1:{https}/upload"},
    };
    for (const Case& c : cases) {
        OrderServerProcess server({QStringLiteral("--tls-port"), QStringLiteral("0"), QStringLiteral("--upload-url"),
            QLatin1String(c.uploadUrl)});
        ASSERT_TRUE(server.IsRunning()) << c.uploadUrl;
        ina_.SetCaFile(server.CertificateFile());
        auto protocol = Client(server, true);
        protocol->UserLogin(QStringLiteral("demo@example.org"), QStringLiteral("demo"));
        DeclareOrder(*protocol, {{QStringLiteral("File_1.jpg"), QByteArray(10, 'a')}});
        std::optional<TXTCIUploadSlot> slot;
        const TQORError error = ErrorOf([&] { slot = protocol->RequestUploadSlot(protocol->SessionId()); });
        const QString expected = QString(QLatin1String(c.expected))
                                     .replace(QStringLiteral("{https}"), QString::number(server.HttpsPort()));
        if (expected.isEmpty()) {
            EXPECT_EQ(error.code, 40) << c.uploadUrl;
            EXPECT_EQ(error.codeText, QStringLiteral("upload URL refused")) << c.uploadUrl;
        } else {
            ASSERT_TRUE(slot.has_value()) << c.uploadUrl << " " << error.Message().toStdString();
            EXPECT_EQ(slot->uploadUrl, expected);
        }
    }
}

TEST_F(ZodeServerTest, DisconnectAllCutsARunningUploadAndLaterTransfersWork)
{
    // The server waits before it reads the body, so the upload stalls
    // with data in flight.
    OrderServerProcess server({QStringLiteral("--delay"), QStringLiteral("upload=5000")});
    ASSERT_TRUE(server.IsRunning());
    const QString path = test::MakeFolder(QStringLiteral("big")) + QStringLiteral("/File_1.jpg");
    test::WriteFile(path, QByteArray(48 * 1024 * 1024, 'x'));

    std::atomic<bool> sending{false};
    TQORError result;
    std::thread uploader([&] {
        TQORUploadInfo job;
        job.url = QStringLiteral("http://127.0.0.1:%1/upload").arg(server.HttpPort());
        job.filePath = path;
        job.contentType = QStringLiteral("image/jpeg");
        job.progress = [&](const TUploadProgress& progress) {
            if (progress.fileFraction > 0.0F)
                sending = true;
        };
        try {
            ina_.UploadFile(job);
        } catch (const EQORException& error) {
            result = error.Error();
        }
    });
    ASSERT_TRUE(test::WaitUntil([&] { return sending.load(); }));
    ina_.DisconnectAll();
    uploader.join();
    EXPECT_EQ(result.code, 112);
    EXPECT_EQ(result.context, QStringLiteral("INA.TINA.UploadFile"));
    EXPECT_EQ(ina_.BusyClients(), 0);

    auto protocol = Client(server);
    protocol->CreateSession(); // the cut does not stick to later transfers
    EXPECT_FALSE(protocol->SessionId().isEmpty());
}

TEST_F(ZodeServerTest, TheConnectionCheckTestsTheHostAndPortItIsGiven)
{
    OrderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    EXPECT_TRUE(ina_.CheckConnection(QStringLiteral("http://127.0.0.1:%1/x").arg(server.HttpPort())));
    EXPECT_TRUE(ina_.CheckConnection(QStringLiteral("127.0.0.1:%1").arg(server.HttpPort())));
    EXPECT_FALSE(ina_.CheckConnection(QStringLiteral("127.0.0.1:1")));
}

} // namespace
} // namespace pavlora
