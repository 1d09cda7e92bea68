// Dialog units to pixels: rounding, and the classic base units of an
// 8-point dialog font at 96 dots per inch (6 x 13 pixels).
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/framework/DialogUnits.h"

namespace {

TEST(MulDiv, RoundsHalfAwayFromZeroAsExactArithmeticSays) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> value(-100000, 100000);
  for (int i = 0; i < 20000; ++i) {
    const int a = value(random), b = value(random), c = value(random);
    if (c == 0)
      continue;
    const long double exact = static_cast<long double>(a) * b / c;
    const long double expected = exact < 0 ? -std::floor(-exact + 0.5L) : std::floor(exact + 0.5L);
    if (std::fabs(expected) > 2147483647.0L) {
      ASSERT_EQ(MulDiv(a, b, c), -1) << a << '*' << b << '/' << c;
      continue;
    }
    ASSERT_EQ(MulDiv(a, b, c), static_cast<int>(expected)) << a << '*' << b << '/' << c;
  }
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(2000000000, 2000000000, 2000000000), 2000000000);  // no overflow
}

TEST(DialogUnits, ClassicBaseUnits) {
  // A 52-letter width of 312 pixels averages 6 per character.
  EXPECT_EQ(AverageCharWidthFromAlphabet(312), 6);
  EXPECT_EQ(AverageCharWidthFromAlphabet(337), 6);  // 12 per pair, integer steps
  EXPECT_EQ(AverageCharWidthFromAlphabet(338), 7);  // 13 per pair rounds up

  // The password dialog and its input field: corners map separately.
  const RECT dialog = DialogUnitsToPixels(RECT{0, 0, 167, 149}, 6, 13);
  EXPECT_EQ(dialog.right, 251);
  EXPECT_EQ(dialog.bottom, 242);
  const RECT input = DialogUnitsToPixels(RECT{7, 79, 7 + 154, 79 + 14}, 6, 13);
  EXPECT_EQ(input.left, 11);
  EXPECT_EQ(input.top, 128);
  EXPECT_EQ(input.right, 242);
  EXPECT_EQ(input.bottom, 151);
}

}  // namespace
