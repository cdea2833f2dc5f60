#include "ScriptedSkinReporter.h"

#include "core/DataKey.h"
#include "core/DataStream.h"
#include "skin/ECPictureResource.h"
#include "skin/ECResourceManager.h"
#include "skin/PanelStyle.h"
#include "skin/StyleRegistry.h"
#include "support/TestSandbox.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <zip.h>

namespace pavlora::test {
namespace {

// A zip archive with the given members, written with libzip.
void WriteZip(const QString& path, const QList<std::pair<const char*, QByteArray>>& members)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, bytes] : members) {
        auto* copy = static_cast<char*>(std::malloc(static_cast<std::size_t>(bytes.size())));
        std::memcpy(copy, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        zip_source_t* source = zip_source_buffer(archive, copy, static_cast<zip_uint64_t>(bytes.size()), 1);
        ASSERT_GE(zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

QByteArray Png(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A program folder with a data folder and its language variant "DEU".
class ResourceManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobalDataKey();
        program_ = MakeFolder(QStringLiteral("program"));
        data_ = program_ + QStringLiteral("/Data");
        dataLng_ = program_ + QStringLiteral("/Data.DEU");
        WriteFile(data_ + QStringLiteral("/.keep"), "");
        WriteFile(dataLng_ + QStringLiteral("/.keep"), "");
    }

    std::unique_ptr<TECResourceManager> Manager(const QString& language = QStringLiteral("DEU"))
    {
        auto manager = std::make_unique<TECResourceManager>(reporter_);
        manager->SetProgramFolder(program_);
        manager->SetDataFolder(data_);
        manager->SetLanguageExtension(language);
        return manager;
    }

    TScriptedSkinReporter reporter_;
    QString program_, data_, dataLng_;
};

TEST_F(ResourceManagerTest, TheMostSpecificSlotWins)
{
    WriteFile(program_ + QStringLiteral("/Help/a.htm"), "program");
    WriteFile(dataLng_ + QStringLiteral("/Help/a.htm"), "language");
    WriteFile(data_ + QStringLiteral("/Help/b.htm"), "data");
    WriteFile(program_ + QStringLiteral("/Help/b.htm"), "program");
    const auto manager = Manager();
    EXPECT_EQ(manager->GetResource(QStringLiteral("Help\\a.htm")), "language");
    EXPECT_EQ(manager->GetResource(QStringLiteral("Help/b.htm")), "data");
    EXPECT_EQ(manager->FindResource(QStringLiteral("help/A.HTM"))->slot, 4) << "names match without case";
}

TEST_F(ResourceManagerTest, ResourceArchivesServeTheirSlots)
{
    WriteZip(program_ + QStringLiteral("/Resources.zip"), {{"Images/logo.txt", "zip"}, {"Images/shared.txt", "zip"}});
    WriteZip(program_ + QStringLiteral("/Resources.DEU.zip"), {{"Lang/only.txt", "lang zip"}});
    WriteFile(data_ + QStringLiteral("/Images/shared.txt"), "data");
    const auto manager = Manager();
    EXPECT_EQ(manager->Slot(1), program_ + QStringLiteral("/Resources/"));
    EXPECT_EQ(manager->GetResource(QStringLiteral("Images/logo.txt")), "zip");
    EXPECT_EQ(manager->FindResource(QStringLiteral("images/LOGO.txt"))->Describe(),
        program_ + QStringLiteral("/Resources.zip:Images/logo.txt"));
    EXPECT_EQ(manager->GetResource(QStringLiteral("Images/shared.txt")), "data");
    EXPECT_EQ(manager->GetResource(QStringLiteral("Lang/only.txt")), "lang zip");
}

TEST_F(ResourceManagerTest, NamesCannotLeaveTheirFolders)
{
    WriteFile(program_ + QStringLiteral("/secret.txt"), "secret");
    const auto manager = Manager();
    for (const char* name : {"../secret.txt", "Help/../../secret.txt", "/etc/passwd", "C:\\secret.txt", ""}) {
        EXPECT_FALSE(manager->ResourceExists(QLatin1String(name))) << name;
        try {
            manager->GetResource(QLatin1String(name));
            ADD_FAILURE() << name;
        } catch (const EResourceNotFound& error) {
            EXPECT_EQ(
                QString::fromUtf8(error.what()), QStringLiteral("Resource %1 not found.").arg(QLatin1String(name)));
        }
    }
    EXPECT_EQ(manager->GetResource(QStringLiteral("./secret.txt")), "secret");
}

TEST_F(ResourceManagerTest, StoredVariantsAreDecodedAndABadSlotPassesOn)
{
    const QByteArray key = GlobalDataKey().toLatin1();
    WriteFile(data_ + QStringLiteral("/x.dat"), EncodeDataStream("<ini/>", EncryptVariant::Des, key));
    WriteFile(dataLng_ + QStringLiteral("/y.dat"), "KTBz not a zip archive");
    WriteFile(data_ + QStringLiteral("/y.dat"), "<plain/>");
    const auto manager = Manager();
    EXPECT_EQ(manager->GetResource(QStringLiteral("x.dat")), "<ini/>");
    EXPECT_EQ(manager->GetResource(QStringLiteral("y.dat")), "<plain/>");
}

TEST_F(ResourceManagerTest, PicturesAreSharedWhileHeld)
{
    WriteFile(program_ + QStringLiteral("/Images/ok.png"), Png(4, 3));
    WriteFile(program_ + QStringLiteral("/Images/empty.png"), "");
    const auto manager = Manager();
    std::shared_ptr<const TECPictureResource> first = manager->GetPicture(QStringLiteral("Images/ok.png"));
    std::shared_ptr<const TECPictureResource> second = manager->GetPicture(QStringLiteral("images\\OK.png"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first.use_count(), 2);
    EXPECT_EQ(first->Image().size(), QSize(4, 3));
    EXPECT_EQ(first->Picture().Kind(), TECPicture::TKind::Png);
    const std::weak_ptr<const TECPictureResource> watch = first;
    first.reset();
    second.reset();
    EXPECT_TRUE(watch.expired());

    EXPECT_EQ(manager->GetPicture(QStringLiteral("Images/empty.png")), nullptr);
    EXPECT_EQ(manager->GetPicture(QStringLiteral("Images/missing.png")), nullptr);
    EXPECT_EQ(reporter_.warnings, QStringList{QStringLiteral("Resource Images/empty.png is empty.")});
}

TEST_F(ResourceManagerTest, DesignsOfTheDataFoldersAreReadWhenTheProgramHasNone)
{
    WriteFile(data_ + QStringLiteral("/Design.dat"), R"(<design><panel style="p" color="1"/></design>)");
    WriteFile(dataLng_ + QStringLiteral("/Design.dat"), R"(<design><panel style="p" border_top="2"/></design>)");
    const auto manager = Manager();
    int notices = 0;
    QObject::connect(manager.get(), &TECResourceManager::designsChanged, [&] { ++notices; });
    manager->ReloadDesigns();
    const auto styles = manager->Styles();
    const auto* panel = styles->StyleOrDefault<TPanelStyle>(QStringLiteral("panel"), QStringLiteral("p"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->color, kParentColor) << "the language folder's definition reads over the data folder's";
    EXPECT_EQ(panel->borderTop, 2);
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(manager->StylesLoaded());
}

TEST_F(ResourceManagerTest, ChangingTheLanguageReloadsAndSwapsTheDesigns)
{
    WriteFile(program_ + QStringLiteral("/Design.dat"), R"(<design><panel style="p" color="1"/></design>)");
    WriteFile(
        program_ + QStringLiteral("/Resources.FRA/Design.dat"), R"(<design><panel style="p" color="2"/></design>)");
    const auto manager = Manager(QString());
    manager->EnableDesignReload();
    manager->ReloadDesigns();
    const std::shared_ptr<TStyleRegistry> before = manager->Styles();
    const auto* held = before->StyleOrDefault<TPanelStyle>(QStringLiteral("panel"), QStringLiteral("p"));
    int notices = 0;
    QObject::connect(manager.get(), &TECResourceManager::designsChanged, [&] { ++notices; });

    manager->SetLanguageExtension(QStringLiteral("FRA"));

    EXPECT_EQ(notices, 1);
    EXPECT_EQ(manager->Styles()->StyleOrDefault<TPanelStyle>(QStringLiteral("panel"), QStringLiteral("p"))->color, 2);
    EXPECT_EQ(held->color, 1) << "a style a control holds stays valid";
}

TEST_F(ResourceManagerTest, AnUnparsableDesignIsADesignError)
{
    WriteFile(program_ + QStringLiteral("/Design.dat"), "<design><panel style=");
    const auto manager = Manager();
    manager->ReloadDesigns();
    ASSERT_EQ(reporter_.designErrors.size(), 1);
    EXPECT_TRUE(reporter_.designErrors.front().startsWith(
        QStringLiteral("Parse error in design config file Design.dat from %1/. Message: ").arg(program_)))
        << reporter_.designErrors.front().toStdString();
}

TEST_F(ResourceManagerTest, FormsAreReadFromTheFirstSlotInTheirOrder)
{
    WriteFile(data_ + QStringLiteral("/Forms.dat"), R"(<forms><form name="TMainForm" width="1"/></forms>)");
    WriteFile(program_ + QStringLiteral("/Forms.dat"),
        R"(<forms>
                   <form NAME="TFormInfoBox" Width="400" HEIGHT="300">
                     <control name="HeaderButton" Anchors="tr" left="100" LRTB="1" Visible="TRUE" Style="HeaderDesc"/>
                     <control name="Hint" CreateControlClass="TECLabel" Text="a\nb" ParentName="BackgroundPanel"/>
                     <control left="5"/>
                   </form>
                   <form width="3"/>
                 </forms>)");
    const auto manager = Manager();
    manager->ReloadDesigns();
    EXPECT_EQ(manager->FormsSlot(), 0);
    EXPECT_FALSE(manager->FormConfiguration(QStringLiteral("TMainForm")).has_value());
    const std::optional<TFormConfig> box = manager->FormConfiguration(QStringLiteral("tforminfobox"));
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->form.width, 400);
    EXPECT_EQ(box->form.height, 300);
    ASSERT_EQ(box->controls.size(), 2);
    const TPropertyList& header = box->controls[0];
    EXPECT_EQ(header.anchors, (TAnchors{false, true, true, false}));
    EXPECT_EQ(header.left, 100);
    EXPECT_TRUE(header.edgeRelative);
    EXPECT_EQ(header.visible, true);
    EXPECT_EQ(header.style, QStringLiteral("HeaderDesc"));
    ASSERT_TRUE(box->controls[1].create.has_value());
    EXPECT_EQ(box->controls[1].create->createControlClass, QStringLiteral("TECLabel"));
    EXPECT_EQ(box->controls[1].create->parentName, QStringLiteral("BackgroundPanel"));
}

} // namespace
} // namespace pavlora::test
