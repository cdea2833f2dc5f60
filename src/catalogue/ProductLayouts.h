#pragma once

#include <QString>

#include <memory>

namespace pugi {
class xml_node;
} // namespace pugi

namespace pavlora {

class TProductPageDef;

// The catalogue's operations on the layouts of photo products.

// Reads the "conf" element of a catalogue item as its layout. Pictures
// named without a folder are looked for in `pictureFolder`.
std::unique_ptr<TProductPageDef> LoadProductLayout(pugi::xml_node conf, const QString& pictureFolder);

// A deep copy of a product layout (a catalogue item's, or a cart item's
// private copy).
std::unique_ptr<TProductPageDef> CloneProductLayout(const TProductPageDef& layout);

// The month code of a calendar sheet: the print's Tag, when it is positive
// and its last two decimal digits are not 00 (those are title sheets).
bool IsMonthCode(int tag);
// A title sheet: a positive Tag whose last two decimal digits are 00.
bool IsTitleCode(int tag);

// Renumbers the month sheets of a calendar so that the first one shows
// `firstMonth`: the k-th month sheet (k from 1) gets the code
// (c div 100) * 100 + ((k + firstMonth - 2) mod 12) + 1. A first month
// below 1 leaves the layout as it is.
void RotateCalendarMonths(TProductPageDef& layout, int firstMonth);

// Puts `path` as the background picture of every title sheet.
void SetCalendarTitlePicture(TProductPageDef& layout, const QString& path);

// Renames the background pictures of a calendar to a colour variant: in
// every background whose file name does not yet contain `id`, the first
// occurrence of the layout's variant token ("def_bg_color") is replaced by
// `id`. Nothing happens for a layout that is not a calendar or has no token.
void ApplyVariantToken(TProductPageDef& layout, const QString& id);

} // namespace pavlora
