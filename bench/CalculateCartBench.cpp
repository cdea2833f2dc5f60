// CalculateCart on a cart of 5,000 print lines (homogeneous and of two
// formats), against the peer of the same run: summing the lines' amounts
// once (TCart::TotalPrice), the least any pricing of the cart must do.
//
// Run: build/ci/bench/calculate-cart-bench

#include "catalogue/Cart.h"
#include "catalogue/PrintCartItemData.h"
#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"
#include "ordering/XTCIPrices.h"
#include "ordering/XTCIProductLinks.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <pugixml.hpp>

using namespace pavlora;

namespace {

constexpr char kArticles[] = R"(<content>
  <article format_id="10"><prices>
    <price input_source="0" delivery_type="1" discount_level="0" price="19"/>
    <price input_source="0" delivery_type="1" discount_level="1" price="16"/>
    <price input_source="0" delivery_type="1" discount_level="2" price="14"/></prices></article>
  <article format_id="13"><prices>
    <price input_source="0" delivery_type="1" discount_level="0" price="39"/>
    <price input_source="0" delivery_type="1" discount_level="1" price="35"/></prices></article>
</content>)";
constexpr char kTransfers[] = R"(<content><threshold>3000</threshold>
  <homog_min level="1">50</homog_min><homog_min level="2">100</homog_min>
  <transfers><transfer input_source="0" delivery_type="1" discount_level="0" price="295"/>
  <transfer input_source="0" delivery_type="1" discount_level="1" price="0"/></transfers></content>)";
constexpr char kXchg[] = R"(<x><xchg id="Prints.10" type="zode" formatid="10"/>
  <xchg id="Prints.13" type="zode" formatid="13"/></x>)";

struct Setup {
    explicit Setup(bool homogeneous)
    {
        pugi::xml_document articles;
        articles.load_string(kArticles);
        pugi::xml_document transfers;
        transfers.load_string(kTransfers);
        pugi::xml_document xchg;
        xchg.load_string(kXchg);
        account = TXTCIKeyAccount{QStringLiteral("1"), {QStringLiteral("Prints")}, 100000};
        models = {TXTCIArticleModel::Build(account, articles.document_element(), transfers.document_element())};
        links = ReadXchgLinks(xchg.document_element());
        auto group = std::make_unique<TProductItem>(nullptr, 0);
        group->id = QStringLiteral("Prints");
        TProductItem* prints = catalogue.Append(std::move(group));
        for (const char* id : {"10", "13"}) {
            auto product = std::make_unique<TProductItem>(prints, 1);
            product->id = QLatin1String(id);
            prints->EnsureChildren().Append(std::move(product));
        }
        linked = LinkArticles(links, models, {account});
        ApplyArticleLinks(linked, catalogue);
        for (int i = 0; i < 5000; ++i) {
            auto item = std::make_unique<TPrintCartItemData>();
            const bool second = !homogeneous && i % 2;
            item->Lines().front().SetProduct(
                catalogue.Find(second ? QStringLiteral("Prints.13") : QStringLiteral("Prints.10")));
            item->Lines().front().quantity = 1 + i % 3;
            item->groupId = QStringLiteral("Prints");
            cart.Add(std::move(item));
        }
    }

    TXTCIKeyAccount account;
    QList<TXTCIArticleModelPtr> models;
    TXchgList links;
    TProductItemList catalogue;
    TXTCIArticleList linked;
    TCart cart{TCartSettings{}};
};

void CalculateCart(benchmark::State& state)
{
    Setup setup(state.range(0) != 0);
    const TXTCIPrices prices(setup.models, {setup.account}, TPriceSettings{}, setup.links);
    TQOROrder order;
    order.cart = &setup.cart;
    for (auto _ : state) {
        prices.CalculateCart(order);
        benchmark::DoNotOptimize(order.orderTotal);
    }
}
BENCHMARK(CalculateCart)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void SumOfLineAmounts(benchmark::State& state)
{
    Setup setup(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(setup.cart.TotalPrice());
}
BENCHMARK(SumOfLineAmounts)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
