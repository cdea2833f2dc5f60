// pavlora-tool image thumb --box WxH [--ratio X:Y] [--exact] [--fit] --out DIR [--program DIR] FILE...
// One JPEG (quality 90) per picture, named after its base name + ".jpg" in
// DIR, on a white box without frame or mat. The pictures are decoded in
// parallel on every core; the lines "FILE<TAB>THUMBNAIL" come in the order
// of the files.

#include "ImageCommands.h"
#include "ToolCommand.h"

#include "imaging/ImageUtils.h"

#include "core/QORError.h"
#include "core/QORException.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtConcurrent/QtConcurrentMap>

#include <vector>

#include <malloc.h>

namespace pavlora::tool {
namespace {

struct TThumbJob {
    QString source;
    QString target;
    QString error;
};

bool ParsePair(const QString& text, const QString& separator, int& first, int& second)
{
    const QRegularExpression pair(QStringLiteral("^([0-9]{1,5})[%1]([0-9]{1,5})$").arg(separator));
    const QRegularExpressionMatch match = pair.match(text);
    if (!match.hasMatch())
        return false;
    first = match.captured(1).toInt();
    second = match.captured(2).toInt();
    return first > 0 && second > 0;
}

} // namespace

int RunImageThumbCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption program = ProgramOption();
    const QCommandLineOption box(
        QStringLiteral("box"), QStringLiteral("Size of the box, e.g. 160x160."), QStringLiteral("WxH"));
    const QCommandLineOption ratio(
        QStringLiteral("ratio"), QStringLiteral("Crop ratio, e.g. 3:2."), QStringLiteral("X:Y"));
    const QCommandLineOption exact(QStringLiteral("exact"), QStringLiteral("The thumbnail is exactly the box."));
    const QCommandLineOption fit(
        QStringLiteral("fit"), QStringLiteral("With --exact: fit the picture inside instead of filling the box."));
    const QCommandLineOption out(
        QStringLiteral("out"), QStringLiteral("Folder of the thumbnails."), QStringLiteral("DIR"));
    parser.addOptions({program, box, ratio, exact, fit, out});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Pictures."), QStringLiteral("FILE..."));
    const int parsed = ParseCommandLine(parser, arguments,
        QStringLiteral("Usage: pavlora-tool image thumb --box WxH [--ratio X:Y] [--exact] [--fit] --out DIR "
                       "[--program DIR] FILE...\n\nWrites one JPEG thumbnail per picture into DIR."));
    if (parsed >= 0)
        return parsed;
    const QString command = QStringLiteral("image thumb");
    TThumbnailOptions options;
    options.BackgroundColor = clWhite;
    if (!ParsePair(parser.value(box), QStringLiteral("xX"), options.Width, options.Height))
        return UsageError(QStringLiteral("--box must be WxH with positive numbers"), command);
    if (parser.isSet(ratio) && !ParsePair(parser.value(ratio), QStringLiteral(":"), options.RatioX, options.RatioY))
        return UsageError(QStringLiteral("--ratio must be X:Y with positive numbers"), command);
    options.ExactSize = parser.isSet(exact);
    options.FitInExact = parser.isSet(fit);
    if (options.FitInExact && !options.ExactSize)
        return UsageError(QStringLiteral("--fit needs --exact"), command);
    if (!parser.isSet(out))
        return UsageError(QStringLiteral("--out DIR is required"), command);
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return UsageError(QStringLiteral("image thumb needs at least one FILE"), command);
    const QString folder = parser.value(out);
    if (!QDir().mkpath(folder)) {
        PrintError(QStringLiteral("pavlora-tool: cannot create ") + folder);
        return kExitFailure;
    }
    if (!SetUpImaging(parser, program))
        return kExitFailure;

    std::vector<TThumbJob> jobs;
    jobs.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& file : files)
        jobs.push_back({file, QDir(folder).filePath(QFileInfo(file).completeBaseName() + QStringLiteral(".jpg")), {}});

    // Progressive JPEGs need a coefficient buffer of several megabytes per
    // picture. Served from the heap rather than fresh mappings, it is not
    // faulted in and zeroed by the kernel again for every file.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);

    TImageUtils& utils = TImageUtils::Instance();
    QtConcurrent::blockingMap(jobs, [&utils, &options](TThumbJob& job) {
        try {
            const QImage thumbnail = utils.MakeThumbnail(job.source, options);
            if (thumbnail.isNull())
                job.error = TQORError{400, {}, {}, {}}.Message();
            else if (!utils.SaveAsJPEG(thumbnail, job.target, 90))
                job.error = QStringLiteral("cannot write ") + job.target;
        } catch (const EQORException& error) {
            job.error = error.Error().Message();
        } catch (const std::exception& error) {
            job.error = QString::fromLocal8Bit(error.what());
        }
    });

    int result = kExitSuccess;
    for (const TThumbJob& job : jobs) {
        if (job.error.isEmpty()) {
            PrintOut(TabField(job.source) + QLatin1Char('\t') + TabField(job.target));
        } else {
            PrintError(job.source + QStringLiteral(": ") + job.error);
            result = kExitFailure;
        }
    }
    return result;
}

} // namespace pavlora::tool
