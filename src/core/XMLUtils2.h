#pragma once

#include "core/DataStream.h"
#include "core/NameValueList.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace pugi {
class xml_document;
class xml_node;
} // namespace pugi

namespace pavlora {

// The one layer through which every data file of the program is read and
// written: stored variants (see core/DataStream.h), "ini" documents, links
// to shared masters, typed attributes and locale-independent numbers.
//
// Every function may be called from any thread; a document belongs to the
// thread that uses it. Failures of reading and saving are EQORException with
// code 2 and the underlying text as code text ("Invalid file format", the
// parser's message, the file system's message).

using TXMLDocumentPtr = std::unique_ptr<pugi::xml_document>;

// Contexts of the re-raised failures.
inline constexpr char kReadXMLDocumentContext[] = "XMLUtils2.ReadXMLDocument";
inline constexpr char kReadXMLStreamContext[] = "XMLUTils2.ReadXMLDocument";
inline constexpr char kSaveXMLDocumentContext[] = "XMLUtils2.SaveXMLDocument";
inline constexpr char kStrToFloatContext[] = "XMLUtils.StrToFloatDefAllSep";

// Largest stored data file that is read (bytes).
inline constexpr qint64 kMaxStoredDocumentSize = 256 * 1024 * 1024;

// ---- Reading and saving ---------------------------------------------------

// Reads a data file: expands path placeholders, reads the file (other
// readers allowed), decodes its variant with the process-wide key and parses
// it. Context "XMLUtils2.ReadXMLDocument".
TXMLDocumentPtr ReadXMLDocument(const QString& path);
// Decodes and parses stored bytes. Context "XMLUTils2.ReadXMLDocument".
TXMLDocumentPtr ReadXMLDocumentBytes(const QByteArray& stored);
// Parses plain XML bytes (no variant decoding). A document declared in
// windows-1252 (or cp1252) is transcoded to UTF-8 first, its declaration
// then names UTF-8. Raises EDataDocumentError.
TXMLDocumentPtr ParseXMLText(const QByteArray& plain);

// The XML text of a document as SaveXMLDocument writes it before any
// encryption: the declaration set to version "1.0" and encoding "UTF-8"
// (added when missing), indented by two spaces when `pretty`. Sets the
// declaration on `document`.
QByteArray XMLDocumentText(pugi::xml_document& document, bool pretty);

// Saves a document: the text of XMLDocumentText, encrypted with the
// process-wide key when `encrypt` (XOR with the 4-byte marker, or DES with
// the 8-byte marker). The bytes are built first, then written to a
// temporary sibling that is renamed into place, so a failure (an empty key,
// a full disk) leaves a previous file as it was. Expands path placeholders.
// Context "XMLUtils2.SaveXMLDocument".
void SaveXMLDocument(
    pugi::xml_document& document, const QString& path, bool encrypt, EncryptVariant variant, bool pretty);

// Sets the encoding named in the XML declaration at the start of `text`:
// replaces the value of an existing encoding attribute, or adds one before
// the closing "?>". A text without a declaration gets
// <?xml version="1.0" encoding="ENCODING"?> in front; a text that starts
// with "<?" but never closes it is returned unchanged.
QByteArray SetEncodingDeclaration(const QByteArray& text, const QByteArray& encoding);

// ---- Name=value documents ---------------------------------------------------

// When the document element is "ini", sets `list` value (element name) =
// element text for each of its child elements in document order; an empty
// text removes the name.
void ReadIniDocument(TNameValueList& list, const pugi::xml_document& document);
// When the file exists: ReadXMLDocument, then ReadIniDocument.
void ReadIniFile(TNameValueList& list, const QString& path);

// ---- Structure operations -----------------------------------------------------

// Expands the "link" elements below `element`. A link names a master by its
// attribute "mref"; the master is the nearest "master" element whose "mid"
// equals it (without regard to case), looked for among the children of the
// element that holds the link, then of its parent and so on up to the
// document. The expansion is appended after the holder's last child: an
// element named by the master's "orgname" with the master's other
// attributes (not "orgname" and "mid") and copies of its children, then the
// link's attributes (overriding; not "orgname" and "mid") and copies of the
// link's children. The link is removed; links inside an expansion are
// expanded when the pass reaches it. Raises EDataDocumentError with
// "master MREF not found" for a missing master, and for link cycles and
// runaway expansion.
void ResolveLinks(pugi::xml_node element);

// Removes, from the last child to the first and depth first, every child
// element that after its own cleaning has neither child nodes nor
// attributes.
void RemoveEmptyElements(pugi::xml_node element);

// ---- Typed attributes ----------------------------------------------------------

// Readers: a missing attribute gives `fallback`.
// Integer: decimal, or hexadecimal after "$" or "0x" (up to 32 bits, so
// "$FFFFFFFF" is -1), blanks around allowed; anything else raises
// EDataDocumentError ("'abc' is not a valid integer value").
int ReadIntAttribute(pugi::xml_node element, const char* name, int fallback = 0);
// Float: an empty text also gives `fallback`; otherwise StrToFloatDefAllSep.
double ReadFloatAttribute(pugi::xml_node element, const char* name, double fallback = 0.0);
QString ReadStringAttribute(pugi::xml_node element, const char* name, const QString& fallback = QString());
// Boolean: "true"/"false" in any case, or a number where non-zero is true;
// any other text gives `fallback`.
bool ReadBoolAttribute(pugi::xml_node element, const char* name, bool fallback = false);

// Writers: each writes (or overwrites) only a value that differs from the
// readers' default, so a missing attribute reads back as 0, 0.0, empty or
// false. Floats as FormatFloatAttribute; booleans as "true".
void WriteIntAttribute(pugi::xml_node element, const char* name, int value);
void WriteFloatAttribute(pugi::xml_node element, const char* name, double value);
void WriteStringAttribute(pugi::xml_node element, const char* name, const QString& value);
void WriteBoolAttribute(pugi::xml_node element, const char* name, bool value);

// The text of a float attribute: rounded half away from zero to 2
// decimals, then to at most 5 significant digits where that only drops
// decimals; "." as decimal separator, no exponent, no trailing zeros
// (1234.567 -> "1234.6", 0.125 -> "0.13", 123456.789 -> "123456.79").
// An empty text for a value that rounds to 0 and for NaN and infinities.
QString FormatFloatAttribute(double value);

// ---- Numbers ---------------------------------------------------------------------

// Parses a decimal number with "." or "," as decimal separator, whatever the
// user's locale: blanks around, a sign, digits with at most one separator,
// an exponent. A text that is not such a number, NaN, infinities and values
// whose magnitude exceeds 1e25 give `fallback` and are logged (context
// "XMLUtils.StrToFloatDefAllSep"). Never raises.
double StrToFloatDefAllSep(const QString& text, double fallback);

// Parses an integer as ReadIntAttribute does; false when it is not one.
bool ParseIntegerText(const QString& text, int& value);

} // namespace pavlora
