// The messages of the ZODE protocol: what each operation of TXTCI sends,
// which session step comes first, and how the answer is read.

#include "ordering/ZODE.h"

#include "ordering/ZODERequests.h"

#include "core/QORException.h"

#include <QRegularExpression>

#include <pugixml.hpp>

namespace pavlora {
namespace {

QString Context(const char* operation)
{
    return QStringLiteral("ZODE.TXTCI.") + QLatin1String(operation);
}

bool IsTrueText(const QString& text)
{
    const QString lower = text.trimmed().toLower();
    return lower == QLatin1String("true") || lower == QLatin1String("yes") || lower == QLatin1String("1");
}

// Element children of `node` in document order.
QList<pugi::xml_node> Elements(const pugi::xml_node& node)
{
    QList<pugi::xml_node> elements;
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_element)
            elements.append(child);
    }
    return elements;
}

QString AttributeText(const pugi::xml_node& node, const char* name)
{
    return QString::fromUtf8(node.attribute(name).value());
}

} // namespace

void TXTCI::UserLogin(const QString& login, const QString& password)
{
    try {
        RenewSession(true);
        const TXTCIRequest request = ZodeRequests::Login(Dtd(), SessionId(), login, password);
        const TQORError error = SendZODERequest(Config().UseSsl(), request, true)->ParseError();
        // 119 (server errorcode "49") logs in as well.
        if (error.IsError() && error.code != 119)
            throw EQORException(error);
    } catch (...) {
        throw EQORException::WrapCurrent(Context("UserLogin"));
    }
}

void TXTCI::UserRegistration(const TQORUser& user)
{
    try {
        RenewSession(true);
        const TXTCIRequest request = ZodeRequests::UserAdd(Dtd(), SessionId(), user);
        SendZODERequest(Config().UseSsl(), request, true)->CheckError();
    } catch (...) {
        throw EQORException::WrapCurrent(Context("UserRegistration"));
    }
}

void TXTCI::GetUserData(TQORUser& user)
{
    try {
        const TXTCIRequest request = ZodeRequests::UserInfo(Dtd(), SessionId());
        const std::unique_ptr<TXTCIResponse> response = SendZODERequest(Config().UseSsl(), request, true);
        response->CheckError();
        const pugi::xml_node content = response->Content();
        const auto text = [&](const char* name) { return TXTCIResponse::Text(content, name); };
        user.userId = text("user_id");
        user.email = text("email");
        user.securityQuestion = text("sec_question");
        user.securityAnswer = text("sec_answer");
        TQORUserAddress& billing = user.Billing();
        billing.email = user.email;
        billing.salutation = text("salutation");
        billing.firstName = text("firstname");
        billing.lastName = text("lastname");
        billing.company = text("company_name");
        billing.SetStreet(text("street"));
        billing.zip = text("zip");
        billing.city = text("city");
        billing.country = text("country");
        billing.countryIsoCode = text("iso_country");
        billing.phone = text("phone");
        billing.cellPhone = text("cellularphone");
        billing.fax = text("fax");
        billing.stateProvince = text("state_province");
        user.customerCard = text("customer_card");
        user.imei = text("imei");
        user.favoriteStoreId = text("favorite_loc_id");
        user.acceptNewsletter = IsTrueText(text("accept_news_letter"));
    } catch (...) {
        throw EQORException::WrapCurrent(Context("GetUserData.UserInfoRequest"));
    }
    try {
        user.EnsureTwoAddresses();
        const TXTCIRequest request = ZodeRequests::ShippingAddressInfo(Dtd(), SessionId());
        const std::unique_ptr<TXTCIResponse> response = SendZODERequest(Config().UseSsl(), request, true);
        response->CheckError();
        const pugi::xml_node data = response->Content().child("addresses").child("address").child("address_data");
        TQORUserAddress shipping;
        shipping.addressKind = 1;
        const auto text = [&](const char* name) { return AttributeText(data, name); };
        shipping.salutation = text("salutation");
        shipping.firstName = text("firstname");
        shipping.lastName = text("lastname");
        shipping.company = text("company_name");
        shipping.SetStreet(text("street"));
        shipping.zip = text("zip");
        shipping.city = text("city");
        shipping.country = text("country");
        shipping.countryIsoCode = text("iso_country");
        shipping.phone = text("phone");
        shipping.cellPhone = text("cellularphone");
        shipping.fax = text("fax");
        shipping.stateProvince = text("state_province");
        user.addresses[1] = shipping;
    } catch (...) {
        throw EQORException::WrapCurrent(Context("GetUserData.AddressInfoRequest"));
    }
}

void TXTCI::UpdateUserData(const TQORUser& user)
{
    // The server's refusal reaches the caller: a change the customer made
    // must not look saved when it was not.
    try {
        const TXTCIRequest request = ZodeRequests::UserChange(Dtd(), SessionId(), user);
        SendZODERequest(Config().UseSsl(), request, true)->CheckError();
    } catch (...) {
        throw EQORException::WrapCurrent(Context("UpdateUserData"));
    }
}

