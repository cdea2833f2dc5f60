#include "ordering/ZODERequests.h"

namespace pavlora::ZodeRequests {
namespace {

TXTCIRequest WithSession(const char* name, const QString& dtd, const QString& ocsid)
{
    TXTCIRequest request(QLatin1String(name), dtd);
    request.AddElement("ocsid", ocsid);
    return request;
}

} // namespace

TXTCIRequest Discovery(
    const QString& dtd, const QString& clientName, const QString& clientVersion, const QString& serverProtocol)
{
    TXTCIRequest request(QStringLiteral("zode2_request"), dtd);
    request.AddElement("client_name", clientName);
    request.AddElement("client_version", clientVersion);
    request.AddElement("server_protocol", serverProtocol);
    return request;
}

TXTCIRequest Session(const QString& dtd, const QString& keyAccountId, const QString& clientName,
    const QString& clientVersion, int clientId, const QString& serverProtocol)
{
    TXTCIRequest request(QStringLiteral("session_request"), dtd);
    request.AddElement("keyacc_id", keyAccountId);
    request.AddElement("client_name", clientName);
    request.AddElement("client_version", clientVersion);
    request.AddElement("client_id", QString::number(clientId));
    request.AddElement("server_protocol", serverProtocol);
    return request;
}

TXTCIRequest EndSession(const QString& dtd, const QString& ocsid, bool normal)
{
    TXTCIRequest request = WithSession("endsession_request", dtd, ocsid);
    request.SetAttribute("mode", normal ? QStringLiteral("normal") : QStringLiteral("abort"));
    return request;
}

TXTCIRequest Login(const QString& dtd, const QString& ocsid, const QString& login, const QString& password)
{
    TXTCIRequest request = WithSession("login_request", dtd, ocsid);
    request.AddElement("login", login);
    request.AddElement("pwd", password);
    return request;
}

TXTCIRequest UserInfo(const QString& dtd, const QString& ocsid)
{
    TXTCIRequest request = WithSession("userinfo_request", dtd, ocsid);
    request.SetAttribute("ordertxt", QStringLiteral("yes"));
    return request;
}

TXTCIRequest ShippingAddressInfo(const QString& dtd, const QString& ocsid)
{
    TXTCIRequest request = WithSession("addressinfo_request", dtd, ocsid);
    request.SetAttribute("type", QStringLiteral("shipping"));
    return request;
}

void AddUserElements(TXTCIRequest& request, const TQORUser& user, bool onlyFilled)
{
    const TQORUserAddress billing = user.BillingOrEmpty();
    const std::pair<const char*, QString> values[] = {
        {"email", user.email},
        {"pwd", user.password},
        {"sec_question", user.securityQuestion},
        {"sec_answer", user.securityAnswer},
        {"salutation", billing.salutation},
        {"title", billing.title},
        {"firstname", billing.firstName},
        {"lastname", billing.lastName},
        {"street", billing.street},
        {"zip", billing.zip},
        {"city", billing.city},
        {"city_part", billing.cityPart},
        {"country", billing.country},
        {"iso_country", billing.countryIsoCode},
        {"phone", billing.phone},
        {"cellularphone", billing.cellPhone},
        {"company_name", billing.company},
        {"state_province", billing.stateProvince},
        {"customer_card", user.customerCard},
        {"fax", billing.fax},
        {"imei", user.imei},
        {"favorite_loc_id", user.favoriteStoreId},
    };
    for (const auto& [name, value] : values) {
        if (!onlyFilled || !value.isEmpty())
            request.AddElement(name, value);
    }
    request.AddElement("accept_news_letter", user.acceptNewsletter);
}

TXTCIRequest UserAdd(const QString& dtd, const QString& ocsid, const TQORUser& user)
{
    TXTCIRequest request = WithSession("useradd_request", dtd, ocsid);
    AddUserElements(request, user, false);
    return request;
}

TXTCIRequest UserChange(const QString& dtd, const QString& ocsid, const TQORUser& user)
{
    TXTCIRequest request = WithSession("userchange_request", dtd, ocsid);
    AddUserElements(request, user, true);
    return request;
}

TXTCIRequest ArticleList(const QString& dtd, const QString& ocsid)
{
    TXTCIRequest request = WithSession("articlelist_request", dtd, ocsid);
    request.SetAttribute("ordertxt", QStringLiteral("yes"));
    return request;
}

TXTCIRequest TransferList(const QString& dtd, const QString& ocsid)
{
    TXTCIRequest request = WithSession("transferlist_request", dtd, ocsid);
    request.SetAttribute("ordertxt", QStringLiteral("yes"));
    return request;
}

TXTCIRequest CountryList(const QString& dtd, const QString& ocsid)
{
    return WithSession("countrylist_request", dtd, ocsid);
}

TXTCIRequest LocationList(const QString& dtd, const QString& ocsid, const QString& zip, const QString& city)
{
    TXTCIRequest request = WithSession("locationlist_request", dtd, ocsid);
    if (!zip.isEmpty())
        request.AddElement("zip", zip);
    else
        request.AddElement("city", city);
    return request;
}

TXTCIRequest MailOrderLocation(const QString& dtd, const QString& ocsid)
{
    return WithSession("mailorderlocation_request", dtd, ocsid);
}

TXTCIRequest PaymentInfo(const QString& dtd, const QString& ocsid)
{
    return WithSession("paymentinfo_request", dtd, ocsid);
}

TXTCIRequest CreditCards(const QString& dtd, const QString& ocsid)
{
    return WithSession("creditcards_request", dtd, ocsid);
}

TXTCIRequest CouponCheck(const QString& dtd, const QString& ocsid, const QString& couponId)
{
    TXTCIRequest request = WithSession("couponcheck_request", dtd, ocsid);
    request.AddElement("couponid", couponId);
    return request;
}

TXTCIRequest OrderDeclaration(const QString& dtd, const QString& ocsid)
{
    return WithSession("orderdeclaration_request", dtd, ocsid);
}

TXTCIRequest CDOrderDeclaration(const QString& dtd, const QString& ocsid)
{
    TXTCIRequest request(QStringLiteral("cdorderdeclaration_request"), dtd);
    request.SetAttribute("ordertxt", QStringLiteral("yes"));
    request.AddElement("ocsid", ocsid);
    return request;
}

TXTCIRequest UploadControl(const QString& dtd, const QString& ocsid)
{
    TXTCIRequest request = WithSession("uploadctrl_request", dtd, ocsid);
    request.SetAttribute("action", QStringLiteral("start"));
    return request;
}

TXTCIRequest OrderFinish(const QString& dtd, const QString& ocsid)
{
    TXTCIRequest request = WithSession("orderfinish_request", dtd, ocsid);
    request.SetAttribute("mode", QStringLiteral("normal"));
    return request;
}

TXTCIRequest SecurityQuestion(const QString& dtd, const QString& ocsid, const QString& login)
{
    TXTCIRequest request = WithSession("secquestion_request", dtd, ocsid);
    request.AddElement("login", login);
    return request;
}

TXTCIRequest SecurityAnswer(const QString& dtd, const QString& ocsid, const QString& login, const QString& answer)
{
    TXTCIRequest request = WithSession("secanswer_request", dtd, ocsid);
    request.AddElement("login", login);
    request.AddElement("sec_answer", answer);
    return request;
}

TXTCIRequest Custom(const QString& dtd, const QString& ocsid, const pugi::xml_node& source)
{
    TXTCIRequest request(QString::fromUtf8(source.name()), dtd);
    request.AddElement("ocsid", ocsid);
    for (const pugi::xml_attribute& attribute : source.attributes())
        request.SetAttribute(attribute.name(), QString::fromUtf8(attribute.value()));
    for (const pugi::xml_node& child : source.children()) {
        if (child.type() == pugi::node_element && QLatin1String(child.name()) == QLatin1String("ocsid"))
            continue;
        request.Root().append_copy(child);
    }
    return request;
}

} // namespace pavlora::ZodeRequests
