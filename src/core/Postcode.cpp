#include "core/Postcode.h"

#include "core/AppSettings.h"
#include "core/Logger.h"
#include "core/XMLUtils2.h"

#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace pavlora {
namespace {

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsAsciiLetter(QChar c)
{
    const char16_t upper = c.unicode() >= u'a' && c.unicode() <= u'z' ? c.unicode() - (u'a' - u'A') : c.unicode();
    return upper >= u'A' && upper <= u'Z';
}

// Reports a broken expression of the deployment once, not on every key.
void ReportBrokenExpression(const QString& expression, const QString& error)
{
    static QMutex mutex;
    static QSet<QString> reported;
    {
        QMutexLocker lock(&mutex);
        if (reported.contains(expression))
            return;
        reported.insert(expression);
    }
    ReportMessage(QStringLiteral("Postcode expression '%1' is invalid: %2").arg(expression, error));
}

} // namespace

TZipMode ParseZipMode(const QString& text)
{
    if (text.compare(QLatin1String("AllChars"), Qt::CaseInsensitive) == 0)
        return TZipMode::AllChars;
    if (text.compare(QLatin1String("AlphaNum"), Qt::CaseInsensitive) == 0)
        return TZipMode::AlphaNum;
    if (text.compare(QLatin1String("AlphaNumSpace"), Qt::CaseInsensitive) == 0)
        return TZipMode::AlphaNumSpace;
    return TZipMode::Numeric;
}

TPostcodeRules PostcodeRules(const TAppSettings& settings)
{
    TPostcodeRules rules;
    rules.mode = ParseZipMode(settings.RegionValue(QStringLiteral("zipmode")));
    int length = 5;
    if (!ParseIntegerText(settings.RegionValue(QStringLiteral("ziplength")), length))
        length = 5;
    rules.maxLength = std::max(0, length);
    rules.expression = settings.RegionValue(QStringLiteral("regexp"));
    return rules;
}

bool IsPostcodeKeyAccepted(QChar key, TZipMode mode)
{
    if (key == QLatin1Char('\b'))
        return true;
    switch (mode) {
    case TZipMode::AllChars:
        return true;
    case TZipMode::Numeric:
        return IsAsciiDigit(key);
    case TZipMode::AlphaNum:
        return IsAsciiDigit(key) || IsAsciiLetter(key);
    case TZipMode::AlphaNumSpace:
        return IsAsciiDigit(key) || IsAsciiLetter(key) || key == QLatin1Char(' ');
    }
    return false;
}

QString FilterPostcode(const QString& text, const TPostcodeRules& rules)
{
    QString kept;
    for (const QChar c : text) {
        if (rules.maxLength > 0 && kept.size() >= rules.maxLength)
            break;
        if (c != QLatin1Char('\b') && IsPostcodeKeyAccepted(c, rules.mode))
            kept.append(c);
    }
    return kept;
}

bool IsPostcodeValid(const QString& postcode, const TPostcodeRules& rules)
{
    if (rules.expression.isEmpty())
        return !postcode.isEmpty();
    const QRegularExpression expression(QRegularExpression::anchoredPattern(rules.expression));
    if (!expression.isValid()) {
        ReportBrokenExpression(rules.expression, expression.errorString());
        return false;
    }
    return expression.match(postcode).hasMatch();
}

} // namespace pavlora
