#include "ordering/INA.h"

#include "core/Logger.h"
#include "core/QORException.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <curl/curl.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace pavlora {
namespace {

constexpr char kSendContext[] = "INA.TINA.SendHTTPRequest";
constexpr char kUploadContext[] = "INA.TINA.UploadFile";
constexpr char kDownloadContext[] = "INA.TINA.DownloadFile";
constexpr char kPoolContext[] = "INA.THTTPClientPool.GetHTTPClient";
constexpr char kCheckContext[] = "INA.TINA.CheckConnection";
constexpr char kLoopbackHosts[] = "127.0.0.1,localhost,::1";

void GlobalInitOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
            throw std::runtime_error("curl_global_init failed");
    });
}

// Makes the shared store the one this connection verifies with.
CURLcode UseTrustStore(CURL*, void* sslContext, void* userData)
{
    auto* store = static_cast<X509_STORE*>(userData);
    SSL_CTX_set1_cert_store(static_cast<SSL_CTX*>(sslContext), store);
    return CURLE_OK;
}

// The system's trusted certificates (the bundle curl would load) and those
// of `extraPem`, in one store; `added` counts the certificates of `extraPem`.
std::shared_ptr<X509_STORE> BuildTrustStore(const QByteArray& extraPem, int* added = nullptr)
{
    std::shared_ptr<X509_STORE> store(X509_STORE_new(), &X509_STORE_free);
    if (!store)
        throw std::bad_alloc();
    bool loaded = false;
    if (CURL* probe = curl_easy_init()) {
        char* bundle = nullptr;
        if (curl_easy_getinfo(probe, CURLINFO_CAINFO, &bundle) == CURLE_OK && bundle && *bundle)
            loaded = X509_STORE_load_file(store.get(), bundle) == 1;
        char* folder = nullptr;
        if (curl_easy_getinfo(probe, CURLINFO_CAPATH, &folder) == CURLE_OK && folder && *folder)
            loaded = X509_STORE_load_path(store.get(), folder) == 1 || loaded;
        curl_easy_cleanup(probe);
    }
    if (!loaded)
        X509_STORE_set_default_paths(store.get());
    if (!extraPem.isEmpty()) {
        BIO* bio = BIO_new_mem_buf(extraPem.constData(), static_cast<int>(extraPem.size()));
        if (!bio)
            throw std::bad_alloc();
        while (X509* certificate = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr)) {
            X509_STORE_add_cert(store.get(), certificate); // a duplicate is harmless
            X509_free(certificate);
            if (added)
                ++*added;
        }
        BIO_free(bio);
    }
    ERR_clear_error(); // the end of a PEM text and duplicates read as errors
    return store;
}

class SList {
public:
    SList() = default;
    ~SList() { curl_slist_free_all(list_); }
    SList(const SList&) = delete;
    SList& operator=(const SList&) = delete;

    void Append(const char* line)
    {
        curl_slist* grown = curl_slist_append(list_, line);
        if (!grown)
            throw std::bad_alloc();
        list_ = grown;
    }
    curl_slist* get() const { return list_; }

private:
    curl_slist* list_ = nullptr;
};

class Mime {
public:
    explicit Mime(CURL* curl)
        : mime_(curl_mime_init(curl))
    {
        if (!mime_)
            throw std::bad_alloc();
    }
    ~Mime() { curl_mime_free(mime_); }
    Mime(const Mime&) = delete;
    Mime& operator=(const Mime&) = delete;

