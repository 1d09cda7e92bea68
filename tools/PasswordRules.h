// What a password must be for this tool: something an encrypted text can
// carry, and something a terminal shows as it is.
#pragma once

#include <string>

#include "tools/WideString.h"

// Empty when an encrypted text can carry the password exactly and it prints
// as it is; otherwise why not, naming the first offending character. A NUL
// would end the password early, a character outside code page 1252 would
// turn into another one, and a control character is refused as
// WhyNotPrintable refuses it.
// nFirstChar: the number of the first character, for a password checked
// piece by piece.
std::string WhyNotEncryptable(WStringView password, std::size_t nFirstChar = 1);

// Empty when the password holds no control character (U+0000 to U+001F but
// TAB, and U+007F to U+009F); otherwise names the first. Printed raw, such a
// character acts on a terminal instead of showing: an escape sequence can
// rename or clear it, a carriage return hides what came before it, a line
// break splits the password in two.
std::string WhyNotPrintable(WStringView password);
