// Dates, picture information and IPTC keywords.

#include "ImagingFixtures.h"

#include "imaging/ImageMetadata.h"
#include "imaging/ImageUtils.h"

#include "core/QORException.h"

#include "support/TestSandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

QString Photo(const QString& name, const TExifFixture& fixture)
{
    const QString path = WriteImageFile(
        MakeFolder(QStringLiteral("meta")) + QLatin1Char('/') + name, BandedImage(64, 48, {Qt::red, Qt::blue}), "jpeg");
    AddMetadata(path, fixture);
    return path;
}

struct DateCase {
    std::string name;
    QString taken;
    QString changed;
    TExifDate::State state;
    QDateTime value;
};

class ExifDate : public ::testing::TestWithParam<DateCase> { };

TEST_P(ExifDate, ReadsTakenThenChanged)
{
    const DateCase& c = GetParam();
    TExifFixture fixture;
    fixture.make = QStringLiteral("Maker"); // some EXIF data in every case
    fixture.dateTimeOriginal = c.taken;
    fixture.dateTime = c.changed;
    const QString path = Photo(QStringLiteral("date.jpg"), fixture);
    TImageUtils utils;
    const TExifDate date = utils.GetExifDateTime(path, true);
    EXPECT_EQ(date.state, c.state);
    EXPECT_EQ(date.value, c.value);
}

INSTANTIATE_TEST_SUITE_P(Dates, ExifDate,
    ::testing::Values(DateCase{"Taken", QStringLiteral("2021:07:04 13:45:09"), QStringLiteral("2022:01:01 00:00:00"),
                          TExifDate::State::Valid, QDateTime(QDate(2021, 7, 4), QTime(13, 45, 9))},
        DateCase{"OnlyChanged", QString(), QStringLiteral("2019:12:31 23:59:59"), TExifDate::State::Valid,
            QDateTime(QDate(2019, 12, 31), QTime(23, 59, 59))},
        DateCase{"InvalidMonth", QStringLiteral("2021:13:04 13:45:09"), QString(), TExifDate::State::Invalid, {}},
        DateCase{"Absent", QString(), QString(), TExifDate::State::Absent, {}}),
    CaseName());

TEST(ExifDate, DateTakenFallsBackToTheModificationTime)
{
    TExifFixture fixture;
    fixture.make = QStringLiteral("Maker");
    const QString path = Photo(QStringLiteral("nodate.jpg"), fixture);
    TImageUtils utils;
    EXPECT_EQ(utils.GetDateTaken(path), QFileInfo(path).lastModified());
    EXPECT_EQ(utils.GetExifDateTime(path, false).state, TExifDate::State::Absent);
}

TEST(ExifDate, ParsesFixedColumns)
{
    EXPECT_EQ(ParseExifDateTime(QStringLiteral("2004-02-29 01:02:03")), QDateTime(QDate(2004, 2, 29), QTime(1, 2, 3)));
    EXPECT_FALSE(ParseExifDateTime(QStringLiteral("2003:02:29 01:02:03")).isValid());
    EXPECT_FALSE(ParseExifDateTime(QStringLiteral("2004:02:28 24:00:00")).isValid());
    EXPECT_FALSE(ParseExifDateTime(QStringLiteral("    :  :     :  :  ")).isValid());
    EXPECT_FALSE(ParseExifDateTime(QStringLiteral("2004:02:28")).isValid());
}

TEST(PictureInfo, ListsCameraDateAndWrappedKeywords)
{
    TExifFixture fixture;
    fixture.make = QStringLiteral("  Kamerawerk ");
    fixture.model = QStringLiteral("KW 100");
    fixture.dateTimeOriginal = QStringLiteral("2021:07:04 13:45:09");
    for (const char* keyword : {"Strand", "Meer", "Urlaub", "Sonne", "Familie", "Italien", "Sommer", "Abend"})
        fixture.iptc.append({QStringLiteral("Iptc.Application2.Keywords"), QByteArray(keyword)});
    const QString path = Photo(QStringLiteral("info.jpg"), fixture);
    const std::optional<QStringList> lines = TImageUtils::GetPictureInfo(path);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines,
        QStringList({QStringLiteral("Hersteller: Kamerawerk"), QStringLiteral("Kameramodell: KW 100"),
            QStringLiteral("Aufgenommen am: 2021:07:04 13:45:09"),
            QStringLiteral("Stichworte: Abend, Familie, Italien, Meer, "),
            QStringLiteral("   Sommer, Sonne, Strand, Urlaub")}));
    EXPECT_FALSE(TImageUtils::GetPictureInfo(SandboxFolder() + QStringLiteral("/absent.jpg")).has_value());
}

