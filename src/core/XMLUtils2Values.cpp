// Typed attributes and the locale-independent number parsing of the
// data-document layer.

#include "core/XMLUtils2.h"

#include "core/DebugConfig.h"
#include "core/QORError.h"
#include "core/QORException.h"

#include <pugixml.hpp>

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace pavlora {
namespace {

constexpr double kLargestNumber = 1e25;

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Parses "[sign] digits [separator digits] [e [sign] digits]" (at least one
// digit before the exponent) after trimming blanks.
bool TryParseDecimal(const QString& raw, QChar separator, double& value)
{
    const QString text = raw.trimmed();
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(text.size()));
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        negative = text.at(i++) == QLatin1Char('-');
    int digits = 0;
    for (; i < text.size() && IsDigit(text.at(i)); ++i, ++digits)
        ascii.push_back(static_cast<char>(text.at(i).unicode()));
    if (i < text.size() && text.at(i) == separator) {
        ascii.push_back('.');
        for (++i; i < text.size() && IsDigit(text.at(i)); ++i, ++digits)
            ascii.push_back(static_cast<char>(text.at(i).unicode()));
    }
    if (digits == 0)
        return false;
    bool negativeExponent = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        ascii.push_back('e');
        ++i;
        if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
            negativeExponent = text.at(i) == QLatin1Char('-');
            ascii.push_back(static_cast<char>(text.at(i++).unicode()));
        }
        int exponentDigits = 0;
        for (; i < text.size() && IsDigit(text.at(i)); ++i, ++exponentDigits)
            ascii.push_back(static_cast<char>(text.at(i).unicode()));
        if (exponentDigits == 0)
            return false;
    }
    if (i != text.size())
        return false;
    double parsed = 0.0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), parsed);
    if (end != ascii.data() + ascii.size())
        return false;
    if (error == std::errc::result_out_of_range) {
        if (!negativeExponent)
            return false; // too large for a double
        parsed = 0.0; // too small: it is zero
    } else if (error != std::errc()) {
        return false;
    }
    value = negative ? -parsed : parsed;
    return std::isfinite(value) && std::fabs(value) <= kLargestNumber;
}

// A non-negative decimal number as its integer and fraction digits.
struct DecimalText {
    QByteArray integer;
    QByteArray fraction;
};

// Rounds half away from zero to at most `decimals` fraction digits.
DecimalText RoundDecimals(const DecimalText& number, qsizetype decimals)
{
    if (number.fraction.size() <= decimals)
        return number;
    const bool up = number.fraction.at(decimals) >= '5';
    QByteArray digits = number.integer + number.fraction.left(decimals);
    if (up) {
        qsizetype at = digits.size() - 1;
        for (; at >= 0 && digits.at(at) == '9'; --at)
            digits[at] = '0';
        if (at >= 0)
            digits[at] = static_cast<char>(digits.at(at) + 1);
        else
            digits.prepend('1');
    }
    return DecimalText{digits.left(digits.size() - decimals), digits.right(decimals)};
}

void SetOrRemove(pugi::xml_node element, const char* name, bool write, const QByteArray& text)
{
    pugi::xml_attribute attribute = element.attribute(name);
    if (!write) {
        if (attribute)
            element.remove_attribute(attribute);
        return;
    }
    if (!attribute)
        attribute = element.append_attribute(name);
    attribute.set_value(text.constData());
}

} // namespace

double StrToFloatDefAllSep(const QString& text, double fallback)
{
    double value = 0.0;
    if (TryParseDecimal(text, QLatin1Char('.'), value) || TryParseDecimal(text, QLatin1Char(','), value))
        return value;
    RecordError(TQORError{2, QLatin1String(kStrToFloatContext),
        QStringLiteral("'%1' is not a valid floating point value").arg(text), QString()});
    return fallback;
}

