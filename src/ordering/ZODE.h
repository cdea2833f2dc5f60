#pragma once

#include "ordering/INA.h"
#include "ordering/Protocol.h"
#include "ordering/QORRecords.h"
#include "ordering/XTCIArticleModels.h"
#include "ordering/XTCIDocuments.h"
#include "ordering/XTCIProtocolConfig.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <shared_mutex>

namespace pavlora {

// One live session: the server's session id for a key account.
struct TXTCISession {
    QString ocsid;
    QString keyAccountId;
};
using TXTCISessionList = QList<TXTCISession>;

// One upload slot the server hands out ("uploadctrl_request").
struct TXTCIUploadSlot {
    QString uploadId;
    QString uploadUrl;
    QString fileName;
    std::int64_t submittedBytes = 0;
    std::int64_t totalBytes = 0;
};

// The answer to a disc order declared online.
struct TXTCICDOrderAnswer {
    QStringList orderFileLines;
    QString paymentNumber;
    QString orderNumber;
};

// The ZODE protocol: server discovery, sessions per key account, the
// request envelope with its error head, and the messages.
//
// Thread contract: the operations run on the order interface's workers,
// several at once. The session table and the discovery step are guarded by
// one multi-reader/single-writer lock; every helper that runs while it is
// held uses the table directly, so the lock never waits for itself. XML
// requests are serialised by TINA's request lock.
class TXTCI : public TProtocol {
public:
    // `allowedHosts`: the setting "zode_allowed_hosts", hosts a discovery
    // answer may name besides the configured servers' hosts and domains.
    explicit TXTCI(TINA& ina = TINA::Instance(), QStringList allowedHosts = {});

    void Initialize(const pugi::xml_document& xchg) override;
    TXTCIProtocolConfig& Config();
    TINA& Ina() { return ina_; }

    // ---- Transport and session (ZODE.cpp) ----
    void InitZodeServers();
    void CreateSession() override;
    void RenewSession(bool dropFirst) override;
    void CloseSession(bool normal) override;
    QString SessionId() const;
    // Posts `request` to "https://" (use SSL) or "http://" + `url` (the
    // active controller URL when empty) and returns the parsed answer; a
    // "server_error" answer is raised.
    std::unique_ptr<TXTCIResponse> SendZODERequest(
        bool useSsl, const TXTCIRequest& request, bool showProgress, const QString& url = QString());
    // The DTD URL of the active server, for the request builders.
    QString Dtd() const;
    // Whether a discovery answer may name `host`.
    bool IsAllowedHost(const QString& host) const;

    // ---- Messages (ZODEMessages.cpp) ----
    void UserLogin(const QString& login, const QString& password) override;
    void UserRegistration(const TQORUser& user) override;
    void GetUserData(TQORUser& user) override;
    void UpdateUserData(const TQORUser& user) override;
    void GetCountryList(TQORCountryList& list) override;
    void GetPickupStoreList(TQORPickupStoreList& list, const QString& zip, const QString& city) override;
    void GetPaymentInfoList(TQORPaymentInfoList& list) override;
    void GetCreditCardTypeList(TQORCreditCardTypeList& list) override;
    void CheckCoupon(TQORCoupon& coupon) override;
    void GetUserSecurityQuestion(TQORUser& user) override;
    void RequestNewUserPassword(const QString& login, const QString& answer) override;
    // The next file of the order declared in session `ocsid`; nothing when
    // the server has no file left (server errorcode "53").
    std::optional<TXTCIUploadSlot> RequestUploadSlot(const QString& ocsid);
    // "orderfinish_request": the order number becomes the order's.
    void OrderFinish(TQOROrder& order);
    // Reads the answer of "cdorderdeclaration_request".
    static TXTCICDOrderAnswer ReadCDOrderAnswer(const TXTCIResponse& response);

    // Builds the coupon article of a checked coupon (MakeCouponArticle
    // unless set); without one a coupon keeps only its entries and value.
    using CouponArticleFactory = std::function<std::shared_ptr<TXTCIArticle>(const QList<TQORCouponEntry>&)>;
    void SetCouponArticleFactory(CouponArticleFactory factory) { couponArticleFactory_ = std::move(factory); }

    // ---- Price lists (ZODEPrices.cpp) ----
    // Downloads the transfer and article lists of the current key account,
    // or of every key account in turn (the current one is restored). Both
    // lists of a key account are checked to be price lists before either
    // replaces its stored file, and each file is replaced atomically, so a
    // failed or broken download leaves the stored lists as they were.
    void DownloadKeyAccPriceLists(bool currentOnly);
    // Builds the article models from the stored lists (after a download
    // when asked): the model of the key account of `groupId`, or of every
    // key account when it is empty. The registry changes only when every
    // model was built.
    void LoadArticleModels(bool download, const QString& groupId);
    // The registry the models go to (the program's unless set).
    void SetArticleModels(TXTCIArticleModels& models) { models_ = &models; }
    TXTCIArticleModels& ArticleModels() const { return *models_; }
    // The price lists are older than "prices_check_after_x_days" days
    // (never when that is 0 or nothing was loaded).
    bool PricesOutdated(const QDateTime& now) const;
    // "{Data}/al%s.dat" and "{Data}/tl%s.dat" of a key account (expanded).
    // A key account id that is no plain name is refused (code 207).
    static QString ArticleListPath(const QString& keyAccountId);
    static QString TransferListPath(const QString& keyAccountId);

private:
    void RequireConfig() const;
    QString SessionIdLocked() const; // the session lock is held
    void StoreSessionLocked(const QString& ocsid);
    void ClearSession();
    // Checks every host a discovery answer names; raises code 47.
    void CheckDiscoveryHosts(const TXTCIServer& active, const TXTCIServerList& servers) const;

    TINA& ina_;
    QStringList allowedHosts_;
    std::unique_ptr<TXTCIProtocolConfig> config_;
    mutable std::shared_mutex sessionLock_;
    TXTCISessionList sessions_;
    CouponArticleFactory couponArticleFactory_ = MakeCouponArticle;
    TXTCIArticleModels* models_ = &TXTCIArticleModels::Instance();
};

} // namespace pavlora
