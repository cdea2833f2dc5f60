#pragma once

#include <QString>

namespace pavlora {

// The picture type of a file by its extension (compared without regard to
// case), as the scanning threads and the picture lists use it:
// ".bmp" 1, ".jpg"/".jpeg" 2, ".png" 3, ".tif"/".tiff" 4, ".jp2" 5, anything
// else 0 (not a picture). GIF files can be read and measured, but they are
// type 0: the folder scans do not offer them.
enum : int {
    kImageTypeNone = 0,
    kImageTypeBmp = 1,
    kImageTypeJpeg = 2,
    kImageTypePng = 3,
    kImageTypeTiff = 4,
    kImageTypeJp2 = 5,
};

int ImageTypeOfFile(const QString& fileName);

// True for a ".jp2" file name (without regard to case): such files are read
// through the JPEG 2000 converter.
bool IsJp2FileName(const QString& fileName);

} // namespace pavlora
