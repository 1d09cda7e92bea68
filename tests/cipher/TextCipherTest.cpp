// The encrypted-text format: a text must be the AES-256-ECB encryption,
// under the built-in pass phrase zero-filled to 32 bytes, of the password's
// code page 1252 form zero-filled to P bytes. The block cipher, checked on
// its own against the NIST files and OpenSSL, is the reference.
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
WString Run(Op op, const WString& input) {
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  Length n = 12345;
  LPCWSTR psz = (cipher.*op)(input.c_str(), &n);
  if (psz == nullptr)
    return TEXT("<null>");
  EXPECT_EQ(n, static_cast<Length>(std::char_traits<WCHAR>::length(psz)));
  return psz;
}

WString EncryptText(const WString& s) { return Run<std::int32_t>(&CAesTextCipher::Encrypt, s); }
WString DecryptText(const WString& s) { return Run<std::uint32_t>(&CAesTextCipher::Decrypt, s); }

// The built-in key as raw key bytes: the pass phrase zero-filled to 32 bytes.
CAesTextCipher BuiltinKeyCipher() {
  BYTE key[32] = {};
  std::copy_n(g_szBuiltinPassPhrase, sizeof g_szBuiltinPassPhrase - 1, key);
  return CAesTextCipher(key, KeySize256);
}

std::vector<BYTE> DecryptDigits(const WString& text) {
  std::vector<BYTE> bytes = FromHex(std::string(text.begin(), text.end()));
  const auto n = static_cast<std::int32_t>(bytes.size());
  BuiltinKeyCipher().DecryptBuffer(bytes.data(), bytes.data(), n);
  return bytes;
}

WString EncryptedDigits(std::vector<BYTE> plain) {
  const auto n = static_cast<std::int32_t>(plain.size());
  BuiltinKeyCipher().EncryptBuffer(plain.data(), plain.data(), n);
  const std::string digits = ToHex(plain);
  return WString(digits.begin(), digits.end());
}

// Every code unit that code page 1252 carries, NUL excluded.
std::vector<WCHAR> RepresentableUnits() {
  std::vector<WCHAR> units;
  for (int b = 1; b < 256; ++b)
    units.push_back(Cp1252ToWideChar(static_cast<BYTE>(b)));
  return units;
}

WString RandomPassword(std::mt19937& rng, size_t length) {
  static const auto units = RepresentableUnits();
  WString s(length, TEXT(' '));
  for (auto& ch : s)
    ch = units[rng() % units.size()];
  return s;
}

std::vector<BYTE> CodePageBytes(const WString& s) {
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
  EXPECT_EQ(EncryptText(TEXT("")), TEXT("cf118df792bfaa9cfbd8e0d83cf2a039"));
  EXPECT_EQ(EncryptText(TEXT("password")), TEXT("53877449c8ce5745eefc1ef26d760efa"));
  EXPECT_EQ(DecryptText(TEXT("53877449c8ce5745eefc1ef26d760efa")), TEXT("password"));
  EXPECT_EQ(DecryptText(TEXT("cf118df792bfaa9cfbd8e0d83cf2a039")), TEXT(""));
}

// For L = 0 to 100, a password of random code page 1252 characters: the
// text has 2P lowercase digits, P = 16 * floor((L + 17) / 16); they decrypt
// to the password followed by zeros; Decrypt gives the password back, from
// uppercase digits as well.
TEST(TextCipher, FormatAndRoundTripForEveryLength) {
  std::mt19937 rng(1252);
  for (size_t length = 0; length <= 100; ++length) {
    const WString password = RandomPassword(rng, length);
    const WString text = EncryptText(password);
    const size_t cbPlain = 16 * ((length + 17) / 16);
    ASSERT_EQ(text.size(), 2 * cbPlain) << "L = " << length;
    ASSERT_TRUE(std::all_of(text.begin(), text.end(), [](WCHAR c) {
      return (c >= TEXT('0') && c <= TEXT('9')) || (c >= TEXT('a') && c <= TEXT('f'));
    }));
    std::vector<BYTE> expected = CodePageBytes(password);
    expected.resize(cbPlain, 0);
    ASSERT_EQ(DecryptDigits(text), expected) << "L = " << length;

    WString upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](WCHAR c) {
      return c >= TEXT('a') && c <= TEXT('f') ? WCHAR(c - 32) : c;
    });
    ASSERT_EQ(DecryptText(text), password) << "L = " << length;
    ASSERT_EQ(DecryptText(upper), password) << "L = " << length;
  }
}

