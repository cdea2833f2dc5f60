#include "imaging/ImageUtils.h"

#include "imaging/FileWrapper.h"
#include "imaging/ImageFileType.h"
#include "imaging/ImageHeader.h"
#include "imaging/ImageMath.h"
#include "imaging/Jp2Converter.h"
#include "imaging/PictureDecoder.h"

#include "core/AppFolders.h"
#include "core/Logger.h"
#include "core/QORException.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QMutex>
#include <QPainter>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>

namespace pavlora {
namespace {

QMutex instanceMutex;
std::unique_ptr<TImageUtils> instance;

[[noreturn]] void RaiseInstanceError(const QString& text, const QString& method)
{
    throw EQORException(2, text, QString(), QStringLiteral("ImageUtils.TImageUtils.") + method);
}

bool WriteImage(const QImage& image, const QString& fileName, const char* format, int quality)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, format);
    if (quality >= 0)
        writer.setQuality(std::clamp(quality, 0, 100));
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// Wraps the keyword lines of the picture information: a line that has
// grown beyond 40 characters is emitted before the next keyword, which
// starts a line of three blanks.
void AppendKeywordLines(QStringList& lines, QStringList keywords)
{
    std::sort(keywords.begin(), keywords.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QString line;
    for (qsizetype i = 0; i < keywords.size(); ++i) {
        if (i == 0) {
            line = QStringLiteral("Stichworte: ");
        } else {
            line += QStringLiteral(", ");
        }
        if (line.size() > 40) {
            lines.append(line);
            line = QStringLiteral("   ");
        }
        line += keywords[i];
    }
    if (!line.trimmed().isEmpty())
        lines.append(line);
}

} // namespace

TImageUtils::TImageUtils()
{
    RaiseImageAllocationLimit();
    InitializeImageMetadata();
}

TImageUtils::~TImageUtils() = default;

void TImageUtils::Register(std::unique_ptr<TImageUtils> newInstance)
{
    QMutexLocker lock(&instanceMutex);
    if (instance)
        RaiseInstanceError(QStringLiteral("ImageUtils initialized twice."), QStringLiteral("Register"));
    instance = std::move(newInstance);
}

TImageUtils& TImageUtils::Instance()
{
    QMutexLocker lock(&instanceMutex);
    if (!instance)
        RaiseInstanceError(QStringLiteral("No ImageUtils present."), QStringLiteral("Instance"));
    return *instance;
}

void TImageUtils::Unregister()
{
    QMutexLocker lock(&instanceMutex);
    instance.reset();
}

QImage TImageUtils::LoadScaledPicture(const QString& file, QSize fullSize, QSize target, bool useEmbedded)
{
    const QSize minimum = target.boundedTo(fullSize);
    const QImage decoded = DecodePicture(file, fullSize, minimum, useEmbedded);
    return ScaleExactly(decoded, target);
}

QImage TImageUtils::LoadBitmap(const QString& fileName, int maxWidth, int maxHeight, int* width, int* height)
{
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    try {
        const TFileWrapper wrapper(fileName);
        const std::optional<QSize> size = ReadPictureSize(wrapper.FileName());
        if (!size)
            return {};
        const int w = size->width();
        const int h = size->height();
        if (width)
            *width = w;
        if (height)
            *height = h;
        QSize target(w, h);
        if (maxWidth != -1 && maxHeight != -1) {
            if (maxWidth <= 0 || maxHeight <= 0)
                return {};
            const double r = double(w) / double(h);
            if (double(maxWidth) / double(maxHeight) >= r) {
                const int targetHeight = std::min(maxHeight, h);
                target = QSize(static_cast<int>(RoundHalfEven(targetHeight * r)), targetHeight);
            } else {
                const int targetWidth = std::min(maxWidth, w);
                target = QSize(targetWidth, static_cast<int>(RoundHalfEven(targetWidth / r)));
            }
            target = target.expandedTo(QSize(1, 1));
        }
        const bool small = std::max(target.width(), target.height()) <= 120;
        return LoadScaledPicture(wrapper.FileName(), *size, target, small).convertToFormat(QImage::Format_BGR888);
    } catch (...) {
        RecordCurrentException(QStringLiteral("ImageUtils.TImageUtils.LoadBitmap"));
        return {};
    }
}

bool TImageUtils::GetImageInfo(const QString& fileName, int& width, int& height, int& bitsPerPixel)
{
    width = 0;
    height = 0;
    bitsPerPixel = 0;
    QFile device(fileName);
    if (!device.open(QIODevice::ReadOnly))
        return false;
    const bool jp2 = IsJp2FileName(fileName);
    if (const std::optional<TImageHeader> header = ReadImageHeader(device, jp2)) {
        if (header->width <= 0 || header->height <= 0 || header->width > 0x7FFFFFFF || header->height > 0x7FFFFFFF)
            return false;
        width = static_cast<int>(header->width);
        height = static_cast<int>(header->height);
        bitsPerPixel = header->bitsPerPixel;
        return true;
    }
    if (jp2)
        return false;
    // Formats without a reader of ours (WebP and the like): Qt's plugins
    // read their headers.
    device.seek(0);
    QImageReader reader(&device);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return false;
    width = size.width();
    height = size.height();
    const QImage::Format format = reader.imageFormat();
    const int depth = format == QImage::Format_Invalid ? 0 : QImage::toPixelFormat(format).bitsPerPixel();
    bitsPerPixel = (depth == 1 || depth == 8 || depth == 16 || depth == 24 || depth == 32) ? depth : 0;
    return true;
}

void TImageUtils::SaveAsJPEG2000(const QImage& bitmap, const QString& fileName, int ratio)
{
    const QString folder = AppFolders::UserCacheFolder() + QStringLiteral("/tmp");
    AppFolders::EnsurePrivateFolder(folder);
    QTemporaryFile bmp(folder + QStringLiteral("/~PJ2Cnv-XXXXXX.bmp"));
    if (!bmp.open()) {
        throw EQORException(2, QStringLiteral("JPG2000 Konvertierungsfehler"), bmp.errorString(),
            QStringLiteral("ImageUtils.TImageUtils.SaveAsJPEG2000"));
    }
    bmp.close();
    if (!SaveAsBMP(bitmap, bmp.fileName())) {
        throw EQORException(2, QStringLiteral("JPG2000 Konvertierungsfehler"),
            QStringLiteral("cannot write ") + bmp.fileName(), QStringLiteral("ImageUtils.TImageUtils.SaveAsJPEG2000"));
    }
    Jp2Converter::BitmapToJp2(bmp.fileName(), fileName, EffectiveJp2Ratio(bitmap.size(), ratio));
}

int TImageUtils::EffectiveJp2Ratio(QSize size, int ratio)
{
    if (ratio >= 1)
        return ratio;
    return static_cast<std::int64_t>(size.width()) * size.height() < 2000001 ? 2 : 3;
}

TExifDate TImageUtils::GetExifDateTime(const QString& fileName, bool preferTakenDate)
{
    return ReadExifDateTime(fileName, preferTakenDate);
}

QDateTime TImageUtils::GetDateTaken(const QString& fileName)
{
    const TExifDate date = GetExifDateTime(fileName, true);
    switch (date.state) {
    case TExifDate::State::Valid:
        return date.value;
    case TExifDate::State::Invalid:
        return {};
    case TExifDate::State::Absent:
        break;
    }
    return QFileInfo(fileName).lastModified();
}

bool TImageUtils::SaveAsJPEG(const QImage& bitmap, const QString& fileName, int quality, int width, int height)
{
    if (bitmap.isNull())
        return false;
    const QImage image = width >= 1 && height >= 1 ? ScaleExactly(bitmap, QSize(width, height)) : bitmap;
    return WriteImage(image, fileName, "jpeg", quality);
}

QImage TImageUtils::LoadFullBitmap(const QString& fileName)
{
    const TFileWrapper wrapper(fileName);
    const std::optional<QSize> size = ReadPictureSize(wrapper.FileName());
    if (!size) {
        throw EQORException(400, QString(), QStringLiteral("unreadable header: ") + fileName,
            QStringLiteral("ImageUtils.TImageUtils.LoadFullBitmap"));
    }
    return DecodePicture(wrapper.FileName(), *size, QSize(), false);
}

int TImageUtils::ImageTypeOfFile(const QString& fileName)
{
    return pavlora::ImageTypeOfFile(fileName);
}

QSize TImageUtils::ResampleSize(QSize source, int width, bool keepAspect, int height)
{
    if (!keepAspect || source.isEmpty())
        return QSize(width, height);
    const std::int64_t w = source.width();
    const std::int64_t h = source.height();
    if (float(h) / float(w) >= float(height) / float(width))
        return QSize(static_cast<int>(height * w / h), height);
    return QSize(width, static_cast<int>(width * h / w));
}

QImage TImageUtils::Resample(const QImage& image, int width, bool keepAspect, int height)
{
    const QSize size = ResampleSize(image.size(), width, keepAspect, height);
    if (size.isEmpty() || image.isNull())
        return {};
    return ScaleExactly(image, size);
}

bool TImageUtils::SaveAsBMP(const QImage& image, const QString& fileName, int width, int height)
{
    if (image.isNull())
        return false;
    QImage scaled = width >= 1 && height >= 1 ? ScaleExactly(image, QSize(width, height)) : image;
    return WriteImage(scaled.convertToFormat(QImage::Format_RGB888), fileName, "bmp", -1);
}

bool TImageUtils::SaveByExtension(const QImage& image, const QString& fileName)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg"))
        return SaveAsJPEG(image, fileName, 95);
    if (extension == QLatin1String("jp2")) {
        try {
            SaveAsJPEG2000(image, fileName, 90);
            return true;
        } catch (const EQORException&) {
            return false;
        }
    }
    if (extension == QLatin1String("bmp"))
        return SaveAsBMP(image, fileName);
    return false;
}

