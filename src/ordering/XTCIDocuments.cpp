#include "ordering/XTCIDocuments.h"

#include "core/QORException.h"

#include <QRegularExpression>

#include <sstream>

namespace pavlora {
namespace {

constexpr char kResponseContext[] = "ZODE.TXTCIResponse";

// The system identifier is quoted in the document type line; a quote or an
// angle bracket in a URL would break the line.
QString SafeSystemId(const QString& text)
{
    QString safe = text;
    safe.remove(QLatin1Char('"'));
    safe.remove(QLatin1Char('<'));
    safe.remove(QLatin1Char('>'));
    return safe;
}

} // namespace

TXTCIRequest::TXTCIRequest(const QString& name, const QString& dtdUrl)
    : name_(name)
    , document_(std::make_unique<pugi::xml_document>())
{
    pugi::xml_node declaration = document_->append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    const QByteArray rootName = name.toUtf8();
    const QByteArray doctype
        = rootName + " SYSTEM \"" + SafeSystemId(dtdUrl + name + QStringLiteral(".dtd")).toUtf8() + '"';
    document_->append_child(pugi::node_doctype).set_value(doctype.constData());
    root_ = document_->append_child(rootName.constData());
}

pugi::xml_node TXTCIRequest::AddElement(const char* name, const QString& value)
{
    pugi::xml_node element = root_.append_child(name);
    if (!value.isEmpty())
        element.text().set(value.toUtf8().constData());
    return element;
}

pugi::xml_node TXTCIRequest::AddElement(const char* name, bool value)
{
    return AddElement(name, value ? QStringLiteral("yes") : QStringLiteral("no"));
}

void TXTCIRequest::SetAttribute(const char* name, const QString& value)
{
    pugi::xml_attribute attribute = root_.attribute(name);
    if (!attribute)
        attribute = root_.append_attribute(name);
    attribute.set_value(value.toUtf8().constData());
}

QByteArray TXTCIRequest::Xml() const
{
    std::ostringstream out;
    document_->save(out, "  ", pugi::format_indent, pugi::encoding_utf8);
    return QByteArray::fromStdString(out.str());
}

std::unique_ptr<TXTCIResponse> TXTCIResponse::FromBytes(const QByteArray& body)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed
        = document.load_buffer(body.constData(), static_cast<std::size_t>(body.size()), pugi::parse_default);
    if (!parsed || !document.document_element())
        throw EQORException(40, QStringLiteral("invalid response: ") + QString::fromUtf8(parsed.description()),
            QString(), QLatin1String(kResponseContext));
    return std::make_unique<TXTCIResponse>(std::move(document));
}

TXTCIResponse::TXTCIResponse(pugi::xml_document&& document)
{
    // pugixml documents cannot be moved in this version: copy the nodes.
    for (const pugi::xml_node& child : document.children())
        document_.append_copy(child);
}

bool TXTCIResponse::IsServerError() const
{
    return QString::fromUtf8(Root().name()).compare(QLatin1String("server_error"), Qt::CaseInsensitive) == 0;
}

QString TXTCIResponse::Text(const pugi::xml_node& parent, const char* name)
{
    return QString::fromUtf8(parent.child(name).text().get());
}

std::int64_t TXTCIResponse::Number(const pugi::xml_node& parent, const char* name)
{
    bool ok = false;
    const std::int64_t value = Text(parent, name).trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

QString TXTCIResponse::ContentText(const char* name) const
{
    return Text(Content(), name);
}

std::int32_t ProgramCodeOfServerCode(const QString& serverCode)
{
    static const QHash<QString, std::int32_t> table{
        {QStringLiteral("0"), 0},
        {QStringLiteral("1"), 116},
        {QStringLiteral("2"), 103},
        {QStringLiteral("3"), 1},
        {QStringLiteral("5"), 113},
        {QStringLiteral("13"), 105},
        {QStringLiteral("14"), 106},
        {QStringLiteral("15"), 107},
        {QStringLiteral("16"), 108},
        {QStringLiteral("49"), 119},
        {QStringLiteral("53"), 102},
        {QStringLiteral("68"), 104},
        {QStringLiteral("70"), 109},
        {QStringLiteral("71"), 109},
        {QStringLiteral("72"), 115},
        {QStringLiteral("80"), 111},
        {QStringLiteral("81"), 110},
        {QStringLiteral("87"), 101},
        {QStringLiteral("88"), 114},
        {QStringLiteral("112"), 112},
        {QStringLiteral("531"), 179},
        {QStringLiteral("601"), 133},
        {QStringLiteral("613"), 132},
        {QStringLiteral("614"), 130},
        {QStringLiteral("617"), 131},
        {QStringLiteral("1008"), 100},
    };
    return table.value(serverCode, 118);
}

TQORError TXTCIResponse::ParseError() const
{
    const QString serverCode = Text(Head(), "errorcode");
    return TQORError{
        ProgramCodeOfServerCode(serverCode), QLatin1String(kResponseContext), serverCode, Text(Head(), "errortext")};
}

void TXTCIResponse::CheckError() const
{
    const TQORError error = ParseError();
    if (error.IsError())
        throw EQORException(error);
}

QByteArray MaskProtocolText(const QByteArray& text)
{
    // Elements that carry secrets: the password, the security answer, and
    // every card and bank account field of an order declaration.
    static const QRegularExpression secret(
        QStringLiteral(R"(<((pwd|sec_answer|cc_[A-Za-z_]+|debit_[A-Za-z_]+)(\s[^>]*)?)>([^<]*)</\2\s*>)"));
    QString masked = QString::fromUtf8(text);
    masked.replace(secret, QStringLiteral("<\\1>***</\\2>"));
    return masked.toUtf8();
}

} // namespace pavlora
