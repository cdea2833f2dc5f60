// Measuring pictures from their headers: the JPEG 2000 box reader against a
// table of box layouts, and the header readers of the other kinds.

#include "ImagingFixtures.h"

#include "imaging/ImageUtils.h"
#include "imaging/Jp2Box.h"

#include "core/QORException.h"

#include "support/TestSandbox.h"

#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

QByteArray U32(std::uint32_t value)
{
    QByteArray bytes(4, 0);
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray U64(std::uint64_t value)
{
    QByteArray bytes(8, 0);
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray Box(const char* type, const QByteArray& content)
{
    return U32(static_cast<std::uint32_t>(8 + content.size())) + QByteArray(type, 4) + content;
}

QByteArray ImageHeaderContent(std::uint32_t width, std::uint32_t height, char bpc = 7)
{
    return U32(height) + U32(width) + QByteArray("\x00\x03", 2) + QByteArray(1, bpc) + QByteArray("\x07\x00\x00", 3);
}

const QByteArray kSignature = Box("jP  ", QByteArray("\x0D\x0A\x87\x0A", 4));
const QByteArray kFileType = Box("ftyp", QByteArray("jp2 \0\0\0\0jp2 ", 12));
const QByteArray kColour = Box("colr", QByteArray("\x01\x00\x00\x00\x00\x00\x10", 7));
const QByteArray kCodestream = Box("jp2c", QByteArray("\xFF\x4F\xFF\x51", 4));

struct Jp2Case {
    std::string name;
    QByteArray file;
    bool ok;
    int width;
    int height;
    int bits;
};

class Jp2Header : public ::testing::TestWithParam<Jp2Case> { };

TEST_P(Jp2Header, ReadsTheImageHeaderBox)
{
    const Jp2Case& c = GetParam();
    const QString path = MakeFolder(QStringLiteral("jp2")) + QStringLiteral("/picture.JP2");
    WriteFile(path, c.file);
    TImageUtils utils;
    int width = -1;
    int height = -1;
    int bits = -1;
    EXPECT_EQ(utils.GetImageInfo(path, width, height, bits), c.ok);
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(height, c.height);
    EXPECT_EQ(bits, c.bits);
}

const QByteArray kIhdr = Box("ihdr", ImageHeaderContent(640, 480));

INSTANTIATE_TEST_SUITE_P(Layouts, Jp2Header,
    ::testing::Values(
        Jp2Case{"Valid", kSignature + kFileType + Box("jp2h", kIhdr + kColour) + kCodestream, true, 640, 480, 8},
        Jp2Case{"ExtendedLength",
            kSignature + kFileType + U32(1) + QByteArray("jp2h") + U64(16 + kIhdr.size()) + kIhdr + kCodestream, true,
            640, 480, 8},
        Jp2Case{"ExtendedLengthBelow16",
            kSignature + kFileType + U32(1) + QByteArray("jp2h") + U64(8) + kIhdr + kCodestream, false, 0, 0, 0},
        Jp2Case{"LengthZeroRunsToTheEnd", kSignature + kFileType + U32(0) + QByteArray("jp2h") + kIhdr + kColour, true,
            640, 480, 8},
        Jp2Case{"LengthZeroHidesLaterBoxes",
            kSignature + U32(0) + QByteArray("xml ") + QByteArray(20, 'x') + Box("jp2h", kIhdr), false, 0, 0, 0},
        Jp2Case{
            "LengthTwoToSevenInvalid", kSignature + U32(5) + QByteArray("free") + Box("jp2h", kIhdr), false, 0, 0, 0},
        Jp2Case{"Truncated", kSignature + kFileType + Box("jp2h", kIhdr + kColour).left(30), false, 0, 0, 0},
        Jp2Case{"BoxRunsPastTheFile", kSignature + U32(4096) + QByteArray("jp2h") + kIhdr, false, 0, 0, 0},
        Jp2Case{
            "ChildRunsPastItsParent", kSignature + U32(8 + 10) + QByteArray("jp2h") + kIhdr + kColour, false, 0, 0, 0},
        Jp2Case{"MissingIhdr", kSignature + kFileType + Box("jp2h", kColour) + kCodestream, false, 0, 0, 0},
        Jp2Case{"ShortIhdr", kSignature + Box("jp2h", Box("ihdr", QByteArray(10, '\0'))), false, 0, 0, 0},
        Jp2Case{"ZeroWidth", kSignature + Box("jp2h", Box("ihdr", ImageHeaderContent(0, 480))), false, 0, 0, 0},
        Jp2Case{"SixteenBitSigned", kSignature + Box("jp2h", Box("ihdr", ImageHeaderContent(100, 50, '\x8F'))), true,
            100, 50, 16},
        Jp2Case{"DepthVaries", kSignature + Box("jp2h", Box("ihdr", ImageHeaderContent(100, 50, '\xFF'))), true, 100,
            50, 0},
        Jp2Case{"Empty", QByteArray(), false, 0, 0, 0}),
    CaseName());

TEST(Jp2Header, KeepsTheBoxRecordOfTheImageHeader)
{
    QByteArray file = kSignature + kFileType + Box("jp2h", kIhdr);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<TImageHeaderBox> header = ReadJp2ImageHeader(buffer);
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->type, QByteArray("ihdr"));
    EXPECT_EQ(header->position, kSignature.size() + kFileType.size() + 8);
    EXPECT_EQ(header->nc, 3);
    EXPECT_EQ(header->c, 7);
}

struct HeaderCase {
    std::string name;
    const char* format;
    QImage::Format pixelFormat;
    int bits;
};

class PictureHeader : public ::testing::TestWithParam<HeaderCase> { };

TEST_P(PictureHeader, GivesSizeAndBitsPerPixel)
{
    const HeaderCase& c = GetParam();
    QImage image(33, 17, c.pixelFormat);
    image.fill(Qt::gray);
    const QString path = WriteImageFile(
        MakeFolder(QStringLiteral("headers")) + QStringLiteral("/picture.") + QLatin1String(c.format), image, c.format);
    TImageUtils utils;
    int width = 0;
    int height = 0;
    int bits = -1;
    ASSERT_TRUE(utils.GetImageInfo(path, width, height, bits));
    EXPECT_EQ(width, 33);
    EXPECT_EQ(height, 17);
    EXPECT_EQ(bits, c.bits);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PictureHeader,
    ::testing::Values(HeaderCase{"Jpeg", "jpeg", QImage::Format_RGB32, 24},
        HeaderCase{"JpegGrey", "jpeg", QImage::Format_Grayscale8, 8},
        HeaderCase{"PngColour", "png", QImage::Format_RGB32, 24},
        HeaderCase{"PngAlpha", "png", QImage::Format_ARGB32, 32},
        HeaderCase{"PngPalette", "png", QImage::Format_Indexed8, 8},
        HeaderCase{"PngSixteenBitColour", "png", QImage::Format_RGBX64, 0},
        HeaderCase{"Bmp", "bmp", QImage::Format_RGB888, 24}, HeaderCase{"Tiff", "tiff", QImage::Format_RGB888, 24},
        HeaderCase{"TiffFortyEightBit", "tiff", QImage::Format_RGBX64, 0}),
    CaseName());

TEST(PictureHeader, EmbeddedThumbnailIsNotTakenForThePicture)
{
    const QString path = WriteImageFile(MakeFolder(QStringLiteral("thumbheader")) + QStringLiteral("/photo.jpg"),
        SolidImage(640, 480, Qt::red), "jpeg");
    TExifFixture exif;
    exif.make = QStringLiteral("Maker");
    exif.thumbnail = SolidImage(160, 120, Qt::green);
    AddMetadata(path, exif);
    TImageUtils utils;
    int width = 0;
    int height = 0;
    int bits = 0;
    ASSERT_TRUE(utils.GetImageInfo(path, width, height, bits));
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
}

TEST(PictureHeader, FileThatLiesAboutItsSizeIsMeasuredButNotOpened)
{
    // A PNG header claiming 100000 × 100000 pixels, followed by nothing.
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    png += U32(13) + QByteArray("IHDR") + U32(100000) + U32(100000) + QByteArray("\x08\x02\x00\x00\x00", 5) + U32(0);
    const QString path = MakeFolder(QStringLiteral("liar")) + QStringLiteral("/huge.png");
    WriteFile(path, png);
    TImageUtils utils;
    int width = 0;
    int height = 0;
    int bits = 0;
    EXPECT_TRUE(utils.GetImageInfo(path, width, height, bits));
    EXPECT_EQ(width, 100000);
    EXPECT_TRUE(utils.LoadBitmap(path, 160, 160).isNull());
    EXPECT_TRUE(utils.MakeThumbnail(path, TThumbnailOptions{160, 160}).isNull());
    try {
        utils.LoadFullBitmap(path);
        FAIL() << "a picture above the pixel limit was opened";
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().code, 400);
        EXPECT_EQ(error.Error().Message(), QStringLiteral("Das Bild konnte nicht geöffnet werden."));
    }
}

