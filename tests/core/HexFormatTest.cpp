#include <gtest/gtest.h>

#include <cstdio>

#include "platform/core/HexFormat.h"

TEST(HexFormat, MatchesPrintfForEveryByte) {
  for (int b = 0; b < 256; ++b) {
    char format[] = "%0.2x";  // the system library's own format
    char expected[3], actual[4] = {'x', 'x', 'x', 'x'};
    std::snprintf(expected, sizeof expected, format, b);
    EXPECT_EQ(FormatByteHex(actual, static_cast<BYTE>(b)), 2);
    EXPECT_STREQ(actual, expected);
    EXPECT_EQ(actual[3], 'x');
  }
}
