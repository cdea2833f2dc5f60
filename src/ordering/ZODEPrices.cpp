// The price lists of the ZODE protocol: download, storage and the article
// models built from them.

#include "ordering/ZODE.h"

#include "core/DebugConfig.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"
#include "core/XMLUtils2.h"
#include "ordering/ZODERequests.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <pugixml.hpp>

namespace pavlora {
namespace {

constexpr char kDownloadContext[] = "ZODE.TXTCI.DownloadKeyAccPriceLists";
constexpr char kDownloadTransferContext[] = "ZODE.TXTCI.DownloadKeyAccPriceLists.DownloadTransferList";
constexpr char kDownloadArticleContext[] = "ZODE.TXTCI.DownloadKeyAccPriceLists.DownloadArticleList";
constexpr char kLoadContext[] = "ZODE.TXTCI.LoadArticleModels";

QString ListPath(const char* prefix, const QString& keyAccountId)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_-]{1,64}$"));
    if (!plain.match(keyAccountId).hasMatch())
        throw EQORException(207, QStringLiteral("Invalid key account id: ") + keyAccountId.left(64), QString(),
            QLatin1String(kLoadContext));
    return ExpandPath(QStringLiteral("{Data}/") + QLatin1String(prefix) + keyAccountId + QStringLiteral(".dat"));
}

// A stored list: its document, and the file's modification time lowering
// `oldest`.
TXMLDocumentPtr ReadStoredList(const QString& path, QDateTime& oldest)
{
    TXMLDocumentPtr document = ReadXMLDocument(path);
    const QDateTime modified = QFileInfo(path).lastModified();
    if (modified.isValid() && modified < oldest)
        oldest = modified;
    return document;
}

TXTCIArticleModelPtr BuildStoredModel(const TXTCIKeyAccount& account, QDateTime& oldest)
{
    const TXMLDocumentPtr articles = ReadStoredList(TXTCI::ArticleListPath(account.id), oldest);
    const TXMLDocumentPtr transfers = ReadStoredList(TXTCI::TransferListPath(account.id), oldest);
    return TXTCIArticleModel::Build(
        account, articles->document_element().child("content"), transfers->document_element().child("content"));
}

} // namespace

QString TXTCI::ArticleListPath(const QString& keyAccountId)
{
    return ListPath("al", keyAccountId);
}

QString TXTCI::TransferListPath(const QString& keyAccountId)
{
    return ListPath("tl", keyAccountId);
}

void TXTCI::DownloadKeyAccPriceLists(bool currentOnly)
{
    RequireConfig();
    const TXTCIKeyAccount previous = config_->CurrentKeyAccount();
    const TXTCIKeyAccountList accounts = currentOnly ? TXTCIKeyAccountList{previous} : config_->KeyAccounts();
    try {
        for (const TXTCIKeyAccount& account : accounts) {
            config_->SelectKeyAccount(account.id);
            CreateSession();
            std::unique_ptr<TXTCIResponse> transfers;
            std::unique_ptr<TXTCIResponse> articles;
            try {
                transfers = SendZODERequest(config_->UseSsl(), ZodeRequests::TransferList(Dtd(), SessionId()), true);
                transfers->CheckError();
            } catch (...) {
                throw EQORException::WrapCurrent(QLatin1String(kDownloadTransferContext));
            }
            try {
                articles = SendZODERequest(config_->UseSsl(), ZodeRequests::ArticleList(Dtd(), SessionId()), true);
                articles->CheckError();
            } catch (...) {
                throw EQORException::WrapCurrent(QLatin1String(kDownloadArticleContext));
            }
            // Both answers must make a model before either replaces what is
            // stored: a broken answer keeps the old prices.
            TXTCIArticleModel::Build(account, articles->Content(), transfers->Content());
            pugi::xml_document transferCopy;
            transferCopy.reset(transfers->Document());
            pugi::xml_document articleCopy;
            articleCopy.reset(articles->Document());
            const bool encrypt = !IsEncryptingDisabled();
            SaveXMLDocument(transferCopy, TransferListPath(account.id), encrypt, EncryptVariant::Xor, false);
            SaveXMLDocument(articleCopy, ArticleListPath(account.id), encrypt, EncryptVariant::Xor, false);
        }
    } catch (...) {
        config_->SelectKeyAccount(previous.id);
        throw EQORException::WrapCurrent(QLatin1String(kDownloadContext));
    }
    config_->SelectKeyAccount(previous.id);
}

void TXTCI::LoadArticleModels(bool download, const QString& groupId)
{
    RequireConfig();
    QDateTime oldest = QDateTime::currentDateTime();
    if (!groupId.isEmpty()) {
        TXTCIKeyAccount account;
        if (!config_->KeyAccountForGroup(groupId, account))
            throw EQORException(207, QStringLiteral("Can not find ZODEArticleModel for ProductGroupID: ") + groupId,
                QString(), QLatin1String(kLoadContext));
        if (download) {
            // The group's own key account, whichever is current.
            const TXTCIKeyAccount previous = config_->CurrentKeyAccount();
            config_->SelectKeyAccount(account.id);
            try {
                DownloadKeyAccPriceLists(true);
            } catch (...) {
                config_->SelectKeyAccount(previous.id);
                throw;
            }
            config_->SelectKeyAccount(previous.id);
        }
        try {
            models_->ReplaceOne(BuildStoredModel(account, oldest), oldest);
        } catch (...) {
            throw EQORException::WrapCurrent(QLatin1String(kLoadContext));
        }
        return;
    }
    if (download)
        DownloadKeyAccPriceLists(false);
    QList<TXTCIArticleModelPtr> models;
    try {
        for (const TXTCIKeyAccount& account : config_->KeyAccounts())
            models.append(BuildStoredModel(account, oldest));
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kLoadContext));
    }
    models_->ReplaceAll(models, oldest);
}

bool TXTCI::PricesOutdated(const QDateTime& now) const
{
    const QDateTime date = models_->PriceListDate();
    if (pricesCheckAfterDays_ <= 0 || !date.isValid())
        return false;
    return date.addDays(pricesCheckAfterDays_) < now;
}

} // namespace pavlora
