// pavlora-tool image info [--program DIR] FILE...
// One tab-separated line per file: path, width, height, bits per pixel,
// type code, date taken ("yyyy-MM-dd hh:mm:ss" or empty), maker, model and
// the keywords joined by ", ". A file that cannot be measured gives its
// path and the error text; the exit status is then 1.

#include "ImageCommands.h"
#include "ToolCommand.h"

#include "imaging/ImageMetadata.h"
#include "imaging/ImageUtils.h"

#include "core/QORError.h"

namespace pavlora::tool {

int RunImageInfoCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption program = ProgramOption();
    parser.addOption(program);
    parser.addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("Pictures to describe."), QStringLiteral("FILE..."));
    const int parsed = ParseCommandLine(parser, arguments,
        QStringLiteral("Usage: pavlora-tool image info [--program DIR] FILE...\n\n"
                       "Prints one tab-separated line per picture: path, width, height, bits per pixel, type code, "
                       "date taken, maker, model, keywords."));
    if (parsed >= 0)
        return parsed;
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return UsageError(QStringLiteral("image info needs at least one FILE"), QStringLiteral("image info"));
    if (!SetUpImaging(parser, program))
        return kExitFailure;

    TImageUtils& utils = TImageUtils::Instance();
    int result = kExitSuccess;
    for (const QString& file : files) {
        int width = 0;
        int height = 0;
        int bits = 0;
        if (!utils.GetImageInfo(file, width, height, bits)) {
            PrintOut(TabField(file) + QLatin1Char('\t') + TQORError{400, {}, {}, {}}.Message());
            result = kExitFailure;
            continue;
        }
        const TExifDate date = utils.GetExifDateTime(file, true);
        const std::optional<TPictureMetadata> metadata = ReadPictureMetadata(file);
        const QStringList fields{
            TabField(file),
            QString::number(width),
            QString::number(height),
            QString::number(bits),
            QString::number(TImageUtils::ImageTypeOfFile(file)),
            date.state == TExifDate::State::Valid ? date.value.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                                                  : QString(),
            metadata ? TabField(metadata->maker.trimmed()) : QString(),
            metadata ? TabField(metadata->model.trimmed()) : QString(),
            metadata ? TabField(metadata->keywords.join(QStringLiteral(", "))) : QString(),
        };
        PrintOut(fields.join(QLatin1Char('\t')));
    }
    return result;
}

} // namespace pavlora::tool
