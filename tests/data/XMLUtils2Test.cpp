#include "DataFixtures.h"

#include "core/DataKey.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"
#include "core/XMLUtils2.h"
#include "support/TestSandbox.h"

#include <QDir>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <csignal>
#include <sys/resource.h>

namespace pavlora::test {
namespace {

// The text SaveXMLDocument gives for the document <ini><a>1</a><b x="y"/></ini>
// with pretty printing.
const QByteArray kPrettyIni = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                                "<ini>\n"
                                                "  <a>1</a>\n"
                                                "  <b x=\"y\" />\n"
                                                "</ini>\n");
// kPrettyIni encrypted with DES-CFB-8 under the built-in key, computed with
// "openssl enc -des-cfb8 -nopad -K 4c66b48a95b46650 -iv 7462c7f43f65326b".
const QByteArray kPrettyIniDes = QByteArray::fromHex(
    "8a020936746a317bc2960c8534fdeb52cf1e2353c322587a4ee38f02525b6f3c8b13c0c6cb0d41a9ccdfc66f932cc7001c593653aab3"
    "76e661153d9052e606f165045ea8561390267209c8f9a2");

TXMLDocumentPtr Parse(const char* text)
{
    return ParseXMLText(QByteArray(text));
}

std::string Text(pugi::xml_node node)
{
    struct Writer : pugi::xml_writer {
        QByteArray bytes;
        void write(const void* data, size_t size) override
        {
            bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
        }
    } writer;
    node.print(writer, "", pugi::format_raw);
    return writer.bytes.toStdString();
}

TEST(ReadXMLDocument, EncryptedFileReadsBackAndSavesToTheSameBytes)
{
    const QString folder = MakeFolder(QStringLiteral("data"));
    RegisterPathPlaceholder(QStringLiteral("{Data}"), folder);
    const QByteArray key(kBuiltInDataKey);
    for (const bool des : {false, true}) {
        const QByteArray stored
            = des ? DesMarker() + kPrettyIniDes : QByteArrayLiteral("KTBr") + XorByDefinition(kPrettyIni, key);
        WriteFile(folder + QStringLiteral("/x.dat"), stored);
        const TXMLDocumentPtr document = ReadXMLDocument(QStringLiteral("{DATA}\\x.dat"));
        EXPECT_STREQ(document->child("ini").child("b").attribute("x").value(), "y");
        SaveXMLDocument(
            *document, QStringLiteral("{Data}/y.dat"), true, des ? EncryptVariant::Des : EncryptVariant::Xor, true);
        EXPECT_EQ(ReadFile(folder + QStringLiteral("/y.dat")), stored) << (des ? "DES" : "XOR");
    }
}

TEST(ReadXMLDocument, FailuresCarryTheirContextsAndTexts)
{
    const QString folder = MakeFolder(QStringLiteral("data"));
    const QString twoEntries = folder + QStringLiteral("/two.dat");
    WriteFile(twoEntries, WithMarker(BuildZip({{"a", "<a/>"}, {"b", "<b/>"}}), QByteArrayLiteral("KTBz")));
    try {
        ReadXMLDocument(twoEntries);
        FAIL() << "no exception";
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().context, QLatin1String("XMLUtils2.ReadXMLDocument"));
        EXPECT_EQ(error.Error().codeText, QLatin1String("Invalid file format"));
        EXPECT_EQ(error.Error().code, 2);
    }
    try {
        ReadXMLDocumentBytes(QByteArrayLiteral("<a><b></a>"));
        FAIL() << "no exception";
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().context, QLatin1String("XMLUTils2.ReadXMLDocument"));
        EXPECT_FALSE(error.Error().codeText.isEmpty());
    }
    EXPECT_THROW(ReadXMLDocument(folder + QStringLiteral("/missing.dat")), EQORException);
    EXPECT_THROW(ReadXMLDocumentBytes(QByteArrayLiteral("<a")), EQORException);
    EXPECT_THROW(ReadXMLDocumentBytes(QByteArray()), EQORException);
}

struct EncodingCase {
    const char* name;
    QByteArray stored;
    const char* text; // UTF-8 text of the element
};

class DeclaredEncoding : public ::testing::TestWithParam<EncodingCase> { };

