#include "core/XMLUtils2.h"

#include "core/DataKey.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <pugixml.hpp>

#include <cstring>
#include <string>

namespace pavlora {
namespace {

constexpr unsigned kParseOptions
    = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi;

// The characters of windows-1252 at 0x80..0x9F; the rest of the code page
// is Latin-1. Unassigned positions keep their Latin-1 control character.
constexpr char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
    0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QByteArray Cp1252ToUtf8(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        out[i] = byte >= 0x80 && byte < 0xA0 ? QChar(kCp1252High[byte - 0x80]) : QChar(char16_t(byte));
    }
    return text.toUtf8();
}

// The value of the encoding attribute of the XML declaration at the start
// of `text`, or an empty array.
QByteArray DeclaredEncoding(const QByteArray& text)
{
    if (!text.startsWith("<?xml"))
        return {};
    const qsizetype end = text.indexOf("?>");
    if (end < 0)
        return {};
    const QByteArray declaration = text.left(end);
    const qsizetype attribute = declaration.indexOf("encoding");
    if (attribute < 0)
        return {};
    qsizetype pos = attribute + 8;
    while (pos < declaration.size()
        && (declaration.at(pos) == ' ' || declaration.at(pos) == '=' || declaration.at(pos) == '\t'
            || declaration.at(pos) == '\r' || declaration.at(pos) == '\n'))
        ++pos;
    if (pos >= declaration.size() || (declaration.at(pos) != '"' && declaration.at(pos) != '\''))
        return {};
    const char quote = declaration.at(pos);
    const qsizetype close = declaration.indexOf(quote, pos + 1);
    return close < 0 ? QByteArray() : declaration.mid(pos + 1, close - pos - 1);
}

bool IsCp1252Name(const QByteArray& encoding)
{
    const QByteArray name = encoding.trimmed().toLower();
    return name == "windows-1252" || name == "cp1252";
}

pugi::xml_node Declaration(pugi::xml_document& document)
{
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        if (node.type() == pugi::node_declaration)
            return node;
    }
    return {};
}

void SetDeclarationValue(pugi::xml_node declaration, const char* name, const char* value, const char* after)
{
    pugi::xml_attribute attribute = declaration.attribute(name);
    if (!attribute) {
        const pugi::xml_attribute previous = after ? declaration.attribute(after) : pugi::xml_attribute();
        attribute = previous ? declaration.insert_attribute_after(name, previous) : declaration.prepend_attribute(name);
    }
    attribute.set_value(value);
}

struct ByteWriter : pugi::xml_writer {
    QByteArray bytes;
    void write(const void* data, size_t size) override
    {
        bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

QByteArray ReadStoredFile(const QString& path)
{
    QFile file(ExpandPath(path));
    if (!file.open(QIODevice::ReadOnly))
        throw EDataDocumentError(file.fileName() + QStringLiteral(": ") + file.errorString());
    if (file.size() > kMaxStoredDocumentSize)
        throw EDataDocumentError(file.fileName() + QStringLiteral(": file too large"));
    QByteArray stored = file.read(kMaxStoredDocumentSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw EDataDocumentError(file.fileName() + QStringLiteral(": ") + file.errorString());
    if (stored.size() > kMaxStoredDocumentSize)
        throw EDataDocumentError(file.fileName() + QStringLiteral(": file too large"));
    return stored;
}

void WriteFileReplacing(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw EDataDocumentError(path + QStringLiteral(": ") + file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString text = file.errorString();
        file.cancelWriting();
        throw EDataDocumentError(path + QStringLiteral(": ") + text);
    }
    if (!file.commit())
        throw EDataDocumentError(path + QStringLiteral(": ") + file.errorString());
}

} // namespace

TXMLDocumentPtr ParseXMLText(const QByteArray& plain)
{
    auto document = std::make_unique<pugi::xml_document>();
    const bool cp1252 = IsCp1252Name(DeclaredEncoding(plain));
    const QByteArray text = cp1252 ? Cp1252ToUtf8(plain) : plain;
    const pugi::xml_parse_result result = document->load_buffer(text.constData(), static_cast<size_t>(text.size()),
        kParseOptions, cp1252 ? pugi::encoding_utf8 : pugi::encoding_auto);
    if (!result) {
        throw EDataDocumentError(
            QStringLiteral("%1 at offset %2").arg(QString::fromUtf8(result.description())).arg(result.offset));
    }
    if (cp1252)
        Declaration(*document).attribute("encoding").set_value("UTF-8");
    return document;
}

TXMLDocumentPtr ReadXMLDocumentBytes(const QByteArray& stored)
{
    try {
        return ParseXMLText(DecodeDataStream(stored));
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kReadXMLStreamContext));
    }
}

