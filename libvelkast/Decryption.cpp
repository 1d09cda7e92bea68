#include "libvelkast/Decryption.h"

#include <algorithm>
#include <cstdint>

#include "libvelkast/Utf8Codec.h"

namespace {

// Two digits a byte, 16 bytes a block.
constexpr std::size_t kDigitsPerBlock = 32;

WCHAR LowerHexDigit(char ch) {
  return static_cast<WCHAR>(ch >= 'A' && ch <= 'F' ? ch - 'A' + 'a' : ch);
}

CPasswordFault Fault(velkast_status nStatus) {
  CPasswordFault fault;
  fault.nStatus = nStatus;
  return fault;
}

}  // namespace

bool IsHexDigit(char ch) {
  return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

bool HasTextShape(std::string_view text) {
  return !text.empty() && text.size() % kDigitsPerBlock == 0 &&
         std::all_of(text.begin(), text.end(), IsHexDigit);
}

CPasswordFault DecryptStrict(CTextCipher& cipher, std::string_view text, WString& lower,
                             WString& password) {
  if (!HasTextShape(text))
    return Fault(VELKAST_E_NOT_A_TEXT);
  // Lowercase, so the re-encrypted text compares digit for digit.
  lower.resize(text.size());
  std::transform(text.begin(), text.end(), lower.begin(), LowerHexDigit);

  std::uint32_t cchPassword = 0;
  const LPCWSTR pszPassword = cipher.Decrypt(lower.c_str(), &cchPassword);
  if (pszPassword == nullptr)
    return Fault(VELKAST_E_MEMORY);
  password.assign(pszPassword, cchPassword);

  std::int32_t cchAgain = 0;
  const LPCWSTR pszAgain = cipher.Encrypt(password.c_str(), &cchAgain);
  if (pszAgain == nullptr)
    return Fault(VELKAST_E_MEMORY);
  if (WStringView(pszAgain, static_cast<std::size_t>(cchAgain)) != lower)
    return Fault(VELKAST_E_NOT_A_TEXT);
  return FindControl(password);
}

velkast_status DecryptLenient(CTextCipher& cipher, std::string_view text, WString& wide,
                              WStringView* pPassword) {
  DecodeUtf8Lenient(text, wide);
  std::uint32_t cchPassword = 0;
  const LPCWSTR pszPassword = cipher.Decrypt(wide.c_str(), &cchPassword);
  if (pszPassword == nullptr)
    return VELKAST_E_MEMORY;
  *pPassword = WStringView(pszPassword, cchPassword);
  return VELKAST_OK;
}