    curl_mimepart* AddPart(const QString& name)
    {
        curl_mimepart* part = curl_mime_addpart(mime_);
        if (!part)
            throw std::bad_alloc();
        curl_mime_name(part, name.toUtf8().constData());
        return part;
    }
    void AddField(const QString& name, const QString& value)
    {
        const QByteArray bytes = value.toUtf8();
        curl_mime_data(AddPart(name), bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    curl_mime* get() const { return mime_; }

private:
    curl_mime* mime_;
};

void Check(CURLcode code)
{
    if (code != CURLE_OK)
        throw std::runtime_error(curl_easy_strerror(code));
}

} // namespace

struct TINA::Settings {
    TINAProxy proxy;
    std::shared_ptr<X509_STORE> trust;
    TINATimeouts timeouts;
};

// One pooled HTTP client: a curl handle and the flag DisconnectAll raises
// to cut the transfer it runs. The handle lives as long as the client, so its connection (and TLS
// session) serves the next transfer to the same server; it is replaced
// after a failed transfer and by DisconnectAll, which closes its
// connections.
class TINA::Client {
public:
    Client()
        : handle(curl_easy_init())
    {
        if (!handle)
            throw std::runtime_error("curl_easy_init failed");
    }
    ~Client() { curl_easy_cleanup(handle); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // A fresh handle: no connection, no TLS session. Called under the pool
    // lock while nobody uses the client; keeps the old handle (reset) if no
    // new one can be had.
    void Renew() noexcept
    {
        renew = false;
        if (CURL* fresh = curl_easy_init()) {
            curl_easy_cleanup(handle);
            handle = fresh;
        } else {
            curl_easy_reset(handle);
        }
    }

    CURL* handle;
    bool busy = false; // guarded by the pool lock
    std::atomic<bool> renew{false}; // replace the handle when it is released
    std::atomic<bool> abort{false};
};

// One transfer: what it sends, where the body goes, and what curl's
// callbacks see.
struct TINA::Transfer {
    std::shared_ptr<Client> client;
    QByteArray url;
    Settings settings;
    std::function<void(CURL*)> setup; // the method and the body

    // Response body: into `buffer`, or into `device` when set.
    QByteArray buffer;
    QIODevice* device = nullptr;
    std::int64_t received = 0;
    bool tooLarge = false;
    bool writeFailed = false;

    const TQORUploadInfo* upload = nullptr;
    curl_off_t lastSent = -1;

    // The read time-out: no byte moved in either direction for this long.
    std::chrono::steady_clock::time_point lastActivity = std::chrono::steady_clock::now();
    curl_off_t lastBytes = 0;
    bool timedOut = false;

    // Read when the transfer has ended.
    long status = 0;
    long redirects = 0;
    QByteArray effectiveUrl;

    static std::size_t Write(char* data, std::size_t size, std::size_t count, void* userData)
    {
        auto* self = static_cast<Transfer*>(userData);
        const std::size_t bytes = size * count;
        if (self->device) {
            if (self->device->write(data, static_cast<qint64>(bytes)) != static_cast<qint64>(bytes)) {
                self->writeFailed = true;
                return 0;
            }
        } else {
            if (self->received + static_cast<std::int64_t>(bytes) > kMaxResponseSize) {
                self->tooLarge = true;
                return 0;
            }
            self->buffer.append(data, static_cast<qsizetype>(bytes));
        }
        self->received += static_cast<std::int64_t>(bytes);
        return bytes;
    }

