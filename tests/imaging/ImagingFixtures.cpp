#include "ImagingFixtures.h"

#include "support/TestSandbox.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

#include <stdexcept>

namespace pavlora::test {

QImage SolidImage(int width, int height, const QColor& color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QImage BandedImage(int width, int height, const QList<QColor>& colors)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    const int band = width / static_cast<int>(colors.size());
    for (int i = 0; i < colors.size(); ++i)
        painter.fillRect(i * band, 0, i + 1 == colors.size() ? width - i * band : band, height, colors[i]);
    return image;
}

QString WriteImageFile(const QString& path, const QImage& image, const char* format, int quality)
{
    QImageWriter writer(path, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        throw std::runtime_error("cannot write " + path.toStdString() + ": " + writer.errorString().toStdString());
    return path;
}

void AddMetadata(const QString& path, const TExifFixture& fixture)
{
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    image->readMetadata();
    Exiv2::ExifData exif = image->exifData();
    if (!fixture.make.isEmpty())
        exif["Exif.Image.Make"] = fixture.make.toStdString();
    if (!fixture.model.isEmpty())
        exif["Exif.Image.Model"] = fixture.model.toStdString();
    if (!fixture.dateTimeOriginal.isEmpty())
        exif["Exif.Photo.DateTimeOriginal"] = fixture.dateTimeOriginal.toStdString();
    if (!fixture.dateTime.isEmpty())
        exif["Exif.Image.DateTime"] = fixture.dateTime.toStdString();
    if (!fixture.thumbnail.isNull()) {
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "jpeg").write(fixture.thumbnail);
        Exiv2::ExifThumb thumb(exif);
        thumb.setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(jpeg.constData()), static_cast<long>(jpeg.size()));
    }
    Exiv2::IptcData iptc = image->iptcData();
    for (const auto& [key, value] : fixture.iptc) {
        Exiv2::Iptcdatum datum{Exiv2::IptcKey(key.toStdString())};
        datum.setValue(value.toStdString());
        iptc.add(datum);
    }
    image->setExifData(exif);
    image->setIptcData(iptc);
    image->writeMetadata();
}

QList<QByteArray> IptcValues(const QString& path, const QString& key)
{
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    image->readMetadata();
    QList<QByteArray> values;
    for (const Exiv2::Iptcdatum& datum : image->iptcData()) {
        if (QString::fromStdString(datum.key()) == key)
            values.append(QByteArray::fromStdString(datum.toString()));
    }
    return values;
}

QString ExifValue(const QString& path, const QString& key)
{
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    image->readMetadata();
    const auto found = image->exifData().findKey(Exiv2::ExifKey(key.toStdString()));
    return found == image->exifData().end() ? QString() : QString::fromStdString(found->toString());
}

QByteArray JpegScanData(const QByteArray& file)
{
    const qsizetype sos = file.indexOf(QByteArray("\xFF\xDA", 2));
    return sos < 0 ? QByteArray() : file.mid(sos);
}

QString WriteScript(const QString& folder, const QString& name, const QByteArray& body)
{
    const QString path = folder + QLatin1Char('/') + name;
    WriteFile(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
    return path;
}

} // namespace pavlora::test

#pragma GCC diagnostic pop
