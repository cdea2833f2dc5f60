// The request builders against golden XML, the error head, the protocol
// configuration, the protocol log's masking and the account records.

#include "ordering/QOROrderResume.h"
#include "ordering/QORRecords.h"
#include "ordering/XTCIDocuments.h"
#include "ordering/XTCIProtocolConfig.h"
#include "ordering/ZODE.h"
#include "ordering/ZODERequests.h"

#include "core/DebugConfig.h"
#include "core/QORException.h"
#include "support/TestSandbox.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace pavlora {
namespace {

const QString kDtd = QStringLiteral("zode.example.org/dtd/");
const QString kOcsid = QStringLiteral("S1");

TQORUser SampleUser()
{
    TQORUser user;
    user.email = QStringLiteral("anna@example.org");
    user.password = QStringLiteral("geheim");
    user.securityQuestion = QStringLiteral("Haustier?");
    user.securityAnswer = QStringLiteral("Bello");
    user.customerCard = QStringLiteral("CC7");
    user.acceptNewsletter = true;
    TQORUserAddress& billing = user.Billing();
    billing.salutation = QStringLiteral("Frau");
    billing.firstName = QStringLiteral("Anna");
    billing.lastName = QStringLiteral("Müller");
    billing.street = QStringLiteral("Hauptstraße 5");
    billing.zip = QStringLiteral("12345");
    billing.city = QStringLiteral("Musterstadt");
    billing.country = QStringLiteral("Deutschland");
    billing.countryIsoCode = QStringLiteral("DE");
    return user;
}

TEST(ZodeRequestTest, SessionRequestHasTheExactEnvelope)
{
    const TXTCIRequest request = ZodeRequests::Session(
        kDtd, QStringLiteral("1001"), QStringLiteral("Pavlora"), QStringLiteral("0.1.0"), 7, QStringLiteral("2.0"));
    EXPECT_EQ(request.Xml(),
        QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<!DOCTYPE session_request SYSTEM \"zode.example.org/dtd/session_request.dtd\">\n"
                   "<session_request>\n"
                   "  <keyacc_id>1001</keyacc_id>\n"
                   "  <client_name>Pavlora</client_name>\n"
                   "  <client_version>0.1.0</client_version>\n"
                   "  <client_id>7</client_id>\n"
                   "  <server_protocol>2.0</server_protocol>\n"
                   "</session_request>\n"));
}

TEST(ZodeRequestTest, UserChangeOmitsEmptyFieldsButAlwaysSendsTheNewsletterFlag)
{
    TQORUser user = SampleUser();
    user.acceptNewsletter = false;
    const TXTCIRequest request = ZodeRequests::UserChange(kDtd, kOcsid, user);
    EXPECT_EQ(request.Xml(),
        QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<!DOCTYPE userchange_request SYSTEM \"zode.example.org/dtd/userchange_request.dtd\">\n"
                   "<userchange_request>\n"
                   "  <ocsid>S1</ocsid>\n"
                   "  <email>anna@example.org</email>\n"
                   "  <pwd>geheim</pwd>\n"
                   "  <sec_question>Haustier?</sec_question>\n"
                   "  <sec_answer>Bello</sec_answer>\n"
                   "  <salutation>Frau</salutation>\n"
                   "  <firstname>Anna</firstname>\n"
                   "  <lastname>Müller</lastname>\n"
                   "  <street>Hauptstraße 5</street>\n"
                   "  <zip>12345</zip>\n"
                   "  <city>Musterstadt</city>\n"
                   "  <country>Deutschland</country>\n"
                   "  <iso_country>DE</iso_country>\n"
                   "  <customer_card>CC7</customer_card>\n"
                   "  <accept_news_letter>no</accept_news_letter>\n"
                   "</userchange_request>\n"));
}

