#include "ToolProcess.h"

#include "data/DataFixtures.h"
#include "support/TestSandbox.h"

#include "core/DataKey.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

const QByteArray kXml = QByteArrayLiteral("<?xml version=\"1.0\"?><ini><a>\xc3\xa4</a></ini>");
// kXml as SaveXMLDocument writes it.
const QByteArray kSaved = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ini>\n"
                                            "  <a>\xc3\xa4</a>\n</ini>\n");

QString Path(const QString& name)
{
    return SandboxFolder() + QStringLiteral("/work/data/") + name;
}

class DataCommand : public ::testing::Test {
protected:
    void SetUp() override { MakeFolder(QStringLiteral("data")); }
};

struct DecodeCase {
    const char* name;
    QByteArray (*stored)();
    QStringList keyArguments;
    QByteArray plain;
};

class DataDecode : public DataCommand, public ::testing::WithParamInterface<DecodeCase> { };

TEST_P(DataDecode, WritesThePlainBytesWhateverTheVariant)
{
    const DecodeCase& c = GetParam();
    WriteFile(Path(QStringLiteral("doc.dat")), c.stored());
    WriteFile(Path(QStringLiteral("AppIni.dat")),
        QByteArrayLiteral("KTBr")
            + XorByDefinition("<ini><GlobalXOrKey>vom-ini</GlobalXOrKey></ini>", QByteArray(kBuiltInDataKey)));
    QStringList arguments{QStringLiteral("data"), QStringLiteral("decode")};
    for (const QString& argument : c.keyArguments)
        arguments << (argument == QLatin1String("INI") ? Path(QStringLiteral("AppIni.dat")) : argument);
    const ToolResult result = RunTool(arguments << Path(QStringLiteral("doc.dat")));
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, c.plain);
}

INSTANTIATE_TEST_SUITE_P(Cases, DataDecode,
    ::testing::Values(DecodeCase{"Plain", [] { return kXml; }, {}, kXml},
        DecodeCase{"XorBuiltInKey",
            []() -> QByteArray {
                return QByteArrayLiteral("KTBr") + XorByDefinition(kXml, QByteArray(kBuiltInDataKey));
            },
            {}, kXml},
        DecodeCase{"XorLongGivenKey", []() -> QByteArray { return XorLongMarker() + XorByDefinition(kXml, "abc"); },
            {QStringLiteral("--key"), QStringLiteral("abc")}, kXml},
        DecodeCase{"XorKeyOfAppIni",
            []() -> QByteArray { return QByteArrayLiteral("KTBr") + XorByDefinition(kXml, "vom-ini"); },
            {QStringLiteral("--ini"), QStringLiteral("INI")}, kXml},
        DecodeCase{"ZipShort",
            [] {
                return WithMarker(BuildZip({{"d.xml", kXml}}), QByteArrayLiteral("KTBz"));
            },
            {}, kXml},
        DecodeCase{"ZipLong",
            [] {
                return WithMarker(BuildZip({{"d.xml", kXml}}), ZipLongMarker());
            },
            {}, kXml},
        DecodeCase{"Des", []() -> QByteArray { return DesMarker() + DesCipher(); },
            {QStringLiteral("--key"), QString::fromLatin1(DesKeyText())}, DesPlain()}),
    CaseName());

TEST_F(DataCommand, EncodeRoundTripsThroughDecodeForEveryVariant)
{
    WriteFile(Path(QStringLiteral("in.xml")), kXml);
    for (const char* variant : {"plain", "xor", "des"}) {
        const QString out = Path(QStringLiteral("out-%1.dat").arg(QLatin1String(variant)));
        ToolResult result = RunTool(
            {QStringLiteral("data"), QStringLiteral("encode"), QStringLiteral("--variant"), QLatin1String(variant),
                QStringLiteral("--key"), QStringLiteral("k1"), Path(QStringLiteral("in.xml")), out});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QByteArray stored = ReadFile(out);
        EXPECT_EQ(stored.startsWith("KTBr"), QByteArray(variant) != "plain") << variant;
        result = RunTool(
            {QStringLiteral("data"), QStringLiteral("decode"), QStringLiteral("--key"), QStringLiteral("k1"), out});
        EXPECT_EQ(result.out, kSaved) << variant;
    }
    EXPECT_EQ(ReadFile(Path(QStringLiteral("out-xor.dat"))), QByteArrayLiteral("KTBr") + XorByDefinition(kSaved, "k1"));
}

