#include "core/StoredAccount.h"

namespace pavlora {

const std::array<TAddressValue, 22> kAddressValues = {{
    {"Salutation", &TStoredAddress::salutation},
    {"Title", &TStoredAddress::title},
    {"FirstName", &TStoredAddress::firstName},
    {"LastName", &TStoredAddress::lastName},
    {"Company", &TStoredAddress::company},
    {"Street", &TStoredAddress::street},
    {"Street_StreetPart", &TStoredAddress::streetPart},
    {"Street_HouseNoPart", &TStoredAddress::houseNoPart},
    {"Zip", &TStoredAddress::zip},
    {"City", &TStoredAddress::city},
    {"CityPart", &TStoredAddress::cityPart},
    {"StateProvince", &TStoredAddress::stateProvince},
    {"Country", &TStoredAddress::country},
    {"CountryISOCode", &TStoredAddress::countryIsoCode},
    {"Language", &TStoredAddress::language},
    {"LanguageISOCode", &TStoredAddress::languageIsoCode},
    {"EMail", &TStoredAddress::email},
    {"PhoneNumber", &TStoredAddress::phoneNumber},
    {"CellPhoneNumber", &TStoredAddress::cellPhoneNumber},
    {"FaxNumber", &TStoredAddress::faxNumber},
    {"Residence", &TStoredAddress::residence},
    {"Entry", &TStoredAddress::entry},
}};

} // namespace pavlora
