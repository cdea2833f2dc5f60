#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

namespace pavlora {

// Decoding of picture files for the picture operations. The files given
// here are directly readable (a JPEG 2000 file goes through TFileWrapper
// first). Every function may be called from any thread.

// The largest picture the program opens: 2^27 pixels (134 megapixels), room
// for every current camera. A full picture of that size takes 512 MiB.
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t(1) << 27;

// Raises Qt's image allocation limit so that pictures up to
// kMaxPicturePixels load through Qt's plugins (also in 16-bit formats).
// Process-wide; done once by TImageUtils before any picture is read.
void RaiseImageAllocationLimit();

// The pixel size from the file's header, without decoding pixels: the
// header readers of ImageHeader.h, and Qt's plugin for other formats.
std::optional<QSize> ReadPictureSize(const QString& file);

// Decodes `file` (whose full size is `fullSize`) to an image of at least
// `minimum` in both directions where the format allows reading it reduced
// (JPEG, by DCT scaling), else at full size; an empty `minimum` asks for the
// full size. With `useEmbeddedThumbnail`, a JPEG's EXIF thumbnail serves
// when it has the picture's aspect and covers `minimum`. Transparent
// pictures are composed onto white; the result is Format_RGB32 and ignores
// the EXIF orientation.
// Raises EQORException 400 ("Das Bild konnte nicht geöffnet werden.") when
// the picture is larger than kMaxPicturePixels or cannot be decoded.
QImage DecodePicture(const QString& file, QSize fullSize, QSize minimum, bool useEmbeddedThumbnail);

// `image` scaled to exactly `size` with area-averaging (the image itself
// when it already has that size).
QImage ScaleExactly(const QImage& image, QSize size);

} // namespace pavlora