TXMLDocumentPtr ReadXMLDocument(const QString& path)
{
    try {
        return ParseXMLText(DecodeDataStream(ReadStoredFile(path)));
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kReadXMLDocumentContext));
    }
}

QByteArray XMLDocumentText(pugi::xml_document& document, bool pretty)
{
    pugi::xml_node declaration = Declaration(document);
    if (!declaration)
        declaration = document.prepend_child(pugi::node_declaration);
    SetDeclarationValue(declaration, "version", "1.0", nullptr);
    SetDeclarationValue(declaration, "encoding", "UTF-8", "version");
    ByteWriter writer;
    const unsigned flags = (pretty ? pugi::format_indent : pugi::format_raw) | pugi::format_no_declaration;
    document.save(writer, "  ", flags, pugi::encoding_utf8);
    return SetEncodingDeclaration(writer.bytes, "UTF-8");
}

void SaveXMLDocument(
    pugi::xml_document& document, const QString& path, bool encrypt, EncryptVariant variant, bool pretty)
{
    try {
        const QByteArray text = XMLDocumentText(document, pretty);
        const QByteArray bytes = encrypt ? EncodeDataStream(text, variant, GlobalDataKeyBytes()) : text;
        WriteFileReplacing(ExpandPath(path), bytes);
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kSaveXMLDocumentContext));
    }
}

QByteArray SetEncodingDeclaration(const QByteArray& text, const QByteArray& encoding)
{
    if (!text.startsWith("<?"))
        return QByteArray("<?xml version=\"1.0\" encoding=\"") + encoding + QByteArray("\"?>") + text;
    const qsizetype close = text.indexOf("?>", 2);
    if (close < 0)
        return text;
    const qsizetype end = close + 2; // the declaration is text[0, end)
    for (const char quote : {'"', '\''}) {
        const QByteArray opening = QByteArray("encoding=") + quote;
        const qsizetype attribute = text.indexOf(opening);
        if (attribute < 0 || attribute >= end)
            continue;
        const qsizetype valueStart = attribute + opening.size();
        const qsizetype valueEnd = text.indexOf(quote, valueStart);
        if (valueEnd < 0 || valueEnd >= end)
            continue;
        QByteArray result = text;
        result.replace(valueStart, valueEnd - valueStart, encoding);
        return result;
    }
    QByteArray result = text;
    result.replace(end - 2, 2, QByteArray(QByteArray(" encoding=\"") + encoding + QByteArray("\" ?>")));
    return result;
}

void ReadIniDocument(TNameValueList& list, const pugi::xml_document& document)
{
    const pugi::xml_node ini = document.document_element();
    if (!ini || std::strcmp(ini.name(), "ini") != 0)
        return;
    for (const pugi::xml_node child : ini.children()) {
        if (child.type() == pugi::node_element)
            list.SetValue(QString::fromUtf8(child.name()), QString::fromUtf8(child.text().get()));
    }
}

void ReadIniFile(TNameValueList& list, const QString& path)
{
    if (!QFileInfo::exists(ExpandPath(path)))
        return;
    const TXMLDocumentPtr document = ReadXMLDocument(path);
    ReadIniDocument(list, *document);
}

} // namespace pavlora
