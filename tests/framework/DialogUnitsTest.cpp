// Dialog units to pixels: rounding against exact arithmetic, and the
// classic base units of an 8-point dialog font at 96 dots per inch (6 x 13).
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <utility>

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
    const long double rounded = exact < 0 ? -std::floor(-exact + 0.5L) : std::floor(exact + 0.5L);
    const int expected = std::fabs(rounded) > 2147483647.0L ? -1 : static_cast<int>(rounded);
    ASSERT_EQ(MulDiv(a, b, c), expected) << a << '*' << b << '/' << c;
  }
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(2000000000, 2000000000, 2000000000), 2000000000);  // no overflow
}

TEST(DialogUnits, ClassicBaseUnits) {
  // 52 letters 312 to 337 pixels wide average 6 pixels, 338 rounds up to 7.
  const std::pair<int, int> averages[] = {{312, 6}, {337, 6}, {338, 7}};
  for (auto [nWidth, nAverage] : averages)
    EXPECT_EQ(AverageCharWidthFromAlphabet(nWidth), nAverage) << nWidth;

  // The password dialog and its input field: corners map separately.
  const std::pair<RECT, RECT> rects[] = {{{0, 0, 167, 149}, {0, 0, 251, 242}},
                                         {{7, 79, 161, 93}, {11, 128, 242, 151}}};
  for (auto [units, pixels] : rects) {
    const RECT rc = DialogUnitsToPixels(units, 6, 13);
    EXPECT_EQ(std::tie(rc.left, rc.top, rc.right, rc.bottom),
              std::tie(pixels.left, pixels.top, pixels.right, pixels.bottom));
  }
}

}  // namespace
