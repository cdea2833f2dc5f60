// The transport set up from the installation and user settings: proxy with
// login, extra CA file, allowed discovery hosts and time-outs, checked
// against the reference order server behind a forwarding proxy.

#include "ordering/TransportSettings.h"

#include "core/AppSettings.h"
#include "core/Logger.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"
#include "core/RegConfiguration.h"
#include "ordering/ServerTestTimeouts.h"
#include "ordering/ZODE.h"
#include "support/OrderServerProcess.h"
#include "support/TestSandbox.h"

#include <QDir>
#include <QFile>
#include <QMutex>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace pavlora {
namespace {

using test::OrderServerProcess;

// A forwarding HTTP proxy on a free loopback port: takes one connection
// after the other, records each request head, and sends the request in
// origin form to 127.0.0.1 on the port its URL names, relaying the answer.
class ForwardingProxy {
public:
    ForwardingProxy()
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(listener_, 8) != 0
            || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Run(); });
    }
    ~ForwardingProxy()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        ::close(listener_);
    }
    ForwardingProxy(const ForwardingProxy&) = delete;
    ForwardingProxy& operator=(const ForwardingProxy&) = delete;

    int Port() const { return port_; }
    QList<QByteArray> Heads() const
    {
        QMutexLocker lock(&mutex_);
        return heads_;
    }

private:
    void Run()
    {
        while (!stop_) {
            pollfd waiting{listener_, POLLIN, 0};
            if (::poll(&waiting, 1, 50) <= 0)
                continue;
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client >= 0) {
                Serve(client);
                ::close(client);
            }
        }
    }

    static bool ReadSome(int socket, QByteArray& into)
    {
        pollfd waiting{socket, POLLIN, 0};
        if (::poll(&waiting, 1, 10000) <= 0)
            return false;
        char buffer[16384];
        const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0)
            return false;
        into.append(buffer, got);
        return true;
    }

    void Serve(int client)
    {
        QByteArray request;
        qsizetype headEnd = -1;
        while ((headEnd = request.indexOf("\r\n\r\n")) < 0) {
            if (!ReadSome(client, request))
                return;
        }
        const QByteArray head = request.left(headEnd);
        {
            QMutexLocker lock(&mutex_);
            heads_.append(head);
        }
        QList<QByteArray> lines = head.split('\n');
        for (QByteArray& line : lines)
            line = line.trimmed();
        // "POST http://host:port/path HTTP/1.1"
        const QList<QByteArray> first = lines.front().split(' ');
        if (first.size() != 3)
            return;
        const QByteArray target = first.at(1);
        const qsizetype hostStart = target.indexOf("://") + 3;
        const qsizetype pathStart = target.indexOf('/', hostStart);
        const QByteArray authority = target.mid(hostStart, pathStart - hostStart);
        const int port = authority.mid(authority.lastIndexOf(':') + 1).toInt();
        qsizetype contentLength = 0;
        QByteArray forwarded = first.at(0) + ' ' + target.mid(pathStart) + ' ' + first.at(2) + "\r\n";
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray lower = lines.at(i).toLower();
            if (lower.startsWith("content-length:"))
                contentLength = lower.mid(15).trimmed().toLongLong();
            if (lower.startsWith("proxy-") || lower.startsWith("connection:"))
                continue;
            forwarded += lines.at(i) + "\r\n";
        }
        forwarded += "Connection: close\r\n\r\n";
        QByteArray body = request.mid(headEnd + 4);
        while (body.size() < contentLength) {
            if (!ReadSome(client, body))
                return;
        }
        forwarded += body;

        const int server = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        if (::connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
            && ::send(server, forwarded.constData(), static_cast<std::size_t>(forwarded.size()), MSG_NOSIGNAL)
                == forwarded.size()) {
            QByteArray answer;
            while (ReadSome(server, answer)) { }
            ::send(client, answer.constData(), static_cast<std::size_t>(answer.size()), MSG_NOSIGNAL);
        }
        ::close(server);
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable QMutex mutex_;
    QList<QByteArray> heads_;
};