TEST_P(DeclaredEncoding, IsReadAsUtf8)
{
    const TXMLDocumentPtr document = ReadXMLDocumentBytes(GetParam().stored);
    EXPECT_STREQ(document->child("a").text().get(), GetParam().text);
    // The declaration names what the document now is.
    const QByteArray saved = XMLDocumentText(*document, false);
    EXPECT_TRUE(saved.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << saved.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, DeclaredEncoding,
    ::testing::Values(EncodingCase{"Windows1252",
                          QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\x80 \xe4\x9f</a>"),
                          "\xe2\x82\xac \xc3\xa4\xc5\xb8"},
        EncodingCase{"Cp1252SingleQuoted", QByteArrayLiteral("<?xml version='1.0' encoding='CP1252'?><a>\x93x\x94</a>"),
            "\xe2\x80\x9cx\xe2\x80\x9d"},
        EncodingCase{"Latin1", QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xe4\x80</a>"),
            "\xc3\xa4\xc2\x80"},
        EncodingCase{
            "Utf8", QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xe2\x82\xac</a>"), "\xe2\x82\xac"},
        EncodingCase{"XorWindows1252",
            QByteArrayLiteral("KTBr")
                + XorByDefinition(QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\x80</a>"),
                    QByteArray(kBuiltInDataKey)),
            "\xe2\x82\xac"}),
    CaseName());

TEST(SaveXMLDocument, SetsTheDeclarationAndIndentsByTwoSpaces)
{
    const QString folder = MakeFolder(QStringLiteral("save"));
    const TXMLDocumentPtr bare = Parse("<ini><a>1</a><b x=\"y\"/></ini>");
    SaveXMLDocument(*bare, folder + QStringLiteral("/bare.xml"), false, EncryptVariant::Xor, true);
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/bare.xml")), kPrettyIni);

    const TXMLDocumentPtr declared = Parse("<?xml version=\"1.1\" encoding=\"ISO-8859-1\" standalone=\"yes\"?><r/>");
    SaveXMLDocument(*declared, folder + QStringLiteral("/declared.xml"), false, EncryptVariant::Xor, false);
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/declared.xml")),
        QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><r/>"));

    pugi::xml_document empty;
    SaveXMLDocument(empty, folder + QStringLiteral("/empty.xml"), false, EncryptVariant::Xor, false);
    EXPECT_EQ(
        ReadFile(folder + QStringLiteral("/empty.xml")), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 3); // no temporary files left
}

struct FailedSaveCase {
    const char* name;
    const char* key;
    EncryptVariant variant;
    bool diskFull;
};

class FailedSave : public ::testing::TestWithParam<FailedSaveCase> { };

TEST_P(FailedSave, LeavesThePreviousFileIntact)
{
    const FailedSaveCase& c = GetParam();
    const QString folder = MakeFolder(QStringLiteral("save"));
    const QString path = folder + QStringLiteral("/cart.psc");
    const QByteArray previous = QByteArrayLiteral("KTBr previous cart");
    WriteFile(path, previous);
    SetGlobalDataKey(QString::fromLatin1(c.key));

    pugi::xml_document document;
    pugi::xml_node root = document.append_child("cart");
    for (int i = 0; i < 2000; ++i)
        root.append_child("item").append_attribute("id").set_value(i);

    rlimit saved{};
    if (c.diskFull) {
        // The file system refuses to grow a file past 4 KiB, as a full disk would.
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        limit.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    try {
        SaveXMLDocument(document, path, true, c.variant, true);
        ADD_FAILURE() << "no exception";
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().context, QLatin1String("XMLUtils2.SaveXMLDocument"));
    }
    if (c.diskFull)
        setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(ReadFile(path), previous);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("cart.psc")});
    ResetGlobalDataKey();
}

INSTANTIATE_TEST_SUITE_P(Cases, FailedSave,
    ::testing::Values(FailedSaveCase{"EmptyKeyXor", "", EncryptVariant::Xor, false},
        FailedSaveCase{"EmptyKeyDes", "", EncryptVariant::Des, false},
        FailedSaveCase{"DiskFull", "key", EncryptVariant::Des, true}),
    CaseName());

struct DeclarationCase {
    const char* name;
    const char* text;
    const char* result;
};

class SetEncoding : public ::testing::TestWithParam<DeclarationCase> { };

TEST_P(SetEncoding, GivesAWellFormedDeclaration)
{
    EXPECT_EQ(SetEncodingDeclaration(QByteArray(GetParam().text), "UTF-8"), QByteArray(GetParam().result));
}

