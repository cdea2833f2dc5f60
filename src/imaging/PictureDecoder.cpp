#include "imaging/PictureDecoder.h"

#include "imaging/ImageFileType.h"
#include "imaging/ImageHeader.h"
#include "imaging/JpegDecoder.h"

#include "core/QORException.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <cstdlib>

namespace pavlora {
namespace {

[[noreturn]] void RaiseCannotOpen(const QString& file, const QString& detail)
{
    throw EQORException(
        400, QString(), detail + QStringLiteral(": ") + file, QStringLiteral("ImageUtils.DecodePicture"));
}

bool IsTooLarge(QSize size)
{
    return static_cast<std::int64_t>(size.width()) * size.height() > kMaxPicturePixels;
}

QImage OpaqueRgb32(QImage image)
{
    if (image.format() == QImage::Format_RGB32)
        return image;
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage opaque(image.size(), QImage::Format_RGB32);
    if (opaque.isNull())
        return opaque;
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
    return opaque;
}

// The embedded EXIF thumbnail when it shows the whole picture (its aspect
// agrees within one pixel) and covers `minimum`.
QImage EmbeddedThumbnail(const QString& file, QSize fullSize, QSize minimum)
{
    QFile device(file);
    if (!device.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = ReadExifThumbnail(device);
    if (data.isEmpty())
        return {};
    TJpegDecodeResult thumbnail = DecodeJpegData(data, QSize(), kMaxPicturePixels);
    const QSize size = thumbnail.image.size();
    if (thumbnail.image.isNull() || size.width() < minimum.width() || size.height() < minimum.height())
        return {};
    const double expectedWidth = double(size.height()) * fullSize.width() / fullSize.height();
    if (std::abs(expectedWidth - size.width()) > 1.0)
        return {};
    return thumbnail.image;
}

} // namespace

void RaiseImageAllocationLimit()
{
    // Up to 8 bytes a pixel (16-bit colour with alpha) for the largest picture.
    QImageReader::setAllocationLimit(static_cast<int>(kMaxPicturePixels * 8 / (1024 * 1024)));
}

std::optional<QSize> ReadPictureSize(const QString& file)
{
    QFile device(file);
    if (!device.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (const std::optional<TImageHeader> header = ReadImageHeader(device, false)) {
        if (header->width <= 0 || header->height <= 0 || header->width > 0x7FFFFFFF || header->height > 0x7FFFFFFF)
            return std::nullopt;
        return QSize(static_cast<int>(header->width), static_cast<int>(header->height));
    }
    device.seek(0);
    QImageReader reader(&device);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return std::nullopt;
    return size;
}

QImage DecodePicture(const QString& file, QSize fullSize, QSize minimum, bool useEmbeddedThumbnail)
{
    if (IsTooLarge(fullSize))
        RaiseCannotOpen(
            file, QStringLiteral("%1 x %2 pixels exceed the limit").arg(fullSize.width()).arg(fullSize.height()));
    QFile device(file);
    if (!device.open(QIODevice::ReadOnly))
        RaiseCannotOpen(file, device.errorString());
    const TImageFormat format = SniffImageFormat(device.peek(16));
    device.close();

    if (format == TImageFormat::Jpeg) {
        if (useEmbeddedThumbnail && !minimum.isEmpty()) {
            QImage thumbnail = EmbeddedThumbnail(file, fullSize, minimum);
            if (!thumbnail.isNull())
                return thumbnail;
        }
        TJpegDecodeResult result = DecodeJpegFile(file, minimum, kMaxPicturePixels);
        if (result.tooLarge)
            RaiseCannotOpen(file, QStringLiteral("the picture exceeds the pixel limit"));
        if (result.image.isNull())
            RaiseCannotOpen(file, QStringLiteral("JPEG decoding failed"));
        return result.image;
    }

    QImageReader reader(file);
    reader.setAutoTransform(false);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && IsTooLarge(size))
        RaiseCannotOpen(file, QStringLiteral("the picture exceeds the pixel limit"));
    QImage image;
    if (!reader.read(&image))
        RaiseCannotOpen(file, reader.errorString());
    image = OpaqueRgb32(std::move(image));
    if (image.isNull())
        RaiseCannotOpen(file, QStringLiteral("out of memory"));
    return image;
}

QImage ScaleExactly(const QImage& image, QSize size)
{
    if (image.size() == size)
        return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace pavlora
