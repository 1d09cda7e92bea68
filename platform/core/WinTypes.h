// Windows-style scalar and string types used by the program's signatures.
//
// On Windows they are the system's own, from <windows.h>: WCHAR is the
// system's 16-bit wchar_t there. Elsewhere they are defined here with the
// same sizes; WCHAR is then char16_t, since Linux wchar_t is 32 bits and is
// never used for it. Either way WCHAR is a UTF-16 code unit.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#else

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using BOOL = int;
using SIZE_T = std::size_t;

using CHAR = char;
using WCHAR = char16_t;

using LPSTR = CHAR*;
using LPCSTR = const CHAR*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPBYTE = BYTE*;
using LPCBYTE = const BYTE*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPBOOL = BOOL*;

using HLOCAL = void*;

// A wide string literal of WCHARs: write TEXT("...") rather than u"...", so
// the same source builds where WCHAR is the system's wchar_t.
#ifndef TEXT
#define TEXT(quote) u##quote
#endif

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#endif

static_assert(sizeof(WCHAR) == 2, "WCHAR is a UTF-16 code unit");
