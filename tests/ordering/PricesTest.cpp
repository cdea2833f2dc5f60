// Cart calculation, hints, limits, linking and the price texts, on small
// price lists made here.

#include "catalogue/Cart.h"
#include "catalogue/PrintCartItemData.h"
#include "catalogue/ProductCartItemData.h"
#include "catalogue/ProductItem.h"
#include "catalogue/ProductsReader.h"
#include "core/QORError.h"
#include "core/QORException.h"
#include "ordering/XTCIPrices.h"
#include "ordering/XTCIProductLinks.h"
#include "support/TestSandbox.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

namespace pavlora::test {
namespace {

pugi::xml_document Parse(const char* text)
{
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(text));
    return document;
}

// Two print formats with three levels of price, the shipping article with a
// threshold of 30.00, levels at 50 and 100.
constexpr char kArticles[] = R"(<content>
  <article visible_name="10x15" art_description="Foto 10x15" format_id="10">
    <prices>
      <price input_source="2" delivery_type="1" discount_level="0" art_id="1" price="1" art_no="10"/>
      <price input_source="0" delivery_type="1" discount_level="0" art_id="2" price="19" art_no="10"/>
      <price input_source="0" delivery_type="1" discount_level="1" art_id="3" price="16" art_no="10"/>
      <price input_source="0" delivery_type="1" discount_level="2" art_id="4" price="14" art_no="10"/>
    </prices>
  </article>
  <article visible_name="13x18" art_description="Foto 13x18" format_id="13">
    <prices>
      <price input_source="0" delivery_type="1" discount_level="0" art_id="5" price="39" art_no="13"/>
      <price input_source="0" delivery_type="1" discount_level="1" art_id="6" price="35" art_no="13"/>
      <price input_source="0" delivery_type="1" discount_level="2" art_id="7" price="32" art_no="13"/>
    </prices>
  </article>
  <article format_id="401"><prices><price input_source="0" delivery_type="1" price="2995"/></prices></article>
  <article format_id="402"><prices><price input_source="0" delivery_type="1" price="3995"/></prices></article>
  <article visible_name="Tasse" art_description="Tasse" format_id="50">
    <prices><price input_source="0" delivery_type="1" discount_level="0" art_id="8" price="1000" art_no="50"/></prices>
  </article>
</content>)";

constexpr char kTransfers[] = R"(<content>
  <threshold>3000</threshold>
  <homog_min level="1">50</homog_min>
  <homog_min level="2">100</homog_min>
  <transfers>
    <transfer art_description="Versand" input_source="0" delivery_type="1" discount_level="0" art_id="91" price="295" art_no="1"/>
    <transfer art_description="Versand" input_source="0" delivery_type="1" discount_level="1" art_id="92" price="0" art_no="1"/>
    <transfer art_description="Versand" input_source="0" delivery_type="0" discount_level="0" art_id="93" price="100" art_no="1"/>
    <transfer art_description="Versand" input_source="0" delivery_type="0" discount_level="1" art_id="94" price="50" art_no="1"/>
  </transfers>
</content>)";

// "Prints.10" and "Prints.11" share the article of format 10; "Extras" has
// no link at all and "Prints.99" none of its own.
constexpr char kXchg[] = R"(<xchg_data>
  <xchg id="Prints.10" type="zode" formatid="10"/>
  <xchg id="Prints.11" type="zode" formatid="10"/>
  <xchg id="Prints.13" type="zode" formatid="13"/>
  <xchg id="Products.Tasse" type="zode" formatid="50"/>
  <xchg id="Books.A4.24" type="zode" formatid="401"><params><book_pages min="1" max="24"/></params></xchg>
  <xchg id="Books.A4.48" type="zode" formatid="402"><params><book_pages min="25" max="48"/></params></xchg>
</xchg_data>)";

