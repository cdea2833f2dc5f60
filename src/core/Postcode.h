#pragma once

#include <QChar>
#include <QString>

namespace pavlora {

class TAppSettings;

// The postcode rules of the customer's region: which characters a postcode
// field accepts, how long it may be, and which postcodes are valid. Pure
// functions, safe from any thread.

enum class TZipMode {
    AllChars, // every character
    Numeric, // digits
    AlphaNum, // digits and letters A-Z
    AlphaNumSpace, // digits, letters A-Z and the space
};

struct TPostcodeRules {
    TZipMode mode = TZipMode::Numeric;
    int maxLength = 5; // 0: no limit
    QString expression; // empty: any non-empty postcode is valid
};

// "AllChars", "Numeric", "AlphaNum", "AlphaNumSpace" in any case; anything
// else is the default, Numeric.
TZipMode ParseZipMode(const QString& text);

// The rules from the region-dependent settings "zipmode", "ziplength"
// (default 5; a negative length counts as no limit) and "regexp".
TPostcodeRules PostcodeRules(const TAppSettings& settings);

// Whether a key typed into a postcode field is accepted. Backspace always
// is; letters are compared in upper case, so "a" passes as "A".
bool IsPostcodeKeyAccepted(QChar key, TZipMode mode);

// A typed or pasted text as the postcode field keeps it: the accepted
// characters, as typed, cut to the maximum length.
QString FilterPostcode(const QString& text, const TPostcodeRules& rules);

// Whether a postcode is valid: it matches the whole expression (Perl
// syntax), or, without an expression, it is not empty. An expression that
// does not compile accepts nothing; it is reported once per text.
bool IsPostcodeValid(const QString& postcode, const TPostcodeRules& rules);

} // namespace pavlora
