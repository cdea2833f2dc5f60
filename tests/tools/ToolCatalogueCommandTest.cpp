#include "ToolProcess.h"

#include "support/TestSandbox.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

QStringList Lines(const QByteArray& out)
{
    return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST(ToolCatalogueCommandTest, ListsTheDemoCatalogue)
{
    const ToolResult result = RunTool(
        {QStringLiteral("catalogue"), QStringLiteral("list"), QStringLiteral("--program"), BuiltProgramFolder()});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList lines = Lines(result.out);
    EXPECT_TRUE(lines.contains(QStringLiteral("Prints\tAbzüge\tPrints.10.glossy")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Prints.13.matt\tMatt\tPrints.13.matt")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Products.KalenderA4Juli\tKalender A4 quer ab Juli\t"
                                              "Products.KalenderA4Juli.white")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Products.Tasse\tFototasse\tProducts.Tasse")));
    for (const QString& group : {QStringLiteral("PhotoBooks"), QStringLiteral("Products.Poster50x70")})
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(group); }));
}

TEST(ToolCatalogueCommandTest, FindsTheExactOrTheNearestEntry)
{
    ToolResult result = RunTool({QStringLiteral("catalogue"), QStringLiteral("find"), QStringLiteral("--program"),
        BuiltProgramFolder(), QStringLiteral("prints.20.MATT")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QByteArray("Prints.20.matt\tMatt\texact\n"));
    result = RunTool({QStringLiteral("catalogue"), QStringLiteral("find"), QStringLiteral("--program"),
        BuiltProgramFolder(), QStringLiteral("Prints.20.silk")});
    EXPECT_EQ(result.out, QByteArray("Prints.20.glossy\tGlänzend\tnearest\n"));
    result = RunTool({QStringLiteral("catalogue"), QStringLiteral("find"), QStringLiteral("--program"),
        BuiltProgramFolder(), QStringLiteral("Nothing")});
    EXPECT_EQ(result.exitCode, 1);
}

TEST(ToolCatalogueCommandTest, ABrokenCatalogueFailsWithItsErrorText)
{
    const QString data = MakeFolder(QStringLiteral("data"));
    WriteFile(data + QStringLiteral("/Products.dat"), "<productsdef version=\"2.0\"/>");
    const ToolResult result
        = RunTool({QStringLiteral("catalogue"), QStringLiteral("list"), QStringLiteral("--data"), data});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(result.err).trimmed(), QStringLiteral("wrong file format (%1/Products.dat)").arg(data));
    EXPECT_EQ(RunTool({QStringLiteral("catalogue"), QStringLiteral("list")}).exitCode, 2);
}

TEST(ToolCartCommandTest, ImportsAHandOverFileAndShowsTheCart)
{
    const QString folder = MakeFolder(QStringLiteral("order"));
    const QString handOver
        = WriteHandOverFile(folder, QStringLiteral("Bestellung.fsw"), "2,1", "Prints.10.matt,13", "Ferien.jpg");
    ToolResult result = RunTool({QStringLiteral("cart"), QStringLiteral("import"), QStringLiteral("--program"),
        BuiltProgramFolder(), handOver});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString cartFile = folder + QStringLiteral("/Bestellung.psc");
    EXPECT_EQ(QString::fromUtf8(result.out).trimmed(), cartFile);
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/a.jpg")));

    result = RunTool(
        {QStringLiteral("cart"), QStringLiteral("show"), QStringLiteral("--program"), BuiltProgramFolder(), cartFile});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(result.out),
        QStringLiteral("print\tPrints.10.matt\t%1/Bestellung-Dateien/Ferien.jpg\tPrints.10.matt×2\t"
                       "Prints.13.glossy×1\n")
            .arg(folder));

    // A missing picture is reported with the program's message.
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/Bestellung-Dateien/Ferien.jpg")));
    result = RunTool(
        {QStringLiteral("cart"), QStringLiteral("show"), QStringLiteral("--program"), BuiltProgramFolder(), cartFile});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(QString::fromUtf8(result.err).trimmed(),
        QStringLiteral("Beim Laden des Warenkorbs wurde(n) 1 Bild(er) für Abzüge nicht gefunden. Die zugehörigen "
                       "Einträge wurden entfernt."));
}

} // namespace
} // namespace pavlora::test
