#include "skin/ControlLayout.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ProgressFillEnd, GrowsWithThePositionAndRoundsTowardZero) {
  // Caps of 4 and 5 pixels on a 109-pixel bar: 100 inner pixels.
  EXPECT_EQ(ProgressFillEnd(4, 100, 0, 0, 100), 4);
  EXPECT_EQ(ProgressFillEnd(4, 100, 37, 0, 100), 41);
  EXPECT_EQ(ProgressFillEnd(4, 100, 100, 0, 100), 104);
  EXPECT_EQ(ProgressFillEnd(0, 10, 1, 0, 3), 3) << "10 / 3 rounds down";
  EXPECT_EQ(ProgressFillEnd(0, 10, 2, 0, 3), 6);
  EXPECT_EQ(ProgressFillEnd(2, 50, -5, -10, 10), 2 + 12) << "a range below zero";
}

TEST(ProgressFillEnd, NothingIsFilledWithoutARangeAndNeverPastTheInnerPart) {
  EXPECT_EQ(ProgressFillEnd(4, 100, 5, 10, 10), 4);
  EXPECT_EQ(ProgressFillEnd(4, 100, 5, 20, 10), 4);
  EXPECT_EQ(ProgressFillEnd(4, 100, 500, 0, 100), 104);
  EXPECT_EQ(ProgressFillEnd(4, 100, -500, 0, 100), 4);
  EXPECT_EQ(ProgressFillEnd(4, 0, 50, 0, 100), 4) << "a bar narrower than its caps";
  // The whole range of the control's positions does not overflow.
  EXPECT_EQ(ProgressFillEnd(0, 1000, INT_MAX, INT_MIN, INT_MAX), 1000);
  EXPECT_EQ(ProgressFillEnd(0, 1000, 0, INT_MIN, INT_MAX), 500);
}

TEST(SplitUpDown, TheSecondHalfStartsOnePixelAfterTheSplit) {
  const TUpDownHalves vertical = SplitUpDown(17, 23, false);
  EXPECT_EQ(vertical.First, (TRect{0, 0, 17, 11}));
  EXPECT_EQ(vertical.Second, (TRect{0, 12, 17, 23}));
  const TUpDownHalves horizontal = SplitUpDown(30, 12, true);
  EXPECT_EQ(horizontal.First, (TRect{0, 0, 15, 12}));
  EXPECT_EQ(horizontal.Second, (TRect{16, 0, 30, 12}));
}
