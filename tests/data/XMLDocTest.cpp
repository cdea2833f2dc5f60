#include "core/XMLDoc.h"
#include "core/DataStream.h"
#include "support/TestSandbox.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

TEST(XMLDoc, BuildsDocumentsIndentedByTwoSpaces)
{
    TXMLDoc doc;
    pugi::xml_node request = TXMLDoc::AddChildNode(doc.Document(), "request");
    TXMLDoc::AddAttribute(request, "version", QStringLiteral("2"));
    pugi::xml_node login = TXMLDoc::AddChildNode(request, "login");
    TXMLDoc::AddChildNode(login, "user", QStringLiteral("m\u00fcller"));
    TXMLDoc::AddChildNode(login, "empty");
    EXPECT_EQ(doc.Xml(),
        QByteArray("<request version=\"2\">\n"
                   "  <login>\n"
                   "    <user>m\xc3\xbcller</user>\n"
                   "    <empty />\n"
                   "  </login>\n"
                   "</request>\n"));
}

TEST(XMLDoc, ReadsChildTextsAndAttributes)
{
    TXMLDoc doc;
    doc.LoadXml("<r n=\"42\" x=\"4x\"><a>Yes</a><b>1</b><c>no</c><m>t<i/></m><d/></r>");
    const pugi::xml_node r = doc.Document().child("r");
    EXPECT_EQ(TXMLDoc::ChildNodeText(r, "a"), QLatin1String("Yes"));
    EXPECT_EQ(TXMLDoc::ChildNodeText(r, "m"), QString()); // not a pure text element
    EXPECT_EQ(TXMLDoc::ChildNodeText(r, "missing"), QString());
    EXPECT_TRUE(TXMLDoc::ChildNodeBool(r, "a"));
    EXPECT_TRUE(TXMLDoc::ChildNodeBool(r, "b"));
    EXPECT_FALSE(TXMLDoc::ChildNodeBool(r, "c"));
    EXPECT_FALSE(TXMLDoc::ChildNodeBool(r, "d"));
    EXPECT_EQ(TXMLDoc::AttributeInt(r, "n"), 42);
    EXPECT_EQ(TXMLDoc::AttributeInt(r, "missing"), 0);
    EXPECT_THROW(TXMLDoc::AttributeInt(r, "x"), EDataDocumentError);
    EXPECT_EQ(TXMLDoc::AttributeText(r, "missing"), QString());
    EXPECT_TRUE(TXMLDoc::FindAttributeNode(r, "n"));
    EXPECT_TRUE(TXMLDoc::FindChildNode(r, "d"));
    EXPECT_THROW(doc.LoadXml("<r>"), EDataDocumentError);
}

} // namespace
} // namespace pavlora::test
