#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <vector>

struct x509_store_st; // OpenSSL's certificate store

namespace pavlora {

// The proxy the user configured (or the system's, as the user settings
// decide). Filled by the settings code; an empty host or a port not above 0
// means no proxy.
struct TINAProxy {
    QString host;
    int port = 0;
    QString login;
    QString password;

    bool IsSet() const { return !host.isEmpty() && port > 0; }
    friend bool operator==(const TINAProxy&, const TINAProxy&) = default;
};

// The time-outs of the HTTP layer. The read time-out is a low-speed limit
// (less than one byte per second for that long), never a total time-out,
// so long uploads are not cut. Tests shorten them.
struct TINATimeouts {
    std::chrono::milliseconds connect{15000};
    std::chrono::milliseconds read{120000};
    std::chrono::milliseconds connectionCheck{3000};
};

// Progress of one file of an upload, as the upload view shows it.
struct TUploadProgress {
    float fileFraction = 0.0F;
    float overallFraction = 0.0F;
    QString filePath;
    std::int64_t totalBytes = 0;
    int fileCount = 0;
    int fileIndex = 0;
};

struct TQORUploadParam {
    QString name;
    QString value;
};
using TQORUploadParamList = QList<TQORUploadParam>;

// One file of an upload.
struct TQORUploadInfo {
    QString url; // with scheme
    QString filePath;
    QString contentType;
    std::int64_t totalBytes = 0; // of the whole order
    std::int64_t submittedBytes = 0; // before this file
    TQORUploadParamList params;
    int fileCount = 0;
    int fileIndex = 0; // 1-based
    // Called on the uploading thread as bytes leave; may be empty.
    std::function<void(const TUploadProgress&)> progress;
};

// The HTTP layer of the order protocol, on libcurl.
//
// One process-wide instance (Instance()); tests may create their own. Every
// public function may be called from any thread. A transfer reserves one of
// the pool's five clients exclusively for its whole duration and releases
// it afterwards, so no client is ever used by two threads. XML requests are
// serialised by one request lock; uploads and downloads are not. A client
// keeps its connection (and TLS session) for its next transfer to the same
// server; changing the proxy or the CA file, a failed transfer and
// DisconnectAll drop the kept connections.
//
// Security: TLS peers and host names are always verified (the extra CA file
// is trusted in addition to the system's); at most one redirect is
// followed, and a transfer that began on https never follows a redirect to
// plain http. Only the proxy given here is used: proxies named in the
// environment are ignored, and loopback addresses never go through a proxy.
//
// Failures are EQORException: a transfer without a complete HTTP response
// and an HTTP status of 400 or above are code 40 with the transport's text
// ("HTTP <status>" for the latter); a transfer cut by DisconnectAll is code
// 112; running out of clients is code 1.
class TINA {
public:
    static constexpr int kPoolSize = 5;
    // Largest response body kept in memory.
    static constexpr std::int64_t kMaxResponseSize = 64 * 1024 * 1024;

    using RedirectCallback = std::function<void(const QString& from, const QString& to)>;

    explicit TINA(RedirectCallback onRedirect = {});
    ~TINA();
    TINA(const TINA&) = delete;
    TINA& operator=(const TINA&) = delete;

    // The process-wide instance, created on first use.
    static TINA& Instance();

    // POSTs `body` as "text/xml" and returns the response body.
    QByteArray SendHTTPRequest(const QString& url, const QByteArray& body, const QString& userAgent = QString());
    // POSTs the job's form fields, the file (streamed from disk, field
    // "filename") and "dummy"="eof" as multipart/form-data; returns the
    // response body.
    QByteArray UploadFile(const TQORUploadInfo& job);
    // GETs `url` into `target` (streamed); true and `target` positioned at
    // its start on success, false on any failure of the transfer. An empty
    // URL gives false at once.
    bool DownloadFile(const QString& url, QIODevice& target);
    // The same into a new buffer; empty when it failed.
    std::optional<QByteArray> DownloadFile(const QString& url);

    void SetProxy(const TINAProxy& proxy);
    void SetProxy(const QString& host, int port, const QString& password, const QString& login);
    void ClearProxy();
    TINAProxy Proxy() const;

    // PEM file of certificates trusted besides the system's ("ca_file").
    // An empty text trusts the system's alone. Raises EQORException for a
    // file that cannot be read or holds no certificate (nothing changes then).
    void SetCaFile(const QString& path);
    void SetTimeouts(const TINATimeouts& timeouts);
    TINATimeouts Timeouts() const;

    // Cuts every transfer that is running now; later transfers are not
    // affected.
    void DisconnectAll();

    // Opens a plain TCP connection, with the connection-check time-out, to
    // the proxy when one is set, else to the host and port of `url` (port 80
    // when it names none; "host" alone is accepted). An empty `url` uses the
    // first host ever given. True when the connection opens.
    bool CheckConnection(const QString& url);

    // Number of clients reserved right now (diagnostics, tests).
    int BusyClients() const;

private:
    class Client;
    struct Settings;
    struct Transfer;

    std::shared_ptr<Client> Reserve();
    void Release(const std::shared_ptr<Client>& client);
    // Runs one transfer on a reserved client; raises ETransportError for a
    // failed transfer and EQORException 112 for a cut one.
    void Perform(Transfer& transfer);
    void ReplacePool();
    Settings CurrentSettings() const;

    RedirectCallback onRedirect_;
    mutable std::mutex settingsMutex_;
    TINAProxy proxy_;
    QString caFile_;
    // The certificates TLS peers are verified against: the system's and the
    // extra CA file's, loaded once and shared by every connection.
    std::shared_ptr<x509_store_st> trust_;
    TINATimeouts timeouts_;
    QString rememberedHost_;

    mutable std::shared_mutex poolMutex_;
    std::vector<std::shared_ptr<Client>> pool_;

    std::mutex requestMutex_;
};

// The host of a URL written with or without scheme ("host:port/path"), as
// curl reads it; empty when the URL cannot be parsed or names a user.
QString HostOfUrl(const QString& url);

} // namespace pavlora
