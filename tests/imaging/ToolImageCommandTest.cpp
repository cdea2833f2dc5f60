// pavlora-tool image info | thumb | keywords | convert, run as a program.

#include "ImagingFixtures.h"
#include "ToolProcess.h"

#include "support/TestSandbox.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

QString Photo(const QString& folder, const QString& name, int width, int height)
{
    return WriteImageFile(folder + QLatin1Char('/') + name, SolidImage(width, height, Qt::blue), "jpeg");
}

TEST(ToolImage, InfoPrintsOneLinePerFile)
{
    const QString folder = MakeFolder(QStringLiteral("info"));
    const QString photo = Photo(folder, QStringLiteral("photo.jpg"), 64, 48);
    TExifFixture exif;
    exif.make = QStringLiteral("Kamerawerk");
    exif.model = QStringLiteral("KW\t100");
    exif.dateTimeOriginal = QStringLiteral("2021:07:04 13:45:09");
    exif.iptc = {{QStringLiteral("Iptc.Application2.Keywords"), QByteArray("Strand")},
        {QStringLiteral("Iptc.Application2.Keywords"), QByteArray("Meer")}};
    AddMetadata(photo, exif);
    const QString png = WriteImageFile(folder + QStringLiteral("/plain.png"), SolidImage(5, 7, Qt::red), "png");
    const QString broken = folder + QStringLiteral("/broken.jpg");
    WriteFile(broken, "no picture");

    const ToolResult result = RunTool({QStringLiteral("image"), QStringLiteral("info"), photo, broken, png});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(result.out),
        photo + QStringLiteral("\t64\t48\t24\t2\t2021-07-04 13:45:09\tKamerawerk\tKW 100\tStrand, Meer\n") + broken
            + QStringLiteral("\tDas Bild konnte nicht geöffnet werden.\n") + png
            + QStringLiteral("\t5\t7\t24\t3\t\t\t\t\n"));
}

TEST(ToolImage, ThumbWritesOneJpegPerPicture)
{
    const QString folder = MakeFolder(QStringLiteral("thumbs"));
    const QString out = folder + QStringLiteral("/out");
    const QStringList pictures{Photo(folder, QStringLiteral("wide.jpg"), 400, 300),
        Photo(folder, QStringLiteral("tall.jpeg"), 300, 400), Photo(folder, QStringLiteral("tiny.jpg"), 20, 10)};
    const ToolResult result
        = RunTool(QStringList{QStringLiteral("image"), QStringLiteral("thumb"), QStringLiteral("--box"),
                      QStringLiteral("160x160"), QStringLiteral("--out"), out}
            + pictures);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(QImage(out + QStringLiteral("/wide.jpg")).size(), QSize(160, 160));
    EXPECT_EQ(QImage(out + QStringLiteral("/tall.jpg")).size(), QSize(160, 160));
    const QImage tiny(out + QStringLiteral("/tiny.jpg"));
    EXPECT_EQ(tiny.size(), QSize(160, 160));
    EXPECT_GT(qGray(tiny.pixel(5, 5)), 240) << "white background";
    EXPECT_EQ(result.out.count('\n'), 3);

    const ToolResult exact = RunTool({QStringLiteral("image"), QStringLiteral("thumb"), QStringLiteral("--box"),
        QStringLiteral("100x50"), QStringLiteral("--ratio"), QStringLiteral("1:1"), QStringLiteral("--exact"),
        QStringLiteral("--fit"), QStringLiteral("--out"), out, pictures[0]});
    ASSERT_EQ(exact.exitCode, 0) << exact.err.toStdString();
    EXPECT_EQ(QImage(out + QStringLiteral("/wide.jpg")).size(), QSize(100, 50));
}

