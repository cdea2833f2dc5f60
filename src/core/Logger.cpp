#include "core/Logger.h"

#include "core/AppFolders.h"
#include "core/DebugConfig.h"
#include "core/ThreadId.h"

#include <QByteArray>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace pavlora {
namespace {

constexpr char kFirstReport[] = "First app log ----------------------------";

std::atomic<bool> firstReport{true};
std::atomic<bool> failureNoted{false};

// Serialises every append and trim of either log. Never destroyed, so that
// threads still logging while the process exits find it intact.
std::mutex& AppendLock()
{
    static std::mutex* lock = new std::mutex;
    return *lock;
}

QByteArray TimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &local);
    return QByteArray(text, static_cast<qsizetype>(length));
}

void NoteFailureOnce(const QString& path, int error)
{
    if (!failureNoted.exchange(true))
        std::fprintf(
            stderr, "pavlora: cannot write %s: %s\n", QFile::encodeName(path).constData(), std::strerror(error));
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<std::size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

void WriteReportLine(const QString& line, const TDebugSwitches& switches)
{
    if (switches.enableReportMsg) {
        const QByteArray bytes = line.toUtf8() + '\n';
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    }
    if (!switches.enableReportMsg || switches.enableReportLog)
        TLogger(QStringLiteral("Reports.log"), switches.maxReportLogSize).Append(line);
}

} // namespace

TLogger::TLogger(QString fileName, std::int64_t maxSize)
    : fileName_(std::move(fileName))
    , maxSize_(maxSize)
{
}

QString TLogger::LogFolder()
{
    if (DebugSwitches().saveInProgrammDir) {
        const QString programFolder = AppFolders::ProgramFolder();
        if (::access(QFile::encodeName(programFolder).constData(), W_OK) == 0)
            return programFolder;
    }
    return AppFolders::UserLogFolder();
}

bool TLogger::Append(const QString& text, bool withTimeStamp) const
{
    const QString folder = LogFolder();
    // The program folder is the installation's; only our own folder is made private.
    if (folder == AppFolders::UserLogFolder() && !AppFolders::EnsurePrivateFolder(folder))
        return false;
    const QString path = folder + QLatin1Char('/') + fileName_;

    QByteArray line;
    if (withTimeStamp)
        line = '[' + TimeStamp() + "]: ";
    line += text.toUtf8();
    line += "\r\n";

    std::lock_guard<std::mutex> lock(AppendLock());
    const QByteArray encodedPath = QFile::encodeName(path);
    const int fd = ::open(encodedPath.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        NoteFailureOnce(path, errno);
        return false;
    }
    const bool written = WriteAll(fd, line);
    const int writeError = errno;
    struct stat status { };
    const bool measured = ::fstat(fd, &status) == 0;
    ::close(fd);
    if (!written) {
        NoteFailureOnce(path, writeError);
        return false;
    }
    if (measured && status.st_size > maxSize_)
        Trim(path, maxSize_);
    return true;
}

bool TLogger::Trim(const QString& path, std::int64_t maxSize)
{
    QFile log(path);
    const std::int64_t size = log.size();
    if (size <= maxSize)
        return true;
    if (!log.open(QIODevice::ReadOnly))
        return false;

    // Skip whole lines from the start until at least size - 3/4 of the
    // maximum is gone; what stays are the newest whole lines.
    const std::int64_t toSkip = size - 3 * (maxSize / 4);
    std::int64_t skipped = 0;
    while (skipped < toSkip && !log.atEnd()) {
        const QByteArray line = log.readLine();
        if (line.isEmpty())
            break;
        skipped += line.size();
    }

    const QString rewrittenPath = path + QStringLiteral(".rewritten");
    const QByteArray encodedRewritten = QFile::encodeName(rewrittenPath);
    const int fd = ::open(encodedRewritten.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = true;
    while (ok && !log.atEnd()) {
        const QByteArray chunk = log.read(64 * 1024);
        ok = !chunk.isEmpty() && WriteAll(fd, chunk);
    }
    ok = ok && log.error() == QFileDevice::NoError;
    ok = (::close(fd) == 0) && ok;
    // The log is replaced in one step; on any failure it stays as it was.
    if (ok)
        ok = ::rename(encodedRewritten.constData(), QFile::encodeName(path).constData()) == 0;
    if (!ok)
        ::unlink(encodedRewritten.constData());
    return ok;
}

void ReportMessage(const QString& text, const QString& category)
{
    if (!category.isEmpty())
        return;
    const TDebugSwitches switches = DebugSwitches();
    const QString prefix = QStringLiteral("Thread: ") + QString::number(CurrentThreadId()) + QStringLiteral("  ");
    if (firstReport.exchange(false))
        WriteReportLine(prefix + QLatin1String(kFirstReport), switches);
    WriteReportLine(prefix + text, switches);
}

void ReportNumber(std::int64_t number)
{
    ReportMessage(QString::number(number));
}

void ReportNumbers(const QString& text, std::initializer_list<std::int64_t> numbers)
{
    QString line = text;
    for (const std::int64_t number : numbers)
        line += QLatin1Char(' ') + QString::number(number);
    ReportMessage(line);
}

void ReportThread(std::int64_t threadId, const QString& text)
{
    ReportMessage(QStringLiteral("Thread ID: ") + QString::number(threadId) + QStringLiteral(" is reporting: ") + text);
}

void ReportProtocol(const QString& text)
{
    const TDebugSwitches switches = DebugSwitches();
    if (switches.enableProtocolLog)
        TLogger(QStringLiteral("Protocol.log"), switches.maxProtocolLogSize).Append(text);
}

void ResetFirstReport()
{
    firstReport = true;
}

} // namespace pavlora
