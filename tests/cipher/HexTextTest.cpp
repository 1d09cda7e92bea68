#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>

#include "CipherTestSupport.h"
#include "cipher/HexText.h"
#include "platform/core/LocalMemory.h"

namespace {

std::string Spell(const std::vector<BYTE>& bytes) {
  LPSTR psz = BytesToHex(bytes.data(), static_cast<UINT>(bytes.size()));
  std::string s = psz;
  LocalFree(psz);
  return s;
}

// The bytes HexToBytes reads from text with count cch, terminator included.
std::vector<BYTE> Read(const std::string& text, UINT cch) {
  BYTE* pb = HexToBytes(text.c_str(), cch);
  std::vector<BYTE> v(pb, pb + cch / 2 + 1);
  LocalFree(pb);
  return v;
}

// Independent reading of one digit: the C library's idea of a hex digit.
int DigitValue(int ch) {
  if (!std::isxdigit(ch))
    return 0;
  const char s[2] = {static_cast<char>(ch), 0};
  return static_cast<int>(std::strtol(s, nullptr, 16));
}

}  // namespace

TEST(HexText, ReadsPairsUpToTheCount) {
  EXPECT_EQ(Spell({0x00, 0x0F, 0xA0, 0xFF}), "000fa0ff");
  EXPECT_EQ(Read("0fA0", 4), (std::vector<BYTE>{0x0F, 0xA0, 0x00}));
  EXPECT_EQ(Read("0FA0", 4), (std::vector<BYTE>{0x0F, 0xA0, 0x00}));
  EXPECT_EQ(Read("", 0), (std::vector<BYTE>{0x00}));
  EXPECT_EQ(Read("7", 1), (std::vector<BYTE>{0x00}));
  EXPECT_EQ(Read("abc", 3), (std::vector<BYTE>{0xAB, 0x00}));
  EXPECT_EQ(Read("abc", 4), (std::vector<BYTE>{0xAB, 0xC0, 0x00}));  // the terminator is a 0
}

TEST(HexText, EveryPairOfCharactersReadsByTheDigitTable) {
  for (int hi = 0; hi < 256; ++hi) {
    for (int lo = 0; lo < 256; ++lo) {
      const char text[2] = {static_cast<char>(hi), static_cast<char>(lo)};
      BYTE* pb = HexToBytes(text, 2);
      ASSERT_EQ(pb[0], 16 * DigitValue(hi) + DigitValue(lo)) << hi << "," << lo;
      ASSERT_EQ(pb[1], 0);
      LocalFree(pb);
    }
  }
}
