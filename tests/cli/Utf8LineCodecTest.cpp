// The UTF-8 line codec against glibc's iconv as an independent decoder and
// encoder.
#include <gtest/gtest.h>

#include <iconv.h>

#include <random>
#include <string>

#include "tools/Utf8LineCodec.h"

namespace {

// Converts with iconv; false when iconv finds the input invalid.
bool Iconv(const char* to, const char* from, const std::string& in, std::string* pOut) {
  iconv_t cd = iconv_open(to, from);
  std::string out(4 * in.size() + 8, '\0');
  char* pin = const_cast<char*>(in.data());
  char* pout = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  const bool ok = iconv(cd, &pin, &inLeft, &pout, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  *pOut = out;
  return ok;
}

std::string AsUtf16Le(const std::u16string& text) {
  std::string bytes;
  for (const char16_t u : text) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  return bytes;
}

TEST(Utf8LineCodec, StrictDecodingAgreesWithIconv) {
  // Bytes drawn mostly from lead and continuation ranges, so valid and
  // invalid sequences of every length come up often.
  const unsigned char pool[] = {'a', 0x00, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1,
                                0xC2, 0xDF, 0xE0, 0xE1, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
  std::mt19937 rng(7);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pool) - 1);
  std::u16string decoded;
  int nValid = 0;
  for (int i = 0; i < 200000; ++i) {
    std::string bytes;
    for (int n = 1 + i % 5; n > 0; --n)
      bytes += static_cast<char>(pool[pick(rng)]);
    std::string utf16;
    const bool bIconv = Iconv("UTF-16LE", "UTF-8", bytes, &utf16);
    std::size_t offset = 0;
    const bool bOurs = DecodeUtf8Strict(bytes, decoded, &offset);
    ASSERT_EQ(bOurs, bIconv) << testing::PrintToString(bytes);
    if (bOurs) {
      ++nValid;
      EXPECT_EQ(AsUtf16Le(decoded), utf16);
    } else {
      EXPECT_LT(offset, bytes.size());
    }
  }
  EXPECT_GT(nValid, 1000);
}

TEST(Utf8LineCodec, EncodingAgreesWithIconvAndRoundTrips) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<char32_t> bmp(1, 0xFFFF), astral(0x10000, 0x10FFFF);
  for (int i = 0; i < 20000; ++i) {
    std::u16string text;
    for (int n = i % 7; n > 0; --n) {
      char32_t cp = (n % 3 == 0) ? astral(rng) : bmp(rng);
      if (cp >= 0xD800 && cp <= 0xDFFF)
        cp = u'?';
      if (cp < 0x10000) {
        text += static_cast<char16_t>(cp);
      } else {
        text += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
        text += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
      }
    }
    std::string ours, theirs;
    AppendUtf8(text, ours);
    ASSERT_TRUE(Iconv("UTF-8", "UTF-16LE", AsUtf16Le(text), &theirs));
    EXPECT_EQ(ours, theirs);
    std::u16string back;
    std::size_t offset = 0;
    EXPECT_TRUE(DecodeUtf8Strict(ours, back, &offset));
    EXPECT_EQ(back, text);
  }
}

TEST(Utf8LineCodec, LenientReplacesEachMaximalInvalidPart) {
  std::u16string out;
  DecodeUtf8Lenient("a\xff\xfe" "b", out);
  EXPECT_EQ(out, u"a\ufffd\ufffdb");
  DecodeUtf8Lenient("\xe2\x82" "c", out);  // one cut-short sequence
  EXPECT_EQ(out, u"\ufffdc");
  DecodeUtf8Lenient("\xe0\x80\xaf", out);  // overlong: each byte on its own
  EXPECT_EQ(out, u"\ufffd\ufffd\ufffd");
  DecodeUtf8Lenient("\xf0\x9f\x98\x80\xe2\x82\xac", out);
  EXPECT_EQ(out, u"\U0001F600\u20ac");
  std::string back;
  AppendUtf8(u"\xd800x", back);  // an unpaired surrogate cannot be UTF-8
  EXPECT_EQ(back, "\xef\xbf\xbdx");
}

}  // namespace
