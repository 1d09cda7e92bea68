#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/core/HexFormat.h"

// Two digits and a terminator, nothing after them, as printf's format gives.
TEST(HexFormat, MatchesPrintfForEveryByte) {
  for (int b = 0; b < 256; ++b) {
    // The system library's own format, not a literal the compiler checks.
    char format[] = "%0.2x", expected[3], actual[4] = {'x', 'x', 'x', 'x'};
    std::snprintf(expected, sizeof expected, format, b);
    EXPECT_EQ(FormatByteHex(actual, static_cast<BYTE>(b)), 2);
    EXPECT_EQ(std::string(actual, 4), std::string(expected) + '\0' + 'x');
  }
}
