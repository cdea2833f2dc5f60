#include "app/LaunchCheck.h"

#include "core/Logger.h"

#include <QFile>
#include <QProcess>

namespace pavlora {

QStringList LauncherArguments(const QStringList& programArguments)
{
    QStringList arguments{QLatin1String(kLaunchToken)};
    arguments += programArguments;
    return arguments;
}

QString LauncherArgumentText(const QStringList& launcherArguments)
{
    QStringList quoted;
    quoted.reserve(launcherArguments.size());
    for (const QString& argument : launcherArguments) {
        if (argument.contains(QLatin1Char(' ')))
            quoted.append(QLatin1Char('"') + argument + QLatin1Char('"'));
        else
            quoted.append(argument);
    }
    return quoted.join(QLatin1Char(' '));
}

bool StartDetachedProgram(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments, QString());
}

TLaunchCheckResult RunLaunchCheck(
    const QString& programFolder, const QStringList& arguments, bool debugMode, const TProgramStarter& starter)
{
    TLaunchCheckResult result;
    const bool hasToken = !arguments.isEmpty() && arguments.first() == QLatin1String(kLaunchToken);
    if (!hasToken && !debugMode) {
        const QString launcher = programFolder + QLatin1Char('/') + QLatin1String(kLauncherName);
        const QStringList launcherArguments = LauncherArguments(arguments);
        ReportMessage(QStringLiteral("Starting %1 %2").arg(launcher, LauncherArgumentText(launcherArguments)));
        if (!starter(launcher, launcherArguments))
            ReportMessage(QStringLiteral("Cannot start ") + launcher);
        return result;
    }
    result.proceed = true;
    result.arguments = hasToken ? arguments.mid(1) : arguments;
    const QString leftover = programFolder + QLatin1Char('/') + QLatin1String(kLeftoverUpdatePackage);
    if (QFile::exists(leftover) && !QFile::remove(leftover))
        ReportMessage(QStringLiteral("Cannot delete ") + leftover);
    return result;
}

} // namespace pavlora
