#include "ui/NavigationCommands.h"

#include <algorithm>

namespace pavlora {

namespace {

constexpr QChar kDelimiter = QLatin1Char(';');
constexpr QChar kQuote = QLatin1Char('|');

bool NameLess(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

} // namespace

TCommandText SplitCommandText(const QString& text)
{
    const qsizetype open = text.indexOf(QLatin1Char('('));
    if (!text.isEmpty() && text.endsWith(QLatin1Char(')')) && open >= 0)
        return {text.left(open).trimmed(), text.mid(open + 1, text.size() - open - 2)};
    return {text.trimmed(), QString()};
}

QStringList SplitCommandArguments(const QString& argumentText)
{
    QStringList arguments;
    if (argumentText.isEmpty())
        return arguments;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < argumentText.size(); ++i) {
        const QChar c = argumentText.at(i);
        if (quoted) {
            if (c != kQuote) {
                current += c;
            } else if (i + 1 < argumentText.size() && argumentText.at(i + 1) == kQuote) {
                current += kQuote;
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == kQuote) {
            quoted = true;
        } else if (c == kDelimiter) {
            arguments.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    arguments.append(current);
    return arguments;
}

QString JoinCommandArguments(const QStringList& arguments)
{
    QStringList parts;
    for (const QString& argument : arguments) {
        if (argument.contains(kDelimiter) || argument.contains(kQuote)) {
            QString escaped = argument;
            escaped.replace(kQuote, QStringLiteral("||"));
            parts.append(kQuote + escaped + kQuote);
        } else {
            parts.append(argument);
        }
    }
    return parts.join(kDelimiter);
}

TCommandVocabulary TCommandVocabulary::Standard()
{
    TCommandVocabulary vocabulary;
    const std::pair<const char*, int> table[] = {
        {"Back", Command::Back},
        {"Nothing", Command::Nothing},
        {"Browse", Command::Browse},
        {"ImportXNF", Command::Browse},
        {"AddProduct", Command::AddProduct},
        {"ViewGroup", Command::ViewGroup},
        {"NewPhotobook", Command::NewPhotobook},
        {"OpenPhotobook", Command::OpenPhotobook},
        {"EditPhotobook", Command::EditPhotobook},
        {"IncludePhotobook", Command::IncludePhotobook},
        {"Help", Command::Help},
        {"Settings", Command::Settings},
        {"Prices", Command::Prices},
        {"OrderMain", Command::OrderMain},
        {"Login", Command::Login},
        {"Register", Command::Register},
        {"CDOrder", Command::CDOrder},
        {"ProductInfo", Command::ProductInfo},
        {"Organizing", Command::Organizing},
    };
    for (const auto& [name, number] : table)
        vocabulary.Add(QLatin1String(name), number);
    return vocabulary;
}

void TCommandVocabulary::Add(const QString& name, int number)
{
    const auto at = std::lower_bound(entries_.begin(), entries_.end(), name,
        [](const std::pair<QString, int>& entry, const QString& key) { return NameLess(entry.first, key); });
    if (at != entries_.end() && !NameLess(name, at->first))
        at->second = number; // a name is there once
    else
        entries_.insert(at, {name, number});
}

std::optional<int> TCommandVocabulary::Find(const QString& name) const
{
    const auto at = std::lower_bound(entries_.begin(), entries_.end(), name,
        [](const std::pair<QString, int>& entry, const QString& key) { return NameLess(entry.first, key); });
    if (at == entries_.end() || NameLess(name, at->first))
        return std::nullopt;
    return at->second;
}

} // namespace pavlora
