#include "imaging/ImageMetadata.h"

#include "core/Logger.h"
#include "core/QORException.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

// Exiv2 0.27 hands out its images in std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

#include <cstdio>
#include <memory>
#include <mutex>
#include <unistd.h>

namespace pavlora {
namespace {

const QByteArray kUtf8Marker("\x1B%G");
const char kCharacterSetKey[] = "Iptc.Envelope.CharacterSet";
const char kKeywordsKey[] = "Iptc.Application2.Keywords";

void ExivLog(int level, const char* message)
{
    if (level >= Exiv2::LogMsg::error)
        ReportMessage(QStringLiteral("Exiv2: ") + QString::fromUtf8(message).trimmed());
}

// Opens a local file (never a URL: the path is not interpreted).
Exiv2::Image::AutoPtr OpenImage(const QString& fileName)
{
    InitializeImageMetadata();
    Exiv2::BasicIo::AutoPtr io(new Exiv2::FileIo(QFile::encodeName(fileName).toStdString()));
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(io);
    if (image.get() == nullptr)
        throw Exiv2::Error(Exiv2::kerFileContainsUnknownImageType);
    image->readMetadata();
    return image;
}

// windows-1252: Latin-1 except for 0x80–0x9F.
QString DecodeWindows1252(const std::string& bytes)
{
    static const char16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
        0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text.append(value >= 0x80 && value < 0xA0 ? QChar(high[value - 0x80]) : QChar(char16_t(value)));
    }
    return text;
}

bool IsUtf8Marked(const Exiv2::IptcData& iptc)
{
    const auto marker = iptc.findKey(Exiv2::IptcKey(kCharacterSetKey));
    return marker != iptc.end() && QByteArray::fromStdString(marker->toString()) == kUtf8Marker;
}

// The raw bytes of a dataset's value (Exiv2 keeps strings as stored).
std::string RawValue(const Exiv2::Iptcdatum& datum)
{
    return datum.toString();
}

QString DecodeIptcText(const std::string& bytes, bool utf8)
{
    return utf8 ? QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())) : DecodeWindows1252(bytes);
}

QStringList KeywordsOf(const Exiv2::IptcData& iptc)
{
    const bool utf8 = IsUtf8Marked(iptc);
    QStringList keywords;
    for (const Exiv2::Iptcdatum& datum : iptc) {
        if (datum.record() != 2 || datum.tag() != 25)
            continue;
        const QString keyword = DecodeIptcText(RawValue(datum), utf8);
        if (!keyword.isEmpty())
            keywords.append(keyword);
    }
    return keywords;
}

QString ExifText(const Exiv2::ExifData& exif, const char* key)
{
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    if (found == exif.end() || found->count() == 0)
        return {};
    QString text = QString::fromUtf8(found->toString().c_str());
    // ASCII values carry their terminating NUL in some files.
    while (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

[[noreturn]] void RaiseWriteError(const QString& fileName, const QString& detail)
{
    throw EQORException(2, QStringLiteral("Die Stichworte konnten nicht gespeichert werden: ") + fileName, detail,
        QStringLiteral("ImageMetadata.WriteKeywords"));
}

bool CopyInto(const QString& source, QFile& target)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = input.read(buffer.data(), buffer.size());
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (target.write(buffer.constData(), got) != got)
            return false;
    }
}

bool SyncFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    return ::fsync(file.handle()) == 0;
}

} // namespace

void InitializeImageMetadata()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::error);
        Exiv2::LogMsg::setHandler(&ExivLog);
        Exiv2::XmpParser::initialize();
    });
}