TEST(ZodeRequestTest, UserAddSendsAllTwentyThreeElementsInOrder)
{
    const TXTCIRequest request = ZodeRequests::UserAdd(kDtd, kOcsid, SampleUser());
    QStringList names;
    for (const pugi::xml_node& child : request.Root().children())
        names << QString::fromUtf8(child.name());
    EXPECT_EQ(names.join(QLatin1Char(' ')),
        QStringLiteral("ocsid email pwd sec_question sec_answer salutation title firstname lastname street zip city "
                       "city_part country iso_country phone cellularphone company_name state_province "
                       "customer_card fax imei favorite_loc_id accept_news_letter"));
    EXPECT_EQ(QString::fromUtf8(request.Root().child("accept_news_letter").text().get()), QStringLiteral("yes"));
    EXPECT_TRUE(request.Xml().contains("  <fax />\n")); // an empty value gives an empty element
}

// Requests whose whole text is small enough to pin as one golden line each
// (root element and body, after the two header lines).
struct GoldenCase {
    std::string name;
    std::function<TXTCIRequest()> build;
    QByteArray body;
};

class ZodeRequestGoldenTest : public ::testing::TestWithParam<GoldenCase> { };

TEST_P(ZodeRequestGoldenTest, MatchesTheGoldenText)
{
    const QByteArray xml = GetParam().build().Xml();
    const QList<QByteArray> lines = xml.split('\n');
    ASSERT_GE(lines.size(), 3);
    QByteArray body = xml.mid(lines[0].size() + lines[1].size() + 2);
    EXPECT_EQ(body, GetParam().body);
    EXPECT_TRUE(lines[1].contains("SYSTEM \"zode.example.org/dtd/")) << lines[1].constData();
}

