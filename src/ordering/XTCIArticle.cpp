#include "ordering/XTCIArticle.h"

#include "core/Logger.h"
#include "core/QORError.h"
#include "core/QORException.h"
#include "core/XMLUtils2.h"
#include "ordering/QORRecords.h"

#include <pugixml.hpp>

#include <cmath>
#include <mutex>

namespace pavlora {
namespace {

constexpr char kReadXmlContext[] = "ZODE.TXTCIArticle.ReadXML";
constexpr char kModelContext[] = "ZODE.TXTCIArticleModel.Build";
// Largest amount a price list may name, in cents (ten million units).
constexpr qint64 kMaxCents = 1000000000;

[[noreturn]] void Refuse(const QString& fault)
{
    throw EQORException(207, fault, QString(), QLatin1String(kModelContext));
}

QString Attribute(const pugi::xml_node& node, const char* name)
{
    return QString::fromUtf8(node.attribute(name).value()).trimmed();
}

// An integer of a price list; an empty text is `fallback`, anything else
// that is no number is refused.
int Integer(const pugi::xml_node& node, const char* name, int fallback = 0)
{
    const QString text = Attribute(node, name);
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        Refuse(QStringLiteral("\"%1\" is no number: %2").arg(QLatin1String(name), text.left(40)));
    return value;
}

double Cents(const QString& text, const char* name)
{
    if (text.isEmpty())
        return 0.0;
    bool ok = false;
    const qlonglong cents = text.toLongLong(&ok);
    if (!ok || cents < -kMaxCents || cents > kMaxCents)
        Refuse(QStringLiteral("\"%1\" is no amount: %2").arg(QLatin1String(name), text.left(40)));
    return CentsToAmount(cents);
}

TXTCIArtPriceInfo ReadEntry(const pugi::xml_node& node)
{
    TXTCIArtPriceInfo entry;
    entry.inputSource = Integer(node, "input_source");
    entry.deliveryType = Integer(node, "delivery_type");
    entry.discountLevel = Integer(node, "discount_level");
    entry.articleId = Integer(node, "art_id");
    entry.price = Cents(Attribute(node, "price"), "price");
    entry.articleNo = Integer(node, "art_no");
    return entry;
}

bool KnownInputSource(const TXTCIArtPriceInfo& entry)
{
    return entry.inputSource == 0 || entry.inputSource == 1;
}

} // namespace

void TXTCIArticle::ReadXML(pugi::xml_node element)
{
    TXchg::ReadXML(element);
    const pugi::xml_attribute format = element.attribute("formatid");
    if (!format) {
        TQORError error{102, QLatin1String(kReadXmlContext), QStringLiteral("\"formatid\" not defined for xchg"), Id()};
        SetLastError(error);
        ReportMessage(error.VerboseMessage());
        formatId = 0;
    } else {
        formatId = ReadIntAttribute(element, "formatid");
    }
    const pugi::xml_node pages = element.child("params").child("book_pages");
    if (pages)
        SetPageCountRange(ReadIntAttribute(pages, "min"), ReadIntAttribute(pages, "max"));
}

void TXTCIArticle::ReadArticleList(pugi::xml_node article)
{
    visibleName = Attribute(article, "visible_name");
    description = Attribute(article, "art_description");
    formatId = Integer(article, "format_id");
    const pugi::xml_node size = article.child("size");
    width = Integer(size, "width");
    height = Integer(size, "height");
    dotsPerMm = Integer(size, "dots_per_mm");
    prices.clear();
    for (const pugi::xml_node& price : article.child("prices").children()) {
        if (price.type() != pugi::node_element)
            continue;
        const TXTCIArtPriceInfo entry = ReadEntry(price);
        if (KnownInputSource(entry))
            prices.append(entry);
        if (prices.size() > kMaxArticlePrices)
            Refuse(QStringLiteral("too many prices"));
    }
    const pugi::xml_node lines = article.child("order_txt_lines");
    orderTxt.head = QString::fromUtf8(lines.attribute("head").value());
    orderTxt.lines.clear();
    for (const pugi::xml_node& line : lines.children("line"))
        orderTxt.lines.append(QString::fromUtf8(line.text().get()));
    printFunType = QString::fromUtf8(article.child("printfun_info").attribute("type").value());
}

const TXTCIArtPriceInfo* TXTCIArticle::FindEntry(int inputSource, int deliveryType, int discountLevel) const
{
    for (const TXTCIArtPriceInfo& entry : prices) {
        if (entry.inputSource == inputSource && entry.deliveryType == deliveryType
            && entry.discountLevel == discountLevel)
            return &entry;
    }
    return nullptr;
}

TXTCIArtPriceInfo TXTCIArticle::Lookup(const TXTCIArtPriceInfo& current, int deliveryType, int discountLevel) const
{
    const TXTCIArtPriceInfo* found = FindEntry(current.inputSource, deliveryType, discountLevel);
    return found ? *found : current;
}

std::shared_ptr<TXTCIArticle> MakeCouponArticle(const QList<TQORCouponEntry>& entries)
{
    auto article = std::make_shared<TXTCIArticle>();
    for (const TQORCouponEntry& entry : entries) {
        TXTCIArtPriceInfo price;
        price.price = entry.value;
        price.articleNo = entry.campaignNo;
        article->prices.append(price);
    }
    return article;
}

void RegisterXTCIArticleClass()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (!XchgClasses::IsRegistered(QStringLiteral("zode")))
            XchgClasses::Register(QStringLiteral("zode"), [] { return std::make_unique<TXTCIArticle>(); });
    });
}

