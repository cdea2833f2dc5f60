#include "imaging/PNGObjectEx.h"

#include "imaging/MemCanvas.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

namespace pavlora {
namespace {

// The transparency the chunks declare: colour types 4 and 6 carry alpha; a
// "tRNS" chunk gives a transparent colour, or alpha values per palette
// entry (partial when any lies strictly between 0 and 255).
TPNGObjectEx::TTransparency ChunkTransparency(const QByteArray& data, int colorType)
{
    if (colorType == 4 || colorType == 6)
        return TPNGObjectEx::TTransparency::Partial;
    qsizetype position = 8;
    while (position + 8 <= data.size()) {
        const std::uint32_t length = qFromBigEndian<std::uint32_t>(data.constData() + position);
        const QByteArray type = data.mid(position + 4, 4);
        if (length > static_cast<std::uint32_t>(data.size() - position - 8))
            break;
        if (type == "tRNS") {
            if (colorType != 3)
                return TPNGObjectEx::TTransparency::Bit;
            for (std::uint32_t i = 0; i < length; ++i) {
                const auto alpha = static_cast<unsigned char>(data[position + 8 + i]);
                if (alpha != 0 && alpha != 255)
                    return TPNGObjectEx::TTransparency::Partial;
            }
            return TPNGObjectEx::TTransparency::Bit;
        }
        if (type == "IDAT" || type == "IEND")
            break;
        position += 12 + static_cast<qsizetype>(length);
    }
    return TPNGObjectEx::TTransparency::None;
}

// The part of `destination` that the picture covers from `offset`.
QRect ClippedDestination(const QRect& destination, QSize picture, QPoint offset, const QRect& target)
{
    const QRect available(destination.topLeft(), picture - QSize(offset.x(), offset.y()));
    return destination.intersected(available).intersected(target);
}

void Blend(const QImage& source, QPoint offset, QImage& target, const QRect& area)
{
    const bool bgr = target.format() == QImage::Format_BGR888;
    const bool rgb = target.format() == QImage::Format_RGB888;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y - area.top() + offset.y()));
        uchar* out = target.scanLine(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = in[x - area.left() + offset.x()];
            const int alpha = qAlpha(pixel);
            const auto mix = [alpha](int s, int d) { return (s * alpha + (255 - alpha) * d + 255) / 256; };
            if (bgr || rgb) {
                uchar* p = out + 3 * x;
                const int r = bgr ? 2 : 0;
                const int b = bgr ? 0 : 2;
                p[r] = static_cast<uchar>(mix(qRed(pixel), p[r]));
                p[1] = static_cast<uchar>(mix(qGreen(pixel), p[1]));
                p[b] = static_cast<uchar>(mix(qBlue(pixel), p[b]));
            } else {
                QRgb& d = reinterpret_cast<QRgb*>(out)[x];
                d = qRgba(
                    mix(qRed(pixel), qRed(d)), mix(qGreen(pixel), qGreen(d)), mix(qBlue(pixel), qBlue(d)), qAlpha(d));
            }
        }
    }
}

} // namespace

bool TPNGObjectEx::LoadFromData(const QByteArray& data)
{
    *this = TPNGObjectEx();
    if (data.size() < 33 || !data.startsWith("\x89PNG\r\n\x1A\n") || data.mid(12, 4) != "IHDR")
        return false;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setAutoTransform(false);
    QImage image;
    if (!reader.read(&image))
        return false;
    width_ = static_cast<int>(qFromBigEndian<std::uint32_t>(data.constData() + 16));
    height_ = static_cast<int>(qFromBigEndian<std::uint32_t>(data.constData() + 20));
    bitDepth_ = static_cast<unsigned char>(data[24]);
    colorType_ = static_cast<unsigned char>(data[25]);
    transparency_ = ChunkTransparency(data, colorType_);
    image_ = image.convertToFormat(transparency_ == TTransparency::None ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    hasHeader_ = !image_.isNull();
    return hasHeader_;
}

void TPNGObjectEx::Draw(QImage& target, const QRect& destination) const
{
    if (!hasHeader_ || target.isNull())
        return;
    const QRect area = ClippedDestination(destination, image_.size(), sourceOffset_, target.rect());
    if (area.isEmpty())
        return;
    if (transparency_ == TTransparency::None) {
        QPainter painter(&target);
        painter.drawImage(area.topLeft(), image_, QRect(sourceOffset_, area.size()));
        return;
    }
    switch (target.format()) {
    case QImage::Format_BGR888:
    case QImage::Format_RGB888:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        Blend(image_, sourceOffset_, target, area);
        break;
    default: {
        const QImage::Format format = target.format();
        QImage converted = target.convertToFormat(QImage::Format_RGB32);
        Blend(image_, sourceOffset_, converted, area);
        target = converted.convertToFormat(format);
        break;
    }
    }
}

void TPNGObjectEx::Draw(TMemCanvas& target, const QRect& destination) const
{
    Draw(target.Image(), destination);
}

} // namespace pavlora
