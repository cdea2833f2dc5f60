#include "ui/MessageButtonRow.h"

#include "core/AppSettings.h"
#include "support/TestSandbox.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

TAppSettings Settings(std::initializer_list<std::pair<const char*, const char*>> values)
{
    TNameValueList list;
    for (const auto& [name, value] : values)
        list.SetValue(QLatin1String(name), QString::fromUtf8(value));
    return TAppSettings(list);
}

struct RowCase {
    std::string name;
    TButtonRowPosition position;
    int offset;
    int space;
    QList<int> widths;
    QList<int> lefts;
};

class ButtonRowTest : public ::testing::TestWithParam<RowCase> { };

TEST_P(ButtonRowTest, PlacesButtons)
{
    const RowCase& c = GetParam();
    TMessageButtonRow row;
    row.position = c.position;
    row.offset = c.offset;
    row.space = c.space;
    EXPECT_EQ(ArrangeButtonRow(c.widths, 396, row), c.lefts);
}

INSTANTIATE_TEST_SUITE_P(Rows, ButtonRowTest,
    ::testing::Values(RowCase{"RightDefaults", TButtonRowPosition::Right, 10, 10, {80, 90}, {206, 296}},
        RowCase{"Center", TButtonRowPosition::Center, 10, 10, {80, 90}, {108, 198}},
        // (396 - 81) / 2 = 157.5 rounds to the even 158.
        RowCase{"CenterHalfToEven", TButtonRowPosition::Center, 10, 10, {81}, {158}},
        RowCase{"Left", TButtonRowPosition::Left, 12, 6, {80, 90, 70}, {12, 98, 194}},
        // Halves of the widths made odd: 81 / 2 = 40.5 -> 40, 91 / 2 = 45.5 -> 46.
        RowCase{"RightMiddle", TButtonRowPosition::RightMiddle, 50, 100, {80, 91}, {206, 300}},
        RowCase{"NoButtons", TButtonRowPosition::Right, 10, 10, {}, {}}),
    CaseName());

TEST(ButtonRowSettings, ReadsSettingsAndPositionWithoutCase)
{
    const TMessageButtonRow row = TMessageButtonRow::FromSettings(
        Settings({{"info_box_buttons_top", "7"}, {"info_box_buttons_offset", "$10"}, {"info_box_buttons_space", "-2"},
            {"info_box_buttons_position", "RightMiddle"}, {"reverse_dialog_button_order", "true"}}));
    EXPECT_EQ(row.top, 7);
    EXPECT_EQ(row.offset, 16);
    EXPECT_EQ(row.space, -2);
    EXPECT_EQ(row.position, TButtonRowPosition::RightMiddle);
    EXPECT_TRUE(row.reversed);
}

TEST(ButtonRowSettings, EmptyOrBrokenValuesKeepTheDefaults)
{
    const TMessageButtonRow row
        = TMessageButtonRow::FromSettings(Settings({{"info_box_buttons_top", ""}, {"info_box_buttons_offset", "zehn"},
            {"info_box_buttons_space", "4px"}, {"info_box_buttons_position", "middle"}}));
    EXPECT_EQ(row.top, 5);
    EXPECT_EQ(row.offset, 10);
    EXPECT_EQ(row.space, 10);
    EXPECT_EQ(row.position, TButtonRowPosition::Right);
    EXPECT_FALSE(row.reversed);
}

} // namespace
} // namespace pavlora::test
