#include "ordering/QORRecords.h"

namespace pavlora {

int ServerDeliveryType(TDeliveryType type)
{
    switch (type) {
    case TDeliveryType::dtPostalDelivery:
        return 1;
    case TDeliveryType::dtPickupAtStore:
        return 0;
    default:
        return -1;
    }
}

TDeliveryType DeliveryTypeFromServer(int serverType)
{
    switch (serverType) {
    case 1:
        return TDeliveryType::dtPostalDelivery;
    case 0:
        return TDeliveryType::dtPickupAtStore;
    default:
        return TDeliveryType::dtUnknown;
    }
}

QString PaymentTypeText(TQORPaymentType type)
{
    switch (type) {
    case TQORPaymentType::ptCreditCard:
        return QStringLiteral("1");
    case TQORPaymentType::ptDirectDebit:
        return QStringLiteral("2");
    case TQORPaymentType::ptInvoice:
        return QStringLiteral("3");
    case TQORPaymentType::ptPaymentAtPickup:
        return QStringLiteral("0");
    }
    throw EPaymentTypeError("unknown PaymentType");
}

bool PaymentTypeFromText(const QString& text, TQORPaymentType& type)
{
    if (text == QLatin1String("1"))
        type = TQORPaymentType::ptCreditCard;
    else if (text == QLatin1String("2"))
        type = TQORPaymentType::ptDirectDebit;
    else if (text == QLatin1String("3"))
        type = TQORPaymentType::ptInvoice;
    else if (text == QLatin1String("0"))
        type = TQORPaymentType::ptPaymentAtPickup;
    else
        return false;
    return true;
}

TDeliveryTypeList AllowedDeliveryTypes(TQORPaymentType type)
{
    if (type == TQORPaymentType::ptPaymentAtPickup)
        return {TDeliveryType::dtPickupAtStore};
    return {TDeliveryType::dtPostalDelivery};
}

namespace {

QString TrimTrailingBlanks(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

bool HasDigit(const QString& text)
{
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            return true;
    }
    return false;
}

// Position of the blank that separates street and house number, or -1.
qsizetype SplitPosition(const QString& trimmed)
{
    if (!HasDigit(trimmed))
        return -1;
    return trimmed.lastIndexOf(QLatin1Char(' '));
}

} // namespace

QString StreetPart(const QString& street)
{
    const QString trimmed = TrimTrailingBlanks(street);
    const qsizetype blank = SplitPosition(trimmed);
    return blank < 0 ? trimmed : trimmed.left(blank);
}

QString HouseNumberPart(const QString& street)
{
    const QString trimmed = TrimTrailingBlanks(street);
    const qsizetype blank = SplitPosition(trimmed);
    return blank < 0 ? QString() : trimmed.mid(blank + 1);
}

void TQORUserAddress::SetStreet(const QString& text)
{
    street = text;
    streetPart = StreetPart(text);
    houseNumberPart = HouseNumberPart(text);
}

TQORUserAddress& TQORUser::Billing()
{
    if (addresses.isEmpty()) {
        addresses.append(TQORUserAddress{});
        addresses.front().addressKind = 0;
    }
    return addresses.front();
}

void TQORUser::EnsureTwoAddresses()
{
    Billing();
    while (addresses.size() < 2) {
        TQORUserAddress shipping;
        shipping.addressKind = 1;
        addresses.append(shipping);
    }
}

TQORUserAddress TQORUser::BillingOrEmpty() const
{
    return addresses.isEmpty() ? TQORUserAddress{} : addresses.front();
}

} // namespace pavlora