constexpr char kProducts[] = R"(<productsdef version="1.0">
  <group id="Prints" dispname="Abzüge" edit="prints">
    <subgroup name="Format" select="combo" defchild="10"/>
    <product id="10" dispname="10 x 15 ab {[price]Prints.10}"/>
    <product id="11" dispname="10 x 15 matt"/>
    <product id="13" dispname="13 x 18 ab {[price]Prints.77}"/>
    <product id="99" dispname="Ohne Preis"/>
  </group>
  <group id="Products" dispname="Fotogeschenke" edit="products">
    <subgroup name="Produkt" select="combo" defchild="Tasse"/>
    <product id="Tasse" dispname="Tasse"/>
  </group>
  <group id="Books" dispname="Fotobücher" edit="books" pricelist_hide_shipping="true">
    <subgroup name="Buch" select="combo" defchild="A4"/>
    <product id="A4" dispname="A4" bundle_quantity="2">
      <subgroup name="Seiten" select="combo" defchild="24"/>
      <item id="24" dispname="24 Seiten"/>
      <item id="48" dispname="48 Seiten"/>
    </product>
  </group>
  <group id="Extras" dispname="Extras" edit="products">
    <subgroup name="Produkt" select="combo" defchild="X"/>
    <product id="X" dispname="X"/>
  </group>
</productsdef>)";

struct Fixture {
    explicit Fixture(const QString& groupIds = QStringLiteral("Prints|Products|Books"), int maxItems = 100,
        const char* transfers = kTransfers)
    {
        const pugi::xml_document articleList = Parse(kArticles);
        const pugi::xml_document transferList = Parse(transfers);
        account = TXTCIKeyAccount{QStringLiteral("K1"), groupIds.split(QLatin1Char('|')), maxItems};
        models = {TXTCIArticleModel::Build(account, articleList.document_element(), transferList.document_element())};
        const pugi::xml_document xchg = Parse(kXchg);
        links = ReadXchgLinks(xchg.document_element());
        const TXTCIPrices beforeLinking = Prices();
        const TTextMacros macros(nullptr, &beforeLinking);
        const pugi::xml_document products = Parse(kProducts);
        catalogue
            = ReadProductsElement(products.document_element(), QStringLiteral("Products.dat"), SandboxFolder(), macros);
        articles = LinkArticles(links, models, {account});
        ApplyArticleLinks(articles, catalogue);
    }

    TXTCIPrices Prices(TPriceSettings settings = {}) const { return TXTCIPrices(models, {account}, settings, links); }

    TProductItem* Product(const char* id) const { return catalogue.Find(QLatin1String(id)); }

    void AddPrint(const char* id, int quantity)
    {
        auto item = std::make_unique<TPrintCartItemData>();
        item->Lines().front().SetProduct(Product(id));
        item->Lines().front().quantity = quantity;
        item->groupId = Product(id)->Root()->id;
        cart.Add(std::move(item));
    }

    TQOROrder Calculate(TPriceSettings settings = {})
    {
        TQOROrder order;
        order.cart = &cart;
        Prices(settings).CalculateCart(order);
        return order;
    }

    TXTCIKeyAccount account;
    QList<TXTCIArticleModelPtr> models;
    TXchgList links;
    TProductItemList catalogue;
    TXTCIArticleList articles;
    TCart cart{TCartSettings{}};
};

// ---- Quantity tiers and the homogeneous discount ----

struct TierCase {
    std::string name;
    int quantity10;
    int quantity13;
    int level;
    float unitPrice10;
};

class TierTest : public ::testing::TestWithParam<TierCase> { };

TEST_P(TierTest, TheLastLevelReachedByAHomogeneousCartPricesEveryLine)
{
    const TierCase& c = GetParam();
    Fixture fixture;
    fixture.AddPrint("Prints.10", c.quantity10);
    if (c.quantity13 > 0)
        fixture.AddPrint("Prints.13", c.quantity13);
    fixture.Calculate();
    EXPECT_EQ(fixture.cart.discountLevel, c.level);
    const TCartItemLine& line = fixture.cart.At(0)->Lines().front();
    EXPECT_FLOAT_EQ(line.unitPrice, c.unitPrice10);
    EXPECT_EQ(line.homogeneous, c.quantity13 == 0);
}

