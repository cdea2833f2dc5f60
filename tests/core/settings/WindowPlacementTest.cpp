#include "core/WindowPlacement.h"

#include "support/TestSandbox.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

// A primary screen of 1920 x 1080 and a second one of 1280 x 1024 left of it.
const QList<QRect> kTwoScreens{QRect(0, 0, 1920, 1080), QRect(-1280, 0, 1280, 1024)};

struct PlacementCase {
    std::string name;
    TStoredPlacement stored;
    QList<QRect> screens;
    TWindowPlacement expected;
};

class Placement : public ::testing::TestWithParam<PlacementCase> { };

TEST_P(Placement, KeepsTheWindowOnTheScreens)
{
    EXPECT_EQ(PlaceWindow(GetParam().stored, GetParam().screens), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Placement,
    ::testing::Values(PlacementCase{"LeftScreenKeepsItsSign", {-300, 40, 800, 600, 0}, kTwoScreens,
                          {-300, 40, 800, 600, TWindowState::Normal}},
        PlacementCase{"BeyondTheRightEdge", {1500, 100, 800, 600, 2}, kTwoScreens,
            {1120, 100, 800, 600, TWindowState::Maximized}},
        PlacementCase{
            "BeyondTheBottom", {10, 900, 800, 600, 0}, kTwoScreens, {10, 480, 800, 600, TWindowState::Normal}},
        PlacementCase{"LeftScreenGone", {-300, -50, 800, 600, 1}, {QRect(0, 0, 1920, 1080)},
            {0, 0, 800, 600, TWindowState::Minimized}},
        PlacementCase{"WiderThanTheScreens", {100, 0, 3000, 600, 0}, {QRect(0, 0, 1920, 1080)},
            {0, 0, 3000, 600, TWindowState::Normal}},
        PlacementCase{"CentredOnThePrimary", {std::nullopt, std::nullopt, 800, 600, 0}, kTwoScreens,
            {560, 240, 800, 600, TWindowState::Normal}},
        PlacementCase{"BadSizeAndState", {10, 10, 0, -5, 7}, kTwoScreens, {10, 10, 800, 600, TWindowState::Normal}},
        PlacementCase{"NoScreens", {-300, 5000, 800, 600, 0}, {}, {-300, 5000, 800, 600, TWindowState::Normal}}),
    CaseName());

} // namespace
} // namespace pavlora::test
