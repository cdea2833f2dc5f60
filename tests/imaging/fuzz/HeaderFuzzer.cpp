// Fuzz target of the picture header readers: every reader that looks at a
// file's first bytes (JPEG segments and the EXIF thumbnail, PNG, BMP, TIFF,
// GIF, the JPEG 2000 boxes) must survive any input without reading outside
// it, hanging or allocating by a size taken from the file.

#include "imaging/ImageHeader.h"
#include "imaging/Jp2Box.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    (void)pavlora::ReadImageHeader(buffer, false);
    (void)pavlora::ReadImageHeader(buffer, true);
    (void)pavlora::ReadExifThumbnail(buffer);
    (void)pavlora::ReadJp2ImageHeader(buffer);
    return 0;
}