INSTANTIATE_TEST_SUITE_P(Messages, ZodeRequestGoldenTest,
    ::testing::Values(
        GoldenCase{"Discovery",
            [] {
                return ZodeRequests::Discovery(
                    kDtd, QStringLiteral("Pavlora"), QStringLiteral("0.1.0"), QStringLiteral("2.0"));
            },
            "<zode2_request>\n  <client_name>Pavlora</client_name>\n  <client_version>0.1.0</client_version>\n"
            "  <server_protocol>2.0</server_protocol>\n</zode2_request>\n"},
        GoldenCase{"EndSessionAbort", [] { return ZodeRequests::EndSession(kDtd, kOcsid, false); },
            "<endsession_request mode=\"abort\">\n  <ocsid>S1</ocsid>\n</endsession_request>\n"},
        GoldenCase{"Login",
            [] { return ZodeRequests::Login(kDtd, kOcsid, QStringLiteral("a@b.de"), QStringLiteral("pw")); },
            "<login_request>\n  <ocsid>S1</ocsid>\n  <login>a@b.de</login>\n  <pwd>pw</pwd>\n</login_request>\n"},
        GoldenCase{"UserInfo", [] { return ZodeRequests::UserInfo(kDtd, kOcsid); },
            "<userinfo_request ordertxt=\"yes\">\n  <ocsid>S1</ocsid>\n</userinfo_request>\n"},
        GoldenCase{"AddressInfo", [] { return ZodeRequests::ShippingAddressInfo(kDtd, kOcsid); },
            "<addressinfo_request type=\"shipping\">\n  <ocsid>S1</ocsid>\n</addressinfo_request>\n"},
        GoldenCase{"ArticleList", [] { return ZodeRequests::ArticleList(kDtd, kOcsid); },
            "<articlelist_request ordertxt=\"yes\">\n  <ocsid>S1</ocsid>\n</articlelist_request>\n"},
        GoldenCase{"TransferList", [] { return ZodeRequests::TransferList(kDtd, kOcsid); },
            "<transferlist_request ordertxt=\"yes\">\n  <ocsid>S1</ocsid>\n</transferlist_request>\n"},
        GoldenCase{"CountryList", [] { return ZodeRequests::CountryList(kDtd, kOcsid); },
            "<countrylist_request>\n  <ocsid>S1</ocsid>\n</countrylist_request>\n"},
        GoldenCase{"LocationListZipWins",
            [] { return ZodeRequests::LocationList(kDtd, kOcsid, QStringLiteral("12345"), QStringLiteral("Berlin")); },
            "<locationlist_request>\n  <ocsid>S1</ocsid>\n  <zip>12345</zip>\n</locationlist_request>\n"},
        GoldenCase{"LocationListByCity",
            [] { return ZodeRequests::LocationList(kDtd, kOcsid, QString(), QStringLiteral("Berlin")); },
            "<locationlist_request>\n  <ocsid>S1</ocsid>\n  <city>Berlin</city>\n</locationlist_request>\n"},
        GoldenCase{"MailOrderLocation", [] { return ZodeRequests::MailOrderLocation(kDtd, kOcsid); },
            "<mailorderlocation_request>\n  <ocsid>S1</ocsid>\n</mailorderlocation_request>\n"},
        GoldenCase{"PaymentInfo", [] { return ZodeRequests::PaymentInfo(kDtd, kOcsid); },
            "<paymentinfo_request>\n  <ocsid>S1</ocsid>\n</paymentinfo_request>\n"},
        GoldenCase{"CreditCards", [] { return ZodeRequests::CreditCards(kDtd, kOcsid); },
            "<creditcards_request>\n  <ocsid>S1</ocsid>\n</creditcards_request>\n"},
        GoldenCase{"CouponCheck", [] { return ZodeRequests::CouponCheck(kDtd, kOcsid, QStringLiteral("X9")); },
            "<couponcheck_request>\n  <ocsid>S1</ocsid>\n  <couponid>X9</couponid>\n</couponcheck_request>\n"},
        GoldenCase{"OrderDeclaration", [] { return ZodeRequests::OrderDeclaration(kDtd, kOcsid); },
            "<orderdeclaration_request>\n  <ocsid>S1</ocsid>\n</orderdeclaration_request>\n"},
        GoldenCase{"CDOrderDeclaration", [] { return ZodeRequests::CDOrderDeclaration(kDtd, kOcsid); },
            "<cdorderdeclaration_request ordertxt=\"yes\">\n  <ocsid>S1</ocsid>\n</cdorderdeclaration_request>\n"},
        GoldenCase{"UploadControl", [] { return ZodeRequests::UploadControl(kDtd, kOcsid); },
            "<uploadctrl_request action=\"start\">\n  <ocsid>S1</ocsid>\n</uploadctrl_request>\n"},
        GoldenCase{"OrderFinish", [] { return ZodeRequests::OrderFinish(kDtd, kOcsid); },
            "<orderfinish_request mode=\"normal\">\n  <ocsid>S1</ocsid>\n</orderfinish_request>\n"},
        GoldenCase{"SecurityQuestion",
            [] { return ZodeRequests::SecurityQuestion(kDtd, kOcsid, QStringLiteral("a@b.de")); },
            "<secquestion_request>\n  <ocsid>S1</ocsid>\n  <login>a@b.de</login>\n</secquestion_request>\n"},
        GoldenCase{"SecurityAnswer",
            [] { return ZodeRequests::SecurityAnswer(kDtd, kOcsid, QStringLiteral("a@b.de"), QStringLiteral("<x&>")); },
            "<secanswer_request>\n  <ocsid>S1</ocsid>\n  <login>a@b.de</login>\n"
            "  <sec_answer>&lt;x&amp;&gt;</sec_answer>\n</secanswer_request>\n"}),
    test::CaseName());

// ---- Error head ----

struct CodeCase {
    std::string name;
    QByteArray head;
    std::int32_t code;
};

class ZodeErrorHeadTest : public ::testing::TestWithParam<CodeCase> { };