void TXTCI::GetCountryList(TQORCountryList& list)
{
    try {
        CreateSession();
        const TXTCIRequest request = ZodeRequests::CountryList(Dtd(), SessionId());
        const std::unique_ptr<TXTCIResponse> response = SendZODERequest(Config().UseSsl(), request, true);
        response->CheckError();
        TQORCountryList countries;
        for (const pugi::xml_node& entry : Elements(response->Content()))
            countries.append(TQORCountry{TXTCIResponse::Text(entry, "name"), TXTCIResponse::Text(entry, "iso_code")});
        list = countries;
    } catch (...) {
        throw EQORException::WrapCurrent(Context("GetCountryList"));
    }
}

void TXTCI::GetPickupStoreList(TQORPickupStoreList& list, const QString& zip, const QString& city)
{
    try {
        if (zip.isEmpty() && city.isEmpty())
            throw EQORException(
                1, QString(), QStringLiteral("\"Zip\" or \"Country\" Empty"), Context("GetPickupStoreList"));
        CreateSession();
        const TXTCIRequest request = ZodeRequests::LocationList(Dtd(), SessionId(), zip, city);
        const std::unique_ptr<TXTCIResponse> response = SendZODERequest(Config().UseSsl(), request, true);
        response->CheckError();
        TQORPickupStoreList stores;
        for (const pugi::xml_node& entry : Elements(response->Content())) {
            TQORPickupStore store;
            store.storeId = TXTCIResponse::Text(entry, "loc_id");
            store.name = TXTCIResponse::Text(entry, "name");
            store.street = TXTCIResponse::Text(entry, "street");
            store.zip = TXTCIResponse::Text(entry, "zip");
            store.city = TXTCIResponse::Text(entry, "city");
            store.phone = TXTCIResponse::Text(entry, "phone");
            store.fax = TXTCIResponse::Text(entry, "fax");
            stores.append(store);
        }
        list = stores;
    } catch (...) {
        RecordCurrentException(Context("GetPickupStoreList"));
    }
}

void TXTCI::GetPaymentInfoList(TQORPaymentInfoList& list)
{
    try {
        CreateSession();
        const TXTCIRequest request = ZodeRequests::PaymentInfo(Dtd(), SessionId());
        const std::unique_ptr<TXTCIResponse> response = SendZODERequest(Config().UseSsl(), request, true);
        response->CheckError();
        TQORPaymentInfoList payments;
        for (const pugi::xml_node& entry : Elements(response->Content().child("paymentlist"))) {
            TQORPaymentInfo payment;
            payment.id = TXTCIResponse::Text(entry, "id");
            payment.name = TXTCIResponse::Text(entry, "name");
            if (!PaymentTypeFromText(payment.id, payment.paymentType))
                throw EPaymentTypeError("GetCommonPaymentType(): unknown ZodePaymentType: " + payment.id.toStdString());
            payment.allowedDeliveryTypes = AllowedDeliveryTypes(payment.paymentType);
            payments.append(payment);
        }
        list = payments;
    } catch (...) {
        RecordCurrentException(Context("GetPaymentInfoList"));
    }
}

void TXTCI::GetCreditCardTypeList(TQORCreditCardTypeList& list)
{
    try {
        CreateSession();
        const TXTCIRequest request = ZodeRequests::CreditCards(Dtd(), SessionId());
        const std::unique_ptr<TXTCIResponse> response = SendZODERequest(Config().UseSsl(), request, true);
        if (response->ParseError().code == 131) {
            list.clear(); // the service offers no card types
            return;
        }
        response->CheckError();
        TQORCreditCardTypeList cards;
        for (const pugi::xml_node& entry : Elements(response->Content()))
            cards.append(
                TQORCreditCardType{TXTCIResponse::Text(entry, "display_string"), TXTCIResponse::Text(entry, "brand")});
        list = cards;
    } catch (...) {
        RecordCurrentException(Context("GetCreditCardTypeList"));
    }
}

void TXTCI::CheckCoupon(TQORCoupon& coupon)
{
    try {
        CreateSession();
        const TXTCIRequest request = ZodeRequests::CouponCheck(Dtd(), SessionId(), coupon.couponNumber);
        const std::unique_ptr<TXTCIResponse> response = SendZODERequest(Config().UseSsl(), request, true);
        response->CheckError();
        QList<TQORCouponEntry> entries;
        for (const pugi::xml_node& entry : Elements(response->Content().child("coupons"))) {
            bool ok = false;
            const int campaign = AttributeText(entry, "campaign_no").trimmed().toInt(&ok);
            const qlonglong cents = AttributeText(entry, "price").trimmed().toLongLong();
            entries.append(TQORCouponEntry{ok ? campaign : 0, CentsToAmount(cents)});
        }
        if (entries.isEmpty())
            throw EQORException(109, QStringLiteral("no article"), QString(), Context("CheckCoupon"));
        coupon.entries = entries;
        coupon.value = static_cast<float>(entries.front().value);
        coupon.couponArticle = couponArticleFactory_ ? couponArticleFactory_(entries) : nullptr;
    } catch (...) {
        throw EQORException::WrapCurrent(Context("CheckCoupon"));
    }
}

