#include "core/SettingsKey.h"

#include "core/DataStream.h"

#include <QByteArray>

namespace pavlora {

// Deployment data: keep in step with docs/operators/data-documents.md.
const char kBuiltInSettingsKey[] = "k&BLKg4D84m8Hl=&gRR!gvkJESXVc?Ugzj*j1hBREiA9mD";
static_assert(sizeof(kBuiltInSettingsKey) == 47, "the built-in settings key has 46 bytes");

namespace {

QByteArray KeyBytes()
{
    return QByteArray::fromRawData(kBuiltInSettingsKey, sizeof(kBuiltInSettingsKey) - 1);
}

bool IsHexText(const QString& text)
{
    if (text.size() % 2 != 0)
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')))
            return false;
    }
    return true;
}

} // namespace

QString EncryptSettingsText(const QString& plain)
{
    QByteArray bytes = plain.toUtf8();
    if (bytes.isEmpty())
        return {};
    XorTransform(bytes, KeyBytes());
    return QString::fromLatin1(bytes.toHex().toUpper());
}

std::optional<QString> DecryptSettingsText(const QString& stored)
{
    const QString text = stored.trimmed();
    if (!IsHexText(text))
        return std::nullopt;
    QByteArray bytes = QByteArray::fromHex(text.toLatin1());
    if (bytes.isEmpty())
        return QString();
    XorTransform(bytes, KeyBytes());
    return QString::fromUtf8(bytes);
}

} // namespace pavlora