TEST_F(DataCommand, FailedEncodeLeavesAnExistingOutUntouched)
{
    WriteFile(Path(QStringLiteral("in.xml")), kXml);
    WriteFile(Path(QStringLiteral("broken.xml")), "<ini><a></ini>");
    // An AppIni.dat without GlobalXOrKey puts the empty key in force.
    WriteFile(Path(QStringLiteral("AppIni.dat")), "<ini><apptitle>x</apptitle></ini>");
    WriteFile(Path(QStringLiteral("out.dat")), "previous");
    const QList<QStringList> failing{
        {QStringLiteral("--variant"), QStringLiteral("xor"), QStringLiteral("--ini"),
            Path(QStringLiteral("AppIni.dat")), Path(QStringLiteral("in.xml"))},
        {QStringLiteral("--variant"), QStringLiteral("des"), QStringLiteral("--key"), QString(),
            Path(QStringLiteral("in.xml"))},
        {QStringLiteral("--variant"), QStringLiteral("plain"), Path(QStringLiteral("broken.xml"))},
        {QStringLiteral("--variant"), QStringLiteral("plain"), Path(QStringLiteral("missing.xml"))},
    };
    for (const QStringList& arguments : failing) {
        const ToolResult result = RunTool(QStringList{QStringLiteral("data"), QStringLiteral("encode")} + arguments
            << Path(QStringLiteral("out.dat")));
        EXPECT_EQ(result.exitCode, 1) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(ReadFile(Path(QStringLiteral("out.dat"))), QByteArray("previous"));
    }
}

TEST_F(DataCommand, CheckReportsEachFile)
{
    WriteFile(Path(QStringLiteral("good.dat")),
        QByteArrayLiteral("KTBr")
            + XorByDefinition(
                "<r><master mid=\"m\" orgname=\"x\"/><link mref=\"M\"/></r>", QByteArray(kBuiltInDataKey)));
    WriteFile(Path(QStringLiteral("link.dat")), "<r><link mref=\"gone\"/></r>");
    WriteFile(Path(QStringLiteral("zip.dat")), WithMarker(BuildZip({{"a", "<a/>"}, {"b", "<b/>"}}), "KTBz"));
    const ToolResult result = RunTool({QStringLiteral("data"), QStringLiteral("check"),
        Path(QStringLiteral("good.dat")), Path(QStringLiteral("link.dat")), Path(QStringLiteral("zip.dat"))});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(result.out),
        Path(QStringLiteral("good.dat")) + QStringLiteral(": ok\n") + Path(QStringLiteral("link.dat"))
            + QStringLiteral(": master gone not found\n") + Path(QStringLiteral("zip.dat"))
            + QStringLiteral(": Invalid file format\n"));

    const ToolResult ok = RunTool({QStringLiteral("data"), QStringLiteral("check"), Path(QStringLiteral("good.dat"))});
    EXPECT_EQ(ok.exitCode, 0);
}

struct UsageCase {
    const char* name;
    QStringList arguments;
    int exitCode;
};

class DataUsage : public DataCommand, public ::testing::WithParamInterface<UsageCase> { };

TEST_P(DataUsage, IsRefused)
{
    WriteFile(Path(QStringLiteral("doc.dat")), QByteArrayLiteral("KTBr") + XorByDefinition(kXml, "k"));
    QStringList arguments{QStringLiteral("data")};
    for (const QString& argument : GetParam().arguments)
        arguments << (argument == QLatin1String("DOC") ? Path(QStringLiteral("doc.dat")) : argument);
    const ToolResult result = RunTool(arguments);
    EXPECT_EQ(result.exitCode, GetParam().exitCode);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_FALSE(result.err.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, DataUsage,
    ::testing::Values(UsageCase{"NoAction", {}, 2},
        UsageCase{"UnknownAction", {QStringLiteral("show"), QStringLiteral("DOC")}, 2},
        UsageCase{"KeyAndIni",
            {QStringLiteral("decode"), QStringLiteral("--key"), QStringLiteral("k"), QStringLiteral("--ini"),
                QStringLiteral("DOC"), QStringLiteral("DOC")},
            2},
        UsageCase{"EncodeWithoutVariant", {QStringLiteral("encode"), QStringLiteral("DOC"), QStringLiteral("DOC")}, 2},
        UsageCase{"UnknownVariant",
            {QStringLiteral("encode"), QStringLiteral("--variant"), QStringLiteral("zip"), QStringLiteral("DOC"),
                QStringLiteral("DOC")},
            2},
        UsageCase{"DecodeTwoFiles", {QStringLiteral("decode"), QStringLiteral("DOC"), QStringLiteral("DOC")}, 2},
        UsageCase{"ExplicitlyEmptyKey",
            {QStringLiteral("decode"), QStringLiteral("--key"), QString(), QStringLiteral("DOC")}, 1},
        UsageCase{"MissingIni",
            {QStringLiteral("decode"), QStringLiteral("--ini"), QStringLiteral("/nonexistent/AppIni.dat"),
                QStringLiteral("DOC")},
            1}),
    CaseName());

} // namespace
} // namespace pavlora::test
