#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <mutex>

namespace pugi {
class xml_node;
} // namespace pugi

namespace pavlora {

// One order server: controller URL and DTD URL, both without scheme; the
// DTD URL ends with "/".
struct TXTCIServer {
    QString controllerUrl;
    QString dtdUrl;
    bool IsEmpty() const { return controllerUrl.isEmpty(); }
    friend bool operator==(const TXTCIServer&, const TXTCIServer&) = default;
};
using TXTCIServerList = QList<TXTCIServer>;

struct TXTCIKeyAccount {
    QString id;
    QStringList groupIds;
    int maxOrderItems = 0;
    friend bool operator==(const TXTCIKeyAccount&, const TXTCIKeyAccount&) = default;
};
using TXTCIKeyAccountList = QList<TXTCIKeyAccount>;

// Longest URL kept from the configuration or a discovery answer.
inline constexpr int kMaxServerUrlLength = 255;

// The protocol configuration of "XChg.dat" ("protocol_config" of type
// "zode") with the state that changes during a run: the active server found
// by discovery, the server list it replaces and the current key account.
//
// Thread contract: read by the order workers and the UI thread; the
// changing parts are guarded by an internal lock and handed out as copies.
// The lock is never held while anything else is called.
class TXTCIProtocolConfig {
public:
    // Reads the first "protocol_config" child of `root` whose "type" is
    // "zode" (names and the type without regard to case). Raises
    // EQORException for a missing or non-numeric "maxorderitems" and for a
    // document without such a configuration.
    TXTCIProtocolConfig(const pugi::xml_node& root, QString clientName, QString clientVersion);

    QString ClientName() const { return clientName_; }
    QString ClientVersion() const { return clientVersion_; }
    QString ServerProtocol() const { return serverProtocol_; }
    int ClientId() const { return clientId_; }
    bool UseSsl() const { return useSsl_; }
    int MasterKeyAccountId() const { return masterKeyAccountId_; }
    TXTCIKeyAccountList KeyAccounts() const { return keyAccounts_; }
    // The servers of XChg.dat as read, whatever discovery did since.
    TXTCIServerList InitialServers() const { return initialServers_; }

    TXTCIServerList Servers() const;
    void SetServers(const TXTCIServerList& servers);
    // Empty until discovery has run.
    TXTCIServer ActiveServer() const;
    void SetActiveServer(const TXTCIServer& server);

    TXTCIKeyAccount CurrentKeyAccount() const;
    // Makes the first key account with exactly `id` current; no change
    // when there is none.
    void SelectKeyAccount(const QString& id);
    // Id of the first key account whose group ids hold `groupId` (without
    // regard to case); empty when none.
    QString KeyAccountIdForGroup(const QString& groupId) const;
    // That whole key account; `account` is left unchanged when none.
    bool KeyAccountForGroup(const QString& groupId, TXTCIKeyAccount& account) const;

    // A URL cut to kMaxServerUrlLength; a DTD URL also gets its "/".
    static QString CutUrl(const QString& url);
    static QString DtdUrl(const QString& url);

private:
    QString clientName_;
    QString clientVersion_;
    QString serverProtocol_;
    int clientId_ = 0;
    bool useSsl_ = true;
    int masterKeyAccountId_ = -1;
    TXTCIKeyAccountList keyAccounts_;
    TXTCIServerList initialServers_;

    mutable std::mutex mutex_;
    TXTCIServerList servers_;
    TXTCIServer activeServer_;
    TXTCIKeyAccount currentKeyAccount_;
};

} // namespace pavlora
