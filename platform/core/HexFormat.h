// Formatted printing of one byte as the system library's "%0.2x" does it:
// exactly two lowercase hexadecimal digits, zero-filled on the left.
#pragma once

#include "platform/core/WinTypes.h"

// Writes the two digits of b and a terminator to psz (room for 3 chars).
// Returns the number of digits written, always 2.
int FormatByteHex(LPSTR psz, BYTE b);
