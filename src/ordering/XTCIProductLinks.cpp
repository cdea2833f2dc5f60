#include "ordering/XTCIProductLinks.h"

#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"
#include "catalogue/ProductsReader.h"
#include "core/Logger.h"
#include "core/QORError.h"
#include "core/QORException.h"
#include "core/QORThread.h"
#include "ordering/ZODE.h"

#include <QHash>

#include <pugixml.hpp>

namespace pavlora {
namespace {

constexpr char kCreateContext[] = "QOROrderInterface.TQOROrderInterface.Create";

void Report(int code, const QString& text, const QString& detail = QString())
{
    const TQORError error{code, QLatin1String(kCreateContext), text, detail};
    SetLastError(error);
    ReportMessage(error.VerboseMessage());
}

void Unlink(TProductItemList& items)
{
    for (const auto& item : items) {
        item->xchg = nullptr;
        if (item->Children())
            Unlink(*item->Children());
    }
}

void Link(TProductItemList& items, const QHash<QString, TXTCIArticle*>& byId)
{
    for (const auto& item : items) {
        if (TXTCIArticle* article = byId.value(item->FullId().toLower()))
            item->xchg = article;
        if (item->Children())
            Link(*item->Children(), byId);
    }
}

} // namespace

TXchgList ReadXchgLinks(const pugi::xml_node& root)
{
    RegisterXTCIArticleClass();
    TXchgList links;
    for (const pugi::xml_node& element : root.children()) {
        if (element.type() != pugi::node_element
            || QString::fromUtf8(element.name()).compare(QLatin1String("xchg"), Qt::CaseInsensitive) != 0)
            continue;
        const QString type = QString::fromUtf8(element.attribute("type").value());
        if (type.isEmpty()) {
            Report(100, QStringLiteral("\"type\" not defined for xchg"));
            break;
        }
        if (QString::fromUtf8(element.attribute("id").value()).isEmpty()) {
            Report(3, QStringLiteral("\"id\" not defined for xchg"));
            continue;
        }
        try {
            std::unique_ptr<TXchg> record = XchgClasses::Create(type);
            record->ReadXML(element);
            links.push_back(std::move(record));
        } catch (...) {
            RecordCurrentException(QLatin1String(kCreateContext));
            break;
        }
    }
    return links;
}

TXTCIArticleList LinkArticles(
    const TXchgList& links, const QList<TXTCIArticleModelPtr>& models, const TXTCIKeyAccountList& accounts)
{
    const auto accountOfGroup = [&accounts](const QString& groupId) {
        for (const TXTCIKeyAccount& account : accounts) {
            for (const QString& id : account.groupIds) {
                if (id.compare(groupId, Qt::CaseInsensitive) == 0)
                    return account.id;
            }
        }
        return QString();
    };
    TXTCIArticleList result;
    for (const TXTCIArticleModelPtr& model : models) {
        for (const std::shared_ptr<TXchg>& record : links) {
            const auto* link = dynamic_cast<const TXTCIArticle*>(record.get());
            if (!link || link->Type().compare(QLatin1String("zode"), Qt::CaseInsensitive) != 0)
                continue;
            const TXTCIArticle* article = model->ArticleForFormat(link->formatId);
            if (!article || accountOfGroup(link->GroupId()) != model->keyAccountId)
                continue;
            auto linked = std::make_shared<TXTCIArticle>(*article);
            linked->SetId(link->Id());
            linked->SetType(link->Type());
            linked->SetPageCountRange(link->MinPageCount(), link->MaxPageCount());
            result.push_back(std::move(linked));
        }
    }
    return result;
}

void ApplyArticleLinks(const TXTCIArticleList& articles, TProductItemList& catalogue)
{
    QHash<QString, TXTCIArticle*> byId;
    for (const std::shared_ptr<TXTCIArticle>& article : articles)
        byId.insert(article->Id().toLower(), article.get());
    Unlink(catalogue);
    Link(catalogue, byId);
    PruneCatalogue(catalogue);
}

TXTCIProductUpdater::TXTCIProductUpdater(TXchgList links, TProductItemList* catalogue)
    : links_(std::move(links))
    , catalogue_(catalogue)
{
}

void TXTCIProductUpdater::UpdateProducts(TProtocol& protocol, bool download, const QString& groupId)
{
    auto* xtci = dynamic_cast<TXTCI*>(&protocol);
    if (!xtci)
        throw EQORException(2, QStringLiteral("Invalid protocol type. Protocol is not implemented!"), QString(),
            QStringLiteral("ZODE.TXTCI.UpdateProducts"));
    if (download || xtci->ArticleModels().IsEmpty())
        xtci->LoadArticleModels(download, groupId);
    if (IsUiThread())
        Link(*xtci);
}

void TXTCIProductUpdater::Link(TXTCI& protocol)
{
    TXTCIArticleList articles
        = LinkArticles(links_, protocol.ArticleModels().Snapshot(), protocol.Config().KeyAccounts());
    if (catalogue_)
        ApplyArticleLinks(articles, *catalogue_);
    // The old articles go only now: the catalogue no longer points at them.
    articles_ = std::move(articles);
}

TXTCIPrices TXTCIProductUpdater::Prices(TXTCI& protocol, const TPriceSettings& settings) const
{
    return TXTCIPrices(protocol.ArticleModels().Snapshot(), protocol.Config().KeyAccounts(), settings, links_);
}

} // namespace pavlora
