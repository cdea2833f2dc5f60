// The "price" and "pricelist" commands on the demo deployment.

#include "ToolProcess.h"

#include "support/TestSandbox.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

TEST(ToolPriceCommandTest, PricesACartFileAsTheCartViewShowsIt)
{
    const QString folder = MakeFolder(QStringLiteral("order"));
    // 48 + 1 prints of one format: three short of the first level.
    const QString handOver
        = WriteHandOverFile(folder, QStringLiteral("B.fsw"), "48,1", "Prints.10.matt,Prints.10", "F.jpg");
    ToolResult result = RunTool({QStringLiteral("cart"), QStringLiteral("import"), QStringLiteral("--program"),
        BuiltProgramFolder(), handOver});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();

    result = RunTool({QStringLiteral("price"), QStringLiteral("--program"), BuiltProgramFolder(),
        folder + QStringLiteral("/B.psc")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(result.out),
        QStringLiteral("Prints.10.matt\t48\t0,19 €\t9,12 €\n"
                       "Prints.10.glossy\t1\t0,19 €\t0,19 €\n"
                       "shipping\t2,95 €\n"
                       "coupon\t0,00 €\n"
                       "total\t12,26 €\n"
                       "Wenn Ihr Auftrag 50 Bilder oder mehr Bilder enthält und Sie alle Bilder in einem Format (9x13 "
                       "bis 13x18) bestellen, dann profitieren Sie von unserem \"Sortenrein-Bonus\".\n"));
    EXPECT_EQ(RunTool({QStringLiteral("price"), QStringLiteral("--program"), BuiltProgramFolder()}).exitCode, 2);
}

TEST(ToolPriceCommandTest, PrintsThePriceListOfEveryOrderableEntry)
{
    ToolResult result = RunTool({QStringLiteral("pricelist"), QStringLiteral("--program"), BuiltProgramFolder()});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList lines = QString::fromUtf8(result.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 16);
    EXPECT_TRUE(lines.contains(QStringLiteral("Prints.10\t0,19 €\t0,16 €\t0,14 €")));
    EXPECT_TRUE(lines.contains(QStringLiteral("PhotoBooks.A4.48\t39,95 €")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Products\tshipping\t4,95 €\t0,00 €")));

    result = RunTool(
        {QStringLiteral("pricelist"), QStringLiteral("--program"), BuiltProgramFolder(), QStringLiteral("--html")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString html = QString::fromUtf8(result.out).trimmed();
    // The page the program shows: the deployment's style sheet, the date
    // of the stored lists below the table.
    EXPECT_TRUE(html.startsWith(QStringLiteral("<html><head><style>body {")));
    EXPECT_TRUE(html.contains(QStringLiteral("</table><p  class=\"bottom_text\" >Stand der Preisliste: ")));
    EXPECT_TRUE(html.endsWith(QStringLiteral("</p></body></html>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td align=\"right\">59,95 €</td>")));
}

} // namespace
} // namespace pavlora::test
