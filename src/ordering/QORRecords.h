#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <stdexcept>

namespace pavlora {

// The records that the order operations exchange with the application: the
// account with its two addresses, the lists the order server offers, the
// payment and shipping data and the order itself. Plain values, copied whole
// between the application object, the dialogs and the worker threads; a
// record is never shared between threads while one of them changes it.

class TXTCIArticle; // a price article of the key account's article list
class TCart; // the customer's cart

enum class TDeliveryType : std::uint8_t {
    dtPostalDelivery = 0,
    dtPickupAtStore = 1,
    dtUnknown = 2,
    dtUndefined = 3,
};
using TDeliveryTypeList = QList<TDeliveryType>;

// The order server's number of a delivery type: postal 1, pick-up 0, any
// other -1.
int ServerDeliveryType(TDeliveryType type);
// The program's delivery type of a server number; an unknown number gives
// dtUnknown.
TDeliveryType DeliveryTypeFromServer(int serverType);

enum class TQORPaymentType : std::uint8_t {
    ptCreditCard = 0,
    ptDirectDebit = 1,
    ptInvoice = 2,
    ptPaymentAtPickup = 3,
};

// The text form of a payment type, shared by the order server's ids and
// the resume file: credit card "1", direct debit "2", invoice "3", payment
// at pick-up "0".
QString PaymentTypeText(TQORPaymentType type);
// The payment type of a text form; false for any other text.
bool PaymentTypeFromText(const QString& text, TQORPaymentType& type);
// The delivery types a payment type allows: pick-up for payment at
// pick-up, postal delivery for every other.
TDeliveryTypeList AllowedDeliveryTypes(TQORPaymentType type);

// The street split of an address that arrives as one text: trailing blanks
// are dropped; when the text holds a blank and a digit, the street part is
// everything before the last blank and the house number everything after
// it; otherwise the street is the whole text and the house number empty.
QString StreetPart(const QString& street);
QString HouseNumberPart(const QString& street);

// Money of the order server: integer cents to an amount in currency units.
inline double CentsToAmount(std::int64_t cents)
{
    return static_cast<double>(cents) / 100.0;
}

struct TQORUserAddress {
    std::uint8_t addressKind = 0; // 0 billing address, 1 shipping address
    QString salutation;
    QString title;
    QString firstName;
    QString lastName;
    QString company;
    QString street; // street and house number in one text
    QString streetPart;
    QString houseNumberPart;
    QString zip;
    QString city;
    QString cityPart;
    QString country;
    QString countryIsoCode;
    QString language;
    QString languageIsoCode;
    QString email;
    QString phone;
    QString cellPhone;
    QString fax;
    QString stateProvince;
    QString residence;
    QString entry;

    // Sets the street and its split parts.
    void SetStreet(const QString& text);

    friend bool operator==(const TQORUserAddress&, const TQORUserAddress&) = default;
};
using TQORUserAddressList = QList<TQORUserAddress>;

struct TQORUser {
    QString userId;
    QString email; // the login name
    QString password; // plain text in memory only
    QString securityQuestion;
    QString securityAnswer;
    bool acceptNewsletter = false;
    bool useShippingAddress = false;
    QString customerCard;
    QString imei;
    QString favoriteStoreId;
    TQORUserAddressList addresses; // 0 billing, 1 shipping
    bool loggedIn = false;
    bool autoLogin = false;
    bool saveAddressLocally = false;

    // The billing address, created when missing.
    TQORUserAddress& Billing();
    // Makes sure the list holds the billing and the shipping address.
    void EnsureTwoAddresses();
    // The billing address or an empty one (for reading).
    TQORUserAddress BillingOrEmpty() const;

    friend bool operator==(const TQORUser&, const TQORUser&) = default;
};

struct TQORCountry {
    QString name;
    QString isoCode;
    friend bool operator==(const TQORCountry&, const TQORCountry&) = default;
};
using TQORCountryList = QList<TQORCountry>;

struct TQORPickupStore {
    QString storeId; // "loc_id"
    QString name;
    QString street;
    QString zip;
    QString city;
    QString phone;
    QString fax;
    QString customerId;
    friend bool operator==(const TQORPickupStore&, const TQORPickupStore&) = default;
};
using TQORPickupStoreList = QList<TQORPickupStore>;

struct TQORPaymentInfo {
    QString id;
    QString name;
    TQORPaymentType paymentType = TQORPaymentType::ptCreditCard;
    TDeliveryTypeList allowedDeliveryTypes;
    friend bool operator==(const TQORPaymentInfo&, const TQORPaymentInfo&) = default;
};
using TQORPaymentInfoList = QList<TQORPaymentInfo>;

struct TQORCreditCardType {
    QString displayText;
    QString brand;
    friend bool operator==(const TQORCreditCardType&, const TQORCreditCardType&) = default;
};
using TQORCreditCardTypeList = QList<TQORCreditCardType>;

// What the customer typed for one order; kept in memory only.
struct TQORCreditCardData {
    QString brand;
    QString holder;
    QString number;
    QString validationCode;
    QString validMonth;
    QString validYear;
};

struct TQORDebitData {
    QString holder;
    QString accountNumber;
    QString bankName;
    QString bankCode;
};

struct TQORShippingCharges {
    std::shared_ptr<TXTCIArticle> shippingArticle;
    TDeliveryType deliveryType = TDeliveryType::dtUndefined;
    float price = 0.0F;
    bool thresholdReached = false;
};
using TQORShippingChargesList = QList<TQORShippingCharges>;

// One price entry of a coupon as the order server checked it.
struct TQORCouponEntry {
    int campaignNo = 0;
    double value = 0.0; // currency units
    friend bool operator==(const TQORCouponEntry&, const TQORCouponEntry&) = default;
};

struct TQORCoupon {
    std::shared_ptr<TXTCIArticle> couponArticle; // absent until checked
    QString couponNumber; // as typed
    float value = 0.0F;
    // The checked entries; the first is the current one.
    QList<TQORCouponEntry> entries;
};

struct TQOROrder {
    bool onlineOrder = true;
    bool jpeg2000 = false;
    bool limitResolution = false;
    TCart* cart = nullptr; // not owned
    TQORShippingChargesList shippingChargesList;
    TQORShippingCharges shippingCharge;
    TDeliveryType selectedDeliveryType = TDeliveryType::dtUndefined;
    TQORCoupon coupon;
    TQORPaymentInfo payment;
    TQORPickupStore pickupStore;
    TQORCreditCardData cardData;
    TQORDebitData debitData;
    TQORUser user;
    QString orderNumber;
    QString customerId;
    QString paymentNumber;
    QDateTime orderDate;
    QString orderFolder;
    float orderTotal = 0.0F;
    int itemCount = 0;
    QString firmId;
    QString dealerNumber;
    QStringList orderFileLines;
    QString softwareId;
    QString printFunLanguage;
};

// A payment type text or value that has no mapping.
class EPaymentTypeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace pavlora
