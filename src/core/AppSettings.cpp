#include "core/AppSettings.h"

#include "core/DebugConfig.h"
#include "core/XMLUtils2.h"

#include <utility>

namespace pavlora {

TAppSettings::TAppSettings(TNameValueList values, TRegionAttributes regionZip)
    : values_(std::move(values))
    , regionZip_(std::move(regionZip))
{
}

QString TAppSettings::Text(const QString& name, const QString& fallback) const
{
    return values_.Value(name, fallback);
}

int TAppSettings::Integer(const QString& name, int fallback) const
{
    int value = 0;
    return values_.Contains(name) && ParseIntegerText(values_.Value(name), value) ? value : fallback;
}

double TAppSettings::Float(const QString& name, double fallback) const
{
    return values_.Contains(name) ? StrToFloatDefAllSep(values_.Value(name), fallback) : fallback;
}

bool TAppSettings::Boolean(const QString& name, bool fallback) const
{
    return values_.Contains(name) ? ParseBooleanText(values_.Value(name), fallback) : fallback;
}

bool TAppSettings::NotZero(const QString& name) const
{
    return values_.Value(name) != QLatin1String("0");
}

bool TAppSettings::IsText(const QString& name, const QString& text, Qt::CaseSensitivity cs) const
{
    return values_.Contains(name) && values_.Value(name).compare(text, cs) == 0;
}

QString TAppSettings::RegionValue(const QString& name) const
{
    const auto attribute = regionZip_.constFind(name.toCaseFolded());
    return attribute != regionZip_.constEnd() ? *attribute : values_.Value(name);
}

} // namespace pavlora
