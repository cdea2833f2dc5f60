// Measures GetImageInfo over the pictures named in a list file (one path a
// line), as the folder scans do: one process, every file once, repeated
// `rounds` times. Prints the files measured and the best round's time.
//
//   imaging_info_bench LIST [ROUNDS]

#include "imaging/ImageUtils.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: imaging_info_bench LIST [ROUNDS]\n");
        return 2;
    }
    QFile list(QString::fromLocal8Bit(argv[1]));
    if (!list.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QStringList files = QString::fromLocal8Bit(list.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    pavlora::TImageUtils utils;
    qint64 best = -1;
    int measured = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        measured = 0;
        for (const QString& file : files) {
            int width = 0;
            int height = 0;
            int bits = 0;
            measured += utils.GetImageInfo(file, width, height, bits) ? 1 : 0;
        }
        const qint64 elapsed = timer.nsecsElapsed();
        best = best < 0 ? elapsed : std::min(best, elapsed);
    }
    std::printf("%d of %lld files measured, best of %d rounds: %.2f ms\n", measured,
        static_cast<long long>(files.size()), rounds, static_cast<double>(best) / 1e6);
    return measured == files.size() ? 0 : 1;
}
