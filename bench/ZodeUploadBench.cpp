// Uploads every file of a folder, one after the other, through
// TINA::UploadFile to an upload URL, and prints the time, the throughput
// and the peak resident memory of this process. Run by bench/zode-upload.sh.
//
// Usage: zode-upload-bench URL FOLDER [CA_FILE]

#include "ordering/INA.h"

#include "core/QORException.h"

#include <QCoreApplication>
#include <QDir>

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

using namespace pavlora;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: zode-upload-bench URL FOLDER [CA_FILE]\n");
        return 2;
    }
    TINA& ina = TINA::Instance();
    if (arguments.size() > 3)
        ina.SetCaFile(arguments.at(3));
    const QDir folder(arguments.at(2));
    const QStringList files = folder.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    std::int64_t bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    try {
        for (const QString& name : files) {
            TQORUploadInfo job;
            job.url = arguments.at(1);
            job.filePath = folder.filePath(name);
            job.contentType = QStringLiteral("image/jpeg");
            job.params = {TQORUploadParam{QStringLiteral("uplid"), QStringLiteral("bench")}};
            ina.UploadFile(job);
            bytes += QFileInfo(job.filePath).size();
        }
    } catch (const EQORException& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("files=%lld seconds=%.3f MBps=%.1f maxrss_kb=%ld\n", static_cast<long long>(files.size()), seconds,
        static_cast<double>(bytes) / seconds / 1e6, usage.ru_maxrss);
    return 0;
}
