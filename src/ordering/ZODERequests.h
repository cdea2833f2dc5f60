#pragma once

#include "ordering/QORRecords.h"
#include "ordering/XTCIDocuments.h"

#include <QString>

namespace pavlora {

// The request documents of the ZODE protocol, one builder per message, in
// the element order the server expects. `dtd` is the DTD URL of the server
// the request goes to (ending with "/"); `ocsid` the session id.
namespace ZodeRequests {

TXTCIRequest Discovery(
    const QString& dtd, const QString& clientName, const QString& clientVersion, const QString& serverProtocol);
TXTCIRequest Session(const QString& dtd, const QString& keyAccountId, const QString& clientName,
    const QString& clientVersion, int clientId, const QString& serverProtocol);
TXTCIRequest EndSession(const QString& dtd, const QString& ocsid, bool normal);
TXTCIRequest Login(const QString& dtd, const QString& ocsid, const QString& login, const QString& password);
TXTCIRequest UserInfo(const QString& dtd, const QString& ocsid);
TXTCIRequest ShippingAddressInfo(const QString& dtd, const QString& ocsid);
// The 23 user elements, every one.
TXTCIRequest UserAdd(const QString& dtd, const QString& ocsid, const TQORUser& user);
// The user elements that are not empty; "accept_news_letter" always.
TXTCIRequest UserChange(const QString& dtd, const QString& ocsid, const TQORUser& user);
TXTCIRequest ArticleList(const QString& dtd, const QString& ocsid);
TXTCIRequest TransferList(const QString& dtd, const QString& ocsid);
TXTCIRequest CountryList(const QString& dtd, const QString& ocsid);
// "zip" when a zip is given, else "city".
TXTCIRequest LocationList(const QString& dtd, const QString& ocsid, const QString& zip, const QString& city);
TXTCIRequest MailOrderLocation(const QString& dtd, const QString& ocsid);
TXTCIRequest PaymentInfo(const QString& dtd, const QString& ocsid);
TXTCIRequest CreditCards(const QString& dtd, const QString& ocsid);
TXTCIRequest CouponCheck(const QString& dtd, const QString& ocsid, const QString& couponId);
// The envelopes of the two order declarations; the declaration body
// follows "ocsid".
TXTCIRequest OrderDeclaration(const QString& dtd, const QString& ocsid);
TXTCIRequest CDOrderDeclaration(const QString& dtd, const QString& ocsid);
TXTCIRequest UploadControl(const QString& dtd, const QString& ocsid);
TXTCIRequest OrderFinish(const QString& dtd, const QString& ocsid);
TXTCIRequest SecurityQuestion(const QString& dtd, const QString& ocsid, const QString& login);
TXTCIRequest SecurityAnswer(const QString& dtd, const QString& ocsid, const QString& login, const QString& answer);
// A free-form request: `name` with the children and attributes of
// `source`, "ocsid" first (the command line's "zode send").
TXTCIRequest Custom(const QString& dtd, const QString& ocsid, const pugi::xml_node& source);

// The user elements, in their order.
void AddUserElements(TXTCIRequest& request, const TQORUser& user, bool onlyFilled);

} // namespace ZodeRequests
} // namespace pavlora
