// Where the window opens when the saved position does not suit the screens of today.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "app/WindowPlacement.h"

namespace dovarin {
namespace {

constexpr int kWidth = 517;  // the form's outer width
constexpr int kTitle = 30;   // frame and caption above the client area

const std::vector<ScreenRect> kOne = {{0, 0, 1024, 728}};  // 1024 x 768 less the task bar
const std::vector<ScreenRect> kSideBySide = {{0, 0, 1024, 728}, {1024, 0, 2048, 728}};
const std::vector<ScreenRect> kUneven = {{0, 0, 1920, 1040}, {1920, 0, 3200, 984}};
const std::vector<ScreenRect> kLeftOfPrimary = {{0, 0, 1024, 728}, {-1280, 0, 0, 984}};
const std::vector<ScreenRect> kApart = {{0, 0, 1000, 700}, {2001, 0, 3000, 700}};
const std::vector<ScreenRect> kNarrow = {{0, 0, 400, 300}};

TEST(WindowPlacementTest, TitleBarEndsOnScreenByTheLeastMove) {
    struct Row {
        ScreenPoint saved;
        const std::vector<ScreenRect>& areas;
        ScreenPoint expected;
    };
    const std::vector<ScreenRect> none;
    const Row rows[] = {
        {{100, 100}, kOne, {100, 100}},                  // on screen: unchanged
        {{0, 0}, kOne, {0, 0}},                          // exactly in the corner
        {{5000, -3000}, kOne, {1024 - kWidth, 0}},       // a monitor since removed
        {{-50, 100}, kOne, {0, 100}},                    // partly off the left edge
        {{100, 720}, kOne, {100, 728 - kTitle}},         // under the task bar
        {{800, 100}, kSideBySide, {800, 100}},           // across two monitors: covered
        {{2500, 1000}, kUneven, {2500, 984 - kTitle}},   // below the shorter monitor
        {{1900, 1000}, kUneven, {1920, 984 - kTitle}},   // nearer the shorter one
        {{-3000, 50}, kLeftOfPrimary, {-1280, 50}},      // nearer the second monitor
        {{1242, 10}, kApart, {1000 - kWidth, 10}},       // a tie goes to the earlier area
        {{300, 100}, kNarrow, {0, 100}},                 // wider than the area: left edge
        {{INT_MAX, INT_MIN}, kOne, {1024 - kWidth, 0}},  // extremes of a settings file
        {{INT_MIN, INT_MAX}, kOne, {0, 728 - kTitle}},
        {{-9999, -9999}, none, {-9999, -9999}},  // no work area known: unchanged
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const ScreenPoint got = PlaceTitleBar(rows[i].saved, kWidth, kTitle, rows[i].areas);
        EXPECT_EQ(got.X, rows[i].expected.X) << " row " << i;
        EXPECT_EQ(got.Y, rows[i].expected.Y) << " row " << i;
    }
}

}  // namespace
}  // namespace dovarin
