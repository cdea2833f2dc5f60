// MakeThumbnail: loading a picture for a box, and the box rendering with
// crop ratio, mat and frame.

#include "imaging/ImageUtils.h"

#include "imaging/FileWrapper.h"
#include "imaging/ImageMath.h"
#include "imaging/PictureDecoder.h"

#include "core/QORException.h"

#include <QPainter>

#include <algorithm>

namespace pavlora {
namespace {

QImage NewBitmap(QSize size)
{
    return QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
}

QColor FillColor(TColor color)
{
    return color == clNone ? QColor(Qt::white) : ToQColor(color);
}

// A view of `rect` of `image` without copying its pixels.
QImage SubImage(const QImage& image, const QRect& rect)
{
    if (rect == image.rect())
        return image;
    const uchar* bits = image.constScanLine(rect.top()) + rect.left() * (image.depth() / 8);
    return QImage(bits, rect.width(), rect.height(), image.bytesPerLine(), image.format());
}

// The largest centred region of `source` with the crop ratio, turned to the
// source's orientation unless `fixedOrientation`; the whole source without
// a ratio.
QRect CropRegion(QSize source, int ratioX, int ratioY, bool fixedOrientation)
{
    const int w = source.width();
    const int h = source.height();
    if (ratioX == 0 || ratioY == 0)
        return QRect(0, 0, w, h);
    float ratio = float(ratioX) / float(ratioY);
    if (!fixedOrientation && (ratio >= 1.0f) != (w >= h))
        ratio = float(ratioY) / float(ratioX);
    int regionWidth = w;
    int regionHeight = h;
    const double fullWidthHeight = double(w) / double(ratio);
    if (double(h) >= fullWidthHeight - 1.0) {
        regionHeight = static_cast<int>(RoundHalfUp(fullWidthHeight));
    } else {
        regionWidth = static_cast<int>(RoundHalfUp(double(h) * double(ratio)));
    }
    regionWidth = std::clamp(regionWidth, 1, w);
    regionHeight = std::clamp(regionHeight, 1, h);
    const int left = static_cast<int>(RoundHalfUp((w - regionWidth) / 2.0));
    const int top = static_cast<int>(RoundHalfUp((h - regionHeight) / 2.0));
    return QRect(left, top, regionWidth, regionHeight);
}

// Draws `source`, cropped to the ratio, into `destination`:
// - with a fill colour the destination first takes the region's aspect
//   (keeping its longer side), is filled, and its longer side loses
//   `border` pixels, so the fill shows as an even border (a mat);
// - the picture fills the destination less `border` on each side of its
//   limiting direction and is centred in the other;
// - with `shrink` the destination becomes the picture plus the border.
void DrawCropped(const QImage& source, QImage& destination, TColor fill, bool fixedOrientation, bool shrink, int ratioX,
    int ratioY, int border)
{
    if (source.width() == 0 || source.height() == 0)
        return;
    const QRect region = CropRegion(source.size(), ratioX, ratioY, fixedOrientation);
    const double q = double(region.height()) / double(region.width());
    int dw = destination.width();
    int dh = destination.height();
    const bool regionPortrait = region.height() > region.width();

    if (fill != clNone) {
        if (dw < dh) {
            if (regionPortrait) {
                dw = static_cast<int>(RoundHalfEven(dh / q));
            } else {
                dw = dh;
                dh = static_cast<int>(RoundHalfEven(q * dw));
            }
        } else {
            if (!regionPortrait) {
                dh = static_cast<int>(RoundHalfEven(q * dw));
            } else {
                dh = dw;
                dw = static_cast<int>(RoundHalfEven(dh / q));
            }
        }
        if (dw >= dh)
            dw -= border;
        else
            dh -= border;
        destination = NewBitmap(QSize(dw, dh));
        destination.fill(ToQColor(fill));
        dw = destination.width();
        dh = destination.height();
    }

    QRect rect;
    if (q > double(dh) / double(dw)) {
        const int height = dh - 2 * border;
        const int width = static_cast<int>(RoundHalfEven(height / q));
        rect = QRect((dw - width) / 2, border, width, height);
    } else {
        const int width = dw - 2 * border;
        const int height = static_cast<int>(RoundHalfEven(q * width));
        rect = QRect(border, (dh - height) / 2, width, height);
    }
    if (rect.width() < 1 || rect.height() < 1)
        return;
    if (shrink) {
        QImage shrunk = NewBitmap(QSize(rect.width() + 2 * border, rect.height() + 2 * border));
        shrunk.fill(Qt::white);
        destination = shrunk;
        rect.moveTo(border, border);
    }
    const QImage scaled = ScaleExactly(SubImage(source, region), rect.size());
    QPainter painter(&destination);
    painter.drawImage(rect.topLeft(), scaled);
}

// Places a (possibly reduced) picture into the box of the options.
QImage RenderIntoBox(const QImage& picture, const TThumbnailOptions& options, bool unreduced)
{
    const int w = picture.width();
    const int h = picture.height();
    QImage box = NewBitmap(QSize(options.Width, options.Height));
    box.fill(FillColor(options.BackgroundColor));

    if (unreduced && options.Width >= w && options.Height >= h) {
        box.fill(Qt::white);
        QPainter painter(&box);
        painter.drawImage((options.Width - w) / 2, (options.Height - h) / 2, picture);
        painter.end();
        if (options.FrameColor != clNone)
            TImageUtils::DrawOutline(box, options.FrameColor);
        return box;
    }
    const bool shrink = options.BackgroundColor == clNone;
    const int frameBorder = options.FrameColor != clNone ? 1 : 0;
    if (options.MatWidth < 1) {
        DrawCropped(
            picture, box, clNone, options.FixedOrientation, shrink, options.RatioX, options.RatioY, frameBorder);
    } else {
        const TColor mat = options.MatColor == clNone ? clWhite : options.MatColor;
        QImage matted = NewBitmap(picture.size());
        DrawCropped(
            picture, matted, mat, options.FixedOrientation, false, options.RatioX, options.RatioY, options.MatWidth);
        DrawCropped(matted, box, clNone, options.FixedOrientation, shrink, 0, 0, frameBorder);
    }
    if (options.FrameColor != clNone)
        TImageUtils::DrawOutline(box, options.FrameColor);
    return box;
}

} // namespace

QImage TImageUtils::MakeThumbnail(
    const QString& fileName, const TThumbnailOptions& options, int* origWidth, int* origHeight)
{
    if (origWidth)
        *origWidth = 0;
    if (origHeight)
        *origHeight = 0;
    if (options.Width <= 0 || options.Height <= 0)
        return {};
    // Measured from the source's header (a JPEG 2000 file by its boxes,
    // before any conversion); the converter's failures reach the caller,
    // everything else gives none.
    int fullWidth = 0;
    int fullHeight = 0;
    int bitsPerPixel = 0;
    try {
        if (!GetImageInfo(fileName, fullWidth, fullHeight, bitsPerPixel))
            return {};
    } catch (...) {
        return {};
    }
    if (origWidth)
        *origWidth = fullWidth;
    if (origHeight)
        *origHeight = fullHeight;
    const TFileWrapper wrapper(fileName);
    try {
        const QSize fullSize(fullWidth, fullHeight);
        // The size of the loaded picture: for boxes up to 120 pixels the
        // picture's thumbnail fitted to the box (served from the embedded
        // EXIF thumbnail where it can be), else the full picture.
        const bool small = std::max(options.Width, options.Height) <= 120;
        QSize loaded = fullSize;
        if (small) {
            const double f
                = std::min(double(options.Width) / fullSize.width(), double(options.Height) / fullSize.height());
            loaded = QSize(static_cast<int>(RoundHalfEven(fullSize.width() * f)),
                static_cast<int>(RoundHalfEven(fullSize.height() * f)));
            if (loaded.isEmpty())
                return {};
        }
        const std::int64_t w = loaded.width();
        const std::int64_t h = loaded.height();

        if (options.ExactSize) {
            QSize scaled;
            if ((w * options.Height < h * options.Width) != options.FitInExact)
                scaled = QSize(options.Width, static_cast<int>(h * options.Width / w));
            else
                scaled = QSize(static_cast<int>(w * options.Height / h), options.Height);
            scaled = scaled.expandedTo(QSize(1, 1));
            const QImage picture = LoadScaledPicture(wrapper.FileName(), fullSize, scaled, small);
            QImage box = NewBitmap(QSize(options.Width, options.Height));
            box.fill(FillColor(options.BackgroundColor));
            QPainter painter(&box);
            painter.drawImage((options.Width - scaled.width()) / 2, (options.Height - scaled.height()) / 2, picture);
            painter.end();
            if (options.MatColor != clNone)
                DrawOutline(box, options.MatColor);
            return box.convertToFormat(QImage::Format_BGR888);
        }

        const bool unreduced = options.Width > w && options.Height > h;
        const QSize target = unreduced ? loaded : ResampleSize(loaded, options.Width, true, options.Height);
        if (target.isEmpty())
            return {};
        const QImage picture = LoadScaledPicture(wrapper.FileName(), fullSize, target, small);
        return RenderIntoBox(picture, options, unreduced).convertToFormat(QImage::Format_BGR888);
    } catch (...) {
        RecordCurrentException(QStringLiteral("ImageUtils.TImageUtils.MakeThumbnail"));
        return {};
    }
}

} // namespace pavlora
