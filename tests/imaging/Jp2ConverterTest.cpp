// The JPEG 2000 converter: its argument vector, failure texts and time-out
// with stand-in converters, the real helper, and the shared temporaries.

#include "ImagingFixtures.h"

#include "imaging/FileWrapper.h"
#include "imaging/ImageUtils.h"
#include "imaging/Jp2Converter.h"
#include "imaging/TempFileManager.h"

#include "core/AppFolders.h"
#include "core/QORException.h"

#include "support/TestSandbox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <thread>

namespace pavlora::test {
namespace {

// A program folder holding a stand-in converter with `body`.
QString FakeConverter(const QByteArray& body)
{
    const QString folder = MakeFolder(QStringLiteral("program"));
    WriteScript(folder, Jp2Converter::ProgramName(), body);
    AppFolders::SetProgramFolder(folder);
    return folder;
}

QString ErrorText(const std::function<void()>& call)
{
    try {
        call();
    } catch (const EQORException& error) {
        return error.Error().codeText;
    }
    return QStringLiteral("(no exception)");
}

QString Source()
{
    const QString path = MakeFolder(QStringLiteral("source")) + QStringLiteral("/my \"photo\" $1.jp2");
    WriteFile(path, "jp2 data");
    return path;
}

TEST(Jp2Converter, PassesAnArgumentVector)
{
    const QString folder
        = FakeConverter("for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$(dirname \"$0\")/args\"; done\n"
                        "printf 'x' > \"$4\"\n");
    const QString source = Source();
    const QString target = SandboxFolder() + QStringLiteral("/out put.jpg");
    Jp2Converter::Jp2ToJpeg(source, target, 90);
    EXPECT_EQ(QString::fromUtf8(ReadFile(folder + QStringLiteral("/args"))),
        QStringLiteral("-i\n%1\n-o\n%2\n-q\n90\n").arg(source, target));
}

TEST(Jp2Converter, FailureTexts)
{
    const QString source = Source();
    const QString target = SandboxFolder() + QStringLiteral("/out.jpg");
    AppFolders::SetProgramFolder(MakeFolder(QStringLiteral("empty-program")));
    EXPECT_EQ(ErrorText([&] { Jp2Converter::Jp2ToJpeg(source, target, 90); }),
        QStringLiteral("JPG2000 Konvertierer nicht gefunden"));
    EXPECT_EQ(ErrorText([&] { Jp2Converter::BitmapToJp2(source, target, 2); }),
        QStringLiteral("JPG2000 Konvertierer nicht gefunden"));

    FakeConverter(": > \"$4\"\n");
    EXPECT_EQ(ErrorText([&] { Jp2Converter::Jp2ToJpeg(source, target, 90); }),
        QStringLiteral("JPG2000 Konvertierungsfehler"));
    EXPECT_EQ(ErrorText([&] { Jp2Converter::BitmapToJp2(source, target, 2); }),
        QStringLiteral("JPG2000 Konvertierungsfehler"));
    EXPECT_FALSE(QFile::exists(target)) << "the empty output is removed";

    // A complete output does not count when the converter reports failure.
    FakeConverter("printf 'x' > \"$4\"\nexit 3\n");
    EXPECT_EQ(ErrorText([&] { Jp2Converter::Jp2ToJpeg(source, target, 90); }),
        QStringLiteral("JPG2000 Konvertierungsfehler"));
}

TEST(Jp2Converter, TimeOutKillsTheConverter)
{
    FakeConverter("printf 'x' > \"$4.part-$$\"\nexec sleep 30\n");
    Jp2Converter::SetTimeout(std::chrono::milliseconds(300));
    const QString target = SandboxFolder() + QStringLiteral("/slow.jpg");
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(ErrorText([&] { Jp2Converter::Jp2ToJpeg(Source(), target, 90); }),
        QStringLiteral("JPG2000 Konvertierungsfehler"));
    EXPECT_LT(timer.elapsed(), 20000);
    EXPECT_EQ(QDir(SandboxFolder()).entryList({QStringLiteral("slow.jpg*")}, QDir::Files).size(), 0);
}

TEST(Jp2Converter, RatioForLargeAndSmallPictures)
{
    const QString folder
        = FakeConverter("printf '%s\\n' \"$6\" >> \"$(dirname \"$0\")/ratios\"\nprintf 'x' > \"$4\"\n");
    TImageUtils utils;
    const QString target = SandboxFolder() + QStringLiteral("/out.jp2");
    utils.SaveAsJPEG2000(QImage(1600, 1250, QImage::Format_RGB32), target, 0);
    utils.SaveAsJPEG2000(QImage(2000, 1001, QImage::Format_RGB32), target, 0);
    utils.SaveAsJPEG2000(QImage(20, 10, QImage::Format_RGB32), target, 7);
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/ratios")), QByteArray("2\n3\n7\n"));
    // The temporary bitmaps are gone.
    EXPECT_EQ(QDir(AppFolders::UserCacheFolder() + QStringLiteral("/tmp")).entryList(QDir::Files).size(), 0);
}

TEST(Jp2Converter, RealHelperRoundTrip)
{
    AppFolders::SetProgramFolder(BuiltProgramFolder());
    const QString folder = MakeFolder(QStringLiteral("real"));
    const QString jp2 = folder + QStringLiteral("/banded.jp2");
    TImageUtils utils;
    utils.SaveAsJPEG2000(BandedImage(90, 60, {Qt::red, Qt::green, Qt::blue}), jp2, 0);
    int width = 0;
    int height = 0;
    int bits = 0;
    ASSERT_TRUE(utils.GetImageInfo(jp2, width, height, bits));
    EXPECT_EQ(QSize(width, height), QSize(90, 60));
    EXPECT_EQ(bits, 8);
    const QImage full = utils.LoadFullBitmap(jp2);
    ASSERT_EQ(full.size(), QSize(90, 60));
    EXPECT_LT(std::abs(full.pixelColor(15, 30).red() - 255), 30);
    EXPECT_LT(std::abs(full.pixelColor(75, 30).blue() - 255), 30);
    const QImage thumbnail = utils.MakeThumbnail(jp2, TThumbnailOptions{30, 30});
    EXPECT_EQ(thumbnail.size(), QSize(30, 20));
    // No temporary is left once the readers are done.
    EXPECT_EQ(QDir(AppFolders::UserCacheFolder() + QStringLiteral("/tmp")).entryList(QDir::Files).size(), 0);
}

TEST(Jp2Converter, HelperRefusesGarbage)
{
    AppFolders::SetProgramFolder(BuiltProgramFolder());
    const QString folder = MakeFolder(QStringLiteral("garbage"));
    WriteFile(folder + QStringLiteral("/bad.jp2"), QByteArray("\0\0\0\x0CjP  \r\n\x87\n", 12) + QByteArray(100, 'x'));
    const QString target = folder + QStringLiteral("/bad.jpg");
    EXPECT_EQ(ErrorText([&] { Jp2Converter::Jp2ToJpeg(folder + QStringLiteral("/bad.jp2"), target, 90); }),
        QStringLiteral("JPG2000 Konvertierungsfehler"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("bad.jp2")});
}

TEST(FileWrapper, TemporaryIsPrivateSharedAndRemovedByTheLastReader)
{
    const QString folder = FakeConverter("echo run >> \"$(dirname \"$0\")/runs\"\nsleep 0.2\nprintf 'x' > \"$4\"\n");
    const QString source = Source();
    const QString plain = SandboxFolder() + QStringLiteral("/plain.jpg");
    {
        const TFileWrapper direct(plain);
        EXPECT_EQ(direct.FileName(), plain);
        EXPECT_FALSE(direct.IsTemporary());
    }
    QString first;
    QString second;
    std::unique_ptr<TFileWrapper> a;
    std::unique_ptr<TFileWrapper> b;
    std::thread other([&] { b = std::make_unique<TFileWrapper>(source); });
    a = std::make_unique<TFileWrapper>(source);
    other.join();
    EXPECT_EQ(a->FileName(), b->FileName());
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/runs")), QByteArray("run\n")) << "converted once";
    const QFileInfo temporary(a->FileName());
    EXPECT_EQ(temporary.absolutePath(), AppFolders::UserCacheFolder() + QStringLiteral("/tmp"));
    EXPECT_EQ(QFileInfo(temporary.absolutePath()).permissions() & 0x0077, 0) << "private folder";
    a.reset();
    EXPECT_TRUE(temporary.exists());
    b.reset();
    EXPECT_FALSE(QFileInfo::exists(temporary.absoluteFilePath()));

    // Another version of the source gets another temporary.
    const QString before = TFileWrapper::TemporaryNameFor(source);
    WriteFile(source, "changed jp2 data");
    QFile(source).setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    EXPECT_NE(TFileWrapper::TemporaryNameFor(source), before);
}

TEST(FileWrapper, ConverterFailureReachesTheCaller)
{
    FakeConverter("exit 1\n");
    const QString source = Source();
    EXPECT_THROW(TFileWrapper{source}, EQORException);
    TImageUtils utils;
    EXPECT_THROW(utils.LoadFullBitmap(source), EQORException);
    EXPECT_TRUE(utils.LoadBitmap(source, 100, 100).isNull());
}

TEST(TempFileManager, CountsReferences)
{
    const QString path = SandboxFolder() + QStringLiteral("/temp.bin");
    WriteFile(path, "x");
    TTempFileManager manager;
    EXPECT_EQ(manager.AddRef(path), 1);
    EXPECT_EQ(manager.AddRef(path), 2);
    EXPECT_TRUE(manager.Release(path));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(manager.Release(path));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(manager.Release(path)) << "unknown path";

    const QString other = SandboxFolder() + QStringLiteral("/other.bin");
    WriteFile(other, "y");
    {
        TTempFileManager scoped;
        scoped.AddRef(other);
    }
    EXPECT_FALSE(QFile::exists(other)) << "deleted when the manager goes";
}

} // namespace
} // namespace pavlora::test
