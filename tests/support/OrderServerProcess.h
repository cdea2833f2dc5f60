#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace pavlora::test {

// The reference order server as a child process on free loopback ports.
// Started by the constructor (which waits for its readiness line) and
// always stopped by the destructor, also when a test fails. Extra
// arguments go to the server (fault injection, --tls-port 0, --data).
class OrderServerProcess {
public:
    explicit OrderServerProcess(const QStringList& arguments = {});
    ~OrderServerProcess();
    OrderServerProcess(const OrderServerProcess&) = delete;
    OrderServerProcess& operator=(const OrderServerProcess&) = delete;

    bool IsRunning() const { return httpPort_ > 0; }
    int HttpPort() const { return httpPort_; }
    int HttpsPort() const { return httpsPort_; }
    // The certificate the server wrote for the client to trust (with TLS).
    QString CertificateFile() const { return certificate_; }
    QString OrdersFolder() const { return orders_; }
    // "127.0.0.1:PORT/zode" and "127.0.0.1:PORT/dtd" of the HTTP port, as
    // "XChg.dat" writes them.
    QString ControllerUrl() const;
    QString DtdUrl() const;

    // Every line the server printed since it was ready ("request NAME",
    // "order ID"), reading what is waiting now.
    QStringList Lines();
    // How many requests of `name` reached the server so far.
    int RequestCount(const QString& name);

private:
    QProcess process_;
    int httpPort_ = 0;
    int httpsPort_ = 0;
    QString certificate_;
    QString orders_;
    QStringList lines_;
    QByteArray pending_;
};

// A minimal "XChg.dat" document text with one key account "1001" (groups
// "Prints" and "Books") and the given servers, each "CONTROLLER|DTD".
QByteArray XChgText(const QStringList& servers, bool useSsl);

} // namespace pavlora::test
