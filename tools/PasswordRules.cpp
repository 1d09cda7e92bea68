#include "tools/PasswordRules.h"

#include "platform/core/CodePage.h"
#include "tools/Diagnostics.h"
#include "tools/Utf8LineCodec.h"

std::string WhyNotEncryptable(WStringView password) {
  std::size_t nChar = 1;
  for (std::size_t i = 0; i < password.size(); ++nChar) {
    if (password[i] - 1u < 0x7Fu) {  // ASCII but NUL: always carried
      ++i;
      continue;
    }
    std::size_t units = 1;
    const char32_t cp = CodePointAt(password, i, &units);
    BYTE b = 0;
    const bool bCarried = cp != 0 && units == 1 && WideCharTo1252(password[i], &b);
    if (!bCarried) {
      const char* why = cp == 0 ? ", a NUL, would end the password early"
                                : ", is outside code page 1252: an encrypted text cannot carry it";
      return "character " + std::to_string(nChar) + ", " + CodePointName(cp) + why;
    }
    i += units;
  }
  return {};
}

std::string WhyNotOneLine(WStringView password) {
  if (password.find(TEXT('\n')) != WStringView::npos)
    return "holds a line break (U+000A)";
  if (!password.empty() && password.back() == TEXT('\r'))
    return "ends in a carriage return (U+000D), which would be dropped when read back as a "
           "line";
  return {};
}
