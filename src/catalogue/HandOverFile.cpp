#include "catalogue/HandOverFile.h"

#include "core/QORException.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringConverter>
#include <QStringDecoder>

namespace pavlora {
namespace {

constexpr char kContext[] = "Base_Cart.THandOverFile.Read";

[[noreturn]] void Fail(const QString& text)
{
    throw EQORException(2, QStringLiteral("Invalid hand-over file: ") + text, QString(), QLatin1String(kContext));
}

// Sections (case-folded name) -> keys (case-folded name) -> raw value. The
// first occurrence of a key in a section wins, as Windows reads them.
using TIniSections = QHash<QString, QHash<QString, QString>>;

QString DecodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Written by a Windows program: its ANSI code page.
    QStringDecoder windows("windows-1252");
    if (windows.isValid())
        return windows.decode(bytes);
    return QString::fromLatin1(bytes);
}

TIniSections ParseIni(const QString& text)
{
    TIniSections sections;
    QString section;
    bool inSection = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            if (close < 0)
                continue;
            section = line.mid(1, close - 1).trimmed().toCaseFolded();
            inSection = true;
            sections[section];
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inSection || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed().toCaseFolded();
        QString value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        QHash<QString, QString>& keys = sections[section];
        if (!keys.contains(key))
            keys.insert(key, value);
    }
    return sections;
}

int ParseCount(const QString& text, int minimum, int maximum, const QString& what)
{
    static const QRegularExpression decimal(QStringLiteral("^[+]?[0-9]{1,9}$"));
    if (!decimal.match(text).hasMatch())
        Fail(what + QStringLiteral(" is not a number: \"") + text + QLatin1Char('"'));
    const int value = text.toInt();
    if (value < minimum || value > maximum)
        Fail(what + QStringLiteral(" out of range: ") + text);
    return value;
}

QStringList CommaList(const QString& text)
{
    QStringList parts = text.split(QLatin1Char(','));
    for (QString& part : parts)
        part = part.trimmed();
    return parts;
}

} // namespace

THandOverFile THandOverFile::Read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EQORException(2, file.errorString(), path, QLatin1String(kContext));
    if (file.size() > kMaxFileSize)
        Fail(QStringLiteral("file too large"));
    return Parse(file.read(kMaxFileSize + 1), QFileInfo(path).absolutePath());
}

THandOverFile THandOverFile::Parse(const QByteArray& bytes, const QString& folder)
{
    const TIniSections sections = ParseIni(DecodeText(bytes));
    const QHash<QString, QString> general = sections.value(QStringLiteral("general"));
    THandOverFile result;
    const int account = ParseCount(
        general.value(QStringLiteral("account"), QStringLiteral("0")), 0, 2, QStringLiteral("General/Account"));
    result.account = static_cast<Account>(account);
    const int count = ParseCount(general.value(QStringLiteral("items")), 0, kMaxItems, QStringLiteral("General/Items"));
    for (int i = 0; i < count; ++i) {
        const QString name = QString::number(i);
        if (!sections.contains(name))
            Fail(QStringLiteral("section ") + name + QStringLiteral(" missing"));
        const QHash<QString, QString>& keys = sections[name];
        const int lineCount = ParseCount(
            keys.value(QStringLiteral("items"), QStringLiteral("1")), 1, kMaxLines, name + QStringLiteral("/Items"));
        const QStringList quantities = CommaList(keys.value(QStringLiteral("quantity")));
        const QStringList formats = CommaList(keys.value(QStringLiteral("product")));
        if (quantities.size() < lineCount || formats.size() < lineCount)
            Fail(name + QStringLiteral(": fewer quantities or products than lines"));
        Item item;
        for (int line = 0; line < lineCount; ++line) {
            if (formats.at(line).isEmpty())
                Fail(name + QStringLiteral("/Product: empty format id"));
            item.lines.append({formats.at(line),
                ParseCount(quantities.at(line), 1, kMaxQuantity, name + QStringLiteral("/Quantity"))});
        }
        item.fileName = keys.value(QStringLiteral("filename"));
        if (item.fileName.isEmpty())
            Fail(name + QStringLiteral("/Filename missing"));
        // Written on Windows: either separator; a relative name lies beside
        // the hand-over file.
        const QString normalised
            = QDir::fromNativeSeparators(QString(item.fileName).replace(QLatin1Char('\\'), QLatin1Char('/')));
        item.picturePath = QDir::cleanPath(QDir(folder).absoluteFilePath(normalised));
        item.originalFileName = keys.value(QStringLiteral("origfilename"));
        result.items.append(item);
    }
    return result;
}

} // namespace pavlora
