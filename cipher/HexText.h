// Bytes to lowercase hexadecimal 8-bit text and back. Reading never rejects
// its input: a character that is not a hexadecimal digit counts as 0.
#pragma once

#include "platform/core/WinTypes.h"

// A new string of exactly 2 * cbBytes lowercase digits and a terminator, or
// null when memory runs out. The caller releases it with LocalFree.
LPSTR BytesToHex(const BYTE* pbBytes, UINT cbBytes);

// A new buffer of cchText / 2 bytes followed by one zero byte, read from the
// first 2 * (cchText / 2) characters of pszText, or null when memory runs
// out. The text is not searched for a terminator. The caller releases it
// with LocalFree.
BYTE* HexToBytes(LPCSTR pszText, UINT cchText);