TEST(ToolImage, ThumbUsageAndFailures)
{
    const QString folder = MakeFolder(QStringLiteral("thumbusage"));
    const QString picture = Photo(folder, QStringLiteral("a.jpg"), 40, 30);
    const QString out = folder + QStringLiteral("/out");
    const QString thumb = QStringLiteral("thumb");
    const QString image = QStringLiteral("image");
    EXPECT_EQ(
        RunTool({image, thumb, QStringLiteral("--box"), QStringLiteral("0x10"), QStringLiteral("--out"), out, picture})
            .exitCode,
        2);
    EXPECT_EQ(RunTool({image, thumb, QStringLiteral("--box"), QStringLiteral("10x10"), picture}).exitCode, 2);
    EXPECT_EQ(RunTool({image, thumb, QStringLiteral("--box"), QStringLiteral("10x10"), QStringLiteral("--fit"),
                          QStringLiteral("--out"), out, picture})
                  .exitCode,
        2);
    const ToolResult missing = RunTool({image, thumb, QStringLiteral("--box"), QStringLiteral("10x10"),
        QStringLiteral("--out"), out, folder + QStringLiteral("/absent.jpg"), picture});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("absent.jpg"));
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/a.jpg")));
}

TEST(ToolImage, KeywordsSetPrintAndClear)
{
    const QString folder = MakeFolder(QStringLiteral("keywords"));
    const QString picture = Photo(folder, QStringLiteral("a.jpg"), 40, 30);
    const QString image = QStringLiteral("image");
    const QString keywords = QStringLiteral("keywords");
    ToolResult result
        = RunTool({image, keywords, picture, QStringLiteral("--set"), QStringLiteral("Urlaub, Größe,,Meer")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringLiteral("Urlaub\nGröße\nMeer\n").toUtf8());
    result = RunTool({image, keywords, picture});
    EXPECT_EQ(result.out, QStringLiteral("Urlaub\nGröße\nMeer\n").toUtf8());
    result = RunTool({image, keywords, picture, QStringLiteral("--set"), QString(65, QLatin1Char('k'))});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("zu lang"));
    result = RunTool({image, keywords, picture, QStringLiteral("--clear")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(
        RunTool({image, keywords, picture, QStringLiteral("--clear"), QStringLiteral("--set"), QStringLiteral("x")})
            .exitCode,
        2);
}

TEST(ToolImage, ConvertBetweenJpegBmpAndJpeg2000)
{
    const QString folder = MakeFolder(QStringLiteral("convert"));
    const QString picture = Photo(folder, QStringLiteral("a.jpg"), 64, 40);
    const QString image = QStringLiteral("image");
    const QString convert = QStringLiteral("convert");
    const QString program = BuiltProgramFolder();
    const QString bmp = folder + QStringLiteral("/b.bmp");
    const QString jp2 = folder + QStringLiteral("/c.jp2");
    const QString back = folder + QStringLiteral("/d.jpeg");
    ASSERT_EQ(RunTool({image, convert, picture, bmp}).exitCode, 0);
    ASSERT_EQ(RunTool({image, convert, bmp, jp2, QStringLiteral("--ratio"), QStringLiteral("10"),
                          QStringLiteral("--program"), program})
                  .exitCode,
        0);
    const ToolResult toJpeg = RunTool({image, convert, jp2, back, QStringLiteral("--quality"), QStringLiteral("80"),
        QStringLiteral("--program"), program});
    ASSERT_EQ(toJpeg.exitCode, 0) << toJpeg.err.toStdString();
    const QImage result(back);
    EXPECT_EQ(result.size(), QSize(64, 40));
    EXPECT_GT(qBlue(result.pixel(30, 20)), 200);

    EXPECT_EQ(RunTool({image, convert, picture, folder + QStringLiteral("/x.gif")}).exitCode, 2);
    EXPECT_EQ(RunTool({image, convert, picture, bmp, QStringLiteral("--quality"), QStringLiteral("50")}).exitCode, 2);
    const ToolResult noConverter = RunTool({image, convert, jp2, back, QStringLiteral("--program"), folder});
    EXPECT_EQ(noConverter.exitCode, 1);
    EXPECT_TRUE(noConverter.err.contains("JPG2000 Konvertierer nicht gefunden")) << noConverter.err.toStdString();
}

} // namespace
} // namespace pavlora::test
