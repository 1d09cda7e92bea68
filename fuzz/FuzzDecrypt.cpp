// Decrypt on arbitrary UTF-16 text, and the round trip on arbitrary
// representable passwords.
//
// Properties: nothing crashes or reads out of bounds; Decrypt never fails
// while memory lasts; uppercase and lowercase digits decrypt the same; its
// result is shorter than half the text; Encrypt then Decrypt gives back any
// password that code page 1252 carries.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"
#include "platform/core/CodePage.h"

namespace {

void Check(bool condition) {
  if (!condition)
    std::abort();
}

std::u16string ToText(const std::uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) {
    const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0)
      break;
    text.push_back(unit);
  }
  return text;
}

std::u16string WithCase(std::u16string text, bool bUpper) {
  for (char16_t& ch : text) {
    if (bUpper && ch >= u'a' && ch <= u'f')
      ch = static_cast<char16_t>(ch - 32);
    else if (!bUpper && ch >= u'A' && ch <= u'F')
      ch = static_cast<char16_t>(ch + 32);
  }
  return text;
}

void CheckDecrypt(CAesTextCipher& cipher, const std::u16string& text) {
  std::uint32_t n = 0;
  LPCWSTR lower = cipher.Decrypt(WithCase(text, false).c_str(), &n);
  Check(lower != nullptr);
  Check(n <= text.size() / 2 + 1);
  const std::u16string first = lower;
  Check(first.size() == n);
  LPCWSTR upper = cipher.Decrypt(WithCase(text, true).c_str(), &n);
  Check(upper != nullptr && first == upper);
}

void CheckRoundTrip(CAesTextCipher& cipher, const std::uint8_t* data, size_t size) {
  std::u16string password;
  for (size_t i = 0; i < size; ++i)
    if (data[i] != 0)
      password.push_back(Cp1252ToWideChar(data[i]));
  std::int32_t cch = 0;
  LPCWSTR text = cipher.Encrypt(password.c_str(), &cch);
  Check(text != nullptr && cch % 32 == 0 && cch > 2 * static_cast<std::int32_t>(password.size()));
  const std::u16string copy = text;
  std::uint32_t n = 0;
  LPCWSTR back = cipher.Decrypt(copy.c_str(), &n);
  Check(back != nullptr && password == back);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  CheckDecrypt(cipher, ToText(data, size));
  CheckRoundTrip(cipher, data, size);
  return 0;
}
