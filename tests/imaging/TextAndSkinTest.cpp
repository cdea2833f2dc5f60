// The text service and the skin pictures (run with a QGuiApplication).

#include "imaging/ECPicture.h"
#include "imaging/IS3Image.h"
#include "imaging/MemCanvas.h"
#include "imaging/PNGObjectEx.h"
#include "imaging/TextService.h"

#include <QBuffer>
#include <QFontInfo>
#include <QImageWriter>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

QByteArray Encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

TEST(TextService, ArialIsLiberationSans)
{
    const QFont font = TTextService::MakeFont({QStringLiteral("Arial"), true}, 20);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(font.hintingPreference(), QFont::PreferNoHinting);
    EXPECT_TRUE(TTextService::ListFontFamilies().contains(QStringLiteral("Liberation Sans")));
}

TEST(TextService, LineBreaksDoNotDependOnTheTarget)
{
    const QString text = QStringLiteral("Ein langer Text, der in einer schmalen Spalte umbrochen wird.");
    const TTextFormat format;
    const QFont font = TTextService::MakeFont({QStringLiteral("Arial")}, 13.5);
    const QList<TTextLine> lines = TTextService::LayoutText(text, font, format, 120);
    ASSERT_GE(lines.size(), 3);
    // Scaled up fonts and widths give the same breaks (no hinting).
    const QList<TTextLine> large
        = TTextService::LayoutText(text, TTextService::MakeFont({QStringLiteral("Arial")}, 13.5 * 4), format, 480);
    ASSERT_EQ(large.size(), lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(large[i].start, lines[i].start);
        EXPECT_NEAR(large[i].rect.width(), lines[i].rect.width() * 4, 1.0);
    }
    const QSizeF measured = TTextService::MeasureText(text, font, format, 120);
    EXPECT_LE(measured.width(), 120);
    EXPECT_NEAR(measured.height(), lines.back().rect.bottom(), 0.01);
}

TEST(TextService, DrawsInsideTheRectangleOnImagesOfAnyResolution)
{
    for (const int dpi : {96, 300}) {
        QImage image(200, 100, QImage::Format_RGB32);
        image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
        image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
        image.fill(Qt::white);
        TTextFormat format;
        format.alignment = Qt::AlignHCenter | Qt::AlignVCenter;
        ASSERT_TRUE(TTextService::DrawTextInRect(image, QStringLiteral("MMMM"),
            TTextService::MakeFont({QStringLiteral("Arial")}, 20), format, Qt::black, QRectF(50, 25, 100, 50)));
        QRect inked;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 128)
                    inked |= QRect(x, y, 1, 1);
            }
        }
        EXPECT_TRUE(QRect(50, 25, 100, 50).contains(inked)) << dpi;
        EXPECT_NEAR(inked.center().x(), 100, 3) << dpi;
        EXPECT_NEAR(inked.height(), 14, 3) << dpi; // cap height of 20 px Liberation Sans
    }
}

TEST(PNGObjectEx, BlendsItsAlphaChannel)
{
    QImage png(4, 2, QImage::Format_ARGB32);
    png.fill(qRgba(200, 100, 0, 128));
    TPNGObjectEx object;
    ASSERT_TRUE(object.LoadFromData(Encode(png, "png")));
    EXPECT_EQ(object.Transparency(), TPNGObjectEx::TTransparency::Partial);
    EXPECT_EQ(object.ColorType(), 6);
    TMemCanvas canvas(6, 6);
    canvas.Image().fill(QColor(0, 0, 100));
    object.SetSourceOffset(QPoint(1, 0));
    object.Draw(canvas, QRect(2, 2, 10, 10));
    // (s × α + (255 − α) × d + 255) div 256 per channel, blue first in memory.
    const std::uint8_t* pixel = canvas.Pixel(2, 2);
    EXPECT_EQ(pixel[2], (200 * 128 + 255) / 256);
    EXPECT_EQ(pixel[1], (100 * 128 + 255) / 256);
    EXPECT_EQ(pixel[0], (127 * 100 + 255) / 256);
    // Clipped to the picture from the offset: three columns, two rows.
    EXPECT_NE(canvas.Pixel(4, 3)[2], 0);
    EXPECT_EQ(canvas.Pixel(5, 2)[2], 0);
    EXPECT_EQ(canvas.Pixel(2, 4)[2], 0);
    EXPECT_EQ(canvas.Stride(), 20);
}

TEST(PNGObjectEx, OpaquePngIsCopied)
{
    TPNGObjectEx object;
    ASSERT_TRUE(
        object.LoadFromData(Encode(QImage(3, 3, QImage::Format_RGB32).convertToFormat(QImage::Format_RGB888), "png")));
    EXPECT_EQ(object.Transparency(), TPNGObjectEx::TTransparency::None);
    EXPECT_FALSE(TPNGObjectEx().LoadFromData(QByteArray("\x89PNG garbage")));
}

TEST(ECPicture, RecognisesTheFormatByItsFirstBytes)
{
    TECPicture picture;
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });
    const QImage image(5, 4, QImage::Format_RGB32);
    struct {
        const char* format;
        TECPicture::TKind kind;
    } const cases[]
        = {{"jpeg", TECPicture::TKind::Jpeg}, {"png", TECPicture::TKind::Png}, {"bmp", TECPicture::TKind::Bitmap}};
    for (const auto& c : cases) {
        QByteArray bytes = Encode(image, c.format);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        picture.LoadFromStream(buffer);
        EXPECT_EQ(picture.Kind(), c.kind) << c.format;
        EXPECT_EQ(picture.Image().size(), QSize(5, 4)) << c.format;
    }
    picture.LoadFromData(QByteArray("\xFF\xD8 broken"));
    EXPECT_EQ(picture.Kind(), TECPicture::TKind::Jpeg);
    EXPECT_TRUE(picture.IsEmpty());
    EXPECT_EQ(changes, 4);
}

TEST(IS3Image, RgbBufferWithoutPadding)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(10, 20, 30));
    TIS3Image buffer;
    ASSERT_TRUE(buffer.FromImage(image));
    ASSERT_EQ(buffer.Size(), 18u);
    EXPECT_EQ(buffer.Data()[0], 10);
    EXPECT_EQ(buffer.Data()[2], 30);
    const QImage back = buffer.ToImage();
    EXPECT_EQ(back.format(), QImage::Format_BGR888);
    EXPECT_EQ(back.pixelColor(2, 1), QColor(10, 20, 30));
    buffer.SetSize(0, 0);
    EXPECT_TRUE(buffer.ToImage().isNull());
}

TEST(MemCanvas, NegativeSizesAreEmpty)
{
    TMemCanvas canvas(-5, 3);
    EXPECT_EQ(canvas.Width(), 0);
    EXPECT_TRUE(canvas.Image().isNull());
}

} // namespace
} // namespace pavlora::test
