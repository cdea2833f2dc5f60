#include "core/DataStream.h"

#include "core/DataKey.h"
#include "core/DesCfb8.h"

#include <zip.h>

#include <cstring>
#include <memory>

namespace pavlora {
namespace {

constexpr char kShortXorMarker[] = "KTBr";
constexpr char kShortZipMarker[] = "KTBz";
constexpr unsigned char kLongXorMarker[8] = {'K', 'T', 'B', 'r', 0x8C, 0xA2, 0xF7, 0x89};
constexpr unsigned char kLongZipMarker[8] = {'K', 'T', 'B', 'r', 0x3E, 0xA9, 0x68, 0xF4};
constexpr unsigned char kDesMarker[8] = {'K', 'T', 'B', 'r', 0x3E, 0xA9, 0x68, 0xF5};
// The head of an ordinary zip archive (local file header, version 2.0, no flags).
constexpr unsigned char kZipHead[8] = {'P', 'K', 0x03, 0x04, 0x14, 0x00, 0x00, 0x00};

bool StartsWith(const QByteArray& data, const unsigned char* marker, qsizetype length)
{
    return data.size() >= length && std::memcmp(data.constData(), marker, static_cast<std::size_t>(length)) == 0;
}

bool StartsWith(const QByteArray& data, const char* marker)
{
    return StartsWith(data, reinterpret_cast<const unsigned char*>(marker), 4);
}

QString ZipErrorText(zip_error_t* error)
{
    return QString::fromUtf8(zip_error_strerror(error));
}

[[noreturn]] void ThrowInvalidFileFormat()
{
    throw EDataDocumentError(QLatin1String(kInvalidFileFormat));
}

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct ZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
struct ZipSourceFree {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};

// The one entry of a zip archive in memory, without touching the disk.
QByteArray UnpackSingleEntry(const QByteArray& archiveBytes)
{
    zip_error_t error;
    zip_error_init(&error);
    std::unique_ptr<zip_source_t, ZipSourceFree> source(
        zip_source_buffer_create(archiveBytes.constData(), static_cast<zip_uint64_t>(archiveBytes.size()), 0, &error));
    if (!source) {
        const QString text = ZipErrorText(&error);
        zip_error_fini(&error);
        throw EDataDocumentError(text);
    }
    std::unique_ptr<zip_t, ZipCloser> archive(zip_open_from_source(source.get(), ZIP_RDONLY, &error));
    if (!archive) {
        const QString text = ZipErrorText(&error);
        zip_error_fini(&error);
        throw EDataDocumentError(text);
    }
    source.release(); // the archive owns it now
    zip_error_fini(&error);

    if (zip_get_num_entries(archive.get(), 0) != 1)
        ThrowInvalidFileFormat();
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive.get(), 0, 0, &stat) != 0)
        throw EDataDocumentError(QString::fromUtf8(zip_strerror(archive.get())));
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > static_cast<zip_uint64_t>(kMaxUnpackedDocumentSize))
        ThrowInvalidFileFormat();

    std::unique_ptr<zip_file_t, ZipFileCloser> entry(zip_fopen_index(archive.get(), 0, 0));
    if (!entry)
        throw EDataDocumentError(QString::fromUtf8(zip_strerror(archive.get())));
    // The declared size only sizes the buffer; the cap holds whatever the
    // archive claims.
    QByteArray content;
    content.reserve(static_cast<qsizetype>((stat.valid & ZIP_STAT_SIZE) ? stat.size : 0));
    char chunk[64 * 1024];
    for (;;) {
        const zip_int64_t got = zip_fread(entry.get(), chunk, sizeof chunk);
        if (got < 0)
            throw EDataDocumentError(QString::fromUtf8(zip_file_strerror(entry.get())));
        if (got == 0)
            break;
        if (content.size() + got > kMaxUnpackedDocumentSize)
            ThrowInvalidFileFormat();
        content.append(chunk, static_cast<qsizetype>(got));
    }
    return content;
}

void RequireKey(const QByteArray& key)
{
    if (key.isEmpty())
        throw EDataDocumentError(QStringLiteral("Empty key"));
}

} // namespace