TEST(TextCipher, PassPhraseIsCutOrZeroFilledToTheKeyLength) {
  std::int32_t n = 0;
  EXPECT_EQ(WString(BuiltinKeyCipher().Encrypt(TEXT("password"), &n)),
            TEXT("53877449c8ce5745eefc1ef26d760efa"));

  CAesTextCipher longPhrase("0123456789abcdef0123456789abcdefEXTRA", KeySize256);
  CAesTextCipher cutPhrase("0123456789abcdef0123456789abcdef", KeySize256);
  const WString viaLong = longPhrase.Encrypt(TEXT("pw"), &n);
  EXPECT_EQ(viaLong, WString(cutPhrase.Encrypt(TEXT("pw"), &n)));
}

// Texts that are not whole blocks, odd lengths, and junk characters: the
// reading rules, never a failure.
TEST(TextCipher, DecryptReadsAnyTextLeniently) {
  const WString text = EncryptText(TEXT("0123456789abcdefXYZ"));  // 64 digits
  for (const WString& odd : {WString(), WString(TEXT("a")), text.substr(0, 30), text.substr(0, 33),
                             text.substr(0, 34)})
    EXPECT_EQ(DecryptText(odd), TEXT("")) << odd.size();

  // 63 digits decode 32 bytes, the last one's low nibble being the terminator.
  EXPECT_EQ(DecryptText(text.substr(0, 63)), DecryptText(text.substr(0, 63) + TEXT("0")));

  // A character that is not a hex digit reads as 0 in its place only.
  for (size_t pos : {0u, 1u, 30u, 31u, 63u}) {
    for (WCHAR junk : {TEXT('g'), TEXT('Z'), TEXT(' '), TEXT('\u00e9'), TEXT('\u4e2d')}) {
      WString bad = text, zero = text;
      bad[pos] = junk;
      zero[pos] = TEXT('0');
      ASSERT_EQ(DecryptText(bad), DecryptText(zero)) << pos;
    }
  }
}

// A plaintext with no zero byte gives at most D - 1 characters, so the
// result is always terminated.
TEST(TextCipher, DecryptStopsOneShortOfTheDecodedLength) {
  EXPECT_EQ(DecryptText(EncryptedDigits(std::vector<BYTE>(32, 'A'))), WString(31, TEXT('A')));

  std::vector<BYTE> cut(32, 'B');
  cut[5] = 0;
  EXPECT_EQ(DecryptText(EncryptedDigits(cut)), TEXT("BBBBB"));
}

// A character code page 1252 cannot carry would be encrypted as '?' and
// come back as another password: Encrypt refuses it instead.
TEST(TextCipher, EncryptRefusesUnrepresentableCharacters) {
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  for (LPCWSTR password : {TEXT("\u4e2d"), TEXT("abc\u0080"), TEXT("pass\U0001F511"),
                           TEXT("\xD800"), TEXT("\u0153\u03a9")}) {
    std::int32_t n = 99;
    EXPECT_EQ(cipher.Encrypt(password, &n), nullptr);
    EXPECT_EQ(n, 99);
  }
  std::int32_t n = 0;
  EXPECT_NE(cipher.Encrypt(TEXT("\u20ac\u0153\u0081\u00ff"), &n), nullptr);
  EXPECT_EQ(cipher.Encrypt(nullptr, &n), nullptr);
  std::uint32_t m = 0;
  EXPECT_EQ(cipher.Decrypt(nullptr, &m), nullptr);
}
