#include "support/OrderServerProcess.h"

#include "support/TestSandbox.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QUuid>

#include <gtest/gtest.h>

namespace pavlora::test {

OrderServerProcess::OrderServerProcess(const QStringList& arguments)
{
    const QString folder = MakeFolder(QStringLiteral("order-server-") + QUuid::createUuid().toString(QUuid::Id128));
    orders_ = folder + QStringLiteral("/orders");
    QStringList all{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--orders"), orders_,
        QStringLiteral("--die-with-parent")};
    if (arguments.contains(QStringLiteral("--tls-port"))) {
        certificate_ = folder + QStringLiteral("/server-ca.pem");
        all << QStringLiteral("--cert-out") << certificate_;
    }
    all << arguments;
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(BuiltProgramFolder() + QStringLiteral("/pavlora-order-server"), all);
    if (!process_.waitForStarted(10000)) {
        ADD_FAILURE() << "the order server did not start: " << process_.errorString().toStdString();
        return;
    }
    static const QRegularExpression ready(QStringLiteral("^listening http=(\\d+) https=(\\d+)$"));
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        if (process_.canReadLine()) {
            const QString line = QString::fromUtf8(process_.readLine()).trimmed();
            const QRegularExpressionMatch match = ready.match(line);
            if (match.hasMatch()) {
                httpPort_ = match.captured(1).toInt();
                httpsPort_ = match.captured(2).toInt();
                return;
            }
            continue;
        }
        if (process_.state() == QProcess::NotRunning)
            break;
        process_.waitForReadyRead(100);
    }
    ADD_FAILURE() << "the order server did not get ready";
}

OrderServerProcess::~OrderServerProcess()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString OrderServerProcess::ControllerUrl() const
{
    return QStringLiteral("127.0.0.1:%1/zode").arg(httpPort_);
}

QString OrderServerProcess::DtdUrl() const
{
    return QStringLiteral("127.0.0.1:%1/dtd").arg(httpPort_);
}

QStringList OrderServerProcess::Lines()
{
    // The server prints a request's line before it answers, so everything
    // up to the last answer is already in the pipe.
    while (process_.waitForReadyRead(20))
        ;
    pending_ += process_.readAllStandardOutput();
    qsizetype end = 0;
    while ((end = pending_.indexOf('\n')) >= 0) {
        lines_.append(QString::fromUtf8(pending_.left(end)).trimmed());
        pending_.remove(0, end + 1);
    }
    return lines_;
}

int OrderServerProcess::RequestCount(const QString& name)
{
    return static_cast<int>(Lines().count(QStringLiteral("request ") + name));
}

QByteArray XChgText(const QStringList& servers, bool useSsl)
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xchg_data>\n"
                      "  <protocol_config type=\"zode\" version=\"2.0\" client_id=\"7\">\n"
                      "    <servers use_ssl=\"";
    text += useSsl ? "true" : "false";
    text += "\">\n";
    for (const QString& server : servers) {
        const QStringList parts = server.split(QLatin1Char('|'));
        text += "      <server controller_url=\"" + parts.value(0).toUtf8() + "\" dtd_url=\"" + parts.value(1).toUtf8()
            + "\"/>\n";
    }
    text += "    </servers>\n"
            "    <keyaccounts master_key_account_id=\"1\">\n"
            "      <ka id=\"1001\" groupids=\"Prints|Books\" maxorderitems=\"100\"/>\n"
            "    </keyaccounts>\n"
            "  </protocol_config>\n</xchg_data>\n";
    return text;
}

} // namespace pavlora::test
