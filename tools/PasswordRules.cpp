#include "tools/PasswordRules.h"

#include "platform/core/CodePage.h"
#include "tools/Diagnostics.h"
#include "tools/Utf8LineCodec.h"

namespace {

bool IsControl(char32_t cp) {
  return (cp < 0x20 && cp != U'\t') || (cp >= 0x7F && cp <= 0x9F);
}

const char* const kControl =
    ", is a control character, which a terminal acts on instead of showing";

// Why encrypt refuses the character cp of units code units, or null.
const char* WhyNotCarried(char32_t cp, std::size_t units) {
  BYTE b = 0;
  if (cp == 0)
    return ", a NUL, would end the password early";
  if (units != 1 || !WideCharTo1252(static_cast<WCHAR>(cp), &b))
    return ", is outside code page 1252: an encrypted text cannot carry it";
  return IsControl(cp) ? kControl : nullptr;
}

const char* WhyNotShown(char32_t cp, std::size_t) {
  return IsControl(cp) ? kControl : nullptr;
}

// "character <n>, U+XXXX<why>" for the first character that why refuses,
// or empty.
template <typename Why>
std::string FirstRefused(WStringView password, Why why, std::size_t nChar = 1) {
  for (std::size_t i = 0; i < password.size(); ++nChar) {
    if (password[i] - 0x20u < 0x5Fu) {  // printable ASCII: always accepted
      ++i;
      continue;
    }
    std::size_t units = 1;
    const char32_t cp = CodePointAt(password, i, &units);
    if (const char* pszWhy = why(cp, units))
      return "character " + std::to_string(nChar) + ", " + CodePointName(cp) + pszWhy;
    i += units;
  }
  return {};
}

}  // namespace

std::string WhyNotEncryptable(WStringView password, std::size_t nFirstChar) {
  return FirstRefused(password, WhyNotCarried, nFirstChar);
}

std::string WhyNotPrintable(WStringView password) {
  return FirstRefused(password, WhyNotShown);
}