INSTANTIATE_TEST_SUITE_P(Cases, SetEncoding,
    ::testing::Values(DeclarationCase{"ReplacesTheValue", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>",
                          "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a/>"},
        DeclarationCase{"ReplacesASingleQuotedValue", "<?xml version='1.0' encoding='cp1252'?><a/>",
            "<?xml version='1.0' encoding='UTF-8'?><a/>"},
        DeclarationCase{
            "AddsTheAttribute", "<?xml version=\"1.0\"?><a/>", "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><a/>"},
        DeclarationCase{"OnlyInTheDeclaration", "<?xml version=\"1.0\"?><a encoding=\"x\"/>",
            "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><a encoding=\"x\"/>"},
        DeclarationCase{"NoDeclaration", "<a/>", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a/>"},
        DeclarationCase{"EmptyText", "", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"},
        DeclarationCase{"UnclosedIsUnchanged", "<?xml version=\"1.0\"", "<?xml version=\"1.0\""}),
    CaseName());

TEST(ReadIniDocument, LaterLayersOverrideAndEmptyElementsRemove)
{
    TNameValueList list;
    ReadIniDocument(list, *Parse("<ini><AppTitle>Eins</AppTitle><Keep>k</Keep><Gone>g</Gone></ini>"));
    ReadIniDocument(list, *Parse("<ini><apptitle>Zwei</apptitle><GONE/><new>n</new></ini>"));
    ReadIniDocument(list, *Parse("<settings><keep>ignored</keep></settings>"));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(0).name, QLatin1String("apptitle"));
    EXPECT_EQ(list.Value(QStringLiteral("APPTITLE")), QLatin1String("Zwei"));
    EXPECT_EQ(list.Value(QStringLiteral("keep")), QLatin1String("k"));
    EXPECT_FALSE(list.Contains(QStringLiteral("gone")));
    EXPECT_EQ(list.At(2).name, QLatin1String("new"));
}

TEST(ReadIniFile, ReadsEncryptedFilesAndSkipsMissingOnes)
{
    const QString folder = MakeFolder(QStringLiteral("ini"));
    WriteFile(folder + QStringLiteral("/AppIni.dat"),
        QByteArrayLiteral("KTBr")
            + XorByDefinition("<ini><GlobalXOrKey>geheim</GlobalXOrKey></ini>", QByteArray(kBuiltInDataKey)));
    TNameValueList list;
    ReadIniFile(list, folder + QStringLiteral("/AppIni.dat"));
    ReadIniFile(list, folder + QStringLiteral("/Missing.dat"));
    EXPECT_EQ(list.Value(QStringLiteral("globalxorkey")), QLatin1String("geheim"));
    EXPECT_EQ(list.Count(), 1);
}

TEST(ResolveLinks, ExpandsAfterThePreExistingChildrenWithTheLinksAttributes)
{
    const TXMLDocumentPtr document = Parse("<cat>"
                                           "<master mid=\"M1\" orgname=\"item\" size=\"10\" color=\"red\">"
                                           "<part n=\"1\"/></master>"
                                           "<group><sub>"
                                           "<a/>"
                                           "<link mref=\"m1\" size=\"20\" mid=\"x\" orgname=\"y\"><extra/></link>"
                                           "<b/>"
                                           "</sub></group>"
                                           "</cat>");
    ResolveLinks(document->document_element());
    EXPECT_EQ(Text(document->child("cat").child("group")),
        std::string("<group><sub><a/><b/><item size=\"20\" color=\"red\" mref=\"m1\"><part n=\"1\"/><extra/>"
                    "</item></sub></group>"));
}

TEST(ResolveLinks, FollowsTheOrderOfThePass)
{
    // Expansions go to the end in link order; links copied into an
    // expansion are expanded when the pass reaches it; the nearest master
    // wins over one further up.
    const TXMLDocumentPtr document = Parse("<r><master mid=\"B\" orgname=\"b\" v=\"outer\"/><s>"
                                           "<link mref=\"A\" n=\"1\"/>"
                                           "<x/>"
                                           "<link mref=\"B\" n=\"2\"><link mref=\"B\" n=\"3\"/></link>"
                                           "<master mid=\"A\" orgname=\"a\"><link mref=\"B\"/></master>"
                                           "<master mid=\"B\" orgname=\"b\" v=\"inner\"/>"
                                           "</s></r>");
    ResolveLinks(document->document_element());
    EXPECT_EQ(Text(document->child("r").child("s")),
        std::string("<s><x/>"
                    "<master mid=\"A\" orgname=\"a\"><b v=\"inner\" mref=\"B\"/></master>"
                    "<master mid=\"B\" orgname=\"b\" v=\"inner\"/>"
                    "<a mref=\"A\" n=\"1\"><b v=\"inner\" mref=\"B\"/></a>"
                    "<b v=\"inner\" mref=\"B\" n=\"2\"><b v=\"inner\" mref=\"B\" n=\"3\"/></b>"
                    "</s>"));
}

struct LinkFailureCase {
    const char* name;
    const char* xml;
    const char* text;
};

class ResolveLinksFailure : public ::testing::TestWithParam<LinkFailureCase> { };

TEST_P(ResolveLinksFailure, RaisesInsteadOfLooping)
{
    const TXMLDocumentPtr document = Parse(GetParam().xml);
    try {
        ResolveLinks(document->document_element());
        FAIL() << "no exception";
    } catch (const EDataDocumentError& error) {
        EXPECT_STREQ(error.what(), GetParam().text);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ResolveLinksFailure,
    ::testing::Values(
        LinkFailureCase{"MissingMasterQuotesMref",
            "<r><master mid=\"A\" orgname=\"a\"/><link mref=\"Q\" master=\"other\"/></r>", "master Q not found"},
        LinkFailureCase{"MasterInASiblingBranchIsNotInScope",
            "<r><s><master mid=\"A\" orgname=\"a\"/></s><t><link mref=\"A\"/></t></r>", "master A not found"},
        LinkFailureCase{"SelfCycle",
            "<r><master mid=\"A\" orgname=\"a\"><link mref=\"A\"/></master><link mref=\"A\"/></r>",
            "link cycle at master A"},
        LinkFailureCase{"TwoMasterCycle",
            "<r><master mid=\"A\" orgname=\"a\"><link mref=\"B\"/></master>"
            "<master mid=\"B\" orgname=\"b\"><link mref=\"A\"/></master></r>",
            "link cycle at master A"},
        LinkFailureCase{"ExponentialGrowth",
            "<r><master mid=\"A\" orgname=\"a\"><link mref=\"B\"/><link mref=\"B\"/><link mref=\"B\"/>"
            "<link mref=\"B\"/></master>"
            "<master mid=\"B\" orgname=\"b\"><link mref=\"C\"/><link mref=\"C\"/><link mref=\"C\"/>"
            "<link mref=\"C\"/></master>"
            "<master mid=\"C\" orgname=\"c\"><link mref=\"D\"/><link mref=\"D\"/><link mref=\"D\"/>"
            "<link mref=\"D\"/></master>"
            "<master mid=\"D\" orgname=\"d\"><link mref=\"E\"/><link mref=\"E\"/><link mref=\"E\"/>"
            "<link mref=\"E\"/></master>"
            "<master mid=\"E\" orgname=\"e\"><link mref=\"F\"/><link mref=\"F\"/><link mref=\"F\"/>"
            "<link mref=\"F\"/></master>"
            "<master mid=\"F\" orgname=\"f\"><link mref=\"G\"/><link mref=\"G\"/><link mref=\"G\"/>"
            "<link mref=\"G\"/></master>"
            "<master mid=\"G\" orgname=\"g\"><link mref=\"H\"/><link mref=\"H\"/><link mref=\"H\"/>"
            "<link mref=\"H\"/></master>"
            "<master mid=\"H\" orgname=\"h\"><link mref=\"I\"/><link mref=\"I\"/><link mref=\"I\"/>"
            "<link mref=\"I\"/></master>"
            "<master mid=\"I\" orgname=\"i\"><link mref=\"J\"/><link mref=\"J\"/><link mref=\"J\"/>"
            "<link mref=\"J\"/></master>"
            "<master mid=\"J\" orgname=\"j\"/>"
            "<link mref=\"A\"/><link mref=\"A\"/><link mref=\"A\"/><link mref=\"A\"/></r>",
            "too many link expansions at master J"}),
    CaseName());

TEST(RemoveEmptyElements, RemovesElementsEmptiedByTheirOwnCleaning)
{
    const TXMLDocumentPtr document
        = Parse("<r><a><b><c/></b><d x=\"1\"/><e>text</e><f><g/></f></a><h/><!--c--><i><j/><!--keep--></i></r>");
    RemoveEmptyElements(document->document_element());
    EXPECT_EQ(Text(document->document_element()),
        std::string("<r><a><d x=\"1\"/><e>text</e></a><!--c--><i><!--keep--></i></r>"));
}

} // namespace
} // namespace pavlora::test
