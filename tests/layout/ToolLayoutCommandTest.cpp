#include "LayoutTestSupport.h"
#include "ToolProcess.h"

#include "support/TestSandbox.h"

#include <QDir>

namespace pavlora {
namespace {

QStringList OutLines(const test::ToolResult& result)
{
    return QString::fromUtf8(result.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// A photobook with a low-resolution picture in one slot and too much text
// in a label of the last page.
TEST(ToolLayoutCommand, ReportsCountsAndPageProblems)
{
    const QString folder = test::MakeFolder(QStringLiteral("book"));
    QDir().mkpath(folder + QStringLiteral("/Urlaub-Dateien"));
    test::WritePicture(folder + QStringLiteral("/Urlaub-Dateien/klein.jpg"), 200, 150);
    test::WritePicture(folder + QStringLiteral("/Urlaub-Dateien/gross.jpg"), 3000, 2000);
    const QString path = folder + QStringLiteral("/Urlaub.pbf");
    test::WriteFile(path, R"(<?xml version="1.0" encoding="UTF-8"?>
<photobook_def version="1.1">
  <page_def client_h_center="150" client_v_center="75" client_h_size="300" client_v_size="150" tag="4">
    <print_def client_h_center="150" client_v_center="75" client_h_size="300" client_v_size="150" tag="4">
      <picture_def client_h_center="150" client_v_center="75" client_h_size="100" client_v_size="80">
        <photo_def pos_align="6"><file filename="gross.jpg"/></photo_def></picture_def>
    </print_def>
  </page_def>
  <page_def client_h_center="150" client_v_center="75" client_h_size="300" client_v_size="150" tag="2">
    <print_def client_h_center="225" client_v_center="75" client_h_size="150" client_v_size="150" tag="2">
      <picture_def client_h_center="75" client_v_center="75" client_h_size="100" client_v_size="80">
        <photo_def pos_align="6"><file filename="klein.jpg"/></photo_def></picture_def>
      <picture_def client_h_center="75" client_v_center="75" client_h_size="40" client_v_size="40"/>
    </print_def>
  </page_def>
  <page_def client_h_center="150" client_v_center="75" client_h_size="300" client_v_size="150" tag="1">
    <print_def client_h_center="75" client_v_center="75" client_h_size="150" client_v_size="150" tag="1">
      <label_def client_h_center="75" client_v_center="75" client_h_size="30" client_v_size="6">
        <text><paragraph value="Viel zu viel Text für dieses kleine Feld"/></text></label_def>
    </print_def>
  </page_def>
</photobook_def>)");

    const test::ToolResult result = test::RunTool({QStringLiteral("layout"), QStringLiteral("check"), path});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(OutLines(result),
        (QStringList{QStringLiteral("pages\t2"), QStringLiteral("slots\t3"), QStringLiteral("filled\t2"),
            QStringLiteral("page\t1\tAuf dieser Seite gibt es folgende Probleme:\tBilder in geringer Qualität sind "
                           "vorhanden."),
            QStringLiteral("page\t2\tAuf dieser Seite gibt es folgende Probleme:\tText wurde abgeschnitten.")}));
}

TEST(ToolLayoutCommand, ChecksLayoutListsWithDataPlaceholders)
{
    const QString data = test::MakeFolder(QStringLiteral("Data"));
    QDir().mkpath(data + QStringLiteral("/Images/PhotoBook"));
    test::WritePicture(data + QStringLiteral("/Images/PhotoBook/Rahmen.jpg"), 1500, 1000);
    const QString path = data + QStringLiteral("/Layouts.pbl");
    test::WriteFile(path, R"(<pb_layouts>
  <print_def client_h_center="75" client_v_center="75" client_h_size="150" client_v_size="150" layout_variant="default_symmetric">
    <picture_def client_h_center="75" client_v_center="75" client_h_size="100" client_v_size="100">
      <photo_def pos_align="6"><file filename="{Data}\images\photobook\rahmen.JPG"/></photo_def></picture_def>
  </print_def>
  <page_def client_h_center="150" client_v_center="75" client_h_size="300" client_v_size="150"/>
</pb_layouts>)");
    const test::ToolResult result
        = test::RunTool({QStringLiteral("layout"), QStringLiteral("check"), QStringLiteral("--data"), data, path});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(OutLines(result),
        (QStringList{QStringLiteral("pages\t1"), QStringLiteral("slots\t1"), QStringLiteral("filled\t1")}));
}

TEST(ToolLayoutCommand, BrokenFileFailsWithItsError)
{
    const QString path = test::MakeFolder(QStringLiteral("broken")) + QStringLiteral("/Layouts.pbl");
    test::WriteFile(path, R"(<pb_layouts><print_def client_h_size="0" client_v_size="100"/></pb_layouts>)");
    const test::ToolResult result = test::RunTool({QStringLiteral("layout"), QStringLiteral("check"), path});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.contains("Invalid geometry")) << result.err.constData();

    EXPECT_EQ(test::RunTool({QStringLiteral("layout"), QStringLiteral("verify"), path}).exitCode, 2);
}

} // namespace
} // namespace pavlora