INSTANTIATE_TEST_SUITE_P(Levels, TierTest,
    ::testing::Values(TierCase{"Below", 49, 0, 0, 0.19F}, TierCase{"FirstReached", 50, 0, 1, 0.16F},
        TierCase{"FirstStill", 99, 0, 1, 0.16F}, TierCase{"SecondReached", 100, 0, 2, 0.14F},
        TierCase{"TwoFormatsAreNotHomogeneous", 90, 10, 0, 0.19F}),
    CaseName());

TEST(PricesTest, AFirstMinimumOf9999MeansNoHomogeneousDiscount)
{
    Fixture fixture(QStringLiteral("Prints|Products"), 1000,
        R"(<content><homog_min level="1">9999</homog_min><transfers>
           <transfer input_source="0" delivery_type="1" discount_level="0" price="295"/></transfers></content>)");
    fixture.AddPrint("Prints.10", 200);
    fixture.Calculate();
    EXPECT_EQ(fixture.cart.discountLevel, 0);
    EXPECT_FLOAT_EQ(fixture.cart.At(0)->Lines().front().unitPrice, 0.19F);
    EXPECT_EQ(fixture.Prices().GetPriceList(*fixture.Product("Prints.10")), TPriceList{0.19});
}

TEST(PricesTest, PriceStepsAndTheCheaperStepFlagOfPrintLines)
{
    Fixture fixture;
    fixture.AddPrint("Prints.10", 10);
    fixture.AddPrint("Prints.10", 30);
    fixture.Calculate();
    const TCartItemLine& line = fixture.cart.At(0)->Lines().front();
    ASSERT_EQ(line.priceSteps.size(), 3U);
    EXPECT_EQ(line.priceSteps.at(2).minimumQuantity, 100);
    EXPECT_DOUBLE_EQ(line.priceSteps.at(2).price, 0.14);
    // 40 of the product are below 50, where it is cheaper.
    EXPECT_TRUE(line.cheaperStep);
}

TEST(PricesTest, AnEntryOfAnUnknownInputSourceIsIgnored)
{
    Fixture fixture;
    const TXTCIArticle* article = fixture.models.front()->ArticleForFormat(10);
    ASSERT_NE(article, nullptr);
    EXPECT_EQ(article->prices.size(), 3);
    EXPECT_EQ(article->FirstEntry().articleId, 2);
}

// ---- Shipping, its threshold and the hints ----

struct ShippingCase {
    std::string name;
    int quantity; // of Prints.13 at 0.39 (level 0: two formats in the cart)
    float shipping;
    bool reached;
    bool hint;
};

class ShippingTest : public ::testing::TestWithParam<ShippingCase> { };

TEST_P(ShippingTest, TheThresholdLowersShippingAndIsHintedWithinOneUnit)
{
    const ShippingCase& c = GetParam();
    Fixture fixture;
    fixture.AddPrint("Prints.10", 1); // 0.19, and the cart is not homogeneous
    fixture.AddPrint("Prints.13", c.quantity);
    const TQOROrder order = fixture.Calculate();
    EXPECT_FLOAT_EQ(order.shippingCharge.price, c.shipping);
    EXPECT_EQ(order.shippingCharge.thresholdReached, c.reached);
    EXPECT_EQ(order.selectedDeliveryType, TDeliveryType::dtPostalDelivery);
    ASSERT_EQ(order.shippingChargesList.size(), 2);
    EXPECT_EQ(order.shippingChargesList.at(1).deliveryType, TDeliveryType::dtPickupAtStore);
    const QString hints = fixture.Prices().GetCartHints(fixture.cart);
    EXPECT_EQ(hints,
        c.hint ? QStringLiteral("Ab 30,00 € Bestellwert verringern sich Ihre Versandkosten von 2,95 € auf 0,00 €.")
               : QString());
}

// 0.19 + n × 0.39: 29.44 (n = 75), 29.83 (76), 30.22 (77), 28.27 (72).
INSTANTIATE_TEST_SUITE_P(Threshold, ShippingTest,
    ::testing::Values(ShippingCase{"WithinOneUnit", 75, 2.95F, false, true},
        ShippingCase{"JustBelow", 76, 2.95F, false, true}, ShippingCase{"Reached", 77, 0.0F, true, false},
        ShippingCase{"MoreThanOneUnitBelow", 72, 2.95F, false, false}),
    CaseName());

