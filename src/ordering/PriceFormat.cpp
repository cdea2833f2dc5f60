#include "ordering/PriceFormat.h"

#include "core/AppSettings.h"

#include <cmath>

namespace pavlora {

TPriceSettings TPriceSettings::FromSettings(const TAppSettings& settings)
{
    TPriceSettings result;
    result.showPrices = settings.Text(QStringLiteral("show_prices")).trimmed() != QLatin1String("0");
    result.currencyBeforeValue = settings.Boolean(QStringLiteral("prices_curr_before_value"), false);
    const QString color1 = settings.Text(QStringLiteral("price_list_row_color_1"));
    const QString color2 = settings.Text(QStringLiteral("price_list_row_color_2"));
    if (!color1.isEmpty())
        result.rowColor1 = color1;
    if (!color2.isEmpty())
        result.rowColor2 = color2;
    result.hideZeroShipping = settings.Boolean(QStringLiteral("pricelist_hide_zero_shipping"), false);
    result.viewWidth = settings.Integer(QStringLiteral("pricelist_width"), 0);
    result.styleSheet = settings.Text(QStringLiteral("pricelist_style"));
    result.infoStar = settings.Text(QStringLiteral("price_info_star"));
    return result;
}

QString FormatAmount(double amount)
{
    // Whole cents first, so that 0.125 and 0.135 round the same way as the
    // cents they stand for, and -0.001 does not show as "-0,00".
    const double cents = std::round(amount * 100.0);
    QString text = QString::number(cents / 100.0 + 0.0, 'f', 2);
    if (text == QLatin1String("-0.00"))
        text = QStringLiteral("0.00");
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString FormatPrice(double amount, const TPriceSettings& settings)
{
    if (!settings.showPrices)
        return QString();
    const QString value = FormatAmount(amount);
    return settings.currencyBeforeValue ? QStringLiteral("€ ") + value : value + QStringLiteral(" €");
}

} // namespace pavlora
