// Code page 1252 conversions against the system's own tables (glibc's iconv
// on Linux, the system's conversion functions on Windows), every byte and
// every UTF-16 code unit.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/core/CodePage.h"
#include "tests/core/SystemCodePage.h"

namespace {

using WString = std::basic_string<WCHAR>;

// The bytes Windows maps to the C1 controls of the same value.
bool IsC1Byte(unsigned u) {
  return u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D;
}

}  // namespace

TEST(CodePage, EveryByteAndCodeUnitMapsAsTheSystemDoes) {
  for (unsigned b = 0; b < 256; ++b) {
    const char in = static_cast<char>(b);
    WCHAR out = 0;
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, &in, 1, &out, 1), 1);
    const auto system = SystemDecode1252(static_cast<BYTE>(b));
    if (IsC1Byte(b) && SystemLacksC1Bytes())
      EXPECT_TRUE(!system && out == b) << "byte " << b;
    else
      EXPECT_EQ(system, out) << "byte " << b;
  }

  int representable = 0;
  for (unsigned u = 0; u <= 0xFFFF; ++u) {
    const WCHAR in = static_cast<WCHAR>(u);
    char out = 0;
    BOOL usedDefault = FALSE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, &in, 1, &out, 1, nullptr, &usedDefault), 1);
    const auto system = SystemEncode1252(in);
    if (IsC1Byte(u) && SystemLacksC1Bytes())
      EXPECT_TRUE(!system && !usedDefault && static_cast<BYTE>(out) == u) << "unit " << u;
    else if (system)
      EXPECT_TRUE(!usedDefault && static_cast<BYTE>(out) == *system) << "unit " << u;
    else
      EXPECT_TRUE(usedDefault && out == '?') << "unit " << u;
    representable += usedDefault ? 0 : 1;
  }
  EXPECT_EQ(representable, 256);
}

TEST(CodePage, CodeUnitsWithoutAByteBecomeDefaultAndAreReported) {
  // A C1 control without a byte, a CJK character, both halves of a
  // surrogate pair: each becomes '?' and the caller is told.
  const WString text = TEXT("a\u0080b\u4e2dc\U0001F600d");
  char out[16] = {};
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out, sizeof out, nullptr, &usedDefault);
  EXPECT_EQ(n, static_cast<int>(text.size()) + 1);
  EXPECT_STREQ(out, "a?b?c??d");
  EXPECT_TRUE(usedDefault);

  BOOL clean = TRUE;
  WideCharToMultiByte(CP_ACP, 0, TEXT("caf\u00e9 \u20ac"), -1, out, sizeof out, nullptr, &clean);
  EXPECT_FALSE(clean);
  EXPECT_STREQ(out, "caf\xe9 \x80");
}

TEST(CodePage, BoundsAreRespectedLikeWindows) {
  char out[8];
  std::fill(std::begin(out), std::end(out), 'x');
  // Too small: what fits is written, the call reports failure with 0.
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, TEXT("abcdef"), -1, out, 3, nullptr, nullptr), 0);
  EXPECT_EQ(std::string(out, 4), "abcx");
  // Size query writes nothing.
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, TEXT("abcdef"), -1, nullptr, 0, nullptr, nullptr), 7);
  // An explicit count converts no terminator.
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, TEXT("abcdef"), 2, out, 8, nullptr, nullptr), 2);

  WCHAR wide[8];
  std::fill(std::begin(wide), std::end(wide), WCHAR('x'));
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x80\x9f\xff", -1, wide, 8), 4);
  EXPECT_EQ(WString(wide), TEXT("\u20ac\u0178\u00ff"));
  std::fill(std::begin(wide), std::end(wide), WCHAR('x'));
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "hello", -1, wide, 2), 0);
  EXPECT_EQ(WString(wide, 3), TEXT("hex"));
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "hello", -1, nullptr, 0), 6);
}