TEST(PricesTest, AThresholdOfZeroIsNeverReachedAndGivesOneShippingPrice)
{
    Fixture fixture(QStringLiteral("Prints|Products"), 100,
        R"(<content><transfers>
           <transfer input_source="0" delivery_type="1" discount_level="0" price="295"/>
           <transfer input_source="0" delivery_type="1" discount_level="1" price="0"/></transfers></content>)");
    fixture.AddPrint("Prints.10", 1);
    const TQOROrder order = fixture.Calculate();
    EXPECT_FALSE(order.shippingCharge.thresholdReached);
    EXPECT_FLOAT_EQ(order.shippingCharge.price, 2.95F);
    EXPECT_EQ(fixture.Prices().GetShippingPrices(QStringLiteral("Prints")), TPriceList{2.95});
    EXPECT_TRUE(fixture.Prices().GetShippingThreshold(QStringLiteral("Prints")).isEmpty());
    EXPECT_FLOAT_EQ(fixture.Prices().GetArticleInfo(QStringLiteral("Prints")).price, 2.95F);
    try {
        fixture.Prices().GetArticleInfo(QStringLiteral("Extras"));
        ADD_FAILURE() << "a group without a model has no article";
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().codeText, QStringLiteral("Can not find ZODEArticleModel for ProductGroupID: Extras"));
    }
}

TEST(PricesTest, TheSortenreinHintAppearsThreePrintsBeforeALevel)
{
    Fixture fixture;
    fixture.AddPrint("Prints.10", 46);
    EXPECT_EQ(fixture.Prices().GetCartHints(fixture.cart), QString());
    fixture.cart.At(0)->Lines().front().quantity = 47;
    EXPECT_EQ(fixture.Prices().GetCartHints(fixture.cart),
        QStringLiteral("Wenn Ihr Auftrag 50 Bilder oder mehr Bilder enthält und Sie alle Bilder in einem Format (9x13 "
                       "bis 13x18) bestellen, dann profitieren Sie von unserem \"Sortenrein-Bonus\"."));
}

TEST(PricesTest, AnEmptyCartHasNoShippingCharge)
{
    Fixture fixture;
    TQOROrder order;
    order.cart = &fixture.cart;
    order.shippingCharge.price = 2.95F;
    order.shippingChargesList = {TQORShippingCharges{nullptr, TDeliveryType::dtPostalDelivery, 2.95F, false}};
    fixture.Prices().CalculateCart(order);
    EXPECT_FLOAT_EQ(order.shippingCharge.price, 0.0F);
    EXPECT_FLOAT_EQ(order.shippingChargesList.front().price, 0.0F);
}

TEST(PricesTest, ACouponIsTakenOffTheTotalButNeverBelowZero)
{
    Fixture fixture;
    fixture.AddPrint("Prints.10", 10); // 1.90 + 2.95 shipping
    TQOROrder order;
    order.cart = &fixture.cart;
    order.coupon.couponNumber = QStringLiteral("DEMO5");
    order.coupon.value = 2.0F;
    fixture.Prices().CalculateCart(order);
    EXPECT_FLOAT_EQ(order.orderTotal, 2.85F);
    order.coupon.value = 5.0F;
    fixture.Prices().CalculateCart(order);
    EXPECT_FLOAT_EQ(order.orderTotal, 0.0F);
}

// ---- Order limits ----

struct LimitCase {
    std::string name;
    QString groupIds;
    int quantity;
    bool adding;
    QString message;
};

class LimitTest : public ::testing::TestWithParam<LimitCase> { };

TEST_P(LimitTest, MessagesOfTheOrderLimit)
{
    const LimitCase& c = GetParam();
    Fixture fixture(c.groupIds, 100);
    fixture.AddPrint("Prints.10", c.quantity);
    EXPECT_EQ(fixture.Prices().CheckCartLimits(fixture.cart, c.adding), c.message);
}