QDateTime ParseExifDateTime(const QString& text)
{
    if (text.size() < 19)
        return {};
    const auto field = [&](qsizetype from, qsizetype length, bool& ok) {
        const QStringView digits = QStringView(text).mid(from, length);
        for (const QChar c : digits) {
            if (!c.isDigit() || c.unicode() > 0x7F)
                ok = false;
        }
        return ok ? digits.toInt() : 0;
    };
    bool ok = true;
    const int year = field(0, 4, ok);
    const int month = field(5, 2, ok);
    const int day = field(8, 2, ok);
    const int hour = field(11, 2, ok);
    const int minute = field(14, 2, ok);
    const int second = field(17, 2, ok);
    if (!ok || year < 1)
        return {};
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

TExifDate ReadExifDateTime(const QString& fileName, bool preferTakenDate)
{
    try {
        const Exiv2::Image::AutoPtr image = OpenImage(fileName);
        const Exiv2::ExifData& exif = image->exifData();
        QString text;
        if (preferTakenDate)
            text = ExifText(exif, "Exif.Photo.DateTimeOriginal");
        if (text.isEmpty())
            text = ExifText(exif, "Exif.Image.DateTime");
        if (text.isEmpty())
            return {};
        const QDateTime value = ParseExifDateTime(text);
        if (!value.isValid())
            return {TExifDate::State::Invalid, {}};
        return {TExifDate::State::Valid, value};
    } catch (const std::exception&) {
        return {};
    }
}

std::optional<TPictureMetadata> ReadPictureMetadata(const QString& fileName)
{
    try {
        const Exiv2::Image::AutoPtr image = OpenImage(fileName);
        TPictureMetadata metadata;
        const Exiv2::ExifData& exif = image->exifData();
        metadata.hasExif = !exif.empty();
        if (metadata.hasExif) {
            metadata.maker = ExifText(exif, "Exif.Image.Make");
            metadata.model = ExifText(exif, "Exif.Image.Model");
            metadata.dateTime = ExifText(exif, "Exif.Photo.DateTimeOriginal");
            if (metadata.dateTime.isEmpty())
                metadata.dateTime = ExifText(exif, "Exif.Image.DateTime");
        }
        metadata.keywords = KeywordsOf(image->iptcData());
        return metadata;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<QStringList> ReadKeywords(const QString& fileName)
{
    try {
        const Exiv2::Image::AutoPtr image = OpenImage(fileName);
        if (image->iptcData().empty())
            return std::nullopt;
        return KeywordsOf(image->iptcData());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void WriteKeywords(const QString& fileName, const QStringList& keywords)
{
    std::vector<std::string> encoded;
    for (const QString& keyword : keywords) {
        if (keyword.isEmpty())
            continue;
        const QByteArray bytes = keyword.toUtf8();
        if (bytes.size() > kMaxKeywordBytes) {
            throw EQORException(2,
                QStringLiteral("Das Stichwort ist zu lang (höchstens %1 Byte): %2").arg(kMaxKeywordBytes).arg(keyword),
                QString(), QStringLiteral("ImageMetadata.WriteKeywords"));
        }
        encoded.push_back(bytes.toStdString());
    }

    const QFileInfo original(fileName);
    if (!original.isFile())
        RaiseWriteError(fileName, QStringLiteral("not a file"));
    QTemporaryFile sibling(
        original.absolutePath() + QStringLiteral("/.") + original.fileName() + QStringLiteral(".XXXXXX"));
    if (!sibling.open() || !CopyInto(fileName, sibling) || !sibling.flush())
        RaiseWriteError(fileName, QStringLiteral("cannot copy to ") + sibling.fileName());
    sibling.close();

    try {
        const Exiv2::Image::AutoPtr image = OpenImage(sibling.fileName());
        Exiv2::IptcData iptc = image->iptcData();
        if (!IsUtf8Marked(iptc)) {
            for (Exiv2::Iptcdatum& datum : iptc) {
                if (datum.typeId() != Exiv2::string || (datum.record() == 1 && datum.tag() == 90))
                    continue;
                const std::string raw = RawValue(datum);
                datum.setValue(DecodeWindows1252(raw).toUtf8().toStdString());
            }
            iptc[kCharacterSetKey] = kUtf8Marker.toStdString();
        }
        for (auto it = iptc.end(); it != iptc.begin();) {
            --it;
            if (it->record() == 2 && it->tag() == 25)
                it = iptc.erase(it);
        }
        for (const std::string& keyword : encoded) {
            Exiv2::Iptcdatum datum{Exiv2::IptcKey(kKeywordsKey)};
            datum.setValue(keyword);
            iptc.add(datum);
        }
        image->setIptcData(iptc);
        image->writeMetadata();
    } catch (const std::exception& error) {
        RaiseWriteError(fileName, QString::fromUtf8(error.what()));
    }

    if (!SyncFile(sibling.fileName()))
        RaiseWriteError(fileName, QStringLiteral("cannot flush ") + sibling.fileName());
    QFile::setPermissions(sibling.fileName(), original.permissions());
    if (std::rename(QFile::encodeName(sibling.fileName()).constData(), QFile::encodeName(fileName).constData()) != 0)
        RaiseWriteError(fileName, QStringLiteral("cannot replace the original"));
    sibling.setAutoRemove(false);
}

} // namespace pavlora

#pragma GCC diagnostic pop
