#pragma once

#include "imaging/ImageMetadata.h"
#include "imaging/ThumbnailOptions.h"
#include "imaging/VclColor.h"

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace pavlora {

// The one place through which the program reads, measures, scales,
// converts, rotates and writes picture files.
//
// Pictures are QImages. A "24-bit bitmap" is Format_BGR888 (blue, green,
// red in memory, rows padded to four bytes), the form the pixel effects work
// on; a "32-bit bitmap" is Format_RGB32. Files are decoded with Qt's image
// plugins, JPEG with libjpeg directly (reduced by DCT scaling where only a
// smaller picture is needed), JPEG 2000 through the converter helper (see
// FileWrapper.h, Jp2Converter.h). EXIF orientation is never applied, so
// every size agrees with GetImageInfo.
//
// Rounding: round() sends halves to the even neighbour, "half up" is the
// integer part of x + 0.5, integer division truncates toward zero.
//
// One instance exists per process, registered at program start on the UI
// thread (Register) before any worker thread; its constructor raises Qt's
// image allocation limit and initialises Exiv2. Every operation may then be
// called from any thread without locking: each works on objects of its own,
// and a returned image belongs to the caller. The slot operations are
// virtual so that tests of other parts can substitute pictures.
//
// Failures: the loading operations (LoadBitmap, MakeThumbnail,
// GetImageInfo) report them by a null image or false and never raise,
// except that the JPEG 2000 converter's failures ("JPG2000 Konvertierer
// nicht gefunden", "JPG2000 Konvertierungsfehler") propagate out of
// MakeThumbnail and LoadFullBitmap. LoadFullBitmap raises code 400 ("Das
// Bild konnte nicht geöffnet werden.") for pictures it cannot open,
// including pictures above the pixel limit (PictureDecoder.h). The save
// operations report by their result, except SaveAsJPEG2000, which raises.
class TImageUtils {
public:
    TImageUtils();
    virtual ~TImageUtils();

    TImageUtils(const TImageUtils&) = delete;
    TImageUtils& operator=(const TImageUtils&) = delete;

    // The process-wide instance. Registering a second one raises "ImageUtils
    // initialized twice."; asking before one is registered raises "No
    // ImageUtils present." (both EQORException code 2).
    static void Register(std::unique_ptr<TImageUtils> instance);
    static TImageUtils& Instance();
    // Drops the registered instance (program end, tests).
    static void Unregister();

    // --- The slot operations -------------------------------------------

    // The picture scaled to fit inside maxWidth × maxHeight, never enlarged;
    // with either bound -1 at full size. `width`/`height` receive the full
    // size. 24-bit; null on failure.
    virtual QImage LoadBitmap(
        const QString& fileName, int maxWidth, int maxHeight, int* width = nullptr, int* height = nullptr);

    // Reads the size and bits per pixel from the header only (the table in
    // ImageHeader.h). True when width and height are both above 0.
    virtual bool GetImageInfo(const QString& fileName, int& width, int& height, int& bitsPerPixel);

    // The picture laid into a box as `options` say; `origWidth`/`origHeight`
    // receive its full size. 24-bit; null on failure.
    virtual QImage MakeThumbnail(
        const QString& fileName, const TThumbnailOptions& options, int* origWidth = nullptr, int* origHeight = nullptr);

    // Writes `bitmap` as a JPEG 2000 file through the converter with the
    // compression ratio `ratio`; a ratio below 1 becomes 2 for pictures of
    // at most 2,000,000 pixels and 3 above. Raises on failure.
    virtual void SaveAsJPEG2000(const QImage& bitmap, const QString& fileName, int ratio);

    // The date stored in the file (see ReadExifDateTime).
    virtual TExifDate GetExifDateTime(const QString& fileName, bool preferTakenDate);

    // The date the picture was taken; the file's modification time when the
    // file has no date; an invalid QDateTime when its date text is invalid.
    QDateTime GetDateTaken(const QString& fileName);

    // Writes a JPEG of quality 0–100, scaled to exactly width × height when
    // both are at least 1. The file is replaced atomically. True on success.
    virtual bool SaveAsJPEG(const QImage& bitmap, const QString& fileName, int quality, int width = 0, int height = 0);

    // The content of a possibly rotated rectangle, its four corners given in
    // a view of viewWidth × viewHeight, turned upright. Null unless there
    // are exactly four corners.
    virtual QImage CropRotated(const QImage& bitmap, const QList<QPointF>& corners, int viewWidth, int viewHeight);

    // The whole picture, 32-bit. Raises on failure (see above).
    virtual QImage LoadFullBitmap(const QString& fileName);

    // The picture rotated by `angle` degrees (clockwise on screen) about its
    // centre on `backgroundColor`, in a bitmap just large enough.
    virtual QImage RotateBitmap(const QImage& bitmap, TColor backgroundColor, double angle);

    // --- Further operations --------------------------------------------

    // The picture type code by extension (ImageFileType.h).
    static int ImageTypeOfFile(const QString& fileName);

    // A new image of width × height, or with `keepAspect` of the largest
    // size with the picture's aspect inside it (integer arithmetic).
    static QImage Resample(const QImage& image, int width, bool keepAspect, int height);
    // The size Resample gives.
    static QSize ResampleSize(QSize source, int width, bool keepAspect, int height);

    // Writes a 24-bit BMP, scaled to exactly width × height when both are
    // at least 1; replaced atomically. True on success.
    static bool SaveAsBMP(const QImage& image, const QString& fileName, int width = 0, int height = 0);
    // By the extension: "jpg"/"jpeg" JPEG of quality 95, "jp2" JPEG 2000 of
    // ratio 90, "bmp" BMP; false for any other extension or on failure.
    bool SaveByExtension(const QImage& image, const QString& fileName);

    // The information lines of a picture ("Hersteller: …", "Kameramodell:
    // …", "Aufgenommen am: …", "Stichworte: …" wrapped after 40
    // characters); nothing when its metadata cannot be read.
    static std::optional<QStringList> GetPictureInfo(const QString& fileName);
    static std::optional<QStringList> ReadKeywords(const QString& fileName);
    static void WriteKeywords(const QString& fileName, const QStringList& keywords);

    // Bitmap helpers.
    static void FillBitmap(QImage& bitmap, TColor color);
    // A 1-pixel outline around the whole bitmap.
    static void DrawOutline(QImage& bitmap, TColor color);
    static QImage CopyRect(const QImage& bitmap, const QRect& rect);
    // Replaces `bitmap` by itself stretched to `size` (area-averaging).
    static void StretchBitmap(QImage& bitmap, QSize size);
    // Draws `source` over `target` at (0, 0) with the constant opacity
    // round(percent × 255 / 100) / 255.
    static void BlendBitmap(QImage& target, const QImage& source, int percent);

    // The compression ratio SaveAsJPEG2000 hands to the converter.
    static int EffectiveJp2Ratio(QSize size, int ratio);

private:
    QImage LoadScaledPicture(const QString& fileName, QSize logicalSize, QSize target, bool useEmbedded);
};

} // namespace pavlora
