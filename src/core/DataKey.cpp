#include "core/DataKey.h"

#include <QMutex>
#include <QMutexLocker>

namespace pavlora {

// Deployment data: keep in step with docs/operators/data-documents.md.
const char kBuiltInDataKey[] = "Pv7rQ2kX9";
static_assert(sizeof(kBuiltInDataKey) == 10, "the built-in data key has 9 characters");

namespace {

QMutex keyMutex;
QString currentKey = QLatin1String(kBuiltInDataKey);

} // namespace

QString GlobalDataKey()
{
    QMutexLocker lock(&keyMutex);
    return currentKey;
}

void SetGlobalDataKey(const QString& key)
{
    QMutexLocker lock(&keyMutex);
    currentKey = key;
}

void ResetGlobalDataKey()
{
    SetGlobalDataKey(QLatin1String(kBuiltInDataKey));
}

QByteArray DataKeyBytes(const QString& key)
{
    return key.toLatin1();
}

QByteArray GlobalDataKeyBytes()
{
    return DataKeyBytes(GlobalDataKey());
}

} // namespace pavlora