TEST(PictureHeader, GarbageAndMissingFilesGiveFalse)
{
    const QString folder = MakeFolder(QStringLiteral("garbage"));
    WriteFile(folder + QStringLiteral("/noise.jpg"), QByteArray("\xFF\xD8\xFF\xE0\x00\x01", 6));
    WriteFile(folder + QStringLiteral("/text.png"), QByteArray("hello"));
    TImageUtils utils;
    int width = 7;
    int height = 7;
    int bits = 7;
    for (const QString& name :
        {QStringLiteral("noise.jpg"), QStringLiteral("text.png"), QStringLiteral("absent.bmp")}) {
        EXPECT_FALSE(utils.GetImageInfo(folder + QLatin1Char('/') + name, width, height, bits)) << name.toStdString();
        EXPECT_EQ(width, 0);
        EXPECT_EQ(height, 0);
        EXPECT_EQ(bits, 0);
    }
}

TEST(ImageType, ByExtensionWithoutCase)
{
    EXPECT_EQ(TImageUtils::ImageTypeOfFile(QStringLiteral("/a/b.BMP")), 1);
    EXPECT_EQ(TImageUtils::ImageTypeOfFile(QStringLiteral("x.jpeg")), 2);
    EXPECT_EQ(TImageUtils::ImageTypeOfFile(QStringLiteral("x.JPG")), 2);
    EXPECT_EQ(TImageUtils::ImageTypeOfFile(QStringLiteral("x.png")), 3);
    EXPECT_EQ(TImageUtils::ImageTypeOfFile(QStringLiteral("x.tif")), 4);
    EXPECT_EQ(TImageUtils::ImageTypeOfFile(QStringLiteral("x.TIFF")), 4);
    EXPECT_EQ(TImageUtils::ImageTypeOfFile(QStringLiteral("x.jp2")), 5);
    EXPECT_EQ(TImageUtils::ImageTypeOfFile(QStringLiteral("x.gif")), 0);
    EXPECT_EQ(TImageUtils::ImageTypeOfFile(QStringLiteral("folder.jpg/file")), 0);
}

} // namespace
} // namespace pavlora::test