bool ParseIntegerText(const QString& raw, int& value)
{
    const QString text = raw.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        negative = text.at(i++) == QLatin1Char('-');
    const QStringView rest = QStringView(text).mid(i);
    bool ok = false;
    qint64 magnitude = 0;
    if (rest.startsWith(QLatin1Char('$')) || rest.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        // Hexadecimal: up to 32 bits, read as a signed 32-bit pattern.
        const QStringView hex = rest.mid(rest.startsWith(QLatin1Char('$')) ? 1 : 2);
        if (hex.isEmpty() || hex.size() > 8)
            return false;
        for (const QChar c : hex) {
            if (!c.isDigit() && !(c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')))
                return false;
        }
        const quint32 bits = hex.toUInt(&ok, 16);
        if (!ok)
            return false;
        const auto signedBits = static_cast<qint32>(bits);
        value = negative ? static_cast<int>(0u - bits) : signedBits;
        return true;
    }
    if (rest.isEmpty() || rest.size() > 10)
        return false;
    for (const QChar c : rest) {
        if (!IsDigit(c))
            return false;
    }
    magnitude = rest.toLongLong(&ok);
    if (!ok)
        return false;
    const qint64 signedValue = negative ? -magnitude : magnitude;
    if (signedValue < std::numeric_limits<qint32>::min() || signedValue > std::numeric_limits<qint32>::max())
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

int ReadIntAttribute(pugi::xml_node element, const char* name, int fallback)
{
    const pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute)
        return fallback;
    int value = 0;
    const QString text = QString::fromUtf8(attribute.value());
    if (!ParseIntegerText(text, value))
        throw EDataDocumentError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

double ReadFloatAttribute(pugi::xml_node element, const char* name, double fallback)
{
    const pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute || !*attribute.value())
        return fallback;
    return StrToFloatDefAllSep(QString::fromUtf8(attribute.value()), fallback);
}

QString ReadStringAttribute(pugi::xml_node element, const char* name, const QString& fallback)
{
    const pugi::xml_attribute attribute = element.attribute(name);
    return attribute ? QString::fromUtf8(attribute.value()) : fallback;
}

bool ReadBoolAttribute(pugi::xml_node element, const char* name, bool fallback)
{
    const pugi::xml_attribute attribute = element.attribute(name);
    return attribute ? ParseBooleanText(QString::fromUtf8(attribute.value()), fallback) : fallback;
}

void WriteIntAttribute(pugi::xml_node element, const char* name, int value)
{
    SetOrRemove(element, name, value != 0, QByteArray::number(value));
}

void WriteFloatAttribute(pugi::xml_node element, const char* name, double value)
{
    const QString text = FormatFloatAttribute(value);
    SetOrRemove(element, name, !text.isEmpty(), text.toLatin1());
}

void WriteStringAttribute(pugi::xml_node element, const char* name, const QString& value)
{
    SetOrRemove(element, name, !value.isEmpty(), value.toUtf8());
}

void WriteBoolAttribute(pugi::xml_node element, const char* name, bool value)
{
    SetOrRemove(element, name, value, QByteArray("true"));
}

QString FormatFloatAttribute(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return {};
    // The shortest decimal text that reads back as `value`, so that 2.675
    // rounds as written, not as its binary neighbour 2.67499999...
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
    if (error != std::errc())
        return {};
    const QByteArray fixed(buffer, static_cast<qsizetype>(end - buffer));
    const qsizetype point = fixed.indexOf('.');
    DecimalText number{point < 0 ? fixed : fixed.left(point), point < 0 ? QByteArray() : fixed.mid(point + 1)};
    number = RoundDecimals(number, 2);
    // Five significant digits only drop decimals: integer parts of four or
    // five digits lose one or both, longer ones keep their two.
    const qsizetype integerDigits = number.integer == "0" ? 0 : number.integer.size();
    if (integerDigits == 4 || integerDigits == 5)
        number = RoundDecimals(number, 5 - integerDigits);
    while (number.fraction.endsWith('0'))
        number.fraction.chop(1);
    if (number.integer == "0" && number.fraction.isEmpty())
        return {};
    QByteArray text = value < 0 ? QByteArray("-") : QByteArray();
    text += number.integer;
    if (!number.fraction.isEmpty())
        text += '.' + number.fraction;
    return QString::fromLatin1(text);
}

} // namespace pavlora
