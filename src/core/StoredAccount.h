#pragma once

#include <QList>
#include <QString>

#include <array>

namespace pavlora {

// What the user settings keep of the customer's account: the values the
// account save writes and the account load gives back. The ordering code
// maps its user record to and from it.

// One address: the 22 stored values "Salutation" ... "Entry". Its kind
// (billing or shipping) is not stored: it is the position in the account.
struct TStoredAddress {
    QString salutation;
    QString title;
    QString firstName;
    QString lastName;
    QString company;
    QString street;
    QString streetPart; // "Street_StreetPart"
    QString houseNoPart; // "Street_HouseNoPart"
    QString zip;
    QString city;
    QString cityPart;
    QString stateProvince;
    QString country;
    QString countryIsoCode;
    QString language;
    QString languageIsoCode;
    QString email;
    QString phoneNumber;
    QString cellPhoneNumber;
    QString faxNumber;
    QString residence;
    QString entry;

    friend bool operator==(const TStoredAddress&, const TStoredAddress&) = default;
};

struct TStoredAccount {
    bool autoLogin = true;
    bool saveAddressLocally = false;
    QString login;
    QString password; // plain; stored encrypted
    bool acceptNewsletter = false;
    QString customerCardNumber;
    QString favoritePickupStoreId;
    QString imei;
    bool useShippingAddress = false;
    // Saving writes the first as the billing address and the second as the
    // shipping address ("Shipping" + name) when present; loading always
    // gives both.
    QList<TStoredAddress> addresses;

    friend bool operator==(const TStoredAccount&, const TStoredAccount&) = default;
};

// The stored name of each address value, with the member that holds it.
struct TAddressValue {
    const char* name;
    QString TStoredAddress::*member;
};
extern const std::array<TAddressValue, 22> kAddressValues;

} // namespace pavlora
