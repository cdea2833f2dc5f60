#include "imaging/IS3Image.h"

#include <cstring>

namespace pavlora {

void TIS3Image::SetSize(int width, int height)
{
    std::vector<std::uint8_t>().swap(buffer_);
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    buffer_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3, 0);
}

bool TIS3Image::FromImage(const QImage& image)
{
    valid_ = false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull()) {
        SetSize(0, 0);
        return false;
    }
    SetSize(rgb.width(), rgb.height());
    const std::size_t row = static_cast<std::size_t>(width_) * 3;
    for (int y = 0; y < height_; ++y)
        std::memcpy(buffer_.data() + row * static_cast<std::size_t>(y), rgb.constScanLine(y), row);
    valid_ = true;
    return true;
}

QImage TIS3Image::ToImage() const
{
    if (buffer_.empty())
        return {};
    const QImage view(buffer_.data(), width_, height_, width_ * 3, QImage::Format_RGB888);
    return view.convertToFormat(QImage::Format_BGR888);
}

} // namespace pavlora
