// The system's own Windows-1252 table, as an oracle for the program's:
// glibc's iconv on Linux, the system's conversion functions on Windows. Its
// encoding is the inverse: the system, asked not to fit best, encodes
// exactly the code units some byte decodes to.
#pragma once

#include <optional>

#include "platform/core/WinTypes.h"

// The code unit the system decodes byte b to, or nothing when it has none.
std::optional<WCHAR> SystemDecode1252(BYTE b);
