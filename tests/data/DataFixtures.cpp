#include "DataFixtures.h"

#include "support/TestSandbox.h"

#include <gtest/gtest.h>

#include <zip.h>

namespace pavlora::test {

// Computed with "openssl enc -des-cfb8 -nopad" (legacy provider), the key
// being the first 8 bytes of SHA-1("Schl$ssel-42") = f701b01b2aaf72a2 and
// the IV the DES-ECB encryption of zeros under it = ca9c19cc6c3d51ab.
QByteArray DesKeyText()
{
    return QByteArrayLiteral("Schl$ssel-42");
}

QByteArray DesPlain()
{
    return QByteArrayLiteral("<r a=\"1\">Stra\xc3\x9f"
                             "e 12</r>");
}

QByteArray DesCipher()
{
    return QByteArray::fromHex("0140c22dadfa949d29b959984a5209ce71d99eeb567786");
}

QByteArray XorByDefinition(const QByteArray& data, const QByteArray& key)
{
    QByteArray result = data;
    for (qsizetype i = 0; i < result.size(); ++i)
        result[i] = static_cast<char>(result.at(i) ^ key.at(i % key.size()));
    return result;
}

QByteArray BuildZip(const QList<QPair<QByteArray, QByteArray>>& entries)
{
    static int serial = 0;
    const QString path = MakeFolder(QStringLiteral("zip%1").arg(++serial)) + QStringLiteral("/a.zip");
    int error = 0;
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    EXPECT_NE(archive, nullptr) << error;
    if (!archive)
        return {};
    for (const auto& [name, content] : entries) {
        zip_source_t* source
            = zip_source_buffer(archive, content.constData(), static_cast<zip_uint64_t>(content.size()), 0);
        EXPECT_GE(zip_file_add(archive, name.constData(), source, 0), 0) << zip_strerror(archive);
    }
    EXPECT_EQ(zip_close(archive), 0);
    return ReadFile(path);
}

QByteArray WithMarker(QByteArray archive, const QByteArray& marker)
{
    archive.replace(0, marker.size(), marker);
    return archive;
}

QByteArray XorLongMarker()
{
    return QByteArray::fromHex("4b5442728ca2f789");
}

QByteArray ZipLongMarker()
{
    return QByteArray::fromHex("4b5442723ea968f4");
}

QByteArray DesMarker()
{
    return QByteArray::fromHex("4b5442723ea968f5");
}

} // namespace pavlora::test
