#include "libvelkast/PasswordRules.h"

#include "libvelkast/Utf8Codec.h"
#include "platform/core/CodePage.h"

namespace {

bool IsControl(char32_t cp) { return (cp < 0x20 && cp != U'\t') || (cp >= 0x7F && cp <= 0x9F); }

// Why encrypting refuses the character cp of units code units, or OK.
velkast_status WhyNotCarried(char32_t cp, std::size_t units) {
  BYTE b = 0;
  if (cp == 0)
    return VELKAST_E_CONTROL;
  if (units != 1 || !WideCharTo1252(static_cast<WCHAR>(cp), &b))
    return VELKAST_E_CODE_PAGE;
  return IsControl(cp) ? VELKAST_E_CONTROL : VELKAST_OK;
}

velkast_status WhyNotShown(char32_t cp, std::size_t) {
  return IsControl(cp) ? VELKAST_E_CONTROL : VELKAST_OK;
}

// The first character of password that why refuses, or no fault.
template <typename Why>
CPasswordFault FirstRefused(WStringView password, Why why, std::size_t nChar) {
  for (std::size_t i = 0; i < password.size(); ++nChar) {
    if (password[i] - 0x20u < 0x5Fu) {  // printable ASCII: always accepted
      ++i;
      continue;
    }
    std::size_t units = 1;
    const char32_t cp = CodePointAt(password, i, &units);
    if (const velkast_status nStatus = why(cp, units); nStatus != VELKAST_OK)
      return {nStatus, nChar, cp, 0};
    i += units;
  }
  return {};
}

}  // namespace

CPasswordFault CheckPassword(std::string_view utf8, WString& password, std::size_t nFirstChar) {
  std::size_t nBadByte = 0;
  const bool bUtf8 = DecodeUtf8Strict(utf8, password, &nBadByte);
  if (CPasswordFault fault = FirstRefused(password, WhyNotCarried, nFirstChar);
      fault.nStatus != VELKAST_OK)
    return fault;
  if (bUtf8)
    return {};
  CPasswordFault fault;
  fault.nStatus = VELKAST_E_UTF8;
  fault.nByte = nBadByte;
  return fault;
}

CPasswordFault FindControl(WStringView password) { return FirstRefused(password, WhyNotShown, 1); }