INSTANTIATE_TEST_SUITE_P(Limits, LimitTest,
    ::testing::Values(LimitCase{"TrialAddingAtTheLimit", QStringLiteral("Prints|Products|Teaser"), 100, true,
                          QStringLiteral("Beim Schnupperangebot können Sie nur maximal 100 Fotos bestellen.")},
        LimitCase{"AddingBeyondTheLimitIsRefusedToo", QStringLiteral("Prints|Products"), 101, true,
            QStringLiteral("Sie können maximal nur 100 Fotos/Fotogeschenke bestellen.")},
        LimitCase{"AddingBelowTheLimit", QStringLiteral("Prints|Products"), 99, true, QString()},
        LimitCase{"TrialCartBeyondTheLimit", QStringLiteral("Prints|Products|Teaser"), 105, false,
            QStringLiteral(
                "Ihr Warenkorb beinhaltet 105 Foto(s). Bei der Schnupperbestellung können Sie jedoch nur 100 "
                "Fotos bestellen. Sie müssen 5 Foto(s) aus dem Warenkorb entfernen, bevor Sie mit der "
                "Bestellung beginnen können.")},
        LimitCase{"CartBeyondTheLimit", QStringLiteral("Prints|Products"), 105, false,
            QStringLiteral("Ihr Warenkorb beinhaltet 105 Produkt(e). Sie können jedoch nur 100 Produkt(e) bestellen. "
                           "Sie müssen 5 Produkt(e) aus dem Warenkorb entfernen, bevor Sie mit der Bestellung beginnen "
                           "können.")},
        LimitCase{"CartAtTheLimit", QStringLiteral("Prints|Products"), 100, false, QString()}),
    CaseName());

// ---- Linking, pruning and the texts ----

TEST(PricesTest, EveryProductOfASharedArticleGetsItsOwnLinkAndUnlinkedEntriesArePruned)
{
    Fixture fixture;
    const auto* ten = dynamic_cast<const TXTCIArticle*>(fixture.Product("Prints.10")->xchg);
    const auto* eleven = dynamic_cast<const TXTCIArticle*>(fixture.Product("Prints.11")->xchg);
    ASSERT_NE(ten, nullptr);
    ASSERT_NE(eleven, nullptr);
    EXPECT_EQ(ten->Id(), QStringLiteral("Prints.10"));
    EXPECT_EQ(eleven->Id(), QStringLiteral("Prints.11"));
    EXPECT_EQ(eleven->keyAccountId, QStringLiteral("K1"));
    EXPECT_EQ(fixture.Prices().GetPriceList(*fixture.Product("Prints.11")), (TPriceList{0.19, 0.16, 0.14}));
    EXPECT_EQ(fixture.Product("Prints.99"), nullptr);
    EXPECT_EQ(fixture.catalogue.Find(QStringLiteral("Extras")), nullptr);
    EXPECT_EQ(fixture.catalogue.FullIds(),
        (QStringList{QStringLiteral("Prints"), QStringLiteral("Products"), QStringLiteral("Books")}));
}

struct PageCase {
    std::string name;
    int pages;
    const char* variant;
};

class PageCountTest : public ::testing::TestWithParam<PageCase> { };

TEST_P(PageCountTest, ThePageRangesOfTheLinkedArticlesChooseTheVariant)
{
    const PageCase& c = GetParam();
    Fixture fixture;
    EXPECT_EQ(fixture.Product("Books.A4")->PageCountVariant(c.pages), fixture.Product(c.variant));
}

INSTANTIATE_TEST_SUITE_P(Pages, PageCountTest,
    ::testing::Values(PageCase{"Small", 20, "Books.A4.24"}, PageCase{"Upper", 24, "Books.A4.24"},
        PageCase{"Next", 25, "Books.A4.48"}, PageCase{"ClampedAbove", 80, "Books.A4.48"},
        PageCase{"ClampedBelow", 0, "Books.A4.24"}),
    CaseName());

TEST(PricesTest, APriceMacroInADisplayNameShowsTheFormattedPrice)
{
    Fixture fixture;
    EXPECT_EQ(fixture.Product("Prints.10")->displayName, QStringLiteral("10 x 15 ab 0,19 €"));
    EXPECT_EQ(fixture.Product("Prints.13")->displayName, QStringLiteral("13 x 18 ab ???"));
}

