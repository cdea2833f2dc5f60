#pragma once

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

namespace pavlora {

// A thin owner of one XML document with the indentation of two spaces: the
// base of the protocol's request and response documents. Names compare with
// case, as in XML. A document belongs to the thread that uses it.
class TXMLDoc {
public:
    TXMLDoc() = default;
    virtual ~TXMLDoc() = default;
    TXMLDoc(const TXMLDoc&) = delete;
    TXMLDoc& operator=(const TXMLDoc&) = delete;

    pugi::xml_document& Document() { return document_; }
    const pugi::xml_document& Document() const { return document_; }

    // Replaces the document by the parsed plain XML text; raises
    // EDataDocumentError when it does not parse.
    void LoadXml(const QByteArray& text);
    // The document's text, indented by two spaces per level, with the
    // declaration when the document has one.
    QByteArray Xml() const;

    // The first child element of `node` named `name`, or a null node.
    static pugi::xml_node FindChildNode(pugi::xml_node node, const char* name);
    // The text of that child when it is a pure text element, else empty.
    static QString ChildNodeText(pugi::xml_node node, const char* name);
    // That text as a boolean: "true", "yes" and "1" in any case are true.
    static bool ChildNodeBool(pugi::xml_node node, const char* name);
    // Appends a new child element, with a text when `text` is not empty.
    static pugi::xml_node AddChildNode(pugi::xml_node node, const char* name, const QString& text = QString());
    // Adds (or overwrites) an attribute.
    static pugi::xml_attribute AddAttribute(pugi::xml_node node, const char* name, const QString& value);
    // The attribute named `name`, or a null attribute.
    static pugi::xml_attribute FindAttributeNode(pugi::xml_node node, const char* name);
    // The attribute's text, empty when it is missing.
    static QString AttributeText(pugi::xml_node node, const char* name);
    // The attribute as an integer, 0 when missing; raises EDataDocumentError
    // for a non-numeric text.
    static int AttributeInt(pugi::xml_node node, const char* name);

private:
    pugi::xml_document document_;
};

} // namespace pavlora
