// Points and heights of the handheld font page, both ways with one rounding.

#include <gtest/gtest.h>

#include "ce/font_size.h"

namespace dossel::ce {
namespace {

TEST(FontSizeTest, PointsAndHeightsRoundTheSameWayAt96PixelsPerInch) {
  // 960 / 72 = 13 remainder 24, and 24 < 36.
  EXPECT_EQ(HeightFromPoints(10, 96), -13);
  // 936 / 96 = 9 remainder 72, and 72 >= 48.
  EXPECT_EQ(PointsFromHeight(-13, 96), 10);
  // 13 is not in the size list, yet it has its height: 1248 / 72 = 17 remainder 24.
  EXPECT_EQ(HeightFromPoints(13, 96), -17);
  // Every size of the list survives the round trip.
  for (int points : {8, 9, 10, 11, 12, 14, 16, 20, 24, 28, 36})
    EXPECT_EQ(PointsFromHeight(HeightFromPoints(points, 96), 96), points) << points;
}

TEST(FontSizeTest, TheRemainderDecidesAtExactlyHalf) {
  EXPECT_EQ(MulDivRounded(1, 36, 72), 1);  // remainder 36 = 72 / 2
  EXPECT_EQ(MulDivRounded(1, 35, 72), 0);
  EXPECT_EQ(MulDivRounded(7, 1, 3), 3);  // half of 3 is 1 in whole numbers: remainder 1 rounds up
  EXPECT_EQ(HeightFromPoints(9, 120), -15);
  EXPECT_EQ(PointsFromHeight(-16, 120), 10);  // 1152 / 120 = 9 remainder 72 >= 60
}

TEST(FontSizeTest, ATypedSizeIsItsLeadingDigits) {
  EXPECT_EQ(PointsFromText(L"13"), 13);
  EXPECT_EQ(PointsFromText(L" 14pt"), 14);
  EXPECT_EQ(PointsFromText(L"big"), 0);
  EXPECT_EQ(PointsFromText(L""), 0);
}

}  // namespace
}  // namespace dossel::ce