TEST(PricesTest, CartsOfTwoKeyAccountsDoNotMix)
{
    Fixture fixture;
    fixture.AddPrint("Prints.10", 1);
    // The mugs move to a key account of their own.
    const pugi::xml_document articleList = Parse(kArticles);
    const pugi::xml_document transferList = Parse(kTransfers);
    const TXTCIKeyAccount prints{QStringLiteral("K1"), {QStringLiteral("Prints")}, 100};
    const TXTCIKeyAccount gifts{QStringLiteral("K2"), {QStringLiteral("Products")}, 100};
    const TXTCIPrices prices(
        {fixture.models.front(),
            TXTCIArticleModel::Build(gifts, articleList.document_element(), transferList.document_element())},
        {prints, gifts}, {}, fixture.links);
    TProductCartItemData mug(fixture.Product("Products.Tasse"));
    mug.Lines().front().SetProduct(fixture.Product("Products.Tasse"));
    EXPECT_EQ(prices.CheckCartMix(fixture.cart, mug),
        QStringLiteral("In Ihrem Warenkorb befinden sich Abzüge, die nicht zusammen mit Fotogeschenke bestellt werden "
                       "können.\r\nSie können den aktuellen Warenkorb speichern oder ihn mit Weiter löschen und "
                       "forfahren."));
    TPrintCartItemData print;
    print.Lines().front().SetProduct(fixture.Product("Prints.13"));
    EXPECT_EQ(prices.CheckCartMix(fixture.cart, print), QString());
}

TEST(PricesTest, TheHandOverLookupFindsTheProductOfAFormat)
{
    Fixture fixture;
    const TXTCIPrices prices = fixture.Prices();
    EXPECT_EQ(prices.ProductForFormat(fixture.catalogue, QStringLiteral("13"), 0), fixture.Product("Prints.13"));
    EXPECT_EQ(prices.ProductForFormat(fixture.catalogue, QStringLiteral("77"), 0), nullptr);
    // Account 2 looks among trial accounts only.
    EXPECT_EQ(prices.ProductForFormat(fixture.catalogue, QStringLiteral("13"), 2), nullptr);
}

struct FormatCase {
    std::string name;
    double amount;
    bool before;
    bool show;
    QString text;
};

class PriceFormatTest : public ::testing::TestWithParam<FormatCase> { };

TEST_P(PriceFormatTest, TwoDecimalsWithADecimalComma)
{
    const FormatCase& c = GetParam();
    TPriceSettings settings;
    settings.currencyBeforeValue = c.before;
    settings.showPrices = c.show;
    EXPECT_EQ(FormatPrice(c.amount, settings), c.text);
}

INSTANTIATE_TEST_SUITE_P(Formats, PriceFormatTest,
    ::testing::Values(FormatCase{"After", 1.95, false, true, QStringLiteral("1,95 €")},
        FormatCase{"Before", 1.95, true, true, QStringLiteral("€ 1,95")},
        FormatCase{"Thousands", 1234.5, false, true, QStringLiteral("1234,50 €")},
        FormatCase{"HalfCentUp", 0.125, false, true, QStringLiteral("0,13 €")},
        FormatCase{"SumOfFloats", 0.1 + 0.2, false, true, QStringLiteral("0,30 €")},
        FormatCase{"NoNegativeZero", -0.001, false, true, QStringLiteral("0,00 €")},
        FormatCase{"Hidden", 1.95, false, false, QString()}),
    CaseName());

TEST(PricesTest, ExchangeRecordFaultsAreReportedAndReadingStopsAtAMissingType)
{
    const pugi::xml_document document = Parse(R"(<xchg_data>
        <XCHG id="A.1" type="zode"/>
        <xchg type="zode" formatid="2"/>
        <xchg id="A.3" type="zode" formatid="3"><params><book_pages min="24" max="48"/></params></xchg>
        <xchg id="A.4"/>
        <xchg id="A.5" type="zode" formatid="5"/>
      </xchg_data>)");
    const TXchgList links = ReadXchgLinks(document.document_element());
    ASSERT_EQ(links.size(), 2U);
    const auto* first = dynamic_cast<const TXTCIArticle*>(links.at(0).get());
    const auto* book = dynamic_cast<const TXTCIArticle*>(links.at(1).get());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(first->formatId, 0);
    EXPECT_EQ(book->MinPageCount(), 24);
    EXPECT_EQ(book->MaxPageCount(), 48);
    EXPECT_EQ(LastError().code, 100);
}

