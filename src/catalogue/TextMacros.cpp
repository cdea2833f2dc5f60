#include "catalogue/TextMacros.h"

#include "catalogue/ProductTexts.h"
#include "core/PathPlaceholders.h"

namespace pavlora {
namespace {

const TPriceTextSource& DefaultPrices()
{
    static const TPriceTextSource prices;
    return prices;
}

struct Prefix {
    QLatin1String text;
    TextMacroKind kind;
};

const Prefix kPrefixes[] = {
    {QLatin1String("[lang]"), TextMacroKind::Lang},
    {QLatin1String("[price]"), TextMacroKind::Price},
    {QLatin1String("[file]"), TextMacroKind::File},
};

// The "}" that closes the "{" at `open`, with nested pairs skipped, so that
// "{[file]{Data}/x.jpg}" is one macro; -1 when it is never closed.
qsizetype MatchingBrace(const QString& text, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('{'))
            ++depth;
        else if (text.at(i) == QLatin1Char('}') && --depth == 0)
            return i;
    }
    return -1;
}

} // namespace

QString TPriceTextSource::FormattedPrice(const QString& /*catalogueId*/) const
{
    return QStringLiteral("???");
}

TTextMacros::TTextMacros(const TProductTexts* texts, const TPriceTextSource* prices)
    : texts_(texts)
    , prices_(prices ? prices : &DefaultPrices())
{
}

QString TTextMacros::Expand(const QString& text, TextMacroKind defaultKind) const
{
    QString result;
    result.reserve(text.size());
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), position);
        if (open < 0)
            break;
        const qsizetype close = MatchingBrace(text, open);
        if (close < 0)
            break;
        TextMacroKind kind = TextMacroKind::None;
        qsizetype argumentStart = open + 1;
        for (const Prefix& prefix : kPrefixes) {
            if (QStringView(text).mid(open + 1).startsWith(prefix.text) && open + 1 + prefix.text.size() <= close) {
                kind = prefix.kind;
                argumentStart = open + 1 + prefix.text.size();
                break;
            }
        }
        if (kind == TextMacroKind::None)
            kind = defaultKind;
        if (kind == TextMacroKind::None) {
            // Not a macro: keep the brace and look on after it.
            result += QStringView(text).mid(position, open + 1 - position);
            position = open + 1;
            continue;
        }
        result += QStringView(text).mid(position, open - position);
        const QString argument = text.mid(argumentStart, close - argumentStart);
        switch (kind) {
        case TextMacroKind::Lang:
            result += texts_ ? texts_->Text(argument) : QString();
            break;
        case TextMacroKind::Price:
            result += prices_->FormattedPrice(argument);
            break;
        case TextMacroKind::File:
            result += ExpandPath(argument);
            break;
        case TextMacroKind::None:
            break;
        }
        position = close + 1;
    }
    result += QStringView(text).mid(position);
    return result;
}

QString ExpandTextMacros(
    const QString& text, TextMacroKind defaultKind, const TProductTexts* texts, const TPriceTextSource* prices)
{
    return TTextMacros(texts, prices).Expand(text, defaultKind);
}

} // namespace pavlora
