#include "core/ResourceName.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QStringList>

namespace pavlora {

std::optional<QString> NormalizeResourceName(const QString& name)
{
    QString slashed = name;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (slashed.startsWith(QLatin1Char('/')) || slashed.contains(QChar(0)))
        return std::nullopt;
    QStringList parts;
    for (const QString& part : slashed.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String(".."))
            return std::nullopt;
        if (parts.isEmpty() && part.size() == 2 && part.at(1) == QLatin1Char(':') && part.at(0).isLetter())
            return std::nullopt; // "C:"
        parts.append(part);
    }
    if (parts.isEmpty())
        return std::nullopt;
    return parts.join(QLatin1Char('/'));
}

const QHash<QString, QString>& TCaseInsensitiveResolver::Listing(const QString& folder)
{
    auto it = listings_.find(folder);
    if (it == listings_.end()) {
        QHash<QString, QString> listing;
        const QStringList entries
            = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& entry : entries)
            listing.insert(entry.toLower(), entry);
        it = listings_.insert(folder, listing);
    }
    return *it;
}

std::optional<QString> TCaseInsensitiveResolver::ResolveFile(const QString& folder, const QString& relative)
{
    const QString exact = folder + QLatin1Char('/') + relative;
    if (QFileInfo(exact).isFile())
        return exact;
    QMutexLocker lock(&mutex_);
    QString current = folder;
    for (const QString& part : relative.split(QLatin1Char('/'))) {
        const QHash<QString, QString>& listing = Listing(current);
        const auto match = listing.constFind(part.toLower());
        if (match == listing.constEnd())
            return std::nullopt;
        current += QLatin1Char('/') + *match;
    }
    if (!QFileInfo(current).isFile())
        return std::nullopt;
    return current;
}

void TCaseInsensitiveResolver::Clear()
{
    QMutexLocker lock(&mutex_);
    listings_.clear();
}

} // namespace pavlora
