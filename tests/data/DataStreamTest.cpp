#include "DataFixtures.h"

#include "core/DataKey.h"
#include "core/DataStream.h"
#include "core/DesCfb8.h"
#include "support/TestSandbox.h"

#include <gtest/gtest.h>

#include <functional>

namespace pavlora::test {
namespace {

const QByteArray kKey = QByteArrayLiteral("K3y-Text");
const QByteArray kXml = QByteArrayLiteral("<?xml version=\"1.0\"?>\n<ini><a>\xc3\xa4</a></ini>\n");

struct VariantCase {
    const char* name;
    std::function<QByteArray()> stored; // built from kXml (or the DES vector)
    DataVariant variant;
    QByteArray plain;
    QByteArray key;
};

class DecodeVariant : public ::testing::TestWithParam<VariantCase> { };

TEST_P(DecodeVariant, GivesThePlainBytes)
{
    const VariantCase& c = GetParam();
    const QByteArray stored = c.stored();
    EXPECT_EQ(ClassifyDataStream(stored), c.variant);
    EXPECT_EQ(DecodeDataStream(stored, c.key), c.plain);
}

INSTANTIATE_TEST_SUITE_P(Variants, DecodeVariant,
    ::testing::Values(VariantCase{"Plain", []() -> QByteArray { return kXml; }, DataVariant::Plain, kXml, kKey},
        VariantCase{"ThreeBytesUnchanged", []() -> QByteArray { return QByteArrayLiteral("KTB"); }, DataVariant::Plain,
            QByteArrayLiteral("KTB"), kKey},
        VariantCase{"Empty", []() -> QByteArray { return QByteArray(); }, DataVariant::Plain, QByteArray(), kKey},
        VariantCase{"XorShort", []() -> QByteArray { return QByteArrayLiteral("KTBr") + XorByDefinition(kXml, kKey); },
            DataVariant::XorShort, kXml, kKey},
        VariantCase{"XorShortMarkerOnly", []() -> QByteArray { return QByteArrayLiteral("KTBr"); },
            DataVariant::XorShort, QByteArray(), kKey},
        VariantCase{"XorLong", []() -> QByteArray { return XorLongMarker() + XorByDefinition(kXml, kKey); },
            DataVariant::XorLong, kXml, kKey},
        VariantCase{"ZipShort",
            []() -> QByteArray {
                return WithMarker(BuildZip({{"doc.xml", kXml}}), QByteArrayLiteral("KTBz"));
            },
            DataVariant::ZipShort, kXml, kKey},
        VariantCase{"ZipLong",
            []() -> QByteArray {
                return WithMarker(BuildZip({{"doc.xml", kXml}}), ZipLongMarker());
            },
            DataVariant::ZipLong, kXml, kKey},
        VariantCase{"ZipNeedsNoKey",
            []() -> QByteArray {
                return WithMarker(BuildZip({{"doc.xml", kXml}}), QByteArrayLiteral("KTBz"));
            },
            DataVariant::ZipShort, kXml, QByteArray()},
        VariantCase{"Des", []() -> QByteArray { return DesMarker() + DesCipher(); }, DataVariant::Des, DesPlain(),
            DesKeyText()},
        VariantCase{"OtherKTBrFormIsShortXor",
            []() -> QByteArray {
                return QByteArrayLiteral("KTBr") + XorByDefinition(QByteArrayLiteral("\x3e\xa9\x68\xf6<a/>"), kKey);
            },
            DataVariant::XorShort, QByteArrayLiteral("\x3e\xa9\x68\xf6<a/>"), kKey}),
    CaseName());

TEST(DataStream, AnOrdinaryZipArchiveIsPlain)
{
    // The long zip marker stands for exactly these eight bytes.
    const QByteArray archive = BuildZip({{"doc.xml", kXml}});
    EXPECT_TRUE(archive.startsWith(QByteArray::fromHex("504b030414000000")));
    EXPECT_EQ(ClassifyDataStream(archive), DataVariant::Plain);
    EXPECT_EQ(DecodeDataStream(archive, kKey), archive);
}

struct FailureCase {
    const char* name;
    std::function<QByteArray()> stored;
    QByteArray key;
    const char* text; // the exact text, or nullptr for any non-empty text
};

class DecodeFailure : public ::testing::TestWithParam<FailureCase> { };

TEST_P(DecodeFailure, RaisesWithItsText)
{
    const FailureCase& c = GetParam();
    try {
        DecodeDataStream(c.stored(), c.key);
        FAIL() << "no exception";
    } catch (const EDataDocumentError& error) {
        if (c.text)
            EXPECT_STREQ(error.what(), c.text);
        else
            EXPECT_STRNE(error.what(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DecodeFailure,
    ::testing::Values(
        FailureCase{"TwoEntryZip",
            []() -> QByteArray {
                return WithMarker(BuildZip({{"a.xml", kXml}, {"b.xml", kXml}}), QByteArrayLiteral("KTBz"));
            },
            kKey, "Invalid file format"},
        FailureCase{"TwoEntryLongZip",
            []() -> QByteArray {
                return WithMarker(BuildZip({{"a.xml", kXml}, {"b.xml", kXml}}), ZipLongMarker());
            },
            kKey, "Invalid file format"},
        FailureCase{"ZipAboveTheCap",
            []() -> QByteArray {
                return WithMarker(
                    BuildZip({{"big.xml", QByteArray(kMaxUnpackedDocumentSize + 1, ' ')}}), QByteArrayLiteral("KTBz"));
            },
            kKey, "Invalid file format"},
        FailureCase{"TruncatedZip",
            []() -> QByteArray {
                return WithMarker(BuildZip({{"a.xml", kXml}}), QByteArrayLiteral("KTBz")).left(40);
            },
            kKey, nullptr},
        FailureCase{"ZipMarkerOnly", []() -> QByteArray { return QByteArrayLiteral("KTBz"); }, kKey, nullptr},
        FailureCase{"XorWithEmptyKey", []() -> QByteArray { return QByteArrayLiteral("KTBr") + kXml; }, QByteArray(),
            "Empty key"},
        FailureCase{
            "DesWithEmptyKey", []() -> QByteArray { return DesMarker() + DesCipher(); }, QByteArray(), "Empty key"}),
    CaseName());

TEST(DataStream, ZipExactlyAtTheCapIsRead)
{
    const QByteArray content(kMaxUnpackedDocumentSize, 'x');
    EXPECT_EQ(DecodeDataStream(WithMarker(BuildZip({{"big.xml", content}}), ZipLongMarker()), kKey).size(),
        kMaxUnpackedDocumentSize);
}

TEST(DataStream, DesMatchesTheReferenceVectorBothWays)
{
    const TDesCfb8 des(DesKeyText());
    EXPECT_EQ(des.DesKey().toHex(), QByteArray("f701b01b2aaf72a2"));
    EXPECT_EQ(des.InitialVector().toHex(), QByteArray("ca9c19cc6c3d51ab"));
    EXPECT_EQ(des.Encrypt(DesPlain()), DesCipher());
    EXPECT_EQ(EncodeDataStream(DesPlain(), EncryptVariant::Des, DesKeyText()), DesMarker() + DesCipher());
    // Shorter than one register: only the initialisation vector is involved.
    EXPECT_EQ(des.Decrypt(DesCipher().left(5)), DesPlain().left(5));
}

TEST(DataStream, EncodingRoundTripsAreByteIdentical)
{
    QByteArray data;
    for (int i = 0; i < 5000; ++i)
        data.append(static_cast<char>((i * 7919) & 0xff));
    for (const EncryptVariant variant : {EncryptVariant::Xor, EncryptVariant::Des}) {
        const QByteArray stored = EncodeDataStream(data, variant, kKey);
        EXPECT_EQ(
            ClassifyDataStream(stored), variant == EncryptVariant::Des ? DataVariant::Des : DataVariant::XorShort);
        EXPECT_NE(stored.mid(MarkerLength(ClassifyDataStream(stored))), data);
        EXPECT_EQ(DecodeDataStream(stored, kKey), data);
    }
    EXPECT_EQ(
        EncodeDataStream(kXml, EncryptVariant::Xor, kKey), QByteArrayLiteral("KTBr") + XorByDefinition(kXml, kKey));
}

TEST(DataStream, LargeDesDocumentsDecryptInParts)
{
    // Large inputs are decrypted in parts on several threads; every part
    // boundary must pick up the register from the ciphertext before it.
    QByteArray data(3 * 1024 * 1024 + 5, Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>((i * 2654435761u) >> 13);
    const QByteArray stored = EncodeDataStream(data, EncryptVariant::Des, kKey);
    EXPECT_EQ(DecodeDataStream(stored, kKey), data);
}

TEST(DataStream, EncodingWithAnEmptyKeyFails)
{
    EXPECT_THROW(EncodeDataStream(kXml, EncryptVariant::Xor, QByteArray()), EDataDocumentError);
    EXPECT_THROW(EncodeDataStream(kXml, EncryptVariant::Des, QByteArray()), EDataDocumentError);
}

TEST(DataStream, XorTransformPlainAndExtendedModes)
{
    const QByteArray text = QByteArrayLiteral("Hello, World");
    QByteArray plain = text;
    XorTransform(plain, QByteArrayLiteral("abc"));
    EXPECT_EQ(plain, QByteArray::fromHex("29070f0d0d4f41350c130e07"));
    // Extended: also XORed with the index, the key length and the data length.
    QByteArray extended = text;
    XorTransform(extended, QByteArrayLiteral("abc"), true);
    EXPECT_EQ(extended, QByteArray::fromHex("260902010645483d0b150b03"));
    XorTransform(extended, QByteArrayLiteral("abc"), true);
    EXPECT_EQ(extended, text);
}

TEST(DataStream, XorTransformExtendedUsesTheLowByteOfTheIndex)
{
    QByteArray data(300, '\0');
    XorTransform(data, QByteArrayLiteral("k"), true);
    // 300 = 0x12C: the low byte of the length is 0x2C, of the key length 1.
    EXPECT_EQ(static_cast<unsigned char>(data.at(0)), 'k' ^ 0x01 ^ 0x2C);
    EXPECT_EQ(static_cast<unsigned char>(data.at(257)), 'k' ^ 0x01 ^ 0x01 ^ 0x2C);
}

TEST(DataStream, GlobalKeyStartsAsTheBuiltInKeyAndDecodesWithIt)
{
    EXPECT_EQ(GlobalDataKey(), QLatin1String(kBuiltInDataKey));
    EXPECT_EQ(GlobalDataKey().size(), 9);
    const QByteArray stored = QByteArrayLiteral("KTBr") + XorByDefinition(kXml, QByteArray(kBuiltInDataKey));
    EXPECT_EQ(DecodeDataStream(stored), kXml);
    SetGlobalDataKey(QStringLiteral("Gr\u00fc\u00dfe"));
    EXPECT_EQ(GlobalDataKeyBytes(),
        QByteArray("Gr\xfc\xdf"
                   "e"));
    SetGlobalDataKey(QString());
    EXPECT_THROW(DecodeDataStream(stored), EDataDocumentError);
    ResetGlobalDataKey();
}

} // namespace
} // namespace pavlora::test
