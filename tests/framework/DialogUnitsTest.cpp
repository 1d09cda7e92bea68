// Dialog units to pixels: rounding against exact arithmetic, base units
// from a font's letters, and the password dialog's controls where the
// platform's own dialog manager puts them with base units of 7 x 13.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>
#include <tuple>

#include "platform/framework/DialogUnits.h"

namespace {

TEST(MulDiv, RoundsHalfAwayFromZeroAsExactArithmeticSays) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> value(-100000, 100000);
  for (int i = 0; i < 20000; ++i) {
    const int a = value(random), b = value(random), c = value(random);
    // llround rounds halves away from zero; an overflow gives -1.
    const long long exact = c == 0 ? -1 : std::llround(static_cast<long double>(a) * b / c);
    ASSERT_EQ(MulDiv(a, b, c), std::abs(exact) > INT_MAX ? -1 : exact) << a << '*' << b << '/' << c;
  }
  EXPECT_EQ(MulDiv(2000000000, 2000000000, 2000000000), 2000000000);  // no overflow
}

TEST(DialogUnits, BaseUnitsAndTheDialogManagersRectangles) {
  // 52 letters 312 to 337 pixels wide average 6 pixels, 338 rounds up to 7.
  for (auto [nAlphabet, nAverage] : {std::pair{312, 6}, {337, 6}, {338, 7}})
    EXPECT_EQ(AverageCharWidthFromAlphabet(nAlphabet), nAverage) << nAlphabet;
  // x, y, cx, cy in dialog units, and x, y, width, height in pixels as
  // measured: each value maps by itself, so 50 units are 88 pixels
  // wherever they start.
  // clang-format off
  const int items[][8] = {
      {7,   79,  154, 14,   12,  128, 270, 23},
      {7,   115, 155, 14,   12,  187, 271, 23},
      {110, 7,   50,  14,   193, 11,  88,  23},
      {110, 29,  50,  14,   193, 47,  88,  23},
      {7,   7,   79,  8,    12,  11,  138, 13},
  };  // clang-format on

  for (const auto& [x, y, cx, cy, nLeft, nTop, nWidth, nHeight] : items) {
    const RECT rc = DialogItemToPixels(x, y, cx, cy, 7, 13);
    EXPECT_EQ(std::tuple(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top),
              std::tuple(nLeft, nTop, nWidth, nHeight));
  }
}

}  // namespace
