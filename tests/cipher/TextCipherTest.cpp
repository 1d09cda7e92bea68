// The encrypted-text format: a text must be the AES-256-ECB encryption,
// under the built-in pass phrase zero-filled to 32 bytes, of the password's
// code page 1252 form zero-filled to P bytes. The block cipher, checked on
// its own against the NIST files and OpenSSL, is the reference. Failures
// come from the allocator's failure hook, and every released block is
// checked for leftovers of a password.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <new>
#include <random>

#include "CipherTestSupport.h"
#include "cipher/BuiltinKey.h"
#include "platform/core/CodePage.h"
#include "platform/core/LocalMemory.h"

namespace {

// One operation; the length it reports must be the result's, and a failed
// Encrypt leaves it alone.
WString Operate(CAesTextCipher& cipher, bool bEncrypt, const WString& input) {
  std::int32_t n = -1;
  std::uint32_t m = 0;
  LPCWSTR psz = bEncrypt ? cipher.Encrypt(input.c_str(), &n) : cipher.Decrypt(input.c_str(), &m);
  if (psz == nullptr) {
    EXPECT_EQ(n, -1);
    return TEXT("<null>");
  }
  EXPECT_EQ(bEncrypt ? n : std::int32_t(m), std::int32_t(std::char_traits<WCHAR>::length(psz)));
  return psz;
}

// One operation on a fresh cipher with the built-in key, as the dialog runs it.
WString Operate(bool bEncrypt, const WString& input) {
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  return Operate(cipher, bEncrypt, input);
}

// Bytes through the block cipher under the built-in key given as raw key
// bytes: the pass phrase zero-filled to 32 bytes.
std::vector<BYTE> ThroughRawKey(std::vector<BYTE> bytes, bool bEncrypt) {
  BYTE key[32] = {};
  std::copy_n(g_szBuiltinPassPhrase, sizeof g_szBuiltinPassPhrase - 1, key);
  CAesTextCipher aes(key, KeySize256);
  const auto n = static_cast<std::int32_t>(bytes.size());
  bEncrypt ? aes.EncryptBuffer(bytes.data(), bytes.data(), n)
           : aes.DecryptBuffer(bytes.data(), bytes.data(), n);
  return bytes;
}

WString EncryptedDigits(const std::vector<BYTE>& plain) {
  const std::string digits = ToHex(ThroughRawKey(plain, true));
  return WString(digits.begin(), digits.end());
}

int g_nReleased = 0, g_nReleasedDirty = 0;
void CheckWiped(const void* p, SIZE_T cb) {
  ++g_nReleased;
  const auto* pb = static_cast<const BYTE*>(p);
  g_nReleasedDirty += std::any_of(pb, pb + cb, [](BYTE b) { return b != 0; }) ? 1 : 0;
}

}  // namespace

// The known texts, and a refused password, with every allocation of the
// operation made to fail in turn: Encrypt allocates the plaintext, the
// cipher bytes, the digits and the result; Decrypt the narrow text, the
// decoded bytes, the plaintext and the result. A failure gives null, the
// same object then works, nothing stays allocated, and no block is released
// holding a password, a plaintext, key bytes or digits.
TEST(TextCipher, KnownTextsWithEveryAllocationFailingInTurn) {
  const struct {
    bool bEncrypt;
    LPCWSTR pszIn, pszOut;
  } ops[] = {
      {true, TEXT("password"), TEXT("53877449c8ce5745eefc1ef26d760efa")},
      {false, TEXT("53877449c8ce5745eefc1ef26d760efa"), TEXT("password")},
      {true, TEXT(""), TEXT("cf118df792bfaa9cfbd8e0d83cf2a039")},
      {false, TEXT("cf118df792bfaa9cfbd8e0d83cf2a039"), TEXT("")},
      {true, TEXT("\u4e2d refused"), TEXT("<null>")},
  };
  const long baseline = GetLocalAllocCount();
  SetLocalFreeObserver(CheckWiped);
  for (const auto& op : ops) {
    CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
    for (unsigned nth = 1; nth <= 5; ++nth) {
      SetLocalAllocFailure(nth);
      const WString result = Operate(cipher, op.bEncrypt, op.pszIn);
      SetLocalAllocFailure(0);
      EXPECT_EQ(result, nth <= 4 ? TEXT("<null>") : op.pszOut) << "allocation " << nth;
      EXPECT_EQ(Operate(cipher, op.bEncrypt, op.pszIn), op.pszOut);
    }
  }
  SetLocalFreeObserver(nullptr);
  EXPECT_EQ(GetLocalAllocCount(), baseline);
  EXPECT_GT(g_nReleased, 50);
  EXPECT_EQ(g_nReleasedDirty, 0);
}

