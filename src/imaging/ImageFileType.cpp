#include "imaging/ImageFileType.h"

namespace pavlora {

int ImageTypeOfFile(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    if (dot < 0 || dot < slash)
        return kImageTypeNone;
    const QString extension = fileName.mid(dot + 1).toLower();
    if (extension == QLatin1String("bmp"))
        return kImageTypeBmp;
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg"))
        return kImageTypeJpeg;
    if (extension == QLatin1String("png"))
        return kImageTypePng;
    if (extension == QLatin1String("tif") || extension == QLatin1String("tiff"))
        return kImageTypeTiff;
    if (extension == QLatin1String("jp2"))
        return kImageTypeJp2;
    return kImageTypeNone;
}

bool IsJp2FileName(const QString& fileName)
{
    return ImageTypeOfFile(fileName) == kImageTypeJp2;
}

} // namespace pavlora