    static int Progress(
        void* userData, curl_off_t, curl_off_t downloadNow, curl_off_t uploadTotal, curl_off_t uploadNow)
    {
        auto* self = static_cast<Transfer*>(userData);
        if (self->client->abort.load())
            return 1;
        const auto now = std::chrono::steady_clock::now();
        if (downloadNow + uploadNow != self->lastBytes) {
            self->lastBytes = downloadNow + uploadNow;
            self->lastActivity = now;
        } else if (now - self->lastActivity > self->settings.timeouts.read) {
            self->timedOut = true;
            return 1;
        }
        const TQORUploadInfo* job = self->upload;
        if (!job || !job->progress || uploadTotal <= 0 || uploadNow == self->lastSent)
            return 0;
        self->lastSent = uploadNow;
        TUploadProgress progress;
        progress.fileFraction = static_cast<float>(static_cast<double>(uploadNow) / static_cast<double>(uploadTotal));
        progress.overallFraction = job->totalBytes == 0
            ? 0.0F
            : static_cast<float>(static_cast<double>(job->submittedBytes + uploadNow) / job->totalBytes);
        progress.filePath = job->filePath;
        progress.totalBytes = job->totalBytes;
        progress.fileCount = job->fileCount;
        progress.fileIndex = job->fileIndex;
        try {
            job->progress(progress);
        } catch (...) {
            return 1; // nothing may escape into curl
        }
        return 0;
    }
};

TINA::TINA(RedirectCallback onRedirect)
    : onRedirect_(std::move(onRedirect))
{
    GlobalInitOnce();
    trust_ = BuildTrustStore(QByteArray());
    ReplacePool();
}

TINA::~TINA() = default;

TINA& TINA::Instance()
{
    // Never destroyed: workers still running at exit may use it.
    static TINA* instance = new TINA;
    return *instance;
}

void TINA::ReplacePool()
{
    std::vector<std::shared_ptr<Client>> fresh;
    for (int i = 0; i < kPoolSize; ++i)
        fresh.push_back(std::make_shared<Client>());
    std::unique_lock<std::shared_mutex> lock(poolMutex_);
    // Clients reserved now stay alive with their lease and are dropped when
    // it ends.
    pool_ = std::move(fresh);
}

std::shared_ptr<TINA::Client> TINA::Reserve()
{
    std::unique_lock<std::shared_mutex> lock(poolMutex_);
    for (auto it = pool_.rbegin(); it != pool_.rend(); ++it) {
        if (!(*it)->busy) {
            (*it)->busy = true;
            (*it)->abort = false;
            return *it;
        }
    }
    throw EQORException(1, QStringLiteral("max number of http connections (%1) was reached").arg(kPoolSize), QString(),
        QLatin1String(kPoolContext));
}

void TINA::Release(const std::shared_ptr<Client>& client)
{
    std::unique_lock<std::shared_mutex> lock(poolMutex_);
    client->busy = false;
    if (client->renew)
        client->Renew();
}

int TINA::BusyClients() const
{
    std::shared_lock<std::shared_mutex> lock(poolMutex_);
    int busy = 0;
    for (const auto& client : pool_)
        busy += client->busy ? 1 : 0;
    return busy;
}

void TINA::DisconnectAll()
{
    std::unique_lock<std::shared_mutex> lock(poolMutex_);
    for (const auto& client : pool_) {
        if (client->busy) {
            client->abort = true;
            client->renew = true;
        } else {
            client->Renew(); // closes the connection it keeps
        }
    }
}

TINA::Settings TINA::CurrentSettings() const
{
    std::lock_guard<std::mutex> lock(settingsMutex_);
    return Settings{proxy_, trust_, timeouts_};
}

void TINA::SetProxy(const TINAProxy& proxy)
{
    if (!proxy.IsSet()) {
        ClearProxy();
        return;
    }
    {
        std::lock_guard<std::mutex> lock(settingsMutex_);
        proxy_ = proxy;
    }
    ReplacePool();
}

void TINA::SetProxy(const QString& host, int port, const QString& password, const QString& login)
{
    SetProxy(TINAProxy{host, port, login, password});
}

void TINA::ClearProxy()
{
    {
        std::lock_guard<std::mutex> lock(settingsMutex_);
        proxy_ = TINAProxy{};
    }
    ReplacePool();
}

TINAProxy TINA::Proxy() const
{
    std::lock_guard<std::mutex> lock(settingsMutex_);
    return proxy_;
}

void TINA::SetCaFile(const QString& path)
{
    QByteArray pem;
    if (!path.isEmpty()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw EQORException(2, QStringLiteral("Cannot read the CA file: ") + file.errorString(), path,
                QStringLiteral("INA.TINA.SetCaFile"));
        pem = file.read(16 * 1024 * 1024);
    }
    int added = 0;
    std::shared_ptr<X509_STORE> trust = BuildTrustStore(pem, &added);
    if (!path.isEmpty() && added == 0)
        throw EQORException(
            2, QStringLiteral("The CA file holds no PEM certificate"), path, QStringLiteral("INA.TINA.SetCaFile"));
    {
        std::lock_guard<std::mutex> lock(settingsMutex_);
        caFile_ = path;
        trust_ = std::move(trust);
    }
    // Connections kept by the clients were verified with the old store.
    ReplacePool();
}

void TINA::SetTimeouts(const TINATimeouts& timeouts)
{
    std::lock_guard<std::mutex> lock(settingsMutex_);
    timeouts_ = timeouts;
}

TINATimeouts TINA::Timeouts() const
{
    std::lock_guard<std::mutex> lock(settingsMutex_);
    return timeouts_;
}

void TINA::Perform(Transfer& transfer)
{
    CURL* curl = transfer.client->handle;
    curl_easy_reset(curl);
    char errorBuffer[CURL_ERROR_SIZE] = {};
    const Settings& settings = transfer.settings;
    const bool secure = transfer.url.startsWith("https://");

    Check(curl_easy_setopt(curl, CURLOPT_URL, transfer.url.constData()));
    Check(curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer));
    Check(curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L));
    Check(curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https"));
    // A transfer that began on https stays on https.
    Check(curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https"));
    Check(curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L));
    Check(curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 1L));
    Check(curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings.timeouts.connect.count())));
    // The read time-out is checked by the progress callback: it measures
    // the time since the last byte moved, never the whole transfer.
    Check(curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L));
    Check(curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L));
    Check(curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 64L * 1024L));
    Check(curl_easy_setopt(curl, CURLOPT_UPLOAD_BUFFERSIZE, 64L * 1024L));
    // The trusted certificates are loaded once, not parsed again for every
    // connection: curl loads no CA file itself and verifies with the store.
    Check(curl_easy_setopt(curl, CURLOPT_CAINFO, nullptr));
    Check(curl_easy_setopt(curl, CURLOPT_CAPATH, nullptr));
    // curl would otherwise keep the first store it met for the handle's
    // life, so a changed CA file would never take effect.
    Check(curl_easy_setopt(curl, CURLOPT_CA_CACHE_TIMEOUT, 0L));
    Check(curl_easy_setopt(curl, CURLOPT_SSL_CTX_FUNCTION, &UseTrustStore));
    Check(curl_easy_setopt(curl, CURLOPT_SSL_CTX_DATA, settings.trust.get()));
    // Only the configured proxy: an empty text keeps curl from taking one
    // from the environment.
    const QByteArray proxy = settings.proxy.IsSet()
        ? QByteArray("http://" + settings.proxy.host.toUtf8() + ':' + QByteArray::number(settings.proxy.port))
        : QByteArray("");
    const QByteArray proxyLogin = settings.proxy.login.toUtf8();
    const QByteArray proxyPassword = settings.proxy.password.toUtf8();
    Check(curl_easy_setopt(curl, CURLOPT_PROXY, proxy.constData()));
    Check(curl_easy_setopt(curl, CURLOPT_NOPROXY, kLoopbackHosts));
    if (settings.proxy.IsSet() && !proxyLogin.isEmpty()) {
        Check(curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, proxyLogin.constData()));
        Check(curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, proxyPassword.constData()));
    }
    Check(curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Transfer::Write));
    Check(curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer));
    Check(curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L));
    Check(curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Transfer::Progress));
    Check(curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer));
    transfer.setup(curl);

    transfer.lastActivity = std::chrono::steady_clock::now();
    const CURLcode result = curl_easy_perform(curl);
    // A handle whose transfer failed is not used again: its connection may
    // be half-used, and curl leaves some states (a refused redirect) that
    // its next transfer would trip over.
    if (result != CURLE_OK)
        transfer.client->renew = true;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &transfer.status);
    curl_easy_getinfo(curl, CURLINFO_REDIRECT_COUNT, &transfer.redirects);
    char* effective = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
        transfer.effectiveUrl = effective;
    // Drops every pointer into this frame and the transfer.
    curl_easy_reset(curl);

    if (result == CURLE_ABORTED_BY_CALLBACK && transfer.client->abort.load())
        throw EQORException(112, QStringLiteral("aborted"), QString(), QString());
    if (transfer.timedOut)
        throw ETransportError("Read timed out");
    if (transfer.tooLarge)
        throw ETransportError("response too large");
    if (transfer.writeFailed)
        throw std::runtime_error("cannot write the received data");
    if (result != CURLE_OK)
        throw ETransportError(errorBuffer[0] ? errorBuffer : curl_easy_strerror(result));
    if (transfer.status < 200 || transfer.status >= 300)
        throw ETransportError("HTTP " + std::to_string(transfer.status));
    if (transfer.redirects > 0 && onRedirect_)
        onRedirect_(QString::fromUtf8(transfer.url), QString::fromUtf8(transfer.effectiveUrl));
}

