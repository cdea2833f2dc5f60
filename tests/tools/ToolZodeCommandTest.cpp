// pavlora-tool zode against the reference order server.

#include "ToolProcess.h"

#include "support/OrderServerProcess.h"
#include "support/TestSandbox.h"

#include <gtest/gtest.h>

namespace pavlora {
namespace {

using test::OrderServerProcess;
using test::RunTool;

QString PasswordFile(const QByteArray& password)
{
    const QString path = test::MakeFolder(QStringLiteral("secret")) + QStringLiteral("/password");
    test::WriteFile(path, password + '\n');
    return path;
}

QStringList Common(const OrderServerProcess& server)
{
    return {QStringLiteral("zode"), QStringLiteral("--program"), test::BuiltProgramFolder(), QStringLiteral("--server"),
        QStringLiteral("127.0.0.1:%1/zode").arg(server.HttpPort())};
}

TEST(ToolZodeCommandTest, LoginOverHttpsPrintsTheUserButNoSecrets)
{
    OrderServerProcess server({QStringLiteral("--tls-port"), QStringLiteral("0")});
    ASSERT_TRUE(server.IsRunning());
    // A deployment whose XChg.dat names the server and keeps TLS on (no
    // "use_ssl"); no --server, so the tool takes the servers from there. Its
    // AppIni.dat names the server's certificate as "ca_file", relative to
    // the data folder, as the program reads it.
    const QString program = test::MakeFolder(QStringLiteral("deployment"));
    QByteArray xchg = test::XChgText({server.ControllerUrl() + QLatin1Char('|') + server.DtdUrl()}, true);
    xchg.replace(" use_ssl=\"true\"", "");
    test::WriteFile(program + QStringLiteral("/Data/XChg.dat"), xchg);
    test::WriteFile(program + QStringLiteral("/Data/AppIni.dat"), "<ini><ca_file>certs/order.pem</ca_file></ini>");
    test::WriteFile(program + QStringLiteral("/Data/certs/order.pem"), test::ReadFile(server.CertificateFile()));
    QStringList arguments{QStringLiteral("zode"), QStringLiteral("login"), QStringLiteral("--program"), program};
    arguments << QStringLiteral("--login") << QStringLiteral("demo@example.org") << QStringLiteral("--password-file")
              << PasswordFile("demo");
    const test::ToolResult result = RunTool(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.err.constData();
    const QString out = QString::fromUtf8(result.out);
    EXPECT_TRUE(out.contains(QStringLiteral("userId=4711\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("billing.houseNumberPart=12a\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("shipping.firstName=Erika\n")));
    EXPECT_FALSE(out.contains(QStringLiteral("Bello"))); // the security answer
    EXPECT_FALSE(out.contains(QStringLiteral("=demo\n")));
    EXPECT_FALSE(out.contains(QStringLiteral("password"), Qt::CaseInsensitive));
    EXPECT_EQ(server.RequestCount(QStringLiteral("login_request")), 1);
}

TEST(ToolZodeCommandTest, AFailedLoginPrintsTheShortMessageAndExitsOne)
{
    OrderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    QStringList arguments = Common(server);
    arguments.insert(1, QStringLiteral("login"));
    arguments << QStringLiteral("--no-ssl") << QStringLiteral("--login") << QStringLiteral("demo@example.org")
              << QStringLiteral("--password-file") << PasswordFile("wrong");
    const test::ToolResult result = RunTool(arguments);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(result.err).trimmed(),
        QStringLiteral("Login fehlgeschlagen. Bitte überprüfen Sie Ihre Eingaben."));
    EXPECT_TRUE(result.out.isEmpty());
}

TEST(ToolZodeCommandTest, SendWrapsTheRequestAndReportsTheErrorCode)
{
    OrderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    const QString folder = test::MakeFolder(QStringLiteral("requests"));
    test::WriteFile(folder + QStringLiteral("/countries.xml"), "<countrylist_request/>");
    test::WriteFile(
        folder + QStringLiteral("/coupon.xml"), "<couponcheck_request><couponid>NOPE</couponid></couponcheck_request>");

    QStringList arguments = Common(server);
    arguments.insert(1, QStringLiteral("send"));
    arguments << QStringLiteral("--no-ssl");
    const test::ToolResult countries = RunTool(arguments + QStringList{folder + QStringLiteral("/countries.xml")});
    EXPECT_EQ(countries.exitCode, 0) << countries.err.constData();
    EXPECT_TRUE(countries.out.contains("<iso_code>AT</iso_code>"));

    const test::ToolResult coupon = RunTool(arguments + QStringList{folder + QStringLiteral("/coupon.xml")});
    EXPECT_EQ(coupon.exitCode, 1);
    EXPECT_TRUE(coupon.out.contains("<errorcode>70</errorcode>"));
}

TEST(ToolZodeCommandTest, UsageErrors)
{
    EXPECT_EQ(RunTool({QStringLiteral("zode")}).exitCode, 2);
    EXPECT_EQ(
        RunTool({QStringLiteral("zode"), QStringLiteral("login"), QStringLiteral("--login"), QStringLiteral("a@b.de")})
            .exitCode,
        2);
    EXPECT_EQ(RunTool({QStringLiteral("zode"), QStringLiteral("send")}).exitCode, 2);
}

} // namespace
} // namespace pavlora
