// Reading an encrypted text back: strictly, as velkast-cli and the
// library's strict decrypt do, or leniently, as the dialog does. Both take
// the text as the bytes given and use the caller's strings, so one set
// serves many texts.
#pragma once

#include <string_view>

#include "cipher/TextCipher.h"
#include "libvelkast/PasswordRules.h"
#include "libvelkast/WideString.h"
#include "velkast.h"

bool IsHexDigit(char ch);

// The shape of an encrypted text: whole 16-byte blocks of two digits a
// byte, 32 digits a block, in either case.
bool HasTextShape(std::string_view text);

// Accepts only a text that the cipher makes, digit for digit, from the
// password it holds: damage, another key or stray bytes after the password
// all show as a text that does not encrypt back to itself
// (VELKAST_E_NOT_A_TEXT). That password must hold no control character (the
// fault FindControl names). On VELKAST_OK password holds it; lower holds
// the text in lower case either way.
CPasswordFault DecryptStrict(CTextCipher& cipher, std::string_view text, WString& lower,
                             WString& password);

// What the dialog shows for the text, its bytes read as UTF-8 with each
// invalid sequence as U+FFFD: never refused. *pPassword views the cipher's
// result, valid until its next operation. VELKAST_E_MEMORY when memory runs
// out.
velkast_status DecryptLenient(CTextCipher& cipher, std::string_view text, WString& wide,
                              WStringView* pPassword);
