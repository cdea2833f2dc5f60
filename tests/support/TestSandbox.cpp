#include "support/TestSandbox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>

namespace pavlora::test {

QString SandboxFolder()
{
    const char* sandbox = std::getenv("PAVLORA_TEST_SANDBOX");
    if (!sandbox || !*sandbox)
        throw std::runtime_error("tests must run through the test main, which makes the sandbox");
    return QString::fromLocal8Bit(sandbox);
}

QString MakeFolder(const QString& name)
{
    const QString folder = SandboxFolder() + QStringLiteral("/work/") + name;
    QDir(folder).removeRecursively();
    if (!QDir().mkpath(folder))
        throw std::runtime_error("cannot create " + folder.toStdString());
    return folder;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString BuiltProgramFolder()
{
    const char* folder = std::getenv("PAVLORA_PROGRAM_DIR");
    return folder ? QString::fromLocal8Bit(folder) : QString();
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

} // namespace pavlora::test