QByteArray TINA::SendHTTPRequest(const QString& url, const QByteArray& body, const QString& userAgent)
{
    try {
        Transfer transfer;
        transfer.client = Reserve();
        const auto release = qScopeGuard([&] { Release(transfer.client); });
        transfer.url = url.toUtf8();
        transfer.settings = CurrentSettings();
        SList headers;
        headers.Append("Content-Type: text/xml");
        headers.Append("Content-Encoding: UTF-8");
        headers.Append("Expect:");
        const QByteArray agent = userAgent.toUtf8();
        transfer.setup = [&](CURL* curl) {
            Check(curl_easy_setopt(curl, CURLOPT_POST, 1L));
            Check(curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.constData()));
            Check(curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size())));
            Check(curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get()));
            if (!agent.isEmpty())
                Check(curl_easy_setopt(curl, CURLOPT_USERAGENT, agent.constData()));
        };
        std::lock_guard<std::mutex> lock(requestMutex_);
        Perform(transfer);
        return transfer.buffer;
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kSendContext));
    }
}

QByteArray TINA::UploadFile(const TQORUploadInfo& job)
{
    try {
        const QFileInfo info(job.filePath);
        if (!info.isFile() || !info.isReadable())
            throw std::runtime_error("Cannot open file \"" + job.filePath.toStdString() + "\"");
        Transfer transfer;
        transfer.client = Reserve();
        const auto release = qScopeGuard([&] { Release(transfer.client); });
        transfer.url = job.url.toUtf8();
        transfer.settings = CurrentSettings();
        transfer.upload = &job;
        if (job.progress) {
            TUploadProgress begin;
            begin.overallFraction = job.totalBytes == 0
                ? 0.0F
                : static_cast<float>(static_cast<double>(job.submittedBytes) / job.totalBytes);
            begin.filePath = job.filePath;
            begin.totalBytes = job.totalBytes;
            begin.fileCount = job.fileCount;
            begin.fileIndex = job.fileIndex;
            job.progress(begin);
        }
        SList headers;
        headers.Append("Content-Encoding: UTF-8");
        headers.Append("Expect:");
        Mime mime(transfer.client->handle);
        for (const TQORUploadParam& param : job.params)
            mime.AddField(param.name, param.value);
        curl_mimepart* file = mime.AddPart(QStringLiteral("filename"));
        // Streamed from disk by curl, never held in memory.
        Check(curl_mime_filedata(file, QFile::encodeName(job.filePath).constData()));
        if (!job.contentType.isEmpty())
            Check(curl_mime_type(file, job.contentType.toUtf8().constData()));
        mime.AddField(QStringLiteral("dummy"), QStringLiteral("eof"));
        transfer.setup = [&](CURL* curl) {
            Check(curl_easy_setopt(curl, CURLOPT_MIMEPOST, mime.get()));
            Check(curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get()));
        };
        Perform(transfer);
        return transfer.buffer;
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kUploadContext));
    }
}

