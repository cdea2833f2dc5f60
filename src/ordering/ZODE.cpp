#include "ordering/ZODE.h"

#include "ordering/ZODERequests.h"

#include "core/Logger.h"
#include "core/QORException.h"
#include "core/Version.h"

#include <pugixml.hpp>

#include <mutex>

namespace pavlora {
namespace {

constexpr char kDiscoveryContext[] = "ZODE.TXTCI.InitZodeServers";
constexpr char kCreateSessionContext[] = "ZODE.TXTCI.CreateSession";
constexpr char kCloseSessionContext[] = "ZODE.TXTCI.CloseSession";
constexpr char kSendContext[] = "ZODE.TXTCI.SendZODERequest";

bool IsIpAddress(const QString& host)
{
    if (host.contains(QLatin1Char(':')))
        return true;
    for (const QChar c : host) {
        if (c != QLatin1Char('.') && !c.isDigit())
            return false;
    }
    return !host.isEmpty();
}

// The domain a configured host stands for: the host without its first
// label when it has three labels or more, else the host itself.
QString DomainOf(const QString& host)
{
    if (IsIpAddress(host) || host.count(QLatin1Char('.')) < 2)
        return host;
    return host.mid(host.indexOf(QLatin1Char('.')) + 1);
}

bool InDomain(const QString& host, const QString& domain)
{
    return !domain.isEmpty() && (host == domain || host.endsWith(QLatin1Char('.') + domain));
}

} // namespace

TXTCI::TXTCI(TINA& ina, QStringList allowedHosts)
    : ina_(ina)
{
    for (const QString& entry : allowedHosts) {
        for (const QString& host : entry.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString trimmed = host.trimmed().toLower();
            if (!trimmed.isEmpty())
                allowedHosts_.append(trimmed);
        }
    }
}

void TXTCI::Initialize(const pugi::xml_document& xchg)
{
    config_ = std::make_unique<TXTCIProtocolConfig>(
        xchg.document_element(), QLatin1String(kProductName), QLatin1String(kProductVersion));
    std::unique_lock<std::shared_mutex> lock(sessionLock_);
    sessions_.clear();
}

void TXTCI::RequireConfig() const
{
    if (!config_)
        throw EQORException(2, QStringLiteral("protocol not initialised"), QString(), QStringLiteral("ZODE.TXTCI"));
}

TXTCIProtocolConfig& TXTCI::Config()
{
    RequireConfig();
    return *config_;
}

QString TXTCI::Dtd() const
{
    return config_ ? config_->ActiveServer().dtdUrl : QString();
}

bool TXTCI::IsAllowedHost(const QString& host) const
{
    if (host.isEmpty() || !config_)
        return false;
    for (const TXTCIServer& server : config_->InitialServers()) {
        for (const QString& url : {server.controllerUrl, server.dtdUrl}) {
            const QString configured = HostOfUrl(url);
            if (configured.isEmpty())
                continue;
            if (host == configured || (!IsIpAddress(host) && InDomain(host, DomainOf(configured))))
                return true;
        }
    }
    for (const QString& allowed : allowedHosts_) {
        if (host == allowed || (!IsIpAddress(host) && InDomain(host, allowed)))
            return true;
    }
    return false;
}

void TXTCI::CheckDiscoveryHosts(const TXTCIServer& active, const TXTCIServerList& servers) const
{
    TXTCIServerList named = servers;
    named.prepend(active);
    for (const TXTCIServer& server : named) {
        for (const QString& url : {server.controllerUrl, server.dtdUrl}) {
            const QString host = HostOfUrl(url);
            const bool schemeFree = !url.contains(QLatin1String("://"));
            if (!schemeFree || !IsAllowedHost(host)) {
                ReportMessage(QStringLiteral("Server discovery refused: the answer names the server \"%1\", "
                                             "which is not one of the configured order servers.")
                                  .arg(url));
                throw EQORException(
                    47, QStringLiteral("server not allowed: ") + url, QString(), QLatin1String(kDiscoveryContext));
            }
        }
    }
}

void TXTCI::InitZodeServers()
{
    try {
        RequireConfig();
        const TXTCIServerList servers = config_->Servers();
        if (servers.isEmpty())
            throw EQORException(
                47, QStringLiteral("no order server configured"), QString(), QLatin1String(kDiscoveryContext));
        for (qsizetype i = 0; i < servers.size(); ++i) {
            const TXTCIServer& server = servers.at(i);
            const TXTCIRequest request = ZodeRequests::Discovery(
                server.dtdUrl, config_->ClientName(), config_->ClientVersion(), config_->ServerProtocol());
            std::unique_ptr<TXTCIResponse> response;
            try {
                // Discovery is plain HTTP; what it answers is checked below.
                response = SendZODERequest(false, request, true, server.controllerUrl);
            } catch (...) {
                if (i + 1 == servers.size())
                    throw;
                continue;
            }
            response->CheckError();
            const pugi::xml_node content = response->Content();
            const TXTCIServer active{TXTCIProtocolConfig::CutUrl(TXTCIResponse::Text(content, "url")),
                TXTCIProtocolConfig::DtdUrl(TXTCIResponse::Text(content, "dtd_url"))};
            if (active.IsEmpty())
                throw EQORException(47, QStringLiteral("no server in the discovery answer"), QString(),
                    QLatin1String(kDiscoveryContext));
            TXTCIServerList offered;
            for (const pugi::xml_node& entry : content.child("zode_servers").children()) {
                if (entry.type() != pugi::node_element)
                    continue;
                offered.append(TXTCIServer{TXTCIProtocolConfig::CutUrl(TXTCIResponse::Text(entry, "url")),
                    TXTCIProtocolConfig::DtdUrl(TXTCIResponse::Text(entry, "dtd_url"))});
            }
            CheckDiscoveryHosts(active, offered);
            config_->SetActiveServer(active);
            if (!offered.isEmpty())
                config_->SetServers(offered);
            return;
        }
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kDiscoveryContext));
    }
}

