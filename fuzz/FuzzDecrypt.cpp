// Decrypt on arbitrary UTF-16 text, and the round trip on arbitrary
// representable passwords.
//
// Properties: nothing crashes or reads out of bounds; Decrypt never fails
// while memory lasts; uppercase and lowercase digits decrypt the same; its
// result is shorter than half the text; Encrypt then Decrypt gives back any
// password that code page 1252 carries.
#include <cctype>
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

std::u16string WithCase(std::u16string text, bool bUpper) {
  for (char16_t& ch : text)
    ch = ch < 0x80 ? static_cast<char16_t>(bUpper ? std::toupper(ch) : std::tolower(ch)) : ch;
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  // The bytes as UTF-16 text up to a NUL, and as a password of code page
  // 1252 without its NULs.
  std::u16string text, password;
  for (size_t i = 0; i + 1 < size && (data[i] | data[i + 1]) != 0; i += 2)
    text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  for (size_t i = 0; i < size; ++i)
    if (data[i] != 0)
      password.push_back(Cp1252ToWideChar(data[i]));

  std::uint32_t n = 0;
  LPCWSTR psz = cipher.Decrypt(WithCase(text, false).c_str(), &n);
  Check(psz != nullptr);
  const std::u16string lower = psz;
  Check(lower.size() == n && n <= text.size() / 2 + 1);
  psz = cipher.Decrypt(WithCase(text, true).c_str(), &n);
  Check(psz != nullptr && lower == psz);

  std::int32_t cch = 0;
  psz = cipher.Encrypt(password.c_str(), &cch);
  Check(psz != nullptr && cch % 32 == 0 && cch > 2 * static_cast<std::int32_t>(password.size()));
  const std::u16string encrypted = psz;
  psz = cipher.Decrypt(encrypted.c_str(), &n);
  Check(psz != nullptr && password == psz);
  return 0;
}
