#include "ordering/UserAccount.h"

namespace pavlora {
namespace {

TQORUserAddress AddressOf(const TStoredAddress& stored, std::uint8_t kind)
{
    TQORUserAddress address;
    address.addressKind = kind;
    address.salutation = stored.salutation;
    address.title = stored.title;
    address.firstName = stored.firstName;
    address.lastName = stored.lastName;
    address.company = stored.company;
    address.street = stored.street;
    address.streetPart = stored.streetPart;
    address.houseNumberPart = stored.houseNoPart;
    address.zip = stored.zip;
    address.city = stored.city;
    address.cityPart = stored.cityPart;
    address.stateProvince = stored.stateProvince;
    address.country = stored.country;
    address.countryIsoCode = stored.countryIsoCode;
    address.language = stored.language;
    address.languageIsoCode = stored.languageIsoCode;
    address.email = stored.email;
    address.phone = stored.phoneNumber;
    address.cellPhone = stored.cellPhoneNumber;
    address.fax = stored.faxNumber;
    address.residence = stored.residence;
    address.entry = stored.entry;
    return address;
}

TStoredAddress StoredAddressOf(const TQORUserAddress& address)
{
    TStoredAddress stored;
    stored.salutation = address.salutation;
    stored.title = address.title;
    stored.firstName = address.firstName;
    stored.lastName = address.lastName;
    stored.company = address.company;
    stored.street = address.street;
    stored.streetPart = address.streetPart;
    stored.houseNoPart = address.houseNumberPart;
    stored.zip = address.zip;
    stored.city = address.city;
    stored.cityPart = address.cityPart;
    stored.stateProvince = address.stateProvince;
    stored.country = address.country;
    stored.countryIsoCode = address.countryIsoCode;
    stored.language = address.language;
    stored.languageIsoCode = address.languageIsoCode;
    stored.email = address.email;
    stored.phoneNumber = address.phone;
    stored.cellPhoneNumber = address.cellPhone;
    stored.faxNumber = address.fax;
    stored.residence = address.residence;
    stored.entry = address.entry;
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
