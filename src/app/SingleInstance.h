#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace pavlora {

// One running program per user.
//
// The running instance holds an exclusive lock (flock) on a file in the
// user's runtime folder; a second instance fails to take it and ends
// silently. The lock goes with the process, also when it crashes. The
// running instance also listens on a local socket beside the lock file,
// through which another program asks it to close (message 1148).
//
// UI thread only.

// The user's runtime folder of the program: $XDG_RUNTIME_DIR/pavlora, or,
// without a runtime folder, "run" in the private cache folder; created with
// mode 0700. Empty when it cannot be created.
QString InstanceRuntimeFolder();

// The lock of the running instance.
class TSingleInstanceLock {
public:
    // The lock file "pavlora.lock" in `folder` (default InstanceRuntimeFolder()).
    explicit TSingleInstanceLock(const QString& folder = QString());
    ~TSingleInstanceLock();
    TSingleInstanceLock(const TSingleInstanceLock&) = delete;
    TSingleInstanceLock& operator=(const TSingleInstanceLock&) = delete;

    // Takes the lock without waiting; false when another process holds it
    // (or the file cannot be opened). Taking it twice in one object is true.
    bool TryLock();
    bool IsLocked() const { return fd_ >= 0; }
    const QString& Folder() const { return folder_; }

private:
    QString folder_;
    int fd_ = -1;
};

// The text a close request sends.
inline constexpr char kCloseRequestText[] = "1148\n";

// The local socket "pavlora.socket" of the running instance. Listen only
// while holding the lock: a socket file left by a crashed instance is
// replaced.
class TCloseRequestServer : public QObject {
    Q_OBJECT
public:
    explicit TCloseRequestServer(QObject* parent = nullptr);
    ~TCloseRequestServer() override;

    // Listens in `folder`; false when the socket cannot be made.
    bool Listen(const QString& folder);
    QString SocketPath() const;

Q_SIGNALS:
    // Another program asked the running instance to close.
    void closeRequested();

private:
    void Accept();

    std::unique_ptr<QLocalServer> server_;
};

// Sends the close request to the instance running in `folder` (default
// InstanceRuntimeFolder()); false when none listens or the request could
// not be delivered within `timeoutMs`.
bool SendCloseRequest(const QString& folder = QString(), int timeoutMs = 3000);

} // namespace pavlora
