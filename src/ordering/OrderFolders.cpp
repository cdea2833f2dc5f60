#include "ordering/OrderFolders.h"

#include "core/AppFolders.h"
#include "core/Logger.h"

#include <QDir>
#include <QFileInfo>

namespace pavlora {

QString OrderFoldersRoot()
{
    return AppFolders::UserStateFolder() + QStringLiteral("/orders");
}

bool DeleteOrderFolder(const QString& folder)
{
    QString path = QDir::fromNativeSeparators(folder);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    const QString root = QFileInfo(OrderFoldersRoot()).canonicalFilePath();
    const bool confined = info.isDir() && !info.isSymLink() && info.fileName().startsWith(QLatin1String("tmp_order_"))
        && !root.isEmpty() && QFileInfo(info.absolutePath()).canonicalFilePath() == root;
    if (!confined) {
        ReportMessage(QStringLiteral("Not deleted, not an order folder: ") + folder);
        return false;
    }
    // removeRecursively removes links inside, never what they point to.
    if (!QDir(path).removeRecursively()) {
        ReportMessage(QStringLiteral("Cannot delete the order folder ") + folder);
        return false;
    }
    return true;
}

} // namespace pavlora
