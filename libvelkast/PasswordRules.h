// What a password must be: something an encrypted text carries exactly, and
// something a terminal shows as it is. The library and velkast-cli refuse
// the same passwords by these rules.
#pragma once

#include <cstddef>
#include <string_view>

#include "libvelkast/WideString.h"
#include "velkast.h"

// The first fault of a password in reading order, or none (VELKAST_OK).
struct CPasswordFault {
  velkast_status nStatus = VELKAST_OK;
  // VELKAST_E_CODE_PAGE and VELKAST_E_CONTROL: the character's number, from
  // 1, and the character.
  std::size_t nChar = 0;
  char32_t cp = 0;
  // VELKAST_E_UTF8: the offset of the first byte that starts no valid
  // sequence.
  std::size_t nByte = 0;
};

// Decodes a password's UTF-8 into password and judges it. Refused: a byte
// that is not UTF-8 (VELKAST_E_UTF8); a character outside code page 1252,
// which would turn into another one (VELKAST_E_CODE_PAGE); a control
// character as FindControl finds it, NUL included, which would end the
// password early (VELKAST_E_CONTROL). The characters before a byte that is
// not UTF-8 are judged first. nFirstChar: the number of the first
// character, for a password judged piece by piece.
CPasswordFault CheckPassword(std::string_view utf8, WString& password, std::size_t nFirstChar = 1);

// The first control character of a password (U+0000 to U+001F but TAB, and
// U+007F to U+009F) as a VELKAST_E_CONTROL fault, or none. Printed raw, such
// a character acts on a terminal instead of showing: an escape sequence can
// rename or clear it, a carriage return hides what came before it, a line
// break splits the password in two.
CPasswordFault FindControl(WStringView password);
