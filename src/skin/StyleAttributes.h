#pragma once

#include <QString>

#include <pugixml.hpp>

#include <cstdint>
#include <initializer_list>
#include <utility>

namespace pavlora {

// Reads the attributes of one design-file element by type. Attribute names
// are case-sensitive. A missing or empty attribute gives the default; a
// value that does not fit its type throws EDesignError with the text the
// operators know from the design tools.
class TStyleAttributes {
public:
    explicit TStyleAttributes(pugi::xml_node element);

    pugi::xml_node Element() const { return element_; }
    // The attribute's text; a null string when it is missing.
    QString Raw(const char* name) const;
    bool Has(const char* name) const;

    QString Text(const char* name, const QString& fallback) const;
    // Decimal, or hexadecimal after "$" (up to 32 bits).
    std::int32_t Integer(const char* name, std::int32_t fallback) const;
    // "true" or "false" in any case.
    bool Boolean(const char* name, bool fallback) const;
    // A number with "." or "," as decimal separator.
    double Real(const char* name, double fallback) const;

    // One of `words` in any case; a missing attribute keeps `current`, an
    // empty or unknown word throws naming `enumName`.
    template <class E>
    E Enumeration(
        const char* name, const char* enumName, std::initializer_list<std::pair<const char*, E>> words, E current) const
    {
        const QString value = Raw(name);
        if (value.isNull())
            return current;
        for (const auto& [word, result] : words) {
            if (value.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
                return result;
        }
        ThrowWrongContent(enumName, value);
    }

    // Parses an integer as the design files write it; false when it is not one.
    static bool ParseInteger(const QString& text, std::int32_t& value);

private:
    [[noreturn]] static void ThrowWrongContent(const char* typeName, const QString& value);

    pugi::xml_node element_;
};

} // namespace pavlora
