#include "core/AppSettings.h"

#include "core/Postcode.h"
#include "support/TestSandbox.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

// One stored text read by each kind of reader, with the reader's default.
struct ReaderCase {
    std::string name;
    const char* stored; // nullptr: the setting is absent
    int integer; // Integer(..., 7)
    bool booleanTrue; // Boolean(..., true)
    bool booleanFalse; // Boolean(..., false)
    bool notZero;
    double number; // Float(..., 0.5)
};

class TypedReaders : public ::testing::TestWithParam<ReaderCase> { };

TEST_P(TypedReaders, ConvertOrFallBack)
{
    const ReaderCase& c = GetParam();
    TNameValueList values;
    if (c.stored)
        values.SetValue(QStringLiteral("Key"), QString::fromUtf8(c.stored));
    const TAppSettings settings(values);
    const QString name = QStringLiteral("kEY");
    EXPECT_EQ(settings.Integer(name, 7), c.integer);
    EXPECT_EQ(settings.Boolean(name, true), c.booleanTrue);
    EXPECT_EQ(settings.Boolean(name, false), c.booleanFalse);
    EXPECT_EQ(settings.NotZero(name), c.notZero);
    EXPECT_DOUBLE_EQ(settings.Float(name, 0.5), c.number);
    EXPECT_EQ(
        settings.Text(name, QStringLiteral("none")), c.stored ? QString::fromUtf8(c.stored) : QStringLiteral("none"));
}

INSTANTIATE_TEST_SUITE_P(Values, TypedReaders,
    ::testing::Values(ReaderCase{"Absent", nullptr, 7, true, false, true, 0.5},
        ReaderCase{"Zero", "0", 0, false, false, false, 0.0}, ReaderCase{"One", "1", 1, true, true, true, 1.0},
        ReaderCase{"Negative", "-12", -12, true, true, true, -12.0},
        ReaderCase{"Hexadecimal", "$10", 16, true, false, true, 0.5},
        ReaderCase{"TrueAnyCase", "TrUe", 7, true, true, true, 0.5},
        ReaderCase{"False", "false", 7, false, false, true, 0.5},
        ReaderCase{"DecimalComma", "0,75", 7, true, false, true, 0.75},
        ReaderCase{"ZeroWithBlank", " 0", 0, false, false, true, 0.0},
        ReaderCase{"Text", "right", 7, true, false, true, 0.5}),
    CaseName());

TEST(AppSettings, ExactTextComparisons)
{
    TNameValueList values;
    values.SetValue(QStringLiteral("EmptyCartAfterOrder"), QStringLiteral("True"));
    values.SetValue(QStringLiteral("save_image_in_online_album"), QStringLiteral("defaulton"));
    const TAppSettings settings(values);
    EXPECT_FALSE(settings.IsText(QStringLiteral("emptycartafterorder"), QStringLiteral("true")));
    EXPECT_TRUE(settings.IsText(QStringLiteral("EmptyCartAfterOrder"), QStringLiteral("true"), Qt::CaseInsensitive));
    EXPECT_TRUE(settings.IsText(
        QStringLiteral("save_image_in_online_album"), QStringLiteral("DefaultOn"), Qt::CaseInsensitive));
    EXPECT_FALSE(settings.IsText(QStringLiteral("compulsory_regfields"), QString()));
}

// The first region's "zip" attributes override AppIni.dat, even when empty;
// what they do not name comes from AppIni.dat, else the defaults.
TEST(AppSettings, RegionSettingsOverrideAppIni)
{
    TNameValueList values;
    values.SetValue(QStringLiteral("zipmode"), QStringLiteral("AllChars"));
    values.SetValue(QStringLiteral("ziplength"), QStringLiteral("8"));
    values.SetValue(QStringLiteral("regexp"), QStringLiteral("[0-9]+"));
    const TAppSettings plain(values);
    const TAppSettings region(
        values, {{QStringLiteral("zipmode"), QStringLiteral("AlphaNumSpace")}, {QStringLiteral("regexp"), QString()}});

    const TPostcodeRules fromIni = PostcodeRules(plain);
    EXPECT_EQ(fromIni.mode, TZipMode::AllChars);
    EXPECT_EQ(fromIni.maxLength, 8);
    EXPECT_EQ(fromIni.expression, QStringLiteral("[0-9]+"));

    const TPostcodeRules fromRegion = PostcodeRules(region);
    EXPECT_EQ(fromRegion.mode, TZipMode::AlphaNumSpace);
    EXPECT_EQ(fromRegion.maxLength, 8);
    EXPECT_TRUE(fromRegion.expression.isEmpty());

    const TPostcodeRules defaults = PostcodeRules(TAppSettings());
    EXPECT_EQ(defaults.mode, TZipMode::Numeric);
    EXPECT_EQ(defaults.maxLength, 5);
}

struct FilterCase {
    std::string name;
    const char* mode;
    const char* typed;
    const char* kept;
};

class PostcodeFilter : public ::testing::TestWithParam<FilterCase> { };

TEST_P(PostcodeFilter, KeepsTheAcceptedCharacters)
{
    const FilterCase& c = GetParam();
    TPostcodeRules rules;
    rules.mode = ParseZipMode(QLatin1String(c.mode));
    rules.maxLength = 8;
    EXPECT_EQ(FilterPostcode(QString::fromUtf8(c.typed), rules), QString::fromUtf8(c.kept));
    EXPECT_TRUE(IsPostcodeKeyAccepted(QLatin1Char('\b'), rules.mode));
}

INSTANTIATE_TEST_SUITE_P(Modes, PostcodeFilter,
    ::testing::Values(FilterCase{"AllChars", "AllChars", "Ab-1 ß", "Ab-1 ß"},
        FilterCase{"Numeric", "Numeric", "D-12 34x", "1234"}, FilterCase{"AlphaNum", "alphanum", "sw1a-1AA", "sw1a1AA"},
        FilterCase{"AlphaNumSpace", "AlphaNumSpace", "SW1A 1AA-ä", "SW1A 1AA"},
        FilterCase{"UnknownIsNumeric", "Digits", "12a34", "1234"},
        FilterCase{"CutToLength", "AllChars", "123456789", "12345678"}),
    CaseName());

TEST(Postcode, LengthAndValidity)
{
    TPostcodeRules rules;
    EXPECT_EQ(FilterPostcode(QStringLiteral("1234567"), rules), QStringLiteral("12345"));
    rules.maxLength = 0;
    EXPECT_EQ(FilterPostcode(QStringLiteral("1234567"), rules), QStringLiteral("1234567"));

    EXPECT_TRUE(IsPostcodeValid(QStringLiteral("x"), rules));
    EXPECT_FALSE(IsPostcodeValid(QString(), rules));
    rules.expression = QStringLiteral("[0-9]{5}");
    EXPECT_TRUE(IsPostcodeValid(QStringLiteral("12345"), rules));
    EXPECT_FALSE(IsPostcodeValid(QStringLiteral("123456"), rules)); // the whole postcode must match
    EXPECT_FALSE(IsPostcodeValid(QStringLiteral("a12345"), rules));
    rules.expression = QStringLiteral("[0-9"); // broken: nothing is valid
    EXPECT_FALSE(IsPostcodeValid(QStringLiteral("12345"), rules));
}

} // namespace
} // namespace pavlora::test