TAppSettings App(const QList<std::pair<const char*, QString>>& values)
{
    TNameValueList list;
    for (const auto& [name, value] : values)
        list.SetValue(QLatin1String(name), value);
    return TAppSettings(list);
}

class TransportSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data_ = test::MakeFolder(QStringLiteral("Data"));
        user_ = std::make_unique<TRegConfiguration>(QStringLiteral("Software\\Vovo\\Pavlora"), QString(),
            QStringLiteral("Software\\Vovo\\Pavlora\\Account"), test::MakeFolder(QStringLiteral("config")));
        ina_.SetTimeouts(test::ServerTestTimeouts());
    }

    void UseProxy(int port, const QString& login, const QString& password)
    {
        user_->WriteElement(QStringLiteral("UseProxyServer"), true);
        user_->WriteElement(QStringLiteral("ProxyHostname"), QStringLiteral("127.0.0.1"));
        user_->WriteElement(QStringLiteral("ProxyPort"), port);
        user_->WriteElement(QStringLiteral("ProxyLogin"), login);
        user_->WriteElement(QStringLiteral("ProxyPassword"), password, true);
    }

    std::unique_ptr<TXTCI> Client(const TTransportSettings& transport, const QString& server, bool useSsl)
    {
        auto protocol = std::make_unique<TXTCI>(ina_, transport.allowedHosts);
        const QByteArray text
            = test::XChgText({server + QStringLiteral("/zode|") + server + QStringLiteral("/dtd")}, useSsl);
        pugi::xml_document document;
        EXPECT_TRUE(document.load_buffer(text.constData(), static_cast<std::size_t>(text.size())));
        protocol->Initialize(document);
        return protocol;
    }

    QString data_;
    std::unique_ptr<TRegConfiguration> user_;
    TINA ina_;
};

TEST_F(TransportSettingsTest, SettingsAreReadWithTheirDefaultsAndLimits)
{
    RegisterPathPlaceholder(QStringLiteral("{Data}"), data_);
    struct Case {
        const char* caFile;
        QString expectedCa;
        const char* allowed;
        QStringList expectedAllowed;
        const char* connect;
        const char* read;
        std::chrono::milliseconds expectedConnect;
        std::chrono::milliseconds expectedRead;
    };
    const TINATimeouts defaults;
    const QList<Case> cases{
        {"", QString(), "", {}, "", "", defaults.connect, defaults.read},
        {"certs/ca.pem", data_ + QStringLiteral("/certs/ca.pem"), " Orders.Example , b.example,,orders.example",
            {QStringLiteral("orders.example"), QStringLiteral("b.example")}, "30", "600", std::chrono::seconds(30),
            std::chrono::seconds(600)},
        {"{Data}\\certs\\ca.pem", data_ + QStringLiteral("/certs/ca.pem"), "a", {QStringLiteral("a")}, "0", "99999",
            defaults.connect, defaults.read},
        {"/etc/pavlora/ca.pem", QStringLiteral("/etc/pavlora/ca.pem"), "", {}, "abc", "-5", defaults.connect,
            defaults.read},
    };
    for (const Case& c : cases) {
        const TAppSettings app
            = App({{"ca_file", QLatin1String(c.caFile)}, {"zode_allowed_hosts", QLatin1String(c.allowed)},
                {"zode_connect_timeout", QLatin1String(c.connect)}, {"zode_read_timeout", QLatin1String(c.read)}});
        const TTransportSettings settings = ReadTransportSettings(app, *user_, data_);
        EXPECT_EQ(settings.caFile, c.expectedCa) << c.caFile;
        EXPECT_EQ(settings.allowedHosts, c.expectedAllowed) << c.allowed;
        EXPECT_EQ(settings.timeouts.connect, c.expectedConnect) << c.connect;
        EXPECT_EQ(settings.timeouts.read, c.expectedRead) << c.read;
        EXPECT_FALSE(settings.proxy.IsSet());
    }
}

