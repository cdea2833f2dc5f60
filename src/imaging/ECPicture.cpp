#include "imaging/ECPicture.h"

#include <QBuffer>
#include <QIODevice>
#include <QImageReader>

namespace pavlora {
namespace {

QImage ReadAs(const QByteArray& data, const char* format)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(false);
    QImage image;
    if (!reader.read(&image))
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

void TECPicture::LoadFromStream(QIODevice& stream)
{
    LoadFromData(stream.readAll());
}

void TECPicture::LoadFromData(const QByteArray& data)
{
    image_ = QImage();
    png_ = TPNGObjectEx();
    if (data.startsWith("\xFF\xD8")) {
        kind_ = TKind::Jpeg;
        image_ = ReadAs(data, "jpeg");
    } else if (data.startsWith("\x89PNG") || data.startsWith("PNG")) {
        kind_ = TKind::Png;
        png_.LoadFromData(data);
    } else {
        kind_ = TKind::Bitmap;
        image_ = ReadAs(data, "bmp");
    }
    if (onChange_)
        onChange_();
}

bool TECPicture::IsEmpty() const
{
    return Image().isNull();
}

const QImage& TECPicture::Image() const
{
    return kind_ == TKind::Png ? png_.Image() : image_;
}

} // namespace pavlora