TEST_P(ZodeErrorHeadTest, MapsTheServerCode)
{
    const auto response = TXTCIResponse::FromBytes(
        "<login_response><head>" + GetParam().head + "<errortext>t</errortext></head><content/></login_response>");
    const TQORError error = response->ParseError();
    EXPECT_EQ(error.code, GetParam().code);
    EXPECT_EQ(error.detail, QStringLiteral("t"));
    EXPECT_EQ(error.context, QStringLiteral("ZODE.TXTCIResponse"));
}

INSTANTIATE_TEST_SUITE_P(Codes, ZodeErrorHeadTest,
    ::testing::Values(CodeCase{"Ok", "<errorcode>0</errorcode>", 0},
        CodeCase{"OutdatedClient", "<errorcode>1</errorcode>", 116},
        CodeCase{"LoginFailed", "<errorcode>2</errorcode>", 103}, CodeCase{"Generic", "<errorcode>3</errorcode>", 1},
        CodeCase{"LoginNotice", "<errorcode>49</errorcode>", 119},
        CodeCase{"NoFileLeft", "<errorcode>53</errorcode>", 102},
        CodeCase{"UserExists", "<errorcode>68</errorcode>", 104},
        CodeCase{"CouponUnknown71", "<errorcode>71</errorcode>", 109},
        CodeCase{"NoCards", "<errorcode>617</errorcode>", 131},
        CodeCase{"SingleSignOn", "<errorcode>1008</errorcode>", 100},
        CodeCase{"Unknown", "<errorcode>999</errorcode>", 118}, CodeCase{"Missing", "", 118},
        CodeCase{"Empty", "<errorcode></errorcode>", 118}),
    test::CaseName());

TEST(ZodeResponseTest, MissingErrorCodeShowsTheCommunicationTextWith2099)
{
    const auto response = TXTCIResponse::FromBytes("<r><head/><content/></r>");
    EXPECT_EQ(response->ParseError().Message(),
        QStringLiteral("Kommunikationsproblem mit dem Server (Code 2099). Bitte versuchen Sie es später noch einmal."));
    EXPECT_THROW(response->CheckError(), EQORException);
}

TEST(ZodeResponseTest, ABodyThatIsNotXmlIsACommunicationError)
{
    try {
        TXTCIResponse::FromBytes("<html><body>Bad gateway");
        FAIL() << "no error";
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().code, 40);
    }
}

TEST(ZodeProtocolLogTest, SecretsAreMasked)
{
    const QByteArray text = "<login_request>\n  <ocsid>S</ocsid>\n  <login>a@b.de</login>\n  <pwd>geheim</pwd>\n"
                            "  <sec_answer>Bello</sec_answer>\n  <cc_info>\n    <cc_number>4111</cc_number>\n"
                            "    <cc_validation_code>123</cc_validation_code>\n  </cc_info>\n"
                            "  <debit_account_number>99</debit_account_number>\n</login_request>";
    const QByteArray masked = MaskProtocolText(text);
    for (const char* secret : {"geheim", "Bello", "4111", "123", ">99<"})
        EXPECT_FALSE(masked.contains(secret)) << secret;
    EXPECT_TRUE(masked.contains("<pwd>***</pwd>"));
    EXPECT_TRUE(masked.contains("<login>a@b.de</login>"));
}

// ---- Configuration ----

pugi::xml_document Parse(const QByteArray& text)
{
    pugi::xml_document document;
    EXPECT_TRUE(document.load_buffer(text.constData(), static_cast<std::size_t>(text.size())));
    return document;
}