TEST_F(TransportSettingsTest, TheUsersProxyCountsOnlyWhenItIsSwitchedOn)
{
    UseProxy(3128, QStringLiteral("agent"), QStringLiteral("s3cret"));
    TTransportSettings settings = ReadTransportSettings(App({}), *user_, data_);
    EXPECT_EQ(settings.proxy,
        (TINAProxy{QStringLiteral("127.0.0.1"), 3128, QStringLiteral("agent"), QStringLiteral("s3cret")}));

    user_->WriteElement(QStringLiteral("UseProxyServer"), false);
    settings = ConfigureTransport(ina_, App({}), *user_, data_);
    EXPECT_FALSE(settings.proxy.IsSet());
    EXPECT_FALSE(ina_.Proxy().IsSet());
}

TEST_F(TransportSettingsTest, RequestsGoThroughTheUsersProxyWithItsLoginAndDiscoveryHonoursAllowedHosts)
{
    // The discovery answer names a host that is neither the configured
    // server's nor in its domain.
    OrderServerProcess server({QStringLiteral("--advertise-host"), QStringLiteral("orders.test")});
    ASSERT_TRUE(server.IsRunning());
    ForwardingProxy proxy;
    ASSERT_GT(proxy.Port(), 0);
    UseProxy(proxy.Port(), QStringLiteral("agent"), QStringLiteral("s3cret"));
    const QString configured = QStringLiteral("zode.test:%1").arg(server.HttpPort());

    // Without the host in "zode_allowed_hosts" discovery is refused.
    const TTransportSettings strict = ConfigureTransport(ina_, App({}), *user_, data_);
    try {
        Client(strict, configured, false)->CreateSession();
        ADD_FAILURE() << "discovery accepted a foreign host";
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().code, 47);
    }

    const TTransportSettings allowing
        = ConfigureTransport(ina_, App({{"zode_allowed_hosts", QStringLiteral("orders.test")}}), *user_, data_);
    auto protocol = Client(allowing, configured, false);
    protocol->UserLogin(QStringLiteral("demo@example.org"), QStringLiteral("demo"));
    EXPECT_FALSE(protocol->SessionId().isEmpty());

    // The names "zode.test" and "orders.test" resolve nowhere: every request
    // reached the server through the proxy, with the login.
    const QList<QByteArray> heads = proxy.Heads();
    ASSERT_GE(heads.size(), 4);
    EXPECT_TRUE(heads.front().startsWith("POST http://zode.test:")) << heads.front().constData();
    EXPECT_TRUE(heads.back().startsWith("POST http://orders.test:")) << heads.back().constData();
    const QByteArray credentials = "Proxy-Authorization: Basic " + QByteArray("agent:s3cret").toBase64();
    for (const QByteArray& head : heads)
        EXPECT_TRUE(head.contains(credentials)) << head.constData();
    EXPECT_EQ(server.RequestCount(QStringLiteral("login_request")), 1);
}

TEST_F(TransportSettingsTest, TheCaFileOfTheDataFolderIsTrustedAndAMissingOneIsReported)
{
    OrderServerProcess server({QStringLiteral("--tls-port"), QStringLiteral("0")});
    ASSERT_TRUE(server.IsRunning());
    QDir().mkpath(data_ + QStringLiteral("/certs"));
    ASSERT_TRUE(QFile::copy(server.CertificateFile(), data_ + QStringLiteral("/certs/order.pem")));
    const QString secure = QStringLiteral("https://127.0.0.1:%1/zode").arg(server.HttpsPort());
    const QByteArray body = "<countrylist_request/>";

    ConfigureTransport(ina_, App({{"ca_file", QStringLiteral("certs/order.pem")}}), *user_, data_);
    EXPECT_NO_THROW(ina_.SendHTTPRequest(secure, body));

    // A file that is not there: reported, and the certificate trusted before
    // is no longer (only the system's CAs are).
    ConfigureTransport(ina_, App({{"ca_file", QStringLiteral("certs/missing.pem")}}), *user_, data_);
    try {
        ina_.SendHTTPRequest(secure, body);
        ADD_FAILURE() << "an untrusted certificate was accepted";
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().code, 40);
    }
    const QByteArray log = test::ReadFile(TLogger::LogFolder() + QStringLiteral("/Reports.log"));
    EXPECT_TRUE(log.contains("certs/missing.pem\" (setting \"ca_file\") cannot be used")) << log.constData();
}

} // namespace
} // namespace pavlora
