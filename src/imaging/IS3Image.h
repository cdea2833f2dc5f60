#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

namespace pavlora {

// The pixel buffer of the retouching filters: 24-bit RGB (red, green, blue
// in memory) without row padding, stride = width × 3. The picture editor's
// filters (brightness/contrast, blur, sharpen, red-eye) work on it; this
// class only moves pictures in and out.
class TIS3Image {
public:
    // Frees the old buffer and allocates a zero-filled one; 0 leaves none.
    void SetSize(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t Size() const { return buffer_.size(); }
    std::uint8_t* Data() { return buffer_.data(); }
    const std::uint8_t* Data() const { return buffer_.data(); }
    // Whether the last FromImage filled the buffer.
    bool IsValid() const { return valid_; }

    // Fills the buffer from `image` (any format); an error empties it.
    bool FromImage(const QImage& image);
    // A new 24-bit picture (Format_BGR888) of the buffer.
    QImage ToImage() const;

private:
    std::vector<std::uint8_t> buffer_;
    int width_ = 0;
    int height_ = 0;
    bool valid_ = false;
};

} // namespace pavlora
