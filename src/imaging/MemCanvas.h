#pragma once

#include <QImage>

#include <cstdint>

namespace pavlora {

// A 24-bit picture in memory with direct access to its pixels: blue, green,
// red bytes per pixel, rows top-down, each row padded to four bytes
// (stride = ((width × 24 + 31) div 32) × 4). The pixel effects and the skin
// drawing work on it; Image() gives it to QPainter.
class TMemCanvas {
public:
    // Negative sizes are taken as 0. Raises EQORException with the text "Zu
    // wenig Arbeitsspeicher" when the memory cannot be had.
    TMemCanvas(int width, int height);

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    qsizetype Stride() const { return image_.bytesPerLine(); }

    std::uint8_t* Row(int y) { return image_.scanLine(y); }
    const std::uint8_t* Row(int y) const { return image_.constScanLine(y); }
    std::uint8_t* Pixel(int x, int y) { return image_.scanLine(y) + 3 * x; }
    const std::uint8_t* Pixel(int x, int y) const { return image_.constScanLine(y) + 3 * x; }

    // The picture (Format_BGR888); null for a 0 size.
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }

private:
    QImage image_;
};

} // namespace pavlora
