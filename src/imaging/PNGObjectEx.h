#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>

namespace pavlora {

class TMemCanvas;

// A PNG skin picture, drawn with its transparency.
//
// Loading keeps the header chunk (size, bit depth, colour type) and decodes
// the pixels. Drawing copies the picture one source pixel to one
// destination pixel, starting at SourceOffset() in the picture, into a
// destination rectangle clipped to the picture: an opaque PNG is copied, a
// PNG with transparency (a transparent colour or an alpha channel, of any
// bit depth) is blended per channel as
//     (source × α + (255 − α) × destination + 255) div 256.
class TPNGObjectEx {
public:
    enum class TTransparency {
        None, // no transparency
        Bit, // a transparent colour or palette entries that are fully transparent or opaque
        Partial, // an alpha channel or partly transparent palette entries
    };

    // Reads a PNG file's bytes; false (and an empty picture) when they are
    // not a readable PNG.
    bool LoadFromData(const QByteArray& data);

    bool HasHeader() const { return hasHeader_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitDepth() const { return bitDepth_; }
    int ColorType() const { return colorType_; }
    TTransparency Transparency() const { return transparency_; }

    // The decoded picture (ARGB32 with transparency, else RGB32).
    const QImage& Image() const { return image_; }

    QPoint SourceOffset() const { return sourceOffset_; }
    void SetSourceOffset(QPoint offset) { sourceOffset_ = offset; }

    // Draws into `destination` of `target`; nothing without a header.
    void Draw(QImage& target, const QRect& destination) const;
    void Draw(TMemCanvas& target, const QRect& destination) const;

private:
    QImage image_;
    QPoint sourceOffset_;
    bool hasHeader_ = false;
    int width_ = 0;
    int height_ = 0;
    int bitDepth_ = 0;
    int colorType_ = 0;
    TTransparency transparency_ = TTransparency::None;
};

} // namespace pavlora
