#include "imaging/FileWrapper.h"

#include "imaging/ImageFileType.h"
#include "imaging/Jp2Converter.h"
#include "imaging/TempFileManager.h"

#include "core/AppFolders.h"
#include "core/Logger.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>

#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>

namespace pavlora {
namespace {

// The shared temporaries: their reference counts (in the manager) and which
// of them are being converted right now.
struct TSharedTemporaries {
    std::mutex mutex;
    std::condition_variable converted;
    std::map<QString, bool> converting; // temporary name → a conversion runs
    TTempFileManager files;
};

TSharedTemporaries& Shared()
{
    static TSharedTemporaries shared;
    return shared;
}

QString TemporaryFolder()
{
    return AppFolders::UserCacheFolder() + QStringLiteral("/tmp");
}

// Takes a reference on the temporary of `source`, converting it first when
// no reader holds it. Returns its name.
QString Acquire(const QString& source)
{
    const QString name = TFileWrapper::TemporaryNameFor(source);
    TSharedTemporaries& shared = Shared();
    std::unique_lock lock(shared.mutex);
    for (;;) {
        shared.converted.wait(lock, [&] { return !shared.converting.contains(name); });
        if (shared.files.RefCount(name) > 0) {
            shared.files.AddRef(name);
            ReportMessage(QStringLiteral("reusing existing temporary file: ") + name);
            return name;
        }
        shared.converting[name] = true;
        lock.unlock();
        std::exception_ptr failure;
        try {
            if (!AppFolders::EnsurePrivateFolder(TemporaryFolder()))
                ReportMessage(QStringLiteral("cannot create the temporary folder ") + TemporaryFolder());
            Jp2Converter::Jp2ToJpeg(source, name, TFileWrapper::kJpegQuality);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        shared.converting.erase(name);
        if (!failure)
            shared.files.AddRef(name);
        shared.converted.notify_all();
        if (failure)
            std::rethrow_exception(failure);
        ReportMessage(QStringLiteral("temporary file notification: ") + name);
        return name;
    }
}

void ReleaseTemporary(const QString& name)
{
    TSharedTemporaries& shared = Shared();
    std::lock_guard lock(shared.mutex);
    shared.files.Release(name);
}

} // namespace

TFileWrapper::TFileWrapper(const QString& fileName)
    : sourceName_(fileName)
    , fileName_(fileName)
{
    if (!IsJp2FileName(fileName))
        return;
    fileName_ = Acquire(fileName);
    temporary_ = true;
}

TFileWrapper::~TFileWrapper()
{
    if (temporary_)
        ReleaseTemporary(fileName_);
}

QString TFileWrapper::TemporaryNameFor(const QString& source)
{
    if (!IsJp2FileName(source))
        return {};
    const QFileInfo info(source);
    const QByteArray identity = info.absoluteFilePath().toUtf8() + '\n'
        + QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + '\n' + QByteArray::number(info.size());
    const QByteArray digest = QCryptographicHash::hash(identity, QCryptographicHash::Sha256).toHex().left(32);
    return TemporaryFolder() + QStringLiteral("/jp2-") + QLatin1String(digest) + QLatin1Char('-')
        + QString::number(QCoreApplication::applicationPid()) + QStringLiteral(".jpg");
}

} // namespace pavlora
