// pavlora-order-server: the reference order server. It speaks the server
// side of the ZODE protocol over HTTP and HTTPS on loopback only, serves
// the demo data and stores finished orders, and injects faults on request.
//
// Usage: pavlora-order-server [--port N] [--tls-port M --cert-out FILE]
//        [--cert FILE --key FILE] [--data DIR] [--orders DIR] [fault options]
// When ready it prints one line "listening http=PORT https=PORT" (https=0
// without TLS); SIGTERM or SIGINT stop it.

#include "OrderServer.h"
#include "ServerCertificate.h"

#include <httplib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <iostream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace pavlora::orderserver;

namespace {

constexpr int kDefaultPort = 18470;
constexpr char kLoopback[] = "127.0.0.1";

const char kUsage[] = R"(Usage: pavlora-order-server [OPTIONS]

The reference order server: the server side of the ZODE protocol on 127.0.0.1.

  --port N                 HTTP port (default 18470; 0 picks a free port)
  --tls-port M             also serve HTTPS on M (0 picks a free port); the
                           discovery answer then points the client there
  --cert-out FILE          write the certificate the client must trust
  --cert FILE --key FILE   use this certificate and key (PEM) instead of a
                           new self-signed one for 127.0.0.1 and localhost
  --data DIR               demo data: server.xml and the price lists
                           (default: OrderServerData beside the program)
  --orders DIR             where finished orders are written
                           (default: $XDG_STATE_HOME/pavlora-order-server/orders)
  --advertise-host HOST    the host the discovery answer names (default 127.0.0.1)
Fault injection:
  --fail REQUEST=CODE[:COUNT]     answer REQUEST with the error code CODE
  --drop REQUEST[:COUNT]          close the connection without answering REQUEST
  --delay REQUEST=MS              wait MS before answering (REQUEST may be
                                  "upload" or "*")
  --drop-upload-after N[:COUNT]   close an upload after N bytes of its file
  --redirect REQUEST[:COUNT]=URL  answer REQUEST with a redirect (307) to URL
  --upload-url URL                hand out URL as "uplurl" of every upload slot
                                  ("{http}" and "{https}" in URL stand for the
                                  server's ports)
  COUNT limits a fault to the first COUNT requests (default: every one).
  --die-with-parent               stop when the starting process ends
  --accept-any-upload             read and drop uploads that belong to no
                                  order (upload benchmarks)

When ready it prints "listening http=PORT https=PORT".
)";

[[noreturn]] void Usage(const std::string& message)
{
    std::cerr << "pavlora-order-server: " << message << "\n" << kUsage;
    std::exit(2);
}

int ParseInt(const std::string& text, const std::string& option)
{
    try {
        std::size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size() && value >= 0)
            return value;
    } catch (const std::exception&) {
    }
    Usage(option + " needs a non-negative number: " + text);
}

// "VALUE[:COUNT]" -> value and count (-1 = every time).
std::pair<std::string, int> SplitCount(const std::string& text, const std::string& option)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos)
        return {text, -1};
    return {text.substr(0, colon), ParseInt(text.substr(colon + 1), option)};
}

std::pair<std::string, std::string> SplitAssignment(const std::string& text, const std::string& option)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        Usage(option + " needs REQUEST=VALUE: " + text);
    return {text.substr(0, equals), text.substr(equals + 1)};
}

fs::path ProgramFolder()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path() : self.parent_path();
}

fs::path DefaultOrdersFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    const fs::path base = state && *state ? fs::path(state)
        : home && *home                   ? fs::path(home) / ".local" / "state"
                                          : fs::temp_directory_path();
    return base / "pavlora-order-server" / "orders";
}