TEST(Keywords, RoundTripKeepsOtherDataAndPixels)
{
    TExifFixture fixture;
    fixture.make = QStringLiteral("Maker");
    fixture.iptc = {{QStringLiteral("Iptc.Application2.Caption"), QByteArray("Caf\xE9 am Meer")},
        {QStringLiteral("Iptc.Application2.Keywords"), QByteArray("alt")},
        {QStringLiteral("Iptc.Application2.Byline"), QByteArray("Fotograf")},
        {QStringLiteral("Iptc.Application2.Keywords"),
            QByteArray("M\xFC"
                       "ll")}};
    const QString path = Photo(QStringLiteral("keywords.jpg"), fixture);
    const QByteArray before = ReadFile(path);
    const QImage pixelsBefore(path);
    // Read as windows-1252 without the UTF-8 marker.
    EXPECT_EQ(TImageUtils::ReadKeywords(path), QStringList({QStringLiteral("alt"), QStringLiteral("Müll")}));

    const QStringList keywords{QStringLiteral("Zürich"), QString(), QStringLiteral("Bär"), QStringLiteral("a")};
    TImageUtils::WriteKeywords(path, keywords);

    EXPECT_EQ(TImageUtils::ReadKeywords(path),
        QStringList({QStringLiteral("Zürich"), QStringLiteral("Bär"), QStringLiteral("a")}));
    EXPECT_EQ(IptcValues(path, QStringLiteral("Iptc.Envelope.CharacterSet")), QList<QByteArray>{QByteArray("\x1B%G")});
    EXPECT_EQ(IptcValues(path, QStringLiteral("Iptc.Application2.Caption")),
        QList<QByteArray>{QStringLiteral("Café am Meer").toUtf8()});
    EXPECT_EQ(IptcValues(path, QStringLiteral("Iptc.Application2.Byline")), QList<QByteArray>{QByteArray("Fotograf")});
    EXPECT_EQ(ExifValue(path, QStringLiteral("Exif.Image.Make")), QStringLiteral("Maker"));
    const QByteArray after = ReadFile(path);
    EXPECT_EQ(JpegScanData(after), JpegScanData(before));
    EXPECT_EQ(QImage(path), pixelsBefore);
    // No temporary sibling is left behind.
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    TImageUtils::WriteKeywords(path, {});
    EXPECT_EQ(TImageUtils::ReadKeywords(path), QStringList());
}

TEST(Keywords, TooLongKeywordIsRefusedBeforeWriting)
{
    TExifFixture fixture;
    fixture.iptc = {{QStringLiteral("Iptc.Application2.Keywords"), QByteArray("alt")}};
    const QString path = Photo(QStringLiteral("long.jpg"), fixture);
    const QByteArray before = ReadFile(path);
    // 32 "ä" are 64 bytes of UTF-8 and fit; 33 do not.
    TImageUtils::WriteKeywords(path, {QString(32, QChar(0xE4))});
    EXPECT_EQ(TImageUtils::ReadKeywords(path), QStringList{QString(32, QChar(0xE4))});
    const QByteArray fitted = ReadFile(path);
    try {
        TImageUtils::WriteKeywords(path, {QStringLiteral("ok"), QString(33, QChar(0xE4))});
        FAIL() << "a keyword above 64 bytes was written";
    } catch (const EQORException& error) {
        EXPECT_TRUE(error.Error().codeText.startsWith(QStringLiteral("Das Stichwort ist zu lang")));
    }
    EXPECT_EQ(ReadFile(path), fitted);
    EXPECT_NE(before, fitted);
}

TEST(Keywords, FileWithoutIptcGetsIt)
{
    const QString path = Photo(QStringLiteral("plain.jpg"), TExifFixture{});
    EXPECT_FALSE(TImageUtils::ReadKeywords(path).has_value());
    TImageUtils::WriteKeywords(path, {QStringLiteral("neu")});
    EXPECT_EQ(TImageUtils::ReadKeywords(path), QStringList{QStringLiteral("neu")});
}

TEST(Keywords, UnwritableFileRaisesAndStaysIntact)
{
    const QString folder = MakeFolder(QStringLiteral("notjpeg"));
    const QString path = folder + QStringLiteral("/fake.jpg");
    WriteFile(path, "not a picture");
    EXPECT_THROW(TImageUtils::WriteKeywords(path, {QStringLiteral("x")}), EQORException);
    EXPECT_EQ(ReadFile(path), QByteArray("not a picture"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_THROW(TImageUtils::WriteKeywords(folder + QStringLiteral("/absent.jpg"), {}), EQORException);
}

} // namespace
} // namespace pavlora::test
