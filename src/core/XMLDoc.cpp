#include "core/XMLDoc.h"

#include "core/DataStream.h"
#include "core/XMLUtils2.h"

namespace pavlora {
namespace {

struct ByteWriter : pugi::xml_writer {
    QByteArray bytes;
    void write(const void* data, size_t size) override
    {
        bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

} // namespace

void TXMLDoc::LoadXml(const QByteArray& text)
{
    const TXMLDocumentPtr parsed = ParseXMLText(text);
    document_.reset(*parsed);
}

QByteArray TXMLDoc::Xml() const
{
    ByteWriter writer;
    document_.save(writer, "  ", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
    return writer.bytes;
}

pugi::xml_node TXMLDoc::FindChildNode(pugi::xml_node node, const char* name)
{
    return node.child(name);
}

QString TXMLDoc::ChildNodeText(pugi::xml_node node, const char* name)
{
    const pugi::xml_node child = node.child(name);
    // A pure text element: one text (or CDATA) node and nothing else.
    const pugi::xml_node text = child.first_child();
    if (!text || text.next_sibling() || (text.type() != pugi::node_pcdata && text.type() != pugi::node_cdata))
        return {};
    return QString::fromUtf8(text.value());
}

bool TXMLDoc::ChildNodeBool(pugi::xml_node node, const char* name)
{
    const QString text = ChildNodeText(node, name);
    return text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
        || text.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 || text == QLatin1String("1");
}

pugi::xml_node TXMLDoc::AddChildNode(pugi::xml_node node, const char* name, const QString& text)
{
    pugi::xml_node child = node.append_child(name);
    if (!text.isEmpty())
        child.text().set(text.toUtf8().constData());
    return child;
}

pugi::xml_attribute TXMLDoc::AddAttribute(pugi::xml_node node, const char* name, const QString& value)
{
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute)
        attribute = node.append_attribute(name);
    attribute.set_value(value.toUtf8().constData());
    return attribute;
}

pugi::xml_attribute TXMLDoc::FindAttributeNode(pugi::xml_node node, const char* name)
{
    return node.attribute(name);
}

QString TXMLDoc::AttributeText(pugi::xml_node node, const char* name)
{
    return QString::fromUtf8(node.attribute(name).value());
}

int TXMLDoc::AttributeInt(pugi::xml_node node, const char* name)
{
    return ReadIntAttribute(node, name, 0);
}

} // namespace pavlora
