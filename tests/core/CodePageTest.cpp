// Code page 1252 conversions, checked against glibc's iconv as an
// independent table, plus the five bytes Windows maps to C1 controls (iconv
// leaves them undefined).
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "platform/core/CodePage.h"

namespace {

// iconv's view of one byte, or 0xFFFF when it has none.
char16_t IconvDecode(unsigned char byte) {
  iconv_t cd = iconv_open("UTF-16LE", "WINDOWS-1252");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  char in[1] = {static_cast<char>(byte)};
  unsigned char out[4] = {};
  char* pin = in;
  char* pout = reinterpret_cast<char*>(out);
  size_t inLeft = 1, outLeft = sizeof out;
  const size_t rc = iconv(cd, &pin, &inLeft, &pout, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1))
    return 0xFFFF;
  return static_cast<char16_t>(out[0] | (out[1] << 8));
}

bool IsWindowsOnlyByte(int b) {
  return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

}  // namespace

TEST(CodePage, EveryByteMapsAsWindowsDoesAndBack) {
  for (int b = 0; b < 256; ++b) {
    const WCHAR wch = Cp1252ToWideChar(static_cast<BYTE>(b));
    if (IsWindowsOnlyByte(b)) {
      EXPECT_EQ(wch, static_cast<WCHAR>(b));
      EXPECT_EQ(IconvDecode(static_cast<unsigned char>(b)), 0xFFFF) << "iconv changed; recheck";
    } else {
      EXPECT_EQ(wch, IconvDecode(static_cast<unsigned char>(b))) << "byte " << b;
    }
    BYTE back = 0;
    ASSERT_TRUE(WideCharTo1252(wch, &back)) << "byte " << b;
    EXPECT_EQ(back, b);
  }
}

TEST(CodePage, CodeUnitsWithoutAByteBecomeDefaultAndAreReported) {
  int representable = 0;
  for (int u = 0; u <= 0xFFFF; ++u) {
    BYTE b = 0;
    if (WideCharTo1252(static_cast<WCHAR>(u), &b)) {
      ++representable;
      EXPECT_EQ(Cp1252ToWideChar(b), u);
    }
  }
  EXPECT_EQ(representable, 256);

  // A C1 control without a byte, a CJK character, both halves of a
  // surrogate pair: each becomes '?' and the caller is told.
  const std::u16string text = u"a\u0080b\u4e2dc\U0001F600d";
  char out[16] = {};
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out, sizeof out, nullptr, &usedDefault);
  EXPECT_EQ(n, static_cast<int>(text.size()) + 1);
  EXPECT_STREQ(out, "a?b?c??d");
  EXPECT_TRUE(usedDefault);

  BOOL clean = TRUE;
  WideCharToMultiByte(CP_ACP, 0, u"caf\u00e9 \u20ac", -1, out, sizeof out, nullptr, &clean);
  EXPECT_FALSE(clean);
  EXPECT_STREQ(out, "caf\xe9 \x80");
}

TEST(CodePage, BoundsAreRespectedLikeWindows) {
  char out[8];
  std::fill(std::begin(out), std::end(out), 'x');
  // Too small: what fits is written, the call reports failure with 0.
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"abcdef", -1, out, 3, nullptr, nullptr), 0);
  EXPECT_EQ(std::string(out, 4), "abcx");
  // Size query writes nothing.
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"abcdef", -1, nullptr, 0, nullptr, nullptr), 7);
  // An explicit count converts no terminator.
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"abcdef", 2, out, 8, nullptr, nullptr), 2);

  WCHAR wide[8];
  std::fill(std::begin(wide), std::end(wide), u'x');
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x80\x9f\xff", -1, wide, 8), 4);
  EXPECT_EQ(std::u16string(wide), u"\u20ac\u0178\u00ff");
  std::fill(std::begin(wide), std::end(wide), u'x');
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "hello", -1, wide, 2), 0);
  EXPECT_EQ(std::u16string(wide, 3), u"hex");
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "hello", -1, nullptr, 0), 6);
}
