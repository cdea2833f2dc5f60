#include "core/DataStream.h"
#include "core/QORError.h"
#include "core/XMLDoc.h"
#include "core/XMLUtils2.h"
#include "support/TestSandbox.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>

namespace pavlora::test {
namespace {

struct FloatCase {
    const char* name;
    const char* text;
    double expected; // NaN: the default is expected and a failure is logged
};

class StrToFloat : public ::testing::TestWithParam<FloatCase> { };

TEST_P(StrToFloat, ParsesEitherSeparatorWhateverTheLocale)
{
    const FloatCase& c = GetParam();
    SetLastError(TQORError{});
    const double fallback = -7.25;
    const double value = StrToFloatDefAllSep(QString::fromUtf8(c.text), fallback);
    if (std::isnan(c.expected)) {
        EXPECT_EQ(value, fallback);
        EXPECT_EQ(LastError().context, QLatin1String("XMLUtils.StrToFloatDefAllSep"));
    } else {
        EXPECT_EQ(value, c.expected);
        EXPECT_FALSE(LastError().IsError());
    }
}

const double kUnparseable = std::nan("");

INSTANTIATE_TEST_SUITE_P(Cases, StrToFloat,
    ::testing::Values(FloatCase{"Point", "1.5", 1.5}, FloatCase{"Comma", "1,5", 1.5},
        FloatCase{"NegativeComma", "-0,25", -0.25}, FloatCase{"Integer", "42", 42.0},
        FloatCase{"Blanks", " 3.75 ", 3.75}, FloatCase{"Exponent", "1.5E3", 1500.0},
        FloatCase{"CommaExponent", "2,5e-1", 0.25}, FloatCase{"LeadingSeparator", ".5", 0.5},
        FloatCase{"TrailingSeparator", "5.", 5.0}, FloatCase{"Plus", "+2", 2.0}, FloatCase{"AtTheLimit", "1e25", 1e25},
        FloatCase{"Underflow", "1e-400", 0.0}, FloatCase{"Letters", "abc", kUnparseable},
        FloatCase{"Empty", "", kUnparseable}, FloatCase{"AboveTheLimit", "2e30", kUnparseable},
        FloatCase{"BelowMinusTheLimit", "-2e30", kUnparseable}, FloatCase{"Overflow", "1e400", kUnparseable},
        FloatCase{"NaN", "NaN", kUnparseable}, FloatCase{"Infinity", "inf", kUnparseable},
        FloatCase{"MinusInfinity", "-INF", kUnparseable}, FloatCase{"BothSeparators", "1.000,5", kUnparseable},
        FloatCase{"TwoPoints", "1.2.3", kUnparseable}, FloatCase{"Hex", "0x10", kUnparseable},
        FloatCase{"TrailingText", "1.5cm", kUnparseable}, FloatCase{"BareExponent", "1e", kUnparseable}),
    CaseName());

struct FormatCase {
    const char* name;
    double value;
    const char* text;
};

class FloatWriter : public ::testing::TestWithParam<FormatCase> { };

TEST_P(FloatWriter, RoundsToTwoDecimalsAndFiveDigits)
{
    EXPECT_EQ(FormatFloatAttribute(GetParam().value), QLatin1String(GetParam().text));
    pugi::xml_document document;
    pugi::xml_node element = document.append_child("e");
    WriteFloatAttribute(element, "v", GetParam().value);
    EXPECT_EQ(element.attribute("v").empty(), *GetParam().text == 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, FloatWriter,
    ::testing::Values(FormatCase{"FiveDigits", 1234.567, "1234.6"}, FormatCase{"HalfUp", 0.125, "0.13"},
        FormatCase{"AsWritten", 2.675, "2.68"}, FormatCase{"Negative", -0.125, "-0.13"},
        FormatCase{"LongIntegerKeepsTwoDecimals", 123456.789, "123456.79"},
        FormatCase{"FiveIntegerDigits", 12345.67, "12346"}, FormatCase{"Carry", 9999.96, "10000"},
        FormatCase{"TrailingZeros", 1.5, "1.5"}, FormatCase{"Whole", 210.0, "210"},
        FormatCase{"ThreeIntegerDigits", 297.254, "297.25"}, FormatCase{"Large", 1e20, "100000000000000000000"},
        FormatCase{"Zero", 0.0, ""}, FormatCase{"RoundsToZero", 0.004, ""}, FormatCase{"NaN", std::nan(""), ""},
        FormatCase{"Infinity", INFINITY, ""}),
    CaseName());

TEST(TypedAttributes, ReadersGiveTheirDefaults)
{
    pugi::xml_document document;
    document.load_string("<e i=\" 12\" h=\"$FF\" neg=\"$FFFFFFFF\" bad=\"1x\" f=\"2,5\" fe=\"\" s=\"\" b=\"TRUE\" "
                         "b0=\"0\" bn=\"2\" bx=\"ja\"/>");
    const pugi::xml_node e = document.child("e");
    EXPECT_EQ(ReadIntAttribute(e, "i"), 12);
    EXPECT_EQ(ReadIntAttribute(e, "h"), 255);
    EXPECT_EQ(ReadIntAttribute(e, "neg"), -1);
    EXPECT_EQ(ReadIntAttribute(e, "missing", 7), 7);
    EXPECT_THROW(ReadIntAttribute(e, "bad"), EDataDocumentError);
    EXPECT_THROW(ReadIntAttribute(e, "s", 3), EDataDocumentError);
    EXPECT_EQ(ReadFloatAttribute(e, "f"), 2.5);
    EXPECT_EQ(ReadFloatAttribute(e, "fe", 1.25), 1.25);
    EXPECT_EQ(ReadFloatAttribute(e, "missing", 0.5), 0.5);
    EXPECT_EQ(ReadStringAttribute(e, "s", QStringLiteral("d")), QString());
    EXPECT_EQ(ReadStringAttribute(e, "missing", QStringLiteral("d")), QLatin1String("d"));
    EXPECT_TRUE(ReadBoolAttribute(e, "b"));
    EXPECT_FALSE(ReadBoolAttribute(e, "b0", true));
    EXPECT_TRUE(ReadBoolAttribute(e, "bn"));
    EXPECT_TRUE(ReadBoolAttribute(e, "bx", true));
    EXPECT_TRUE(ReadBoolAttribute(e, "missing", true));
}

TEST(TypedAttributes, WritersSkipTheDefaultsAndReadBack)
{
    pugi::xml_document document;
    pugi::xml_node e = document.append_child("e");
    e.append_attribute("old").set_value("5");
    WriteIntAttribute(e, "zero", 0);
    WriteIntAttribute(e, "old", 0); // a default value also clears what was there
    WriteIntAttribute(e, "n", -3);
    WriteFloatAttribute(e, "f", 0.0);
    WriteFloatAttribute(e, "g", 1.005);
    WriteStringAttribute(e, "s", QString());
    WriteStringAttribute(e, "t", QStringLiteral("Stra\u00dfe"));
    WriteBoolAttribute(e, "b", false);
    WriteBoolAttribute(e, "c", true);
    EXPECT_STREQ(TXMLDoc::AttributeText(e, "n").toUtf8().constData(), "-3");
    EXPECT_FALSE(e.attribute("zero"));
    EXPECT_FALSE(e.attribute("old"));
    EXPECT_FALSE(e.attribute("f"));
    EXPECT_FALSE(e.attribute("s"));
    EXPECT_FALSE(e.attribute("b"));
    EXPECT_EQ(ReadIntAttribute(e, "zero"), 0);
    EXPECT_EQ(ReadIntAttribute(e, "n"), -3);
    EXPECT_EQ(ReadFloatAttribute(e, "g"), 1.01);
    EXPECT_EQ(ReadStringAttribute(e, "t"), QStringLiteral("Stra\u00dfe"));
    EXPECT_TRUE(ReadBoolAttribute(e, "c"));
}

struct IntegerCase {
    const char* name;
    const char* text;
    bool ok;
    int value;
};

class IntegerText : public ::testing::TestWithParam<IntegerCase> { };

TEST_P(IntegerText, ParsesDecimalAndHexadecimal)
{
    int value = 0;
    EXPECT_EQ(ParseIntegerText(QString::fromLatin1(GetParam().text), value), GetParam().ok);
    if (GetParam().ok) {
        EXPECT_EQ(value, GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, IntegerText,
    ::testing::Values(IntegerCase{"Decimal", "-2147483648", true, -2147483647 - 1},
        IntegerCase{"Max", "2147483647", true, 2147483647}, IntegerCase{"TooLarge", "2147483648", false, 0},
        IntegerCase{"Colour", "$00FF8040", true, 0x00FF8040}, IntegerCase{"CPrefix", "0x1f", true, 31},
        IntegerCase{"NegativeHex", "-$10", true, -16}, IntegerCase{"HexTooLong", "$100000000", false, 0},
        IntegerCase{"Float", "1.5", false, 0}, IntegerCase{"Empty", "", false, 0},
        IntegerCase{"SignOnly", "-", false, 0}, IntegerCase{"BareDollar", "$", false, 0}),
    CaseName());

} // namespace
} // namespace pavlora::test
