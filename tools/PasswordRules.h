// What a password must be for this tool: something an encrypted text can
// carry, and something that reads back as the same single line.
#pragma once

#include <string>
#include <string_view>

#include "tools/WideString.h"

// Empty when an encrypted text can carry the password exactly; otherwise
// why not, naming the first offending character. A NUL would end the
// password early, and a character outside code page 1252 would turn into
// another one.
std::string WhyNotEncryptable(WStringView password);

// Empty when the password printed as a line reads back as itself; otherwise
// why not. A "\n" would split it in two, and a "\r" at its end would be
// taken for part of a Windows line end and dropped.
std::string WhyNotOneLine(WStringView password);
