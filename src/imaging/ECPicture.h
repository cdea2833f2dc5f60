#pragma once

#include "imaging/PNGObjectEx.h"

#include <QImage>

#include <functional>

class QIODevice;

namespace pavlora {

// A skin picture of any of the three skin formats, recognised by its first
// bytes: $FF $D8 is JPEG; $89 "PNG" or "PNG" is PNG (kept as a TPNGObjectEx
// with its transparency); anything else is read as a Windows bitmap.
// A picture that fails to load leaves an empty graphic of its kind; the
// resource manager shows nothing for it. Not thread-safe: one owner.
class TECPicture {
public:
    enum class TKind { Empty, Jpeg, Png, Bitmap };

    // Reads the rest of `stream`, replaces the graphic and signals a change.
    void LoadFromStream(QIODevice& stream);
    void LoadFromData(const QByteArray& data);

    TKind Kind() const { return kind_; }
    bool IsEmpty() const;
    // The picture of a JPEG or bitmap graphic (RGB32), or the PNG's pixels.
    const QImage& Image() const;
    // The PNG graphic; meaningful only for TKind::Png.
    const TPNGObjectEx& Png() const { return png_; }

    // Called after every load.
    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
    TKind kind_ = TKind::Empty;
    QImage image_;
    TPNGObjectEx png_;
    std::function<void()> onChange_;
};

} // namespace pavlora
