#include "imaging/Jp2Converter.h"

#include "core/AppFolders.h"
#include "core/Logger.h"
#include "core/QORException.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <atomic>

namespace pavlora::Jp2Converter {
namespace {

const QString kNotFound = QStringLiteral("JPG2000 Konvertierer nicht gefunden");
const QString kFailed = QStringLiteral("JPG2000 Konvertierungsfehler");
std::atomic<long long> timeoutMs{120000};

[[noreturn]] void Raise(const QString& text, const QString& detail, const QString& method)
{
    throw EQORException(2, text, detail, QStringLiteral("Jp2Converter.") + method);
}

bool OutputIsUsable(const QString& target)
{
    const QFileInfo info(target);
    return info.isFile() && info.size() > 0;
}

// Runs the helper and waits for it. Returns an empty text on success, else
// the reason for the report log; `started` tells whether it ran at all.
QString Run(const QStringList& arguments, const QString& target, bool& started)
{
    QProcess process;
    process.setProgram(ProgramPath());
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QIODevice::ReadOnly);
    started = process.waitForStarted(30000);
    if (!started)
        return process.errorString();
    const int timeout = static_cast<int>(std::min<long long>(timeoutMs.load(), std::numeric_limits<int>::max()));
    if (!process.waitForFinished(timeout)) {
        const qint64 pid = process.processId();
        process.kill();
        process.waitForFinished(10000);
        // The killed helper cannot remove its partial output itself.
        QFile::remove(target + QStringLiteral(".part-") + QString::number(pid));
        return QStringLiteral("time-out after %1 ms").arg(timeout);
    }
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit)
        return QStringLiteral("the converter crashed ") + errors;
    if (process.exitCode() != 0)
        return QStringLiteral("exit status %1 %2").arg(process.exitCode()).arg(errors);
    if (!OutputIsUsable(target))
        return QStringLiteral("no output");
    return {};
}

} // namespace

QString ProgramName()
{
    return QStringLiteral("pavlora-jp2");
}

QString ProgramPath()
{
    return AppFolders::ProgramFolder() + QLatin1Char('/') + ProgramName();
}

void Jp2ToJpeg(const QString& source, const QString& target, int quality)
{
    const QFileInfo program(ProgramPath());
    if (!program.isFile() || !program.isExecutable())
        Raise(kNotFound, ProgramPath(), QStringLiteral("Jp2ToJpeg"));
    bool started = false;
    const QString failure = Run(
        {QStringLiteral("-i"), source, QStringLiteral("-o"), target, QStringLiteral("-q"), QString::number(quality)},
        target, started);
    if (!failure.isEmpty())
        Raise(kFailed, failure, QStringLiteral("Jp2ToJpeg"));
}

void BitmapToJp2(const QString& source, const QString& target, int ratio)
{
    bool started = false;
    const QString failure = Run(
        {QStringLiteral("-i"), source, QStringLiteral("-o"), target, QStringLiteral("-r"), QString::number(ratio)},
        target, started);
    if (!started)
        Raise(kNotFound, ProgramPath() + QStringLiteral(": ") + failure, QStringLiteral("BitmapToJp2"));
    if (!failure.isEmpty()) {
        // An empty file at the target is no picture; a complete one from
        // before is left alone.
        if (QFileInfo(target).isFile() && QFileInfo(target).size() == 0)
            QFile::remove(target);
        Raise(kFailed, failure, QStringLiteral("BitmapToJp2"));
    }
}

std::chrono::milliseconds Timeout()
{
    return std::chrono::milliseconds(timeoutMs.load());
}

void SetTimeout(std::chrono::milliseconds timeout)
{
    timeoutMs.store(timeout.count());
}

} // namespace pavlora::Jp2Converter
