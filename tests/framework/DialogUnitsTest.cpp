// Dialog units to pixels: rounding against exact arithmetic, and the
// classic base units of an 8-point dialog font at 96 dots per inch (6 x 13).
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

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
  EXPECT_EQ(std::tuple(AverageCharWidthFromAlphabet(312), AverageCharWidthFromAlphabet(337),
                       AverageCharWidthFromAlphabet(338)),
            std::tuple(6, 6, 7));
  // The password dialog's input field: each corner maps by itself.
  const RECT rc = DialogUnitsToPixels({7, 79, 161, 93}, 6, 13);
  EXPECT_EQ(std::tie(rc.left, rc.top, rc.right, rc.bottom), std::tuple(11, 128, 242, 151));
}

}  // namespace