void TXTCI::GetUserSecurityQuestion(TQORUser& user)
{
    try {
        CreateSession();
        const TXTCIRequest request = ZodeRequests::SecurityQuestion(Dtd(), SessionId(), user.email);
        const std::unique_ptr<TXTCIResponse> response = SendZODERequest(Config().UseSsl(), request, true);
        response->CheckError();
        user.securityQuestion = response->ContentText("question");
    } catch (...) {
        throw EQORException::WrapCurrent(Context("GetUserSecurityQuestion"));
    }
}

void TXTCI::RequestNewUserPassword(const QString& login, const QString& answer)
{
    try {
        RenewSession(true);
        const TXTCIRequest request = ZodeRequests::SecurityAnswer(Dtd(), SessionId(), login, answer);
        SendZODERequest(Config().UseSsl(), request, true)->CheckError();
    } catch (...) {
        throw EQORException::WrapCurrent(Context("RequestNewUserPassword"));
    }
}

std::optional<TXTCIUploadSlot> TXTCI::RequestUploadSlot(const QString& ocsid)
{
    try {
        const TXTCIRequest request = ZodeRequests::UploadControl(Dtd(), ocsid);
        const bool secure = Config().UseSsl();
        const std::unique_ptr<TXTCIResponse> response = SendZODERequest(secure, request, false);
        if (response->ParseError().code == 102)
            return std::nullopt; // no file left
        response->CheckError();
        const pugi::xml_node upload = response->Content().child("upload");
        TXTCIUploadSlot slot;
        slot.uploadId = TXTCIResponse::Text(upload, "uplid");
        slot.uploadUrl = TXTCIResponse::Text(upload, "uplurl").trimmed();
        slot.fileName = TXTCIResponse::Text(upload, "filename");
        slot.submittedBytes = TXTCIResponse::Number(upload, "submitted_bytes");
        slot.totalBytes = TXTCIResponse::Number(upload, "total_bytes");

        // The server names a file of this order, never a path.
        static const QRegularExpression bareName(QStringLiteral("^[^/\\\\:\\x00-\\x1f]+$"));
        if (!bareName.match(slot.fileName).hasMatch() || slot.fileName == QLatin1String(".")
            || slot.fileName == QLatin1String(".."))
            throw EQORException(1, QStringLiteral("invalid file name"), slot.fileName, Context("Upload"));
        // Pictures sent over TLS are never sent in the clear.
        const QString lower = slot.uploadUrl.toLower();
        if (!lower.contains(QLatin1String("://")))
            slot.uploadUrl = (secure ? QStringLiteral("https://") : QStringLiteral("http://")) + slot.uploadUrl;
        else if (!lower.startsWith(QLatin1String("https://"))
            && (secure || !lower.startsWith(QLatin1String("http://"))))
            throw EQORException(40, QStringLiteral("upload URL refused"), slot.uploadUrl, Context("Upload"));
        return slot;
    } catch (...) {
        throw EQORException::WrapCurrent(Context("Upload"));
    }
}

void TXTCI::OrderFinish(TQOROrder& order)
{
    try {
        const TXTCIRequest request = ZodeRequests::OrderFinish(Dtd(), SessionId());
        const std::unique_ptr<TXTCIResponse> response = SendZODERequest(Config().UseSsl(), request, true);
        response->CheckError();
        order.orderNumber = response->ContentText("ord_id");
    } catch (...) {
        throw EQORException::WrapCurrent(Context("OrderFinish"));
    }
}

TXTCICDOrderAnswer TXTCI::ReadCDOrderAnswer(const TXTCIResponse& response)
{
    const QString encoded = response.ContentText("ordertxt").trimmed();
    if (encoded.isEmpty())
        throw EQORException(49, QString(), QStringLiteral("no OrderTXT"), Context("CreateCDOrderOnline"));
    TXTCICDOrderAnswer answer;
    const QString text = QString::fromUtf8(QByteArray::fromBase64(encoded.toLatin1()));
    answer.orderFileLines = text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    if (!answer.orderFileLines.isEmpty() && answer.orderFileLines.back().isEmpty())
        answer.orderFileLines.removeLast();
    answer.paymentNumber = response.ContentText("pay_no");
    answer.orderNumber = response.ContentText("ord_id");
    return answer;
}

} // namespace pavlora
