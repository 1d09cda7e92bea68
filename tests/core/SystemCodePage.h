// The system's own Windows-1252 tables, as an oracle for the program's:
// glibc's iconv on Linux, the system's conversion functions on Windows.
#pragma once

#include <optional>

#include "platform/core/WinTypes.h"

// The code unit the system decodes byte b to, or nothing when it has none.
std::optional<WCHAR> SystemDecode1252(BYTE b);

// The byte the system encodes one code unit to, or nothing when it would
// substitute its default character (no best-fit mapping).
std::optional<BYTE> SystemEncode1252(WCHAR wch);