bool TINA::DownloadFile(const QString& url, QIODevice& target)
{
    if (url.isEmpty())
        return false;
    std::shared_ptr<Client> client;
    try {
        client = Reserve();
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kDownloadContext));
    }
    const auto release = qScopeGuard([&] { Release(client); });
    Transfer transfer;
    transfer.client = client;
    transfer.url = url.toUtf8();
    transfer.settings = CurrentSettings();
    transfer.device = &target;
    transfer.setup = [](CURL* curl) { Check(curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L)); };
    try {
        Perform(transfer);
    } catch (...) {
        ReportMessage(ErrorFromCurrentException(QLatin1String(kDownloadContext)).VerboseMessage());
        return false;
    }
    return target.isSequential() || target.seek(0);
}

std::optional<QByteArray> TINA::DownloadFile(const QString& url)
{
    if (url.isEmpty())
        return std::nullopt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    if (!DownloadFile(url, buffer))
        return std::nullopt;
    buffer.close();
    return bytes;
}

namespace {

// Host and port of a URL written with or without scheme; false when it
// cannot be parsed or names a user.
bool SplitUrl(const QString& url, QString& host, long& port)
{
    CURLU* handle = curl_url();
    if (!handle)
        return false;
    const auto cleanup = qScopeGuard([&] { curl_url_cleanup(handle); });
    if (curl_url_set(handle, CURLUPART_URL, url.toUtf8().constData(), CURLU_DEFAULT_SCHEME) != CURLUE_OK)
        return false;
    char* user = nullptr;
    if (curl_url_get(handle, CURLUPART_USER, &user, 0) == CURLUE_OK) {
        curl_free(user);
        return false;
    }
    char* hostText = nullptr;
    if (curl_url_get(handle, CURLUPART_HOST, &hostText, 0) != CURLUE_OK)
        return false;
    host = QString::fromUtf8(hostText);
    curl_free(hostText);
    char* portText = nullptr;
    if (curl_url_get(handle, CURLUPART_PORT, &portText, CURLU_DEFAULT_PORT) != CURLUE_OK)
        return false;
    port = std::strtol(portText, nullptr, 10);
    curl_free(portText);
    return !host.isEmpty();
}

} // namespace

