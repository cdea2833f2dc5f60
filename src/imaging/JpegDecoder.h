#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>

namespace pavlora {

// The outcome of decoding a JPEG picture: the image (null on failure), the
// picture's full size from its header, and whether it was refused because
// the header's size exceeds the pixel limit.
struct TJpegDecodeResult {
    QImage image;
    QSize fullSize;
    bool tooLarge = false;
};

// Decodes a JPEG picture with libjpeg at the smallest DCT scale (n/8) whose
// size is at least `minimum` in both directions; an empty `minimum` decodes
// at full size. Decoding at 1/8 reads the whole file but never holds more
// than the reduced picture (plus, for progressive files, the coefficients of
// the whole picture, which libjpeg needs). The image is Format_RGB32; grey,
// colour and CMYK pictures are read, EXIF orientation is not applied.
// Pictures whose header size exceeds `maxPixels` are refused before any
// pixel memory is allocated. Safe to call from any thread.
TJpegDecodeResult DecodeJpegFile(const QString& path, QSize minimum, std::int64_t maxPixels);
TJpegDecodeResult DecodeJpegData(const QByteArray& data, QSize minimum, std::int64_t maxPixels);

} // namespace pavlora
