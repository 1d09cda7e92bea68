// Reading hexadecimal text: the digit table for every pair of 8-bit codes,
// and how far the count lets it read. Writing it is checked through the
// encrypted texts, which are exactly the lowercase spelling of their bytes.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>

#include "CipherTestSupport.h"
#include "cipher/HexText.h"
#include "platform/core/LocalMemory.h"

namespace {

// The bytes HexToBytes reads from text with count cch, terminator included.
std::vector<BYTE> Read(const char* text, UINT cch) {
  BYTE* pb = HexToBytes(text, cch);
  std::vector<BYTE> v(pb, pb + cch / 2 + 1);
  LocalFree(pb);
  return v;
}

// Independent reading of one digit: the C library's idea of a hex digit.
int DigitValue(int ch) {
  const char s[2] = {static_cast<char>(ch), 0};
  return std::isxdigit(ch) ? static_cast<int>(std::strtol(s, nullptr, 16)) : 0;
}

}  // namespace

TEST(HexText, EveryPairReadsByTheDigitTableAndTheCountSetsTheEnd) {
  for (int hi = 0; hi < 256; ++hi) {
    for (int lo = 0; lo < 256; ++lo) {
      const char text[2] = {static_cast<char>(hi), static_cast<char>(lo)};
      ASSERT_EQ(Read(text, 2), (std::vector<BYTE>{BYTE(16 * DigitValue(hi) + DigitValue(lo)), 0}))
          << hi << "," << lo;
    }
  }
  EXPECT_EQ(Read("", 0), (std::vector<BYTE>{0x00}));
  EXPECT_EQ(Read("7", 1), (std::vector<BYTE>{0x00}));
  EXPECT_EQ(Read("abc", 3), (std::vector<BYTE>{0xAB, 0x00}));
  EXPECT_EQ(Read("abc", 4), (std::vector<BYTE>{0xAB, 0xC0, 0x00}));  // the terminator is a 0
}
