// The program's entry while its main window does not exist yet: it resolves
// its folders and installation settings as the program will and says where
// they are.

#include "core/AppFolders.h"
#include "core/AppSettingsLoader.h"
#include "core/DebugConfig.h"
#include "core/Logger.h"
#include "core/QORException.h"
#include "core/Version.h"

#include <QCoreApplication>

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

    TLoadedAppSettings settings;
    try {
        settings = LoadAppSettings(ProgramSettingsSource());
    } catch (const EQORException& error) {
        PrintLine(error.Message(), stderr);
        return 1;
    } catch (const std::exception& error) {
        PrintLine(QString::fromUtf8(error.what()), stderr);
        return 1;
    }
    ApplyAppSettings(settings);
    PrintLine(QStringLiteral("Data folder: ") + WithoutTrailingSlash(settings.dataFolder));
    if (settings.languageChosen)
        PrintLine(QStringLiteral("Data language folder: ") + WithoutTrailingSlash(settings.dataLanguageFolder));
    return 0;
}
