// The encrypted-text format, checked against OpenSSL: a text must be the
// AES-256-ECB encryption, under the built-in pass phrase zero-filled to 32
// bytes, of the password's code page 1252 form zero-filled to P bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "CipherTestSupport.h"
#include "cipher/BuiltinKey.h"
#include "platform/core/CodePage.h"

namespace {

// One operation on a fresh cipher, as the dialog runs it; the length the
// operation reports must be the result's.
template <typename Length, typename Op>
std::u16string Run(Op op, const std::u16string& input) {
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  Length n = 12345;
  LPCWSTR psz = (cipher.*op)(input.c_str(), &n);
  if (psz == nullptr)
    return u"<null>";
  EXPECT_EQ(n, static_cast<Length>(std::char_traits<WCHAR>::length(psz)));
  return psz;
}

std::u16string EncryptText(const std::u16string& s) { return Run<std::int32_t>(&CAesTextCipher::Encrypt, s); }
std::u16string DecryptText(const std::u16string& s) { return Run<std::uint32_t>(&CAesTextCipher::Decrypt, s); }

std::string Narrow(const std::u16string& s) {
  return std::string(s.begin(), s.end());
}

std::vector<BYTE> BuiltinKeyBytes() {
  std::vector<BYTE> key(32, 0);
  std::copy_n(g_szBuiltinPassPhrase, sizeof g_szBuiltinPassPhrase - 1, key.begin());
  return key;
}

// Every code unit that code page 1252 carries, NUL excluded.
std::vector<WCHAR> RepresentableUnits() {
  std::vector<WCHAR> units;
  for (int b = 1; b < 256; ++b)
    units.push_back(Cp1252ToWideChar(static_cast<BYTE>(b)));
  return units;
}

std::u16string RandomPassword(std::mt19937& rng, size_t length) {
  static const auto units = RepresentableUnits();
  std::u16string s(length, u' ');
  for (auto& ch : s)
    ch = units[rng() % units.size()];
  return s;
}

std::vector<BYTE> CodePageBytes(const std::u16string& s) {
  std::vector<BYTE> bytes;
  for (WCHAR ch : s) {
    BYTE b = 0;
    EXPECT_TRUE(WideCharTo1252(ch, &b));
    bytes.push_back(b);
  }
  return bytes;
}

}  // namespace

TEST(TextCipher, KnownTexts) {
  EXPECT_EQ(EncryptText(u""), u"cf118df792bfaa9cfbd8e0d83cf2a039");
  EXPECT_EQ(EncryptText(u"password"), u"53877449c8ce5745eefc1ef26d760efa");
  EXPECT_EQ(DecryptText(u"53877449c8ce5745eefc1ef26d760efa"), u"password");
  EXPECT_EQ(DecryptText(u"cf118df792bfaa9cfbd8e0d83cf2a039"), u"");
}

// For L = 0 to 100: the text has 2P lowercase digits, P = 16 * floor((L +
// 17) / 16), and OpenSSL decrypts it to the password followed by zeros.
TEST(TextCipher, FormatMatchesOpenSslForEveryLength) {
  std::mt19937 rng(1252);
  for (size_t length = 0; length <= 100; ++length) {
    const std::u16string password = RandomPassword(rng, length);
    const std::u16string text = EncryptText(password);
    const size_t cbPlain = 16 * ((length + 17) / 16);
    ASSERT_EQ(text.size(), 2 * cbPlain) << "L = " << length;
    ASSERT_TRUE(std::all_of(text.begin(), text.end(), [](WCHAR c) {
      return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
    }));
    std::vector<BYTE> expected = CodePageBytes(password);
    expected.resize(cbPlain, 0);
    ASSERT_EQ(OpenSslEcb(BuiltinKeyBytes(), FromHex(Narrow(text)), false), expected) << "L = " << length;
  }
}

TEST(TextCipher, RoundTripsEveryRepresentableCharacter) {
  std::mt19937 rng(42);
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  for (int trial = 0; trial < 3000; ++trial) {
    const std::u16string password = RandomPassword(rng, rng() % 70);
    std::int32_t n = 0;
    std::uint32_t m = 0;
    const std::u16string text = cipher.Encrypt(password.c_str(), &n);
    std::u16string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](WCHAR c) { return c >= u'a' && c <= u'f' ? WCHAR(c - 32) : c; });
    ASSERT_EQ(cipher.Decrypt(text.c_str(), &m), password);
    ASSERT_EQ(cipher.Decrypt(upper.c_str(), &m), password);
  }
}

