#include "core/DebugConfig.h"

#include "core/AppFolders.h"

#include <QFile>
#include <QList>
#include <QMutex>
#include <QMutexLocker>

#include <cmath>

namespace pavlora {
namespace {

QMutex switchesMutex;
TDebugSwitches currentSwitches;

// The value of the first line "name=value" whose name matches without case.
// Returns a null string when the name is missing.
QString ValueOf(const QList<QByteArray>& lines, QLatin1String name)
{
    for (const QByteArray& line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QString key = QString::fromUtf8(line.left(equals)).trimmed();
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(line.mid(equals + 1)).trimmed();
    }
    return {};
}

bool BooleanOf(const QList<QByteArray>& lines, QLatin1String name)
{
    return ParseBooleanText(ValueOf(lines, name), false);
}

std::int64_t SizeOf(const QList<QByteArray>& lines, QLatin1String name, std::int64_t current)
{
    const QString value = ValueOf(lines, name);
    bool ok = false;
    const qlonglong size = value.toLongLong(&ok, 10);
    // A negative threshold would empty the log on every line: keep the old one.
    return ok && size >= 0 ? size : current;
}

} // namespace

bool ParseBooleanText(const QString& text, bool fallback)
{
    const QString value = text.trimmed();
    if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (ok && std::isfinite(number))
        return number != 0.0;
    return fallback;
}

TDebugSwitches ParseDebugConfig(const QByteArray& text, TDebugSwitches current)
{
    QList<QByteArray> lines = text.split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    current.debugMode = BooleanOf(lines, QLatin1String("DebugMode"));
    current.readAppDirIni = BooleanOf(lines, QLatin1String("ReadAppDirIni"));
    current.enableReportMsg = BooleanOf(lines, QLatin1String("EnableReportMsg"));
    current.enableReportLog = BooleanOf(lines, QLatin1String("EnableReportLog"));
    current.enableProtocolLog = BooleanOf(lines, QLatin1String("EnableProtocolLog"));
    current.disableEncrypting = BooleanOf(lines, QLatin1String("DisableEncrypting"));
    current.saveInProgrammDir = BooleanOf(lines, QLatin1String("SaveInProgrammDir"));
    current.maxReportLogSize = SizeOf(lines, QLatin1String("MaxReportLogSize"), current.maxReportLogSize);
    current.maxProtocolLogSize = SizeOf(lines, QLatin1String("MaxProtocolLogSize"), current.maxProtocolLogSize);
    return current;
}

void ReadDebugConfig(const QString& programFolder)
{
    TDebugSwitches switches = DebugSwitches();
    QFile file(programFolder + QStringLiteral("/Debug.cfg"));
    QByteArray text;
    bool readable = true;
    if (file.exists()) {
        readable = file.open(QIODevice::ReadOnly);
        if (readable) {
            text = file.readAll();
            readable = file.error() == QFileDevice::NoError;
        }
    }
    // An unreadable file switches everything off; the sizes keep their values.
    switches = ParseDebugConfig(readable ? text : QByteArray(), switches);
    SetDebugSwitches(switches);
}

void ReadDebugConfig()
{
    ReadDebugConfig(AppFolders::ProgramFolder());
}

TDebugSwitches DebugSwitches()
{
    QMutexLocker lock(&switchesMutex);
    return currentSwitches;
}

void SetDebugSwitches(const TDebugSwitches& switches)
{
    QMutexLocker lock(&switchesMutex);
    currentSwitches = switches;
}

bool IsDebugMode()
{
    return DebugSwitches().debugMode;
}

bool IsReadAppDirIniEnabled()
{
    return DebugSwitches().readAppDirIni;
}

bool IsEncryptingDisabled()
{
    return DebugSwitches().disableEncrypting;
}

} // namespace pavlora
