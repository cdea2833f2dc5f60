#include "ordering/UserAccount.h"

#include <array>

namespace pavlora {
namespace {

// Each stored address value with the user record's field that holds it.
struct TAddressField {
    QString TStoredAddress::*stored;
    QString TQORUserAddress::*record;
};

const std::array<TAddressField, 22> kAddressFields{{
    {&TStoredAddress::salutation, &TQORUserAddress::salutation},
    {&TStoredAddress::title, &TQORUserAddress::title},
    {&TStoredAddress::firstName, &TQORUserAddress::firstName},
    {&TStoredAddress::lastName, &TQORUserAddress::lastName},
    {&TStoredAddress::company, &TQORUserAddress::company},
    {&TStoredAddress::street, &TQORUserAddress::street},
    {&TStoredAddress::streetPart, &TQORUserAddress::streetPart},
    {&TStoredAddress::houseNoPart, &TQORUserAddress::houseNumberPart},
    {&TStoredAddress::zip, &TQORUserAddress::zip},
    {&TStoredAddress::city, &TQORUserAddress::city},
    {&TStoredAddress::cityPart, &TQORUserAddress::cityPart},
    {&TStoredAddress::stateProvince, &TQORUserAddress::stateProvince},
    {&TStoredAddress::country, &TQORUserAddress::country},
    {&TStoredAddress::countryIsoCode, &TQORUserAddress::countryIsoCode},
    {&TStoredAddress::language, &TQORUserAddress::language},
    {&TStoredAddress::languageIsoCode, &TQORUserAddress::languageIsoCode},
    {&TStoredAddress::email, &TQORUserAddress::email},
    {&TStoredAddress::phoneNumber, &TQORUserAddress::phone},
    {&TStoredAddress::cellPhoneNumber, &TQORUserAddress::cellPhone},
    {&TStoredAddress::faxNumber, &TQORUserAddress::fax},
    {&TStoredAddress::residence, &TQORUserAddress::residence},
    {&TStoredAddress::entry, &TQORUserAddress::entry},
}};

TQORUserAddress AddressOf(const TStoredAddress& stored, std::uint8_t kind)
{
    TQORUserAddress address;
    address.addressKind = kind;
    for (const TAddressField& field : kAddressFields)
        address.*field.record = stored.*field.stored;
    return address;
}

TStoredAddress StoredAddressOf(const TQORUserAddress& address)
{
    TStoredAddress stored;
    for (const TAddressField& field : kAddressFields)
        stored.*field.stored = address.*field.record;
    return stored;
}

} // namespace

void ApplyStoredAccount(TQORUser& user, const TStoredAccount& account)
{
    user.email = account.login;
    user.password = account.password;
    user.autoLogin = account.autoLogin;
    user.saveAddressLocally = account.saveAddressLocally;
    user.acceptNewsletter = account.acceptNewsletter;
    user.customerCard = account.customerCardNumber;
    user.favoriteStoreId = account.favoritePickupStoreId;
    user.imei = account.imei;
    user.useShippingAddress = account.useShippingAddress;
    user.addresses.clear();
    for (qsizetype i = 0; i < account.addresses.size() && i < 2; ++i)
        user.addresses.append(AddressOf(account.addresses.at(i), static_cast<std::uint8_t>(i)));
    user.EnsureTwoAddresses();
}

TStoredAccount StoredAccountOf(const TQORUser& user)
{
    TStoredAccount account;
    account.login = user.email;
    account.password = user.password;
    account.autoLogin = user.autoLogin;
    account.saveAddressLocally = user.saveAddressLocally;
    account.acceptNewsletter = user.acceptNewsletter;
    account.customerCardNumber = user.customerCard;
    account.favoritePickupStoreId = user.favoriteStoreId;
    account.imei = user.imei;
    account.useShippingAddress = user.useShippingAddress;
    TQORUser copy = user;
    copy.EnsureTwoAddresses();
    for (qsizetype i = 0; i < 2; ++i)
        account.addresses.append(StoredAddressOf(copy.addresses.at(i)));
    return account;
}

} // namespace pavlora
