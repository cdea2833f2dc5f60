#include "core/PathPlaceholders.h"

#include <QList>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <utility>

namespace pavlora {
namespace {

struct Placeholder {
    QString name;
    QString folder; // without trailing "/"
};

QMutex tableMutex;
QList<Placeholder> table;

QString WithSlashes(QString path)
{
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString WithoutTrailingSlash(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

bool IsBoundary(const QString& path, qsizetype at)
{
    return at == path.size() || path.at(at) == QLatin1Char('/') || path.at(at) == QLatin1Char('.');
}

} // namespace

QString RegisterPathPlaceholder(const QString& name, const QString& folder)
{
    const QString stored = WithoutTrailingSlash(WithSlashes(folder));
    {
        QMutexLocker lock(&tableMutex);
        auto existing = std::find_if(table.begin(), table.end(),
            [&](const Placeholder& entry) { return entry.name.compare(name, Qt::CaseInsensitive) == 0; });
        if (existing != table.end())
            existing->folder = stored;
        else
            table.append(Placeholder{name, stored});
    }
    if (stored.isEmpty() || stored.endsWith(QLatin1Char('/')))
        return stored;
    return stored + QLatin1Char('/');
}

QString ExpandPath(const QString& path)
{
    const QString normalized = WithSlashes(path);
    QMutexLocker lock(&tableMutex);
    for (const Placeholder& entry : std::as_const(table)) {
        if (normalized.startsWith(entry.name, Qt::CaseInsensitive))
            return entry.folder + normalized.mid(entry.name.size());
    }
    return normalized;
}

QString CollapsePath(const QString& path)
{
    const QString normalized = WithSlashes(path);
    QMutexLocker lock(&tableMutex);
    for (const Placeholder& entry : std::as_const(table)) {
        if (entry.folder.isEmpty())
            continue;
        if (normalized.startsWith(entry.folder, Qt::CaseSensitive) && IsBoundary(normalized, entry.folder.size()))
            return entry.name + normalized.mid(entry.folder.size());
    }
    return normalized;
}

void ClearPathPlaceholders()
{
    QMutexLocker lock(&tableMutex);
    table.clear();
}

} // namespace pavlora