std::optional<QStringList> TImageUtils::GetPictureInfo(const QString& fileName)
{
    const std::optional<TPictureMetadata> metadata = ReadPictureMetadata(fileName);
    if (!metadata)
        return std::nullopt;
    QStringList lines;
    if (metadata->hasExif) {
        const std::pair<const char*, QString> fields[] = {
            {"Hersteller", metadata->maker}, {"Kameramodell", metadata->model}, {"Aufgenommen am", metadata->dateTime}};
        for (const auto& [label, value] : fields) {
            const QString trimmed = value.trimmed();
            if (!trimmed.isEmpty())
                lines.append(QLatin1String(label) + QStringLiteral(": ") + trimmed);
        }
    }
    AppendKeywordLines(lines, metadata->keywords);
    return lines;
}

std::optional<QStringList> TImageUtils::ReadKeywords(const QString& fileName)
{
    return pavlora::ReadKeywords(fileName);
}

void TImageUtils::WriteKeywords(const QString& fileName, const QStringList& keywords)
{
    pavlora::WriteKeywords(fileName, keywords);
}

void TImageUtils::FillBitmap(QImage& bitmap, TColor color)
{
    bitmap.fill(ToQColor(color));
}

void TImageUtils::DrawOutline(QImage& bitmap, TColor color)
{
    if (bitmap.isNull())
        return;
    QPainter painter(&bitmap);
    painter.setPen(QPen(ToQColor(color), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(0, 0, bitmap.width() - 1, bitmap.height() - 1));
}

QImage TImageUtils::CopyRect(const QImage& bitmap, const QRect& rect)
{
    return bitmap.copy(rect);
}

void TImageUtils::StretchBitmap(QImage& bitmap, QSize size)
{
    if (bitmap.isNull() || size.isEmpty())
        return;
    bitmap = ScaleExactly(bitmap, size).convertToFormat(bitmap.format());
}

void TImageUtils::BlendBitmap(QImage& target, const QImage& source, int percent)
{
    if (target.isNull() || source.isNull())
        return;
    const std::int64_t alpha = RoundHalfEven(percent * 255.0 / 100.0);
    QPainter painter(&target);
    painter.setOpacity(std::clamp<double>(double(alpha) / 255.0, 0.0, 1.0));
    painter.drawImage(0, 0, source);
}

} // namespace pavlora