TEST(TextCipher, PassPhraseIsCutOrZeroFilledToTheKeyLength) {
  const BYTE padded[32] = {'Q', 'u', 'e', 'n', 't', 'a', 'l', 'o', 'V', 'i', 'r', 'm', 'e', 's', 'H', 'a',
                           's', 't', 'e', 'r', 'd', 'o'};
  CAesTextCipher raw(padded, KeySize256);
  std::int32_t n = 0;
  EXPECT_EQ(std::u16string(raw.Encrypt(u"password", &n)), u"53877449c8ce5745eefc1ef26d760efa");

  CAesTextCipher longPhrase("0123456789abcdef0123456789abcdefEXTRA", KeySize256);
  CAesTextCipher cutPhrase("0123456789abcdef0123456789abcdef", KeySize256);
  const std::u16string viaLong = longPhrase.Encrypt(u"pw", &n);
  EXPECT_EQ(viaLong, std::u16string(cutPhrase.Encrypt(u"pw", &n)));
}

// Texts that are not whole blocks, odd lengths, and junk characters: the
// reading rules, never a failure.
TEST(TextCipher, DecryptReadsAnyTextLeniently) {
  const std::u16string text = EncryptText(u"0123456789abcdefXYZ");  // 64 digits
  for (const std::u16string& odd : {std::u16string(u""), std::u16string(u"a"), text.substr(0, 30),
                                    text.substr(0, 33), text.substr(0, 34)})
    EXPECT_EQ(DecryptText(odd), u"") << odd.size();

  // 63 digits decode 32 bytes, the last one's low nibble being the terminator.
  EXPECT_EQ(DecryptText(text.substr(0, 63)), DecryptText(text.substr(0, 63) + u"0"));

  // A character that is not a hex digit reads as 0 in its place only.
  for (size_t pos : {0u, 1u, 30u, 31u, 63u}) {
    for (char16_t junk : {u'g', u'Z', u' ', u'\u00e9', u'\u4e2d'}) {
      std::u16string bad = text, zero = text;
      bad[pos] = junk;
      zero[pos] = u'0';
      ASSERT_EQ(DecryptText(bad), DecryptText(zero)) << pos;
    }
  }
}

// A plaintext with no zero byte gives at most D - 1 characters, so the
// result is always terminated.
TEST(TextCipher, DecryptStopsOneShortOfTheDecodedLength) {
  const std::vector<BYTE> plain(32, 'A');
  const std::string text = ToHex(OpenSslEcb(BuiltinKeyBytes(), plain, true));
  EXPECT_EQ(DecryptText(std::u16string(text.begin(), text.end())), std::u16string(31, u'A'));

  std::vector<BYTE> cut(32, 'B');
  cut[5] = 0;
  const std::string text2 = ToHex(OpenSslEcb(BuiltinKeyBytes(), cut, true));
  EXPECT_EQ(DecryptText(std::u16string(text2.begin(), text2.end())), u"BBBBB");
}

// A character code page 1252 cannot carry would be encrypted as '?' and
// come back as another password: Encrypt refuses it instead.
TEST(TextCipher, EncryptRefusesUnrepresentableCharacters) {
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  for (const char16_t* password : {u"\u4e2d", u"abc\u0080", u"pass\U0001F511", u"\xD800", u"\u0153\u03a9"}) {
    std::int32_t n = 99;
    EXPECT_EQ(cipher.Encrypt(password, &n), nullptr);
    EXPECT_EQ(n, 99);
  }
  std::int32_t n = 0;
  EXPECT_NE(cipher.Encrypt(u"\u20ac\u0153\u0081\u00ff", &n), nullptr);
  EXPECT_EQ(cipher.Encrypt(nullptr, &n), nullptr);
  std::uint32_t m = 0;
  EXPECT_EQ(cipher.Decrypt(nullptr, &m), nullptr);
}
