// pavlora-tool image convert IN OUT [--quality N | --ratio N] [--program DIR]
// Converts a picture; the kind of OUT comes from its extension: ".jpg" or
// ".jpeg" (quality N, default 95), ".bmp", ".jp2" (compression ratio N:1;
// without --ratio 2 up to 2,000,000 pixels, else 3).

#include "ImageCommands.h"
#include "ToolCommand.h"

#include "imaging/ImageUtils.h"

#include "core/QORException.h"

#include <QFileInfo>

namespace pavlora::tool {

int RunImageConvertCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption program = ProgramOption();
    const QCommandLineOption quality(
        QStringLiteral("quality"), QStringLiteral("JPEG quality 0-100."), QStringLiteral("N"));
    const QCommandLineOption ratio(
        QStringLiteral("ratio"), QStringLiteral("JPEG 2000 compression ratio N:1."), QStringLiteral("N"));
    parser.addOptions({program, quality, ratio});
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("The picture to read."));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The file to write (.jpg, .jpeg, .bmp, .jp2)."));
    const int parsed = ParseCommandLine(parser, arguments,
        QStringLiteral("Usage: pavlora-tool image convert IN OUT [--quality N | --ratio N]\n\n"
                       "Converts IN into OUT; the extension of OUT selects JPEG, BMP or JPEG 2000."));
    if (parsed >= 0)
        return parsed;
    const QString command = QStringLiteral("image convert");
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return UsageError(QStringLiteral("image convert needs IN and OUT"), command);
    const QString extension = QFileInfo(files[1]).suffix().toLower();
    const bool jpeg = extension == QLatin1String("jpg") || extension == QLatin1String("jpeg");
    const bool jp2 = extension == QLatin1String("jp2");
    if (!jpeg && !jp2 && extension != QLatin1String("bmp"))
        return UsageError(QStringLiteral("OUT must end in .jpg, .jpeg, .bmp or .jp2"), command);
    bool ok = true;
    const int jpegQuality = parser.isSet(quality) ? parser.value(quality).toInt(&ok) : 95;
    if (parser.isSet(quality) && (!jpeg || !ok || jpegQuality < 0 || jpegQuality > 100))
        return UsageError(QStringLiteral("--quality needs a JPEG OUT and a number 0-100"), command);
    const int jp2Ratio = parser.isSet(ratio) ? parser.value(ratio).toInt(&ok) : 0;
    if (parser.isSet(ratio) && (!jp2 || !ok || jp2Ratio < 1 || jp2Ratio > 1000))
        return UsageError(QStringLiteral("--ratio needs a .jp2 OUT and a number 1-1000"), command);
    if (!SetUpImaging(parser, program))
        return kExitFailure;

    TImageUtils& utils = TImageUtils::Instance();
    try {
        const QImage picture = utils.LoadFullBitmap(files[0]);
        bool written = true;
        if (jpeg)
            written = utils.SaveAsJPEG(picture, files[1], jpegQuality);
        else if (jp2)
            utils.SaveAsJPEG2000(picture, files[1], jp2Ratio);
        else
            written = TImageUtils::SaveAsBMP(picture, files[1]);
        if (!written) {
            PrintError(QStringLiteral("pavlora-tool: cannot write ") + files[1]);
            return kExitFailure;
        }
    } catch (const EQORException& error) {
        PrintError(files[0] + QStringLiteral(": ") + error.Error().Message());
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace pavlora::tool