EDataDocumentError::EDataDocumentError(const QString& text)
    : std::runtime_error(text.toStdString())
{
}

DataVariant ClassifyDataStream(const QByteArray& stored)
{
    if (stored.size() < 4)
        return DataVariant::Plain;
    if (StartsWith(stored, kLongXorMarker, 8))
        return DataVariant::XorLong;
    if (StartsWith(stored, kLongZipMarker, 8))
        return DataVariant::ZipLong;
    if (StartsWith(stored, kDesMarker, 8))
        return DataVariant::Des;
    if (StartsWith(stored, kZipHead, 8))
        return DataVariant::Plain;
    if (StartsWith(stored, kShortXorMarker))
        return DataVariant::XorShort;
    if (StartsWith(stored, kShortZipMarker))
        return DataVariant::ZipShort;
    return DataVariant::Plain;
}

int MarkerLength(DataVariant variant)
{
    switch (variant) {
    case DataVariant::Plain:
        return 0;
    case DataVariant::XorShort:
    case DataVariant::ZipShort:
        return 4;
    case DataVariant::XorLong:
    case DataVariant::ZipLong:
    case DataVariant::Des:
        return 8;
    }
    return 0;
}

QByteArray DecodeDataStream(const QByteArray& stored, const QByteArray& key)
{
    const DataVariant variant = ClassifyDataStream(stored);
    const int marker = MarkerLength(variant);
    switch (variant) {
    case DataVariant::Plain:
        return stored;
    case DataVariant::XorShort:
    case DataVariant::XorLong: {
        RequireKey(key);
        QByteArray body = stored.mid(marker);
        XorTransform(body, key);
        return body;
    }
    case DataVariant::ZipShort:
    case DataVariant::ZipLong: {
        QByteArray archive = stored;
        std::memcpy(archive.data(), kZipHead, static_cast<std::size_t>(marker));
        return UnpackSingleEntry(archive);
    }
    case DataVariant::Des: {
        const TDesCfb8 des(key);
        QByteArray plain(stored.size() - marker, Qt::Uninitialized);
        des.Decrypt(reinterpret_cast<const std::uint8_t*>(stored.constData()) + marker,
            static_cast<std::size_t>(plain.size()), reinterpret_cast<std::uint8_t*>(plain.data()));
        return plain;
    }
    }
    return stored;
}

QByteArray DecodeDataStream(const QByteArray& stored)
{
    return DecodeDataStream(stored, GlobalDataKeyBytes());
}

QByteArray EncodeDataStream(const QByteArray& plain, EncryptVariant variant, const QByteArray& key)
{
    RequireKey(key);
    if (variant == EncryptVariant::Des) {
        const TDesCfb8 des(key);
        QByteArray stored(8 + plain.size(), Qt::Uninitialized);
        std::memcpy(stored.data(), kDesMarker, 8);
        des.Encrypt(reinterpret_cast<const std::uint8_t*>(plain.constData()), static_cast<std::size_t>(plain.size()),
            reinterpret_cast<std::uint8_t*>(stored.data()) + 8);
        return stored;
    }
    QByteArray body = plain;
    XorTransform(body, key);
    return QByteArray(kShortXorMarker) + body;
}

void XorTransform(QByteArray& data, const QByteArray& key, bool extended)
{
    RequireKey(key);
    const qsizetype n = key.size();
    const qsizetype m = data.size();
    char* d = data.data();
    const char* k = key.constData();
    if (!extended) {
        for (qsizetype i = 0, j = 0; i < m; ++i) {
            d[i] = static_cast<char>(d[i] ^ k[j]);
            if (++j == n)
                j = 0;
        }
        return;
    }
    const auto lengths = static_cast<unsigned char>(static_cast<unsigned char>(n) ^ static_cast<unsigned char>(m));
    for (qsizetype i = 0; i < m; ++i)
        d[i] = static_cast<char>(d[i] ^ k[i % n] ^ static_cast<unsigned char>(i) ^ lengths);
}

} // namespace pavlora