QString TXTCI::SessionIdLocked() const
{
    const QString keyAccount = config_ ? config_->CurrentKeyAccount().id : QString();
    for (const TXTCISession& session : sessions_) {
        if (!session.ocsid.isEmpty() && session.keyAccountId == keyAccount)
            return session.ocsid;
    }
    return QString();
}

QString TXTCI::SessionId() const
{
    std::shared_lock<std::shared_mutex> lock(sessionLock_);
    return SessionIdLocked();
}

void TXTCI::StoreSessionLocked(const QString& ocsid)
{
    const QString keyAccount = config_->CurrentKeyAccount().id;
    for (TXTCISession& session : sessions_) {
        if (session.keyAccountId == keyAccount) {
            session.ocsid = ocsid;
            return;
        }
    }
    sessions_.append(TXTCISession{ocsid, keyAccount});
}

void TXTCI::ClearSession()
{
    std::unique_lock<std::shared_mutex> lock(sessionLock_);
    const QString keyAccount = config_ ? config_->CurrentKeyAccount().id : QString();
    for (TXTCISession& session : sessions_) {
        if (session.keyAccountId == keyAccount) {
            session.ocsid.clear();
            session.keyAccountId.clear();
        }
    }
}

void TXTCI::CreateSession()
{
    try {
        RequireConfig();
        {
            std::unique_lock<std::shared_mutex> lock(sessionLock_);
            if (config_->ActiveServer().IsEmpty())
                InitZodeServers();
        }
        std::unique_lock<std::shared_mutex> lock(sessionLock_);
        if (!SessionIdLocked().isEmpty())
            return;
        const TXTCIRequest request = ZodeRequests::Session(Dtd(), config_->CurrentKeyAccount().id,
            config_->ClientName(), config_->ClientVersion(), config_->ClientId(), config_->ServerProtocol());
        const std::unique_ptr<TXTCIResponse> response = SendZODERequest(config_->UseSsl(), request, true);
        response->CheckError();
        const QString ocsid = response->ContentText("ocsid");
        if (ocsid.isEmpty())
            throw EQORException(47, QStringLiteral("no ocsid"), QString(), QLatin1String(kCreateSessionContext));
        StoreSessionLocked(ocsid);
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kCreateSessionContext));
    }
}

void TXTCI::RenewSession(bool dropFirst)
{
    if (dropFirst)
        ClearSession();
    CreateSession();
}

void TXTCI::CloseSession(bool normal)
{
    try {
        RequireConfig();
        const QString ocsid = SessionId();
        if (ocsid.isEmpty())
            return; // nothing to end
        const TXTCIRequest request = ZodeRequests::EndSession(Dtd(), ocsid, normal);
        SendZODERequest(config_->UseSsl(), request, true)->CheckError();
        ClearSession();
    } catch (...) {
        RecordCurrentException(QLatin1String(kCloseSessionContext));
    }
}

std::unique_ptr<TXTCIResponse> TXTCI::SendZODERequest(
    bool useSsl, const TXTCIRequest& request, bool showProgress, const QString& url)
{
    try {
        RequireConfig();
        if (showProgress)
            NotifyProgress(TProgressState::ServerExchange, 0.0F);
        const QByteArray xml = request.Xml();
        ReportProtocol(QString::fromUtf8(MaskProtocolText(xml)));
        const QString target = (useSsl ? QStringLiteral("https://") : QStringLiteral("http://"))
            + (url.isEmpty() ? config_->ActiveServer().controllerUrl : url);
        const QByteArray body = ina_.SendHTTPRequest(target, xml);
        ReportProtocol(QString::fromUtf8(MaskProtocolText(body)));
        std::unique_ptr<TXTCIResponse> response = TXTCIResponse::FromBytes(body);
        if (response->IsServerError()) {
            TQORError error = response->ParseError();
            if (!error.IsError())
                error.code = 118; // an error answer is never a success
            throw EQORException(error);
        }
        return response;
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kSendContext));
    }
}

} // namespace pavlora
