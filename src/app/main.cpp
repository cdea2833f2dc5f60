// The program's entry while its main window does not exist yet: it resolves
// its folders as the program will and says where they are.

#include "core/AppFolders.h"
#include "core/DebugConfig.h"
#include "core/Logger.h"
#include "core/Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

using namespace pavlora;

namespace {

void PrintLine(const QString& text, std::FILE* stream = stdout)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pavlora"));
    QCoreApplication::setApplicationVersion(QLatin1String(kProductVersion));

    ReadDebugConfig();
    ReportMessage(QStringLiteral("%1 %2 started").arg(QLatin1String(kProductName), QLatin1String(kProductVersion)));

    const QString programFolder = AppFolders::ProgramFolder();
    PrintLine(QStringLiteral("%1 %2").arg(QLatin1String(kProductName), QLatin1String(kProductVersion)));
    PrintLine(QStringLiteral("Program folder: ") + programFolder);
    PrintLine(QStringLiteral("Log folder: ") + TLogger::LogFolder());

    const QString dataFolder = programFolder + QStringLiteral("/Data");
    if (!QFileInfo(dataFolder).isDir()) {
        PrintLine(QStringLiteral("Data-Folder could not be located."), stderr);
        return 1;
    }
    PrintLine(QStringLiteral("Data folder: ") + dataFolder);
    return 0;
}