QString HostOfUrl(const QString& url)
{
    QString host;
    long port = 0;
    if (!SplitUrl(url, host, port))
        return QString();
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    return host.toLower();
}

bool TINA::CheckConnection(const QString& url)
{
    QString given = url;
    Settings settings;
    {
        std::lock_guard<std::mutex> lock(settingsMutex_);
        if (given.isEmpty())
            given = rememberedHost_;
        else if (rememberedHost_.isEmpty())
            rememberedHost_ = given;
        settings = Settings{proxy_, trust_, timeouts_};
    }
    QString host;
    long port = 0;
    if (settings.proxy.IsSet()) {
        host = settings.proxy.host;
        port = settings.proxy.port;
    } else if (given.isEmpty() || !SplitUrl(given, host, port)) {
        return false;
    }
    CURL* curl = curl_easy_init();
    if (!curl)
        return false;
    const auto cleanup = qScopeGuard([&] { curl_easy_cleanup(curl); });
    const bool ipv6 = host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('['));
    const QByteArray target = "http://" + (ipv6 ? '[' + host.toUtf8() + ']' : host.toUtf8()) + ':'
        + QByteArray::number(static_cast<qlonglong>(port)) + '/';
    try {
        Check(curl_easy_setopt(curl, CURLOPT_URL, target.constData()));
        Check(curl_easy_setopt(curl, CURLOPT_CONNECT_ONLY, 1L));
        Check(curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L));
        Check(curl_easy_setopt(curl, CURLOPT_PROXY, ""));
        Check(curl_easy_setopt(
            curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings.timeouts.connectionCheck.count())));
    } catch (...) {
        RecordCurrentException(QLatin1String(kCheckContext));
        return false;
    }
    return curl_easy_perform(curl) == CURLE_OK;
}

} // namespace pavlora
