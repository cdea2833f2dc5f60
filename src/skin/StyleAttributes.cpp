#include "skin/StyleAttributes.h"

#include "core/XMLUtils2.h"
#include "skin/DesignErrors.h"

namespace pavlora {

TStyleAttributes::TStyleAttributes(pugi::xml_node element)
    : element_(element)
{
}

QString TStyleAttributes::Raw(const char* name) const
{
    const pugi::xml_attribute attribute = element_.attribute(name);
    if (!attribute)
        return {};
    return QString::fromUtf8(attribute.value());
}

bool TStyleAttributes::Has(const char* name) const
{
    const pugi::xml_attribute attribute = element_.attribute(name);
    return attribute && *attribute.value();
}

QString TStyleAttributes::Text(const char* name, const QString& fallback) const
{
    return Has(name) ? Raw(name) : fallback;
}

bool TStyleAttributes::ParseInteger(const QString& text, std::int32_t& value)
{
    bool ok = false;
    if (text.startsWith(QLatin1Char('$'))) {
        const QString digits = text.mid(1);
        const qulonglong parsed = digits.size() <= 8 ? digits.toULongLong(&ok, 16) : 0;
        if (!ok || digits.isEmpty() || digits.startsWith(QLatin1Char('+')) || digits.startsWith(QLatin1Char('-')))
            return false;
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(parsed));
        return true;
    }
    const int parsed = text.trimmed().toInt(&ok, 10);
    if (ok)
        value = parsed;
    return ok;
}

std::int32_t TStyleAttributes::Integer(const char* name, std::int32_t fallback) const
{
    if (!Has(name))
        return fallback;
    const QString value = Raw(name);
    std::int32_t result = 0;
    if (!ParseInteger(value, result))
        throw EDesignError(QStringLiteral("'%1' is not a valid integer value").arg(value));
    return result;
}

bool TStyleAttributes::Boolean(const char* name, bool fallback) const
{
    if (!Has(name))
        return fallback;
    const QString value = Raw(name);
    if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    ThrowWrongContent("Boolean", value);
}

double TStyleAttributes::Real(const char* name, double fallback) const
{
    if (!Has(name))
        return fallback;
    return StrToFloatDefAllSep(Raw(name), fallback);
}

void TStyleAttributes::ThrowWrongContent(const char* typeName, const QString& value)
{
    throw EDesignError(
        QStringLiteral("Wrong attribute content:  ") + QLatin1String(typeName) + QLatin1Char(' ') + value);
}

} // namespace pavlora
