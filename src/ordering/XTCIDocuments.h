#pragma once

#include "core/QORError.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

#include <pugixml.hpp>

namespace pavlora {

// One ZODE request document: the XML declaration (UTF-8), a document type
// line whose system identifier is the DTD URL of the server followed by the
// request's name and ".dtd", and the root element named after the request.
// Its text is indented by two spaces per level. A document belongs to the
// thread that builds it.
class TXTCIRequest {
public:
    TXTCIRequest(const QString& name, const QString& dtdUrl);
    TXTCIRequest(TXTCIRequest&&) noexcept = default;
    TXTCIRequest& operator=(TXTCIRequest&&) noexcept = default;

    QString Name() const { return name_; }
    pugi::xml_node Root() const { return root_; }

    // A child element of the root with `value` as its text (an empty value
    // gives an empty element). Returns it.
    pugi::xml_node AddElement(const char* name, const QString& value);
    // Boolean values are written "yes" or "no".
    pugi::xml_node AddElement(const char* name, bool value);
    // An attribute of the root element.
    void SetAttribute(const char* name, const QString& value);

    QByteArray Xml() const;

private:
    QString name_;
    std::unique_ptr<pugi::xml_document> document_; // node handles survive a move
    pugi::xml_node root_;
};

// A response document: any root element with the children "head"
// ("errorcode", "errortext") and "content". A missing element reads as an
// empty text.
class TXTCIResponse {
public:
    // Parses a received body; a body that is not XML is code 40 (the server
    // sent something that is no answer).
    static std::unique_ptr<TXTCIResponse> FromBytes(const QByteArray& body);
    // Takes an already loaded document (the stored price lists).
    explicit TXTCIResponse(pugi::xml_document&& document);
    TXTCIResponse(const TXTCIResponse&) = delete;
    TXTCIResponse& operator=(const TXTCIResponse&) = delete;

    pugi::xml_node Root() const { return document_.document_element(); }
    pugi::xml_node Head() const { return Root().child("head"); }
    pugi::xml_node Content() const { return Root().child("content"); }
    const pugi::xml_document& Document() const { return document_; }

    // True for the root "server_error" (without regard to case).
    bool IsServerError() const;
    // The head as an error record: the program code of "errorcode" (a
    // missing or empty errorcode is 118), code text = the server's
    // errorcode, detail = "errortext", context "ZODE.TXTCIResponse".
    TQORError ParseError() const;
    // Raises EQORException with ParseError() unless its code is 0.
    void CheckError() const;

    // The text of content/`name`.
    QString ContentText(const char* name) const;

    // The text of `parent`/`name`; empty when missing.
    static QString Text(const pugi::xml_node& parent, const char* name);
    static std::int64_t Number(const pugi::xml_node& parent, const char* name);

private:
    pugi::xml_document document_;
};

// The program code of a server errorcode ("0" gives 0, unknown codes 118).
std::int32_t ProgramCodeOfServerCode(const QString& serverCode);

// A protocol text with passwords, security answers, card and account data
// replaced by "***", for Protocol.log.
QByteArray MaskProtocolText(const QByteArray& text);

} // namespace pavlora