int Bind(httplib::Server& server, int port)
{
    // Answers leave at once: without it a small TLS record of the answer
    // waits for the client's delayed acknowledgement.
    server.set_socket_options([](socket_t socket) {
        httplib::default_socket_options(socket);
        int on = 1;
        ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    });
    if (port == 0)
        return server.bind_to_any_port(kLoopback);
    return server.bind_to_port(kLoopback, port) ? port : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    int port = kDefaultPort;
    int tlsPort = -1;
    std::string certOut;
    std::string certFile;
    std::string keyFile;
    bool dieWithParent = false;
    TServerOptions options;
    options.dataFolder = ProgramFolder() / "OrderServerData";
    options.ordersFolder = DefaultOrdersFolder();

    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                Usage(option + " needs a value");
            return argv[++i];
        };
        if (option == "--help" || option == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (option == "--port") {
            port = ParseInt(value(), option);
        } else if (option == "--tls-port") {
            tlsPort = ParseInt(value(), option);
        } else if (option == "--cert-out") {
            certOut = value();
        } else if (option == "--cert") {
            certFile = value();
        } else if (option == "--key") {
            keyFile = value();
        } else if (option == "--data") {
            options.dataFolder = value();
        } else if (option == "--orders") {
            options.ordersFolder = value();
        } else if (option == "--advertise-host") {
            options.advertisedHost = value();
        } else if (option == "--fail") {
            const auto [request, rest] = SplitAssignment(value(), option);
            const auto [code, count] = SplitCount(rest, option);
            options.faults.answers[request] = TFaults::Answer{code, TFaults::Count{count}};
        } else if (option == "--drop") {
            const auto [request, count] = SplitCount(value(), option);
            options.faults.drops[request] = TFaults::Count{count};
        } else if (option == "--delay") {
            const auto [request, ms] = SplitAssignment(value(), option);
            options.faults.delaysMs[request] = ParseInt(ms, option);
        } else if (option == "--drop-upload-after") {
            const auto [bytes, count] = SplitCount(value(), option);
            options.faults.uploadDrop = TFaults::Drop{ParseInt(bytes, option), TFaults::Count{count}};
        } else if (option == "--redirect") {
            const auto [requestCount, location] = SplitAssignment(value(), option);
            const auto [request, count] = SplitCount(requestCount, option);
            options.faults.redirects[request] = TFaults::Redirect{location, TFaults::Count{count}};
        } else if (option == "--upload-url") {
            options.faults.uploadUrl = value();
        } else if (option == "--accept-any-upload") {
            options.acceptAnyUpload = true;
        } else if (option == "--die-with-parent") {
            dieWithParent = true;
        } else {
            Usage("unknown option " + option);
        }
    }
    if (certFile.empty() != keyFile.empty())
        Usage("--cert and --key go together");
    if (port > 65535 || tlsPort > 65535)
        Usage("a port is at most 65535");

    if (dieWithParent) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() == 1)
            return 0;
    }

    // Signals are taken by sigwait below; the server threads must not get them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        TOrderServer orderServer(options);
        orderServer.Load();

        httplib::Server http;
        std::unique_ptr<httplib::SSLServer> https;
        if (tlsPort >= 0) {
            TServerCertificate certificate = certFile.empty()
                ? TServerCertificate::SelfSigned({"127.0.0.1"}, {"localhost"})
                : TServerCertificate::Load(certFile, keyFile);
            if (!certOut.empty())
                certificate.WriteCertificate(certOut);
            https = std::make_unique<httplib::SSLServer>(certificate.Certificate(), certificate.Key());
            if (!https->is_valid())
                throw std::runtime_error("the TLS server cannot use the certificate");
        }
        orderServer.Register(http, false);
        const int httpPort = Bind(http, port);
        if (httpPort <= 0)
            throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
        int httpsPort = 0;
        if (https) {
            orderServer.Register(*https, true);
            httpsPort = Bind(*https, tlsPort);
            if (httpsPort <= 0)
                throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(tlsPort));
        }
        orderServer.SetPorts(httpPort, httpsPort);

        std::thread httpThread([&] { http.listen_after_bind(); });
        std::thread httpsThread;
        if (https)
            httpsThread = std::thread([&] { https->listen_after_bind(); });
        // The sockets listen since they were bound: connections wait in
        // their backlog until the threads accept them.
        std::printf("listening http=%d https=%d\n", httpPort, httpsPort);
        std::fflush(stdout);

        int received = 0;
        sigwait(&stopSignals, &received);
        orderServer.Stop();
        http.stop();
        if (https)
            https->stop();
        // A connection a client keeps open holds its worker until the
        // keep-alive time-out; no answer is owed on it, so the server does
        // not wait that long.
        std::promise<void> joined;
        std::thread joiner([&] {
            httpThread.join();
            if (httpsThread.joinable())
                httpsThread.join();
            joined.set_value();
        });
        if (joined.get_future().wait_for(std::chrono::seconds(1)) != std::future_status::ready) {
            std::fflush(stdout);
            std::_Exit(0);
        }
        joiner.join();
    } catch (const std::exception& error) {
        std::cerr << "pavlora-order-server: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
