#include "core/PathPlaceholders.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

class PathPlaceholdersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearPathPlaceholders();
        // Registered in the program's order: the data folder first.
        EXPECT_EQ(RegisterPathPlaceholder(QStringLiteral("{Data}"), QStringLiteral("/srv/pav/Data/")),
            QStringLiteral("/srv/pav/Data/"));
        EXPECT_EQ(RegisterPathPlaceholder(QStringLiteral("{DataLng}"), QStringLiteral("/srv/pav/Data.DEU")),
            QStringLiteral("/srv/pav/Data.DEU/"));
    }
    void TearDown() override { ClearPathPlaceholders(); }
};

struct PathCase {
    const char* stored;
    const char* expanded;
};

class ExpandCollapse : public PathPlaceholdersTest, public ::testing::WithParamInterface<PathCase> { };

// Each stored path expands to the real path, and the real path collapses to
// the stored one (written with "/").
TEST_P(ExpandCollapse, RoundTrip)
{
    const QString stored = QString::fromUtf8(GetParam().stored);
    const QString expanded = QString::fromUtf8(GetParam().expanded);
    EXPECT_EQ(ExpandPath(stored), expanded);
    EXPECT_EQ(ExpandPath(CollapsePath(expanded)), expanded);
}

INSTANTIATE_TEST_SUITE_P(Paths, ExpandCollapse,
    ::testing::Values(PathCase{"{Data}/Layouts/Default.pbd", "/srv/pav/Data/Layouts/Default.pbd"},
        PathCase{"{data}\\Layouts\\Default.pbd", "/srv/pav/Data/Layouts/Default.pbd"},
        PathCase{"{DataLng}/Texte/a.xnf", "/srv/pav/Data.DEU/Texte/a.xnf"},
        PathCase{"{DATALNG}\\b.dat", "/srv/pav/Data.DEU/b.dat"}, PathCase{"{Data}", "/srv/pav/Data"},
        PathCase{"/home/kunde/Bilder/a.jpg", "/home/kunde/Bilder/a.jpg"},
        PathCase{"C:\\Bilder\\a.jpg", "C:/Bilder/a.jpg"}));

TEST_F(PathPlaceholdersTest, TheLanguageFolderCollapsesToTheDataPlaceholder)
{
    // "{Data}" comes first in the table and ".DEU" is a boundary of its folder.
    EXPECT_EQ(CollapsePath(QStringLiteral("/srv/pav/Data.DEU/Texte/a.xnf")), QStringLiteral("{Data}.DEU/Texte/a.xnf"));
    EXPECT_EQ(CollapsePath(QStringLiteral("/srv/pav/Data/x.pbl")), QStringLiteral("{Data}/x.pbl"));
}

TEST_F(PathPlaceholdersTest, FoldersMatchWithCaseAndOnlyAtAPathBoundary)
{
    EXPECT_EQ(CollapsePath(QStringLiteral("/srv/pav/Database/x")), QStringLiteral("/srv/pav/Database/x"));
    EXPECT_EQ(CollapsePath(QStringLiteral("/srv/pav/data/x")), QStringLiteral("/srv/pav/data/x"));
    EXPECT_EQ(CollapsePath(QStringLiteral("/srv/pav/Data")), QStringLiteral("{Data}"));
}

TEST_F(PathPlaceholdersTest, RegisteringANameAgainReplacesItsFolder)
{
    RegisterPathPlaceholder(QStringLiteral("{DATA}"), QStringLiteral("/opt/other"));
    EXPECT_EQ(ExpandPath(QStringLiteral("{Data}/a")), QStringLiteral("/opt/other/a"));
    EXPECT_EQ(CollapsePath(QStringLiteral("/srv/pav/Data/a")), QStringLiteral("/srv/pav/Data/a"));
}

TEST_F(PathPlaceholdersTest, AnEmptyFolderNeverCollapses)
{
    RegisterPathPlaceholder(QStringLiteral("{DataLng}"), QString());
    EXPECT_EQ(CollapsePath(QStringLiteral("/x")), QStringLiteral("/x"));
    EXPECT_EQ(CollapsePath(QStringLiteral("/srv/pav/Data/a")), QStringLiteral("{Data}/a"));
}

} // namespace
} // namespace pavlora::test