// The key schedule and the state are wiped at destruction.
TEST(TextCipher, DestructionWipesTheScheduleAndState) {
  alignas(CAesProbe) unsigned char storage[sizeof(CAesProbe)];
  auto* probe = ::new (storage) CAesProbe(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  BYTE block[16] = {'s', 'e', 'c', 'r', 'e', 't'};
  probe->EncryptBlock(block, block);
  const auto scheduleAt = reinterpret_cast<unsigned char*>(probe->m_abSchedule) - storage;
  const auto stateAt = reinterpret_cast<unsigned char*>(probe->m_abState) - storage;
  probe->~CAesProbe();
  auto zero = [](unsigned char b) { return b == 0; };
  EXPECT_TRUE(std::all_of(storage + scheduleAt, storage + scheduleAt + 240, zero));
  EXPECT_TRUE(std::all_of(storage + stateAt, storage + stateAt + 16, zero));
}

// For L = 0 to 100, a password of random code page 1252 characters: the
// text is 2P lowercase digits, P = 16 * floor((L + 17) / 16), that decrypt
// to the password's bytes followed by zeros; Decrypt gives the password
// back, from uppercase digits as well.
TEST(TextCipher, FormatAndRoundTripForEveryLength) {
  std::mt19937 rng(1252);
  for (size_t length = 0; length <= 100; ++length) {
    std::vector<BYTE> plain(16 * ((length + 17) / 16), 0);
    WString password;
    for (size_t i = 0; i < length; ++i)
      password += Cp1252ToWideChar(plain[i] = static_cast<BYTE>(1 + rng() % 255));
    const WString text = Operate(true, password);
    const std::string digits(text.begin(), text.end());  // lowercase, of whole bytes
    ASSERT_EQ(ToHex(FromHex(digits)), digits);
    ASSERT_EQ(ThroughRawKey(FromHex(digits), false), plain) << "L = " << length;
    WString upper = text;
    std::transform(text.begin(), text.end(), upper.begin(), ::toupper);
    ASSERT_EQ(Operate(false, text), password) << "L = " << length;
    ASSERT_EQ(Operate(false, upper), password) << "L = " << length;
  }
}

// Decrypt reads any text and never fails: texts that are not whole blocks
// give the empty string; 63 digits decode 32 bytes, the last one's low
// nibble being the terminator; a character that is not a hex digit reads as
// 0 in its place only; a plaintext without a zero byte gives D - 1
// characters, so the result is always terminated.
TEST(TextCipher, DecryptReadsAnyTextLeniently) {
  const WString text = Operate(true, TEXT("0123456789abcdefXYZ"));  // 64 digits
  for (const WString& odd :
       {WString(), WString(TEXT("a")), text.substr(0, 30), text.substr(0, 33), text.substr(0, 34)})
    EXPECT_EQ(Operate(false, odd), TEXT("")) << odd.size();
  EXPECT_EQ(Operate(false, text.substr(0, 63)), Operate(false, text.substr(0, 63) + TEXT("0")));
  for (size_t pos : {0u, 1u, 30u, 63u}) {
    for (WCHAR junk : {TEXT('g'), TEXT(' '), TEXT('\u00e9'), TEXT('\u4e2d')}) {
      WString bad = text, zero = text;
      bad[pos] = junk;
      zero[pos] = TEXT('0');
      ASSERT_EQ(Operate(false, bad), Operate(false, zero)) << pos;
    }
  }
  EXPECT_EQ(Operate(false, EncryptedDigits(std::vector<BYTE>(32, 'A'))), WString(31, TEXT('A')));
  std::vector<BYTE> cut(32, 'B');
  cut[5] = 0;
  EXPECT_EQ(Operate(false, EncryptedDigits(cut)), TEXT("BBBBB"));
}

// A pass phrase is cut at the key's length (its zero fill is shown by the
// texts above). A character that code page 1252 cannot carry would be
// encrypted as '?' and come back as another password: Encrypt refuses it.
TEST(TextCipher, PassPhraseCutAndUnrepresentableCharactersRefused) {
  CAesTextCipher longPhrase("0123456789abcdef0123456789abcdefEXTRA", KeySize256);
  CAesTextCipher cutPhrase("0123456789abcdef0123456789abcdef", KeySize256);
  EXPECT_EQ(Operate(longPhrase, true, TEXT("pw")), Operate(cutPhrase, true, TEXT("pw")));
  for (LPCWSTR password : {TEXT("\u4e2d"), TEXT("abc\u0080"), TEXT("pass\U0001F511"),
                           TEXT("\xD800"), TEXT("\u0153\u03a9")})
    EXPECT_EQ(Operate(true, password), TEXT("<null>"));
  std::int32_t n = 0;
  std::uint32_t m = 0;
  EXPECT_EQ(cutPhrase.Encrypt(nullptr, &n), nullptr);
  EXPECT_EQ(cutPhrase.Decrypt(nullptr, &m), nullptr);
}
