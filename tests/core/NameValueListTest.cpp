#include "core/NameValueList.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

TEST(NameValueList, NamesCompareWithoutCaseAndKeepTheirLastSpelling)
{
    TNameValueList list;
    list.SetValue(QStringLiteral("First"), QStringLiteral("1"));
    list.SetValue(QStringLiteral("Second"), QStringLiteral("2"));
    list.SetValue(QStringLiteral("Third"), QStringLiteral("3"));
    list.SetValue(QStringLiteral("FIRST"), QStringLiteral("one"));
    EXPECT_EQ(list.At(0).name, QLatin1String("FIRST"));
    EXPECT_EQ(list.Value(QStringLiteral("first")), QLatin1String("one"));

    list.SetValue(QStringLiteral("second"), QString()); // an empty value removes
    ASSERT_EQ(list.Count(), 2);
    EXPECT_FALSE(list.Contains(QStringLiteral("Second")));
    EXPECT_EQ(list.IndexOfName(QStringLiteral("third")), 1);
    EXPECT_EQ(list.Value(QStringLiteral("Second"), QStringLiteral("fallback")), QLatin1String("fallback"));
    EXPECT_EQ(list.Value(QStringLiteral("\u00dcBER")), QString());
    list.SetValue(QStringLiteral("\u00fcber"), QStringLiteral("x"));
    EXPECT_EQ(list.Value(QStringLiteral("\u00dcBER")), QLatin1String("x"));
}

} // namespace
} // namespace pavlora::test
