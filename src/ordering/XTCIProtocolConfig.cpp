#include "ordering/XTCIProtocolConfig.h"

#include "core/DebugConfig.h"
#include "core/QORException.h"

#include <pugixml.hpp>

namespace pavlora {
namespace {

constexpr char kContext[] = "ZODE.TXTCIProtocolConfig.Create";

bool SameName(const char* name, const char* expected)
{
    return QString::fromUtf8(name).compare(QLatin1String(expected), Qt::CaseInsensitive) == 0;
}

QString Attribute(const pugi::xml_node& node, const char* name)
{
    return QString::fromUtf8(node.attribute(name).value());
}

// The first child of `node` named `name` without regard to case.
pugi::xml_node Child(const pugi::xml_node& node, const char* name)
{
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_element && SameName(child.name(), name))
            return child;
    }
    return {};
}

} // namespace

QString TXTCIProtocolConfig::CutUrl(const QString& url)
{
    return url.left(kMaxServerUrlLength);
}

QString TXTCIProtocolConfig::DtdUrl(const QString& url)
{
    return CutUrl(url) + QLatin1Char('/');
}

TXTCIProtocolConfig::TXTCIProtocolConfig(const pugi::xml_node& root, QString clientName, QString clientVersion)
    : clientName_(std::move(clientName))
    , clientVersion_(std::move(clientVersion))
{
    pugi::xml_node config;
    for (const pugi::xml_node& child : root.children()) {
        if (child.type() == pugi::node_element && SameName(child.name(), "protocol_config")
            && Attribute(child, "type").compare(QLatin1String("zode"), Qt::CaseInsensitive) == 0) {
            config = child;
            break;
        }
    }
    if (!config)
        throw EQORException(2, QStringLiteral("no ZODE protocol configuration"), QString(), QLatin1String(kContext));

    serverProtocol_ = Attribute(config, "version");
    bool ok = false;
    clientId_ = Attribute(config, "client_id").trimmed().toInt(&ok);
    if (!ok)
        clientId_ = 0;

    const pugi::xml_node servers = Child(config, "servers");
    useSsl_ = ParseBooleanText(Attribute(servers, "use_ssl"), true);
    for (const pugi::xml_node& server : servers.children()) {
        if (server.type() != pugi::node_element || !SameName(server.name(), "server"))
            continue;
        initialServers_.append(
            TXTCIServer{CutUrl(Attribute(server, "controller_url")), DtdUrl(Attribute(server, "dtd_url"))});
    }
    servers_ = initialServers_;

    const pugi::xml_node keyAccounts = Child(config, "keyaccounts");
    if (keyAccounts.attribute("master_key_account_id")) {
        masterKeyAccountId_ = Attribute(keyAccounts, "master_key_account_id").trimmed().toInt(&ok);
        if (!ok)
            masterKeyAccountId_ = -1;
    }
    for (const pugi::xml_node& ka : keyAccounts.children()) {
        if (ka.type() != pugi::node_element || !SameName(ka.name(), "ka"))
            continue;
        TXTCIKeyAccount account;
        account.id = Attribute(ka, "id");
        account.groupIds = Attribute(ka, "groupids").split(QLatin1Char('|'), Qt::SkipEmptyParts);
        account.maxOrderItems = Attribute(ka, "maxorderitems").trimmed().toInt(&ok);
        if (!ok)
            throw EQORException(2,
                QStringLiteral("'%1' is not a valid integer value").arg(Attribute(ka, "maxorderitems")),
                QStringLiteral("maxorderitems"), QLatin1String(kContext));
        keyAccounts_.append(account);
    }
    if (!keyAccounts_.isEmpty())
        currentKeyAccount_ = keyAccounts_.front();
}

TXTCIServerList TXTCIProtocolConfig::Servers() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return servers_;
}

void TXTCIProtocolConfig::SetServers(const TXTCIServerList& servers)
{
    std::lock_guard<std::mutex> lock(mutex_);
    servers_ = servers;
}

TXTCIServer TXTCIProtocolConfig::ActiveServer() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return activeServer_;
}

void TXTCIProtocolConfig::SetActiveServer(const TXTCIServer& server)
{
    std::lock_guard<std::mutex> lock(mutex_);
    activeServer_ = server;
}

TXTCIKeyAccount TXTCIProtocolConfig::CurrentKeyAccount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return currentKeyAccount_;
}

void TXTCIProtocolConfig::SelectKeyAccount(const QString& id)
{
    for (const TXTCIKeyAccount& account : keyAccounts_) {
        if (account.id == id) {
            std::lock_guard<std::mutex> lock(mutex_);
            currentKeyAccount_ = account;
            return;
        }
    }
}

QString TXTCIProtocolConfig::KeyAccountIdForGroup(const QString& groupId) const
{
    TXTCIKeyAccount account;
    return KeyAccountForGroup(groupId, account) ? account.id : QString();
}

bool TXTCIProtocolConfig::KeyAccountForGroup(const QString& groupId, TXTCIKeyAccount& account) const
{
    for (const TXTCIKeyAccount& candidate : keyAccounts_) {
        if (candidate.groupIds.contains(groupId, Qt::CaseInsensitive)) {
            account = candidate;
            return true;
        }
    }
    return false;
}

} // namespace pavlora