TEST(ZodeConfigTest, ReadsTheZodeConfigurationWithItsDefaults)
{
    const QString longUrl = QStringLiteral("h.example.org/") + QString(286, QLatin1Char('a'));
    const pugi::xml_document document = Parse("<root><protocol_config type=\"other\"/>"
                                              "<Protocol_Config type=\"ZODE\" version=\"2.0\" client_id=\"9\">"
                                              "<servers><server controller_url=\""
        + longUrl.toUtf8()
        + "\" dtd_url=\"h.example.org/dtd\"/></servers>"
          "<keyaccounts><KA id=\"A\" groupids=\"Prints|Books\" maxorderitems=\"50\"/>"
          "<ka id=\"B\" groupids=\"Teaser\" maxorderitems=\"10\"/></keyaccounts>"
          "</Protocol_Config></root>");
    const TXTCIProtocolConfig config(document.document_element(), QStringLiteral("P"), QStringLiteral("1"));
    EXPECT_TRUE(config.UseSsl());
    EXPECT_EQ(config.ClientId(), 9);
    EXPECT_EQ(config.ServerProtocol(), QStringLiteral("2.0"));
    EXPECT_EQ(config.MasterKeyAccountId(), -1);
    ASSERT_EQ(config.Servers().size(), 1);
    EXPECT_EQ(config.Servers().front().controllerUrl, longUrl.left(255));
    EXPECT_EQ(config.Servers().front().dtdUrl, QStringLiteral("h.example.org/dtd/"));
    EXPECT_EQ(config.CurrentKeyAccount().id, QStringLiteral("A"));
    EXPECT_EQ(config.KeyAccountIdForGroup(QStringLiteral("books")), QStringLiteral("A"));
    EXPECT_EQ(config.KeyAccountIdForGroup(QStringLiteral("teaser")), QStringLiteral("B"));
    EXPECT_EQ(config.KeyAccountIdForGroup(QStringLiteral("Calendars")), QString());
}

TEST(ZodeConfigTest, ANonNumericMaxOrderItemsFailsTheConfiguration)
{
    const pugi::xml_document document
        = Parse("<root><protocol_config type=\"zode\"><keyaccounts><ka id=\"A\" maxorderitems=\"x\"/>"
                "</keyaccounts></protocol_config></root>");
    EXPECT_THROW(TXTCIProtocolConfig(document.document_element(), QString(), QString()), EQORException);
}

TEST(ZodeConfigTest, DiscoveryHostsAreLimitedToTheConfiguredDomainsAndTheAllowedList)
{
    const pugi::xml_document document = Parse("<root><protocol_config type=\"zode\"><servers>"
                                              "<server controller_url=\"zode.photo.example/ctl\" dtd_url=\"x\"/>"
                                              "<server controller_url=\"10.1.2.3:8080/ctl\" dtd_url=\"x\"/>"
                                              "</servers><keyaccounts/></protocol_config></root>");
    TINA ina;
    TXTCI protocol(ina, {QStringLiteral("partner.example, cdn.other.example ")});
    protocol.Initialize(document);
    EXPECT_TRUE(protocol.IsAllowedHost(QStringLiteral("zode.photo.example")));
    EXPECT_TRUE(protocol.IsAllowedHost(QStringLiteral("order2.photo.example")));
    EXPECT_TRUE(protocol.IsAllowedHost(QStringLiteral("10.1.2.3")));
    EXPECT_TRUE(protocol.IsAllowedHost(QStringLiteral("partner.example")));
    EXPECT_TRUE(protocol.IsAllowedHost(QStringLiteral("a.cdn.other.example")));
    EXPECT_FALSE(protocol.IsAllowedHost(QStringLiteral("evilphoto.example")));
    EXPECT_FALSE(protocol.IsAllowedHost(QStringLiteral("10.1.2.4")));
    EXPECT_FALSE(protocol.IsAllowedHost(QStringLiteral("photo.example.evil.org")));
    EXPECT_EQ(HostOfUrl(QStringLiteral("zode.photo.example@evil.org/ctl")), QString()); // a user part is refused
    EXPECT_EQ(HostOfUrl(QStringLiteral("Zode.Photo.Example:443/x")), QStringLiteral("zode.photo.example"));
}

// ---- Records ----

struct StreetCase {
    std::string name;
    QString text;
    QString street;
    QString number;
};

