#include "app/SingleInstance.h"

#include "core/AppFolders.h"
#include "core/Logger.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pavlora {

namespace {

constexpr char kLockFileName[] = "pavlora.lock";
constexpr char kSocketName[] = "pavlora.socket";

QString Resolved(const QString& folder)
{
    return folder.isEmpty() ? InstanceRuntimeFolder() : folder;
}

} // namespace

QString InstanceRuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QString folder;
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QDir(runtime).exists())
        folder = runtime + QStringLiteral("/pavlora");
    else
        folder = AppFolders::UserCacheFolder() + QStringLiteral("/run");
    return AppFolders::EnsurePrivateFolder(folder) ? folder : QString();
}

TSingleInstanceLock::TSingleInstanceLock(const QString& folder)
    : folder_(Resolved(folder))
{
}

TSingleInstanceLock::~TSingleInstanceLock()
{
    if (fd_ >= 0)
        ::close(fd_); // releases the lock
}

bool TSingleInstanceLock::TryLock()
{
    if (fd_ >= 0)
        return true;
    if (folder_.isEmpty())
        return false;
    const QByteArray path = QFile::encodeName(folder_ + QLatin1Char('/') + QLatin1String(kLockFileName));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        ReportMessage(QStringLiteral("Cannot open the instance lock ") + QFile::decodeName(path));
        return false;
    }
    int status;
    do {
        status = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (status != 0 && errno == EINTR);
    if (status != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

TCloseRequestServer::TCloseRequestServer(QObject* parent)
    : QObject(parent)
{
}

TCloseRequestServer::~TCloseRequestServer() = default;

bool TCloseRequestServer::Listen(const QString& folder)
{
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString path = Resolved(folder) + QLatin1Char('/') + QLatin1String(kSocketName);
    QLocalServer::removeServer(path);
    if (!server_->listen(path)) {
        ReportMessage(QStringLiteral("Cannot listen on %1: %2").arg(path, server_->errorString()));
        server_.reset();
        return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &TCloseRequestServer::Accept);
    return true;
}

QString TCloseRequestServer::SocketPath() const
{
    return server_ ? server_->fullServerName() : QString();
}

void TCloseRequestServer::Accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // Only the request line counts; anything longer is not ours.
            if (socket->bytesAvailable() > 64) {
                socket->abort();
                return;
            }
            if (!socket->canReadLine())
                return;
            const QByteArray line = socket->readLine();
            socket->disconnectFromServer();
            if (line == kCloseRequestText)
                Q_EMIT closeRequested();
        });
    }
}

bool SendCloseRequest(const QString& folder, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(Resolved(folder) + QLatin1Char('/') + QLatin1String(kSocketName));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kCloseRequestText);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The instance closes the connection once it has read the request.
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

} // namespace pavlora
