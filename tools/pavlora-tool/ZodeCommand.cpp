// pavlora-tool zode login [--program DIR] [--server HOST:PORT[/PATH]] [--no-ssl] [--ca FILE]
//                         --login EMAIL --password-file F
// pavlora-tool zode send [same options, without --login/--password-file] REQUEST.xml
// Talks to the order server the way the program does: discovery, a fresh
// session, then the login and user data, or one free-form request.

#include "ToolCommand.h"

#include "core/AppFolders.h"
#include "core/AppSettingsLoader.h"
#include "core/DebugConfig.h"
#include "core/Logger.h"
#include "core/QORException.h"
#include "core/RegConfiguration.h"
#include "core/XMLUtils2.h"
#include "ordering/INA.h"
#include "ordering/TransportSettings.h"
#include "ordering/XTCIDocuments.h"
#include "ordering/ZODE.h"
#include "ordering/ZODERequests.h"

#include <QDir>
#include <QFile>

#include <pugixml.hpp>

namespace pavlora::tool {
namespace {

constexpr char kUsage[]
    = "Usage: pavlora-tool zode login [--program DIR] [--server HOST:PORT[/PATH]] [--no-ssl] [--ca FILE]\n"
      "                               --login EMAIL --password-file F\n"
      "       pavlora-tool zode send [--program DIR] [--server HOST:PORT[/PATH]] [--no-ssl] [--ca FILE] "
      "REQUEST.xml\n\n"
      "login: finds the order server, opens a session, logs in and prints the user record as name=value\n"
      "lines (never the password or the security answer).\n"
      "send: sends the root element of REQUEST.xml and its children in a fresh session (the envelope and\n"
      "\"ocsid\" are added) and prints the answer; exit 1 when its errorcode is not \"0\".\n\n"
      "--server names the order server's controller URL without scheme, as XChg.dat writes it; otherwise\n"
      "the servers of the deployment's XChg.dat are used. --no-ssl talks plain HTTP after discovery.\n"
      "The transport is set up as the program does it: the user's proxy, \"ca_file\", \"zode_allowed_hosts\"\n"
      "and the time-outs of the settings; --ca trusts one more PEM file.";

// The deployment's XChg.dat (in any stored variant) with the command line's
// changes.
bool LoadXChg(const QString& dataFolder, const QString& server, bool noSsl, TXMLDocumentPtr& loaded, QString& failure)
{
    const QString path = QDir(dataFolder).filePath(QStringLiteral("XChg.dat"));
    try {
        loaded = ReadXMLDocument(path);
    } catch (const std::exception&) {
        failure = QStringLiteral("could not read from Xchg.dat: ") + path;
        return false;
    }
    pugi::xml_document& document = *loaded;
    pugi::xml_node config;
    for (pugi::xml_node child : document.document_element().children()) {
        if (QString::fromUtf8(child.name()).compare(QLatin1String("protocol_config"), Qt::CaseInsensitive) == 0) {
            config = child;
            break;
        }
    }
    if (!config) {
        failure = QStringLiteral("Xchg.dat has no protocol configuration");
        return false;
    }
    pugi::xml_node servers = config.child("servers");
    if (!servers)
        servers = config.prepend_child("servers");
    if (noSsl) {
        servers.remove_attribute("use_ssl");
        servers.append_attribute("use_ssl") = "false";
    }
    if (!server.isEmpty()) {
        while (pugi::xml_node child = servers.first_child())
            servers.remove_child(child);
        const qsizetype slash = server.indexOf(QLatin1Char('/'));
        const QString hostPort = slash < 0 ? server : server.left(slash);
        const QString controller = slash < 0 ? server + QStringLiteral("/zode") : server;
        pugi::xml_node entry = servers.append_child("server");
        entry.append_attribute("controller_url") = controller.toUtf8().constData();
        entry.append_attribute("dtd_url") = (hostPort + QStringLiteral("/dtd")).toUtf8().constData();
    }
    return true;
}

void PrintUser(const TQORUser& user)
{
    const auto line = [](const QString& name, const QString& value) { PrintOut(name + QLatin1Char('=') + value); };
    const auto flag = [](bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); };
    line(QStringLiteral("userId"), user.userId);
    line(QStringLiteral("email"), user.email);
    line(QStringLiteral("securityQuestion"), user.securityQuestion);
    line(QStringLiteral("acceptNewsletter"), flag(user.acceptNewsletter));
    line(QStringLiteral("customerCard"), user.customerCard);
    line(QStringLiteral("imei"), user.imei);
    line(QStringLiteral("favoriteStoreId"), user.favoriteStoreId);
    line(QStringLiteral("loggedIn"), flag(user.loggedIn));
    for (qsizetype i = 0; i < user.addresses.size(); ++i) {
        const TQORUserAddress& address = user.addresses.at(i);
        const QString prefix = i == 0 ? QStringLiteral("billing.") : QStringLiteral("shipping.");
        const std::pair<const char*, QString> fields[]
            = {{"salutation", address.salutation}, {"title", address.title}, {"firstName", address.firstName},
                {"lastName", address.lastName}, {"company", address.company}, {"street", address.street},
                {"streetPart", address.streetPart}, {"houseNumberPart", address.houseNumberPart}, {"zip", address.zip},
                {"city", address.city}, {"cityPart", address.cityPart}, {"country", address.country},
                {"countryIsoCode", address.countryIsoCode}, {"email", address.email}, {"phone", address.phone},
                {"cellPhone", address.cellPhone}, {"fax", address.fax}, {"stateProvince", address.stateProvince}};
        for (const auto& [name, value] : fields)
            line(prefix + QLatin1String(name), value);
    }
}

} // namespace

int RunZodeCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption program(
        QStringLiteral("program"), QStringLiteral("The program folder (its Data/XChg.dat)."), QStringLiteral("DIR"));
    const QCommandLineOption server(QStringLiteral("server"),
        QStringLiteral("The controller URL, HOST:PORT[/PATH], without scheme."), QStringLiteral("URL"));
    const QCommandLineOption noSsl(QStringLiteral("no-ssl"), QStringLiteral("Plain HTTP after discovery."));
    const QCommandLineOption ca(
        QStringLiteral("ca"), QStringLiteral("A PEM file of certificates to trust as well."), QStringLiteral("FILE"));
    const QCommandLineOption login(
        QStringLiteral("login"), QStringLiteral("The e-mail address."), QStringLiteral("EMAIL"));
    const QCommandLineOption passwordFile(
        QStringLiteral("password-file"), QStringLiteral("A file holding the password."), QStringLiteral("F"));
    parser.addOptions({program, server, noSsl, ca, login, passwordFile});
    parser.addPositionalArgument(QStringLiteral("ACTION"), QStringLiteral("login or send"));
    const int parsed = ParseCommandLine(parser, arguments, QLatin1String(kUsage));
    if (parsed >= 0)
        return parsed;

    const QStringList positional = parser.positionalArguments();
    const QString action = positional.value(0);
    if (action == QLatin1String("login")) {
        if (positional.size() != 1 || !parser.isSet(login) || !parser.isSet(passwordFile))
            return UsageError(QStringLiteral("zode login needs --login and --password-file"), QStringLiteral("zode"));
    } else if (action == QLatin1String("send")) {
        if (positional.size() != 2)
            return UsageError(QStringLiteral("zode send needs one REQUEST.xml"), QStringLiteral("zode"));
    } else {
        return UsageError(QStringLiteral("zode needs the action login or send"), QStringLiteral("zode"));
    }

    if (parser.isSet(program))
        AppFolders::SetProgramFolder(parser.value(program));
    ReadDebugConfig(AppFolders::ProgramFolder());
    TLoadedAppSettings loaded;
    if (!LoadToolAppSettings(loaded))
        return kExitFailure;

    TXMLDocumentPtr xchg;
    QString failure;
    if (!LoadXChg(loaded.dataFolder, parser.value(server), parser.isSet(noSsl), xchg, failure)) {
        PrintError(failure);
        return kExitFailure;
    }

    try {
        TINA& ina = TINA::Instance();
        // The user's settings as the program reads them (no version written).
        const TRegConfiguration userSettings(loaded.settings.Text(QStringLiteral("regmainkey")), QString(),
            loaded.settings.Text(QStringLiteral("regacckey")));
        const TTransportSettings transport = ConfigureTransport(ina, loaded.settings, userSettings, loaded.dataFolder);
        if (parser.isSet(ca))
            ina.SetCaFile(parser.value(ca));
        TXTCI protocol(ina, transport.allowedHosts);
        protocol.Initialize(*xchg);

        if (action == QLatin1String("login")) {
            QFile file(parser.value(passwordFile));
            if (!file.open(QIODevice::ReadOnly)) {
                PrintError(QStringLiteral("cannot read the password file: ") + file.errorString());
                return kExitFailure;
            }
            QString password = QString::fromUtf8(file.read(4096));
            while (password.endsWith(QLatin1Char('\n')) || password.endsWith(QLatin1Char('\r')))
                password.chop(1);
            TQORUser user;
            user.email = parser.value(login);
            protocol.UserLogin(user.email, password);
            protocol.GetUserData(user);
            user.loggedIn = true;
            PrintUser(user);
            protocol.CloseSession(true);
            return kExitSuccess;
        }

        pugi::xml_document source;
        const QString requestPath = positional.at(1);
        if (!source.load_file(QFile::encodeName(requestPath).constData()) || !source.document_element()) {
            PrintError(QStringLiteral("cannot read the request ") + requestPath);
            return kExitFailure;
        }
        protocol.RenewSession(true);
        const TXTCIRequest request
            = ZodeRequests::Custom(protocol.Dtd(), protocol.SessionId(), source.document_element());
        const QByteArray xml = request.Xml();
        ReportProtocol(QString::fromUtf8(MaskProtocolText(xml)));
        const QString target = (protocol.Config().UseSsl() ? QStringLiteral("https://") : QStringLiteral("http://"))
            + protocol.Config().ActiveServer().controllerUrl;
        const QByteArray body = ina.SendHTTPRequest(target, xml);
        ReportProtocol(QString::fromUtf8(MaskProtocolText(body)));
        PrintOut(QString::fromUtf8(body).trimmed());
        const auto response = TXTCIResponse::FromBytes(body);
        protocol.CloseSession(true);
        return TXTCIResponse::Text(response->Head(), "errorcode") == QLatin1String("0") ? kExitSuccess : kExitFailure;
    } catch (const EQORException& error) {
        PrintError(error.Error().Message());
        return kExitFailure;
    } catch (const std::exception& error) {
        PrintError(ErrorFromException(error, QStringLiteral("pavlora-tool.zode")).Message());
        return kExitFailure;
    }
}

} // namespace pavlora::tool