class StreetSplitTest : public ::testing::TestWithParam<StreetCase> { };

TEST_P(StreetSplitTest, SplitsAtTheLastBlankWhenThereIsADigit)
{
    EXPECT_EQ(StreetPart(GetParam().text), GetParam().street);
    EXPECT_EQ(HouseNumberPart(GetParam().text), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Records, StreetSplitTest,
    ::testing::Values(StreetCase{"NameAndNumber", QStringLiteral("Lange Straße 12a"), QStringLiteral("Lange Straße"),
                          QStringLiteral("12a")},
        StreetCase{"TwoWordsNoDigit", QStringLiteral("Am Markt"), QStringLiteral("Am Markt"), QString()},
        StreetCase{"SingleWord", QStringLiteral("Marktplatz"), QStringLiteral("Marktplatz"), QString()},
        StreetCase{"TrailingBlanks", QStringLiteral("Weg 3  "), QStringLiteral("Weg"), QStringLiteral("3")},
        StreetCase{"DigitWithoutBlank", QStringLiteral("Weg3"), QStringLiteral("Weg3"), QString()}),
    test::CaseName());

TEST(PaymentTypeTest, TextFormsMapBothWays)
{
    const std::pair<TQORPaymentType, const char*> table[]
        = {{TQORPaymentType::ptCreditCard, "1"}, {TQORPaymentType::ptDirectDebit, "2"},
            {TQORPaymentType::ptInvoice, "3"}, {TQORPaymentType::ptPaymentAtPickup, "0"}};
    for (const auto& [type, text] : table) {
        EXPECT_EQ(PaymentTypeText(type), QLatin1String(text));
        TQORPaymentType read = TQORPaymentType::ptInvoice;
        EXPECT_TRUE(PaymentTypeFromText(QLatin1String(text), read));
        EXPECT_EQ(read, type);
    }
    TQORPaymentType unused{};
    EXPECT_FALSE(PaymentTypeFromText(QStringLiteral("4"), unused));
    EXPECT_EQ(
        AllowedDeliveryTypes(TQORPaymentType::ptPaymentAtPickup), TDeliveryTypeList{TDeliveryType::dtPickupAtStore});
    EXPECT_EQ(AllowedDeliveryTypes(TQORPaymentType::ptInvoice), TDeliveryTypeList{TDeliveryType::dtPostalDelivery});
    EXPECT_EQ(ServerDeliveryType(TDeliveryType::dtPostalDelivery), 1);
    EXPECT_EQ(ServerDeliveryType(TDeliveryType::dtPickupAtStore), 0);
    EXPECT_EQ(ServerDeliveryType(TDeliveryType::dtUnknown), -1);
}

TEST(CDOrderAnswerTest, DecodesTheOrderFileAndRefusesAnEmptyOne)
{
    const auto answer = TXTCIResponse::FromBytes("<r><head><errorcode>0</errorcode></head><content>"
                                                 "<ordertxt>"
        + QByteArray("[MAIN]\r\nORDERID=1\r\n").toBase64()
        + "</ordertxt><pay_no>P1</pay_no><ord_id>O1</ord_id></content></r>");
    const TXTCICDOrderAnswer read = TXTCI::ReadCDOrderAnswer(*answer);
    EXPECT_EQ(read.orderFileLines, (QStringList{QStringLiteral("[MAIN]"), QStringLiteral("ORDERID=1")}));
    EXPECT_EQ(read.paymentNumber, QStringLiteral("P1"));
    EXPECT_EQ(read.orderNumber, QStringLiteral("O1"));

    const auto empty = TXTCIResponse::FromBytes("<r><head><errorcode>0</errorcode></head><content/></r>");
    try {
        TXTCI::ReadCDOrderAnswer(*empty);
        FAIL() << "no error";
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().code, 49);
        EXPECT_EQ(error.Error().detail, QStringLiteral("no OrderTXT"));
    }
}

