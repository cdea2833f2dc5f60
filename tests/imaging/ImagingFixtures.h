#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QString>

#include <utility>

namespace pavlora::test {

// A picture of `width` × `height` in one colour.
QImage SolidImage(int width, int height, const QColor& color);
// Vertical bands of equal width, one per colour, left to right.
QImage BandedImage(int width, int height, const QList<QColor>& colors);

// Writes `image` with Qt's writer for `format` ("jpeg", "png", "bmp",
// "tiff") and returns the path.
QString WriteImageFile(const QString& path, const QImage& image, const char* format, int quality = 95);

// EXIF and IPTC values to put into a JPEG (written with Exiv2).
struct TExifFixture {
    QString make;
    QString model;
    QString dateTimeOriginal; // 36867; empty: absent
    QString dateTime; // 306; empty: absent
    QImage thumbnail; // embedded JPEG thumbnail; null: none
    // IPTC datasets as stored (raw bytes), in order: key ("Iptc.Application2.Keywords") and value.
    QList<std::pair<QString, QByteArray>> iptc;
};
void AddMetadata(const QString& path, const TExifFixture& fixture);

// The raw bytes of every IPTC dataset of `path` with `key`, in stored order.
QList<QByteArray> IptcValues(const QString& path, const QString& key);
QString ExifValue(const QString& path, const QString& key);

// The bytes of a JPEG file from its first start-of-scan marker on (the
// entropy-coded picture data).
QByteArray JpegScanData(const QByteArray& file);

// An executable shell script `name` in `folder` with `body`.
QString WriteScript(const QString& folder, const QString& name, const QByteArray& body);

} // namespace pavlora::test
