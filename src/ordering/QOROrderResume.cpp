#include "ordering/QOROrderResume.h"

#include "core/DebugConfig.h"
#include "core/XMLUtils2.h"

#include <QLocale>

#include <pugixml.hpp>

namespace pavlora {
namespace {

QString WithSeparator(const QString& folder)
{
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder;
    return folder + QLatin1Char('/');
}

void SetAttribute(pugi::xml_node node, const char* name, const QString& value)
{
    node.append_attribute(name) = value.toUtf8().constData();
}

// The general floating-point form with the user's decimal separator and no
// group separators, at the precision of the stored single.
QString PriceText(float value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(static_cast<double>(value), 'g', 7);
}

} // namespace

QString TQOROrderResume::FilePath() const
{
    return WithSeparator(orderFolder) + QLatin1String(kFileName);
}

void TQOROrderResume::WriteTo(pugi::xml_document& document) const
{
    document.reset();
    pugi::xml_node root = document.append_child("order_resume");
    SetAttribute(root, "version", QStringLiteral("1.0"));
    SetAttribute(root.append_child("session"), "id", sessionId);
    pugi::xml_node files = root.append_child("files");
    SetAttribute(files, "total_qnty", QString::number(totalFiles));
    SetAttribute(files, "done_qnty", QString::number(filesDone));
    SetAttribute(files, "last_name", lastName);
    pugi::xml_node order = root.append_child("order");
    SetAttribute(order, "date", orderDate);
    SetAttribute(order, "total_price", PriceText(orderTotal));
    SetAttribute(order, "item_qnty", QString::number(itemCount));
    SetAttribute(order, "payment_type", PaymentTypeText(paymentType));
}

TQOROrderResume TQOROrderResume::ReadFrom(const pugi::xml_document& document, const QString& folder)
{
    pugi::xml_node root;
    try {
        root = document.last_child();
        while (root && root.type() != pugi::node_element)
            root = root.previous_sibling();
        const pugi::xml_attribute version = root.attribute("version");
        if (!version || QString::fromUtf8(version.value()).compare(QLatin1String("1.0"), Qt::CaseInsensitive) != 0)
            throw EIncompatibleResumeFile();
    } catch (const EIncompatibleResumeFile&) {
        throw;
    } catch (...) {
        throw EIncompatibleResumeFile();
    }
    TQOROrderResume resume;
    resume.orderFolder = WithSeparator(folder);
    resume.sessionId = ReadStringAttribute(root.child("session"), "id");
    const pugi::xml_node files = root.child("files");
    resume.totalFiles = ReadIntAttribute(files, "total_qnty");
    resume.filesDone = ReadIntAttribute(files, "done_qnty");
    resume.lastName = ReadStringAttribute(files, "last_name");
    const pugi::xml_node order = root.child("order");
    resume.orderDate = ReadStringAttribute(order, "date");
    resume.orderTotal = static_cast<float>(ReadFloatAttribute(order, "total_price"));
    resume.itemCount = ReadIntAttribute(order, "item_qnty");
    const QString payment = ReadStringAttribute(order, "payment_type");
    if (!PaymentTypeFromText(payment, resume.paymentType))
        throw EPaymentTypeError("unknown ResumePayment: " + payment.toStdString());
    return resume;
}

TQOROrderResume TQOROrderResume::FromFolder(const QString& folder)
{
    const TXMLDocumentPtr document = ReadXMLDocument(WithSeparator(folder) + QLatin1String(kFileName));
    return ReadFrom(*document, folder);
}

void TQOROrderResume::Save() const
{
    pugi::xml_document document;
    WriteTo(document);
    SaveXMLDocument(document, FilePath(), !IsEncryptingDisabled(), EncryptVariant::Xor, true);
}

} // namespace pavlora
