#pragma once

#include <QString>

namespace pavlora {

class TAppSettings;

// The settings of price display and of the price list.
struct TPriceSettings {
    // "show_prices" is not "0".
    bool showPrices = true;
    // "prices_curr_before_value".
    bool currencyBeforeValue = false;
    // "price_list_row_color_1" and "_2" ("#FFFFFF" when empty).
    QString rowColor1 = QStringLiteral("#FFFFFF");
    QString rowColor2 = QStringLiteral("#FFFFFF");
    // "pricelist_hide_zero_shipping".
    bool hideZeroShipping = false;
    // "pricelist_width": the width of the price list view in pixels.
    int viewWidth = 0;
    // "pricelist_style": the style sheet of the HTML price list.
    QString styleSheet;
    // "price_info_star": the marker shown beside prices.
    QString infoStar;

    static TPriceSettings FromSettings(const TAppSettings& settings);
};

// An amount with two decimals and a decimal comma: "1234,50".
QString FormatAmount(double amount);
// The amount as the customer sees it: "1,95 €", or "€ 1,95" with the sign
// before the value; empty when prices are hidden.
QString FormatPrice(double amount, const TPriceSettings& settings);

} // namespace pavlora
