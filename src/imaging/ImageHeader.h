#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

class QIODevice;

namespace pavlora {

enum class TImageFormat { Unknown, Jpeg, Png, Bmp, Tiff, Gif, Jp2 };

// What a picture's header says: its format, its pixel size and the bits per
// pixel of its pixel format.
//
// Bits per pixel by file kind (1, 4, 8, 16, 24 or 32; 0 for any other pixel
// format, such as 48- and 64-bit colour):
//
// | Kind | Value |
// |---|---|
// | JPEG (8-bit samples) | 8 × components: grey 8, colour 24, CMYK 32; 12-bit samples 0 |
// | PNG grey | depth 1 → 1, 2 or 4 → 4, 8 → 8, 16 → 16 |
// | PNG palette | depth 1 → 1, 2 or 4 → 4, 8 → 8 |
// | PNG colour | 8-bit 24, 16-bit 0 |
// | PNG grey + alpha, colour + alpha | 8-bit 32, 16-bit 0 |
// | BMP | the bit count of the header when it is 1, 4, 8, 16, 24 or 32 (15-bit colour counts as 16) |
// | TIFF | bits per sample × samples per pixel when that is 1, 4, 8, 16, 24 or 32 |
// | GIF | 8 |
// | JPEG 2000 | bits per component (not per pixel), 0 when the components differ |
struct TImageHeader {
    TImageFormat format = TImageFormat::Unknown;
    std::int64_t width = 0;
    std::int64_t height = 0;
    int bitsPerPixel = 0;
};

// The format of a picture by its first bytes (at least 12 of them).
TImageFormat SniffImageFormat(const QByteArray& head);

// Reads the header of the picture in `device` (open for reading, seekable)
// without decoding any pixels. The format is recognised by the content; a
// JPEG 2000 file is parsed only when `jp2` is set (the ".jp2" name), as the
// program reads those only through the converter. Nothing when the format is
// not one of the kinds above or the header is malformed or truncated.
std::optional<TImageHeader> ReadImageHeader(QIODevice& device, bool jp2);

// The embedded thumbnail of a JPEG file: the JPEG data referenced by the
// second image directory of its EXIF segment, or empty when there is none.
// Reads only the segments before the frame header.
QByteArray ReadExifThumbnail(QIODevice& device);

} // namespace pavlora
