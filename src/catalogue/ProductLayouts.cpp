#include "catalogue/ProductLayouts.h"

#include "layout/ProductPageDef.h"

#include <pugixml.hpp>

namespace pavlora {
namespace {

void RenameBackground(TPhotoDef& photo, const QString& token, const QString& id)
{
    const QString file = photo.FileName();
    if (file.isEmpty() || file.contains(id))
        return;
    const qsizetype at = file.indexOf(token);
    if (at < 0)
        return;
    const QString renamed = QString(file).replace(at, token.size(), id);
    photo.SetFile(renamed, renamed, TPosAlign::paOutsideDefault, QString(), photo.IsTemporary());
}

} // namespace

std::unique_ptr<TProductPageDef> LoadProductLayout(pugi::xml_node conf, const QString& pictureFolder)
{
    auto layout = std::make_unique<TProductPageDef>(nullptr);
    layout->LoadFrom(conf, pictureFolder, kDefVersion10);
    return layout;
}

std::unique_ptr<TProductPageDef> CloneProductLayout(const TProductPageDef& layout)
{
    auto copy = std::make_unique<TProductPageDef>(nullptr);
    copy->Assign(layout);
    return copy;
}

bool IsMonthCode(int tag)
{
    return tag > 0 && tag % 100 != 0;
}

bool IsTitleCode(int tag)
{
    return tag > 0 && tag % 100 == 0;
}

void RotateCalendarMonths(TProductPageDef& layout, int firstMonth)
{
    if (firstMonth < 1)
        return;
    int k = 0;
    for (TPrintDef& print : layout.Prints()) {
        const int code = print.Tag();
        if (!IsMonthCode(code))
            continue;
        ++k;
        // Floored modulo: the operands are positive here, but keep the
        // result in 0..11 whatever they are.
        const int month = (((k + firstMonth - 2) % 12) + 12) % 12 + 1;
        print.SetTag(code / 100 * 100 + month);
    }
}

void SetCalendarTitlePicture(TProductPageDef& layout, const QString& path)
{
    for (TPrintDef& print : layout.Prints()) {
        if (IsTitleCode(print.Tag()))
            print.Photo().SetFile(path, path, TPosAlign::paOutsideDefault);
    }
}

void ApplyVariantToken(TProductPageDef& layout, const QString& id)
{
    const QString token = layout.DefaultBackgroundColor();
    if (!layout.IsCalendar() || token.isEmpty() || id.isEmpty())
        return;
    RenameBackground(layout.Photo(), token, id);
    for (TPrintDef& print : layout.Prints())
        RenameBackground(print.Photo(), token, id);
}

} // namespace pavlora
