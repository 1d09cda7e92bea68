// Strict UTF-8 decoding, encoding, and the end of a line cut short, against
// glibc's iconv as an independent decoder.
#include <gtest/gtest.h>

#include <iconv.h>

#include <cerrno>
#include <random>
#include <string>

#include "libvelkast/Utf8Codec.h"
#include "libvelkast/WideString.h"

TEST(Utf8LineCodec, StrictDecodingAndEncodingAgreeWithIconv) {
  // Bytes drawn mostly from lead and continuation ranges, so valid and
  // invalid sequences of every length come up often.
  const unsigned char pool[] = {'a',  0x00, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1,
                                0xC2, 0xDF, 0xE0, 0xE1, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
  std::mt19937 rng(7);
  const iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
  WString ours;
  for (int i = 0; i < 200000; ++i) {
    std::string bytes;
    for (int n = 1 + i % 5; n > 0; --n)
      bytes += static_cast<char>(pool[rng() % std::size(pool)]);
    WString theirs(bytes.size(), TEXT('\0'));
    char* pIn = bytes.data();
    char* pOut = reinterpret_cast<char*>(theirs.data());
    std::size_t cbIn = bytes.size(), cbOut = 2 * theirs.size();
    const bool bValid = iconv(cd, &pIn, &cbIn, &pOut, &cbOut) != static_cast<std::size_t>(-1);
    const bool bCutShort = !bValid && errno == EINVAL;  // valid to iconv but for its end
    theirs.resize(theirs.size() - cbOut / 2);
    // Where iconv stops is the first byte that starts no valid sequence; the
    // text before it is encoded back to the same bytes.
    std::size_t offset = bytes.size();
    ASSERT_EQ(DecodeUtf8Strict(bytes, ours, &offset), bValid) << testing::PrintToString(bytes);
    EXPECT_EQ(offset, bytes.size() - cbIn);
    // A line's start is judged without a character cut short at its end
    // (iconv, laxer, may call cut short what is already wrong).
    const std::string_view judged = WithoutCutSequence(bytes);
    EXPECT_TRUE(!(bValid || bCutShort) || judged == bytes.substr(0, offset) ||
                (bCutShort && judged == bytes))
        << testing::PrintToString(bytes);
    EXPECT_EQ(ours, theirs) << testing::PrintToString(bytes);
    std::string encoded;
    AppendUtf8(theirs, encoded);
    EXPECT_EQ(encoded, bytes.substr(0, offset));
  }
  iconv_close(cd);
}
