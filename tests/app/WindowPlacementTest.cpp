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

// The layout's boxes and fonts at 100, 125, 150 and 200 %: MulDiv's rounding, half away from 0.
TEST(WindowPlacementTest, ScaleForDpiRoundsAsMulDiv) {
    struct Row {
        int value;
        int at96, at120, at144, at192;
    };
    const Row rows[] = {
        {511, 511, 639, 767, 1022},  // client width: 638.75, 766.5
        {376, 376, 470, 564, 752},   // client height
        {13, 13, 16, 20, 26},        // the font: 16.25, 19.5
        {11, 11, 14, 17, 22},        // the small font: 13.75, 16.5
        {21, 21, 26, 32, 42},        // a drop-down list's closed height: 26.25, 31.5
        {1, 1, 1, 2, 2},             // 1.25, 1.5
        {0, 0, 0, 0, 0},
        {-3, -3, -4, -5, -6},  // -3.75, -4.5: away from zero, as on the positive side
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // held at the ends of int
        {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(ScaleForDpi(rows[i].value, 96), rows[i].at96) << " row " << i;
        EXPECT_EQ(ScaleForDpi(rows[i].value, 120), rows[i].at120) << " row " << i;
        EXPECT_EQ(ScaleForDpi(rows[i].value, 144), rows[i].at144) << " row " << i;
        EXPECT_EQ(ScaleForDpi(rows[i].value, 192), rows[i].at192) << " row " << i;
    }
    EXPECT_EQ(ScaleForDpi(13, 0), 13);  // no DPI known: the layout's own
}

// kelm.dat keeps unscaled positions: an unmoved window saves the numbers it was opened with, at
// every system scale Windows offers, negative positions (monitors left of the primary) included.
TEST(WindowPlacementTest, SavedPositionsSurviveTheScale) {
    EXPECT_EQ(ScreenFromSaved({100, -100}, 144).X, 150);
    EXPECT_EQ(ScreenFromSaved({100, -100}, 144).Y, -150);
    EXPECT_EQ(SavedFromScreen({150, 151}, 144).Y, 101);  // a moved window: the nearest unit
    for (int dpi : {96, 120, 144, 168, 192, 240, 288, 480}) {
        for (int v = -40000; v <= 40000; v += 7) {
            const ScreenPoint back = SavedFromScreen(ScreenFromSaved({v, -v}, dpi), dpi);
            ASSERT_EQ(back.X, v) << dpi << " dpi";
            ASSERT_EQ(back.Y, -v) << dpi << " dpi";
        }
    }
}

// The preview beside the dialog (517 x 406) on its monitor, never over it.
TEST(WindowPlacementTest, PreviewStandsBesideTheDialog) {
    struct Row {
        ScreenRect dialog, work, expected;
    };
    constexpr int kSide = 390, kHeight = 414;  // the preview's frame
    const ScreenRect one = {0, 0, 1024, 728}, second = {1024, 0, 2048, 728};
    const Row rows[] = {
        {{100, 80, 617, 486}, one, {617, 80, 1007, 494}},        // room on the right
        {{500, 80, 1017, 486}, one, {110, 80, 500, 494}},        // none there: on the left
        {{300, 80, 817, 486}, one, {0, 80, 300, 494}},           // neither: the wider, narrowed
        {{200, 80, 717, 486}, one, {717, 80, 1024, 494}},        //   on the right
        {{100, 500, 617, 906}, one, {617, 314, 1007, 728}},      // moved up into the work area
        {{100, -40, 617, 366}, one, {617, 0, 1007, 414}},        //   and down
        {{1500, 10, 2017, 416}, second, {1110, 10, 1500, 424}},  // the dialog's own monitor
        {{100, 0, 617, 406}, {0, 0, 1024, 300}, {617, 0, 1007, 300}},  // cut to a low screen
        {{0, 80, 1024, 486}, one, {1024, 80, 1024, 494}},  // no room at all: empty, not over it
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const ScreenRect got = PlaceBeside(rows[i].dialog, kSide, kHeight, rows[i].work);
        const ScreenRect& e = rows[i].expected;
        EXPECT_TRUE(got.Left == e.Left && got.Top == e.Top && got.Right == e.Right &&
                    got.Bottom == e.Bottom)
            << " row " << i << ": " << got.Left << ", " << got.Top << ", " << got.Right << ", "
            << got.Bottom;
    }
}

}  // namespace
}  // namespace dovarin
