// Code page 1252 conversions against the system's own tables (glibc's iconv
// on Linux, the system's conversion functions on Windows), every byte and
// every UTF-16 code unit, and the bounds the conversions keep.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/core/CodePage.h"
#include "tests/core/SystemCodePage.h"

using WString = std::basic_string<WCHAR>;

// A code unit without a byte becomes '?' and is reported; one with a byte
// is reported as converted cleanly, whatever the flag held before.
TEST(CodePage, EveryByteAndCodeUnitMapsAsTheSystemDoes) {
  std::map<WCHAR, BYTE> systemEncode;
  for (unsigned b = 0; b < 256; ++b) {
    const char in = static_cast<char>(b);
    WCHAR out = 0;
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, &in, 1, &out, 1), 1);
    const auto system = SystemDecode1252(BYTE(b));
    EXPECT_EQ(system, out) << b;
    if (system)
      systemEncode[*system] = BYTE(b);
  }
  for (unsigned u = 0; u <= 0xFFFF; ++u) {
    const WCHAR in = static_cast<WCHAR>(u);
    char out = 0;
    BOOL usedDefault = TRUE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, &in, 1, &out, 1, nullptr, &usedDefault), 1);
    const auto system = systemEncode.find(in);
    EXPECT_TRUE(system != systemEncode.end() ? !usedDefault && BYTE(out) == system->second
                                             : usedDefault && out == '?')
        << "unit " << u;
  }
}

TEST(CodePage, BoundsAreRespectedLikeWindows) {
  std::string out(8, 'x');
  // Too small: what fits is written, the call reports failure with 0.
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, TEXT("abcdef"), -1, out.data(), 3, nullptr, nullptr), 0);
  EXPECT_EQ(out.substr(0, 4), "abcx");
  // Size query writes nothing.
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, TEXT("abcdef"), -1, nullptr, 0, nullptr, nullptr), 7);
  // An explicit count converts no terminator.
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, TEXT("abcdef"), 2, out.data(), 8, nullptr, nullptr), 2);

  WString wide(8, TEXT('x'));
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x80\x9f\xff", -1, wide.data(), 8), 4);
  EXPECT_EQ(WString(wide.c_str()), TEXT("\u20ac\u0178\u00ff"));
  wide.assign(8, TEXT('x'));
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "hello", -1, wide.data(), 2), 0);
  EXPECT_EQ(wide.substr(0, 3), TEXT("hex"));
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "hello", -1, nullptr, 0), 6);
}