const TXTCIArticle* TXTCIArticleModel::ArticleForFormat(int formatId) const
{
    const auto found = articles.find(formatId);
    return found == articles.end() ? nullptr : found->second.get();
}

std::shared_ptr<const TXTCIArticleModel> TXTCIArticleModel::Build(
    const TXTCIKeyAccount& account, pugi::xml_node articleContent, pugi::xml_node transferContent)
{
    if (!articleContent)
        Refuse(QStringLiteral("article list without content"));
    if (!transferContent)
        Refuse(QStringLiteral("transfer list without content"));
    auto model = std::make_shared<TXTCIArticleModel>();
    model->keyAccountId = account.id;
    model->maxOrderItems = account.maxOrderItems;
    model->trial = account.groupIds.join(QLatin1Char('|')).contains(QLatin1String("Teaser"));

    int count = 0;
    for (const pugi::xml_node& node : articleContent.children()) {
        if (node.type() != pugi::node_element)
            continue;
        if (++count > kMaxListArticles)
            Refuse(QStringLiteral("too many articles"));
        auto article = std::make_shared<TXTCIArticle>();
        article->ReadArticleList(node);
        article->keyAccountId = account.id;
        model->articles.emplace(article->formatId, std::move(article));
    }

    model->threshold = Cents(QString::fromUtf8(transferContent.child("threshold").text().get()).trimmed(), "threshold");
    for (const pugi::xml_node& level : transferContent.children("homog_min")) {
        bool ok = false;
        const int minimum = QString::fromUtf8(level.text().get()).trimmed().toInt(&ok);
        if (!ok)
            Refuse(QStringLiteral("\"homog_min\" is no number"));
        model->homogLevels.append(TXTCIHomogMin{Integer(level, "level"), minimum});
        if (model->homogLevels.size() > kMaxArticlePrices)
            Refuse(QStringLiteral("too many levels"));
    }
    auto shipping = std::make_shared<TXTCIArticle>();
    const pugi::xml_node transfers = transferContent.child("transfers");
    shipping->description = Attribute(transfers.first_child(), "art_description");
    for (const pugi::xml_node& transfer : transfers.children()) {
        if (transfer.type() != pugi::node_element)
            continue;
        const TXTCIArtPriceInfo entry = ReadEntry(transfer);
        if (!KnownInputSource(entry))
            continue;
        shipping->prices.append(entry);
        if (shipping->prices.size() > kMaxArticlePrices)
            Refuse(QStringLiteral("too many prices"));
        const QString type = QString::number(entry.deliveryType);
        if (!model->deliveryTypes.contains(type))
            model->deliveryTypes.append(type);
    }
    shipping->keyAccountId = account.id;
    model->shippingArticle = std::move(shipping);
    return model;
}

} // namespace pavlora