TEST(PricesTest, HtmlTextsCloseTheirTags)
{
    Fixture fixture;
    fixture.AddPrint("Prints.10", 60);
    TQOROrder order = fixture.Calculate();
    fixture.cart.ComputeCatalogueTotals(fixture.catalogue);
    const QString summary = fixture.Prices().OrderSummaryHtml(order, fixture.catalogue, true);
    EXPECT_TRUE(summary.startsWith(QStringLiteral("<html><body><p><b>ACHTUNG:</b> Aufgrund")));
    EXPECT_TRUE(summary.contains(QStringLiteral("<tr><td>60 mal 10 x 15 ab 0,19 € zu je 0,16:</td><td "
                                                "align=\"right\">9,60 €</td></tr>")));
    EXPECT_TRUE(summary.endsWith(QStringLiteral(
        "</table><p>Sie erhalten den reduzierten Preis für sortenreine Bestellungen.</p></body></html>")));

    const QString list = fixture.Prices().GetHTMLPriceList(
        {fixture.catalogue.Find(QStringLiteral("Prints"))}, QStringLiteral("td{}"), QString(), QStringLiteral("Stand"));
    EXPECT_TRUE(list.contains(QStringLiteral("<th align=\"right\" valign=\"top\">Ab 100 Abzüge</th><td></td></tr>")));
    EXPECT_TRUE(list.contains(QStringLiteral(
        "<tr  class=\"even\" ><td colspan=\"1\">10 x 15 ab 0,19 €</td><td align=\"right\">0,19 €</td><td "
        "align=\"right\">0,16 €</td><td align=\"right\">0,14 €</td><td></td></tr>")));
    EXPECT_TRUE(list.contains(QStringLiteral("Versandkosten pro Auftrag<br/>ab 30,00 € Bestellwert (Post)")));
    EXPECT_TRUE(list.endsWith(QStringLiteral("</table><p  class=\"bottom_text\" >Stand</p></body></html>")));
}

// A bundle offer lists each variant as so many prints with postage; a group
// may hide its shipping rows.
TEST(PricesTest, BundleOffersAndHiddenShippingInThePriceList)
{
    Fixture fixture;
    const TXTCIPrices prices = fixture.Prices();
    const double postage = prices.GetShippingPrices(QStringLiteral("Books")).front();
    const QString list = prices.GetHTMLPriceList({fixture.Product("Books")}, QString(), QString(), QString());
    for (const auto& [name, price] : {std::pair{"24 Seiten", 29.95}, std::pair{"48 Seiten", 39.95}}) {
        const QString row = QStringLiteral("<td>2 Abzüge %1 inkl. Porto</td><td align=\"right\">%2</td>")
                                .arg(QLatin1String(name), FormatPrice(2 * price + postage, prices.Settings()));
        EXPECT_TRUE(list.contains(row)) << row.toStdString() << "\n" << list.toStdString();
    }
    EXPECT_FALSE(list.contains(QStringLiteral("Versandkosten")));
    EXPECT_TRUE(prices.GetHTMLPriceList({fixture.Product("Prints")}, QString(), QString(), QString())
                    .contains(QStringLiteral("Versandkosten")));
}

// The separator row sets the column widths: the name column twice as wide
// as each price column, all of them together as wide as the view.
TEST(PricesTest, PriceListColumnsFitTheView)
{
    Fixture fixture;
    TPriceSettings settings;
    settings.viewWidth = 500; // two levels: 4 cells, 5 units of 100
    const QString list = fixture.Prices(settings).GetHTMLPriceList({fixture.Product("Prints")}, QString());
    EXPECT_TRUE(list.contains(QStringLiteral(
        "<td width=200><br></td><td width=100><br></td><td width=100><br></td><td width=100><br></td><td></td></tr>")))
        << list.toStdString();
}

} // namespace
} // namespace pavlora::test