// ---- Resume file ----

TQOROrderResume SampleResume(const QString& folder)
{
    TQOROrderResume resume;
    resume.orderFolder = folder;
    resume.sessionId = QStringLiteral("S42");
    resume.totalFiles = 12;
    resume.filesDone = 5;
    resume.orderDate = QStringLiteral("24.12.23");
    resume.orderTotal = 19.5F;
    resume.itemCount = 30;
    resume.paymentType = TQORPaymentType::ptPaymentAtPickup;
    return resume;
}

TEST(OrderResumeTest, RoundTripsEncryptedAndPlain)
{
    for (const bool encrypted : {true, false}) {
        TDebugSwitches switches = DebugSwitches();
        switches.disableEncrypting = !encrypted;
        SetDebugSwitches(switches);
        const QString folder = test::MakeFolder(encrypted ? QStringLiteral("enc") : QStringLiteral("plain"));
        SampleResume(folder).Save();
        const QByteArray stored = test::ReadFile(folder + QStringLiteral("/resume.dat"));
        EXPECT_EQ(stored.startsWith("KTBr"), encrypted);
        const TQOROrderResume read = TQOROrderResume::FromFolder(folder);
        EXPECT_EQ(read.orderFolder, folder + QLatin1Char('/'));
        EXPECT_EQ(read.sessionId, QStringLiteral("S42"));
        EXPECT_EQ(read.totalFiles, 12);
        EXPECT_EQ(read.filesDone, 5);
        EXPECT_EQ(read.orderDate, QStringLiteral("24.12.23"));
        EXPECT_FLOAT_EQ(read.orderTotal, 19.5F);
        EXPECT_EQ(read.itemCount, 30);
        EXPECT_EQ(read.paymentType, TQORPaymentType::ptPaymentAtPickup);
        EXPECT_FALSE(read.kept);
    }
}

TEST(OrderResumeTest, PlainFileHasTheElementOrderAndTheUsersDecimalSeparator)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TDebugSwitches switches = DebugSwitches();
    switches.disableEncrypting = true;
    SetDebugSwitches(switches);
    const QString folder = test::MakeFolder(QStringLiteral("resume"));
    TQOROrderResume resume = SampleResume(folder);
    resume.orderTotal = 1234.5F;
    resume.Save();
    EXPECT_EQ(test::ReadFile(folder + QStringLiteral("/resume.dat")),
        QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<order_resume version=\"1.0\">\n"
                   "  <session id=\"S42\" />\n"
                   "  <files total_qnty=\"12\" done_qnty=\"5\" last_name=\"\" />\n"
                   "  <order date=\"24.12.23\" total_price=\"1234,5\" item_qnty=\"30\" payment_type=\"0\" />\n"
                   "</order_resume>\n"));
    EXPECT_FLOAT_EQ(TQOROrderResume::FromFolder(folder).orderTotal, 1234.5F);
    QLocale::setDefault(QLocale::c());
}

TEST(OrderResumeTest, AnotherOrNoVersionIsIncompatible)
{
    const QString folder = test::MakeFolder(QStringLiteral("old"));
    for (const QByteArray& root : {QByteArray("<order_resume version=\"1.1\"/>"), QByteArray("<order_resume/>")}) {
        test::WriteFile(folder + QStringLiteral("/resume.dat"), root);
        EXPECT_THROW(TQOROrderResume::FromFolder(folder), EIncompatibleResumeFile) << root.constData();
    }
    test::WriteFile(folder + QStringLiteral("/resume.dat"),
        "<order_resume version=\"1.0\"><order payment_type=\"9\"/></order_resume>");
    try {
        TQOROrderResume::FromFolder(folder);
        FAIL() << "no error";
    } catch (const EPaymentTypeError& error) {
        EXPECT_STREQ(error.what(), "unknown ResumePayment: 9");
    }
}

} // namespace
} // namespace pavlora
