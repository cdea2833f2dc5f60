#include "ui/NavigationCommands.h"
#include "support/TestSandbox.h"
#include "ui/CommandLineSwitches.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

struct CommandTextCase {
    std::string name;
    QString text;
    std::optional<int> number; // none: the name is not in the vocabulary
    QStringList arguments;
};

class CommandTextTest : public ::testing::TestWithParam<CommandTextCase> { };

TEST_P(CommandTextTest, ParsesNameAndArguments)
{
    const CommandTextCase& c = GetParam();
    const TCommandText parsed = SplitCommandText(c.text);
    EXPECT_EQ(TCommandVocabulary::Standard().Find(parsed.name), c.number);
    if (c.number) {
        EXPECT_EQ(SplitCommandArguments(parsed.argumentText), c.arguments);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, CommandTextTest,
    ::testing::Values(CommandTextCase{"ViewGroup", QStringLiteral("ViewGroup(Prints)"), 4, {QStringLiteral("Prints")}},
        CommandTextCase{"LowerCase", QStringLiteral("viewgroup(prints)"), 4, {QStringLiteral("prints")}},
        CommandTextCase{"NoParentheses", QStringLiteral("ViewGroup Prints"), std::nullopt, {}},
        CommandTextCase{"Unknown", QStringLiteral("Teleport(Mars)"), std::nullopt, {}},
        CommandTextCase{"NameTrimmed", QStringLiteral("  Help "), 9, {}},
        CommandTextCase{"ImportXnfIsBrowse", QStringLiteral("IMPORTXNF(a.XNF)"), 2, {QStringLiteral("a.XNF")}},
        CommandTextCase{"BrowseWithPage", QStringLiteral("Browse(page.html;3)"), 2,
            {QStringLiteral("page.html"), QStringLiteral("3")}},
        CommandTextCase{"QuotedKeepsDelimiter", QStringLiteral("Browse(|a;b|)"), 2, {QStringLiteral("a;b")}},
        CommandTextCase{"QuotedAmongOthers", QStringLiteral("AddProduct(Gifts.Mug;|/p/x;y.jpg|;)"), 3,
            {QStringLiteral("Gifts.Mug"), QStringLiteral("/p/x;y.jpg"), QString()}},
        CommandTextCase{"DoubledQuote", QStringLiteral("Browse(|a||b|)"), 2, {QStringLiteral("a|b")}},
        CommandTextCase{"EmptyArguments", QStringLiteral("Settings()"), 10, {}},
        CommandTextCase{"BackSlashesStay", QStringLiteral("Browse({Data}\\VuvedIro.html)"), 2,
            {QStringLiteral("{Data}\\VuvedIro.html")}},
        CommandTextCase{"Back", QStringLiteral("Back"), -1, {}},
        CommandTextCase{"Organizing", QStringLiteral("Organizing"), 48, {}}),
    CaseName());

TEST(CommandArguments, JoinedArgumentsSplitBack)
{
    const QStringList arguments{
        QStringLiteral("Gifts.Mug"), QStringLiteral("/a;b|c.jpg"), QString(), QStringLiteral("x y")};
    EXPECT_EQ(SplitCommandArguments(JoinCommandArguments(arguments)), arguments);
}

TEST(CommandVocabulary, LaterAddOfSameNameReplaces)
{
    TCommandVocabulary vocabulary;
    vocabulary.Add(QStringLiteral("Go"), 1);
    vocabulary.Add(QStringLiteral("GO"), 2);
    EXPECT_EQ(vocabulary.Entries().size(), 1);
    EXPECT_EQ(vocabulary.Find(QStringLiteral("go")), 2);
}

struct SwitchCase {
    std::string name;
    QStringList arguments;
    QString commandText;
    TCommandLineMode mode;
    QString listFile;
    bool deviceStart;
};

class CommandLineSwitchTest : public ::testing::TestWithParam<SwitchCase> { };

TEST_P(CommandLineSwitchTest, ReadsSwitches)
{
    const SwitchCase& c = GetParam();
    const TCommandLineSwitches switches = ParseCommandLineSwitches(c.arguments);
    EXPECT_EQ(switches.commandText, c.commandText);
    EXPECT_EQ(switches.mode, c.mode);
    EXPECT_EQ(switches.listFile, c.listFile);
    EXPECT_EQ(switches.deviceStart, c.deviceStart);
}

INSTANTIATE_TEST_SUITE_P(Switches, CommandLineSwitchTest,
    ::testing::Values(SwitchCase{"None", {}, {}, TCommandLineMode::None, {}, false},
        SwitchCase{"Prints", {QStringLiteral("-prints")}, QStringLiteral("ViewGroup(Prints)"), TCommandLineMode::Prints,
            {}, false},
        SwitchCase{"ProductTeaser", {QStringLiteral("-ProductTeaser")}, QStringLiteral("Browse({Data}\\VuvedIro.html)"),
            TCommandLineMode::ProductsPage, {}, false},
        SwitchCase{"LastWins", {QStringLiteral("-PRINTS"), QStringLiteral("-TEASER")},
            QStringLiteral("ViewGroup(Teaser)"), TCommandLineMode::Teaser, {}, false},
        SwitchCase{"FolderKeepsMode", {QStringLiteral("-PRODUCTS"), QStringLiteral("-d"), QStringLiteral("/p/Fotos")},
            QStringLiteral("ViewGroup(Prints;/p/Fotos)"), TCommandLineMode::Products, {}, false},
        SwitchCase{"ListFile",
            {QStringLiteral("-F"), QStringLiteral("/tmp/list.txt"), QStringLiteral("-PRODUCTS"), QStringLiteral("-DD")},
            QStringLiteral("ViewGroup(Vuvediro)"), TCommandLineMode::Products, QStringLiteral("/tmp/list.txt"), true},
        SwitchCase{"SwitchValueNotASwitch", {QStringLiteral("-F"), QStringLiteral("-PRINTS")}, {},
            TCommandLineMode::None, QStringLiteral("-PRINTS"), false},
        SwitchCase{"MissingValueIgnored", {QStringLiteral("-D")}, {}, TCommandLineMode::None, {}, false},
        SwitchCase{"UnknownIgnored", {QStringLiteral("--verbose"), QStringLiteral("foto.jpg")}, {},
            TCommandLineMode::None, {}, false}),
    CaseName());

} // namespace
} // namespace pavlora::test
