// Conversion between UTF-16 and the 8-bit code page, as the system library
// does it. The 8-bit code page (CP_ACP) is Windows-1252, mapped exactly as
// Windows maps it: every byte has one code unit (0x81, 0x8D, 0x8F, 0x90 and
// 0x9D map to the C1 controls of the same value), and a code unit with no
// byte becomes the default character '?' with no best-fit mapping.
#pragma once

#include "platform/core/WinTypes.h"

#if defined(_WIN32)
// The system's ANSI code page depends on the machine's language; the
// program's 8-bit text is always Windows-1252. Its calls reach this table,
// not the system's conversions of the same names.
#define WideCharToMultiByte AfxWideCharToMultiByte
#define MultiByteToWideChar AfxMultiByteToWideChar
#else
inline constexpr UINT CP_ACP = 0;
#endif
inline constexpr UINT CP_1252 = 1252;

// Converts cchWideChar code units of lpWideCharStr (-1: up to and including
// its terminator) into at most cbMultiByte bytes of lpMultiByteStr.
// cbMultiByte == 0 asks for the size needed and writes nothing. Returns the
// number of bytes written; 0 when the code page is not supported, or when
// the output did not fit (what fitted has then been written). When
// lpUsedDefaultChar is given it receives TRUE if any code unit had no byte.
// lpDefaultChar, when given, replaces '?' as the default character.
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                        LPBOOL lpUsedDefaultChar);

// Converts cbMultiByte bytes of lpMultiByteStr (-1: up to and including its
// terminator) into at most cchWideChar code units of lpWideCharStr.
// cchWideChar == 0 asks for the size needed and writes nothing. Returns the
// number of code units written; 0 when the code page is not supported, or
// when the output did not fit (what fitted has then been written).
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar);

// One code unit to its byte, or false when the code page has none for it.
bool WideCharTo1252(WCHAR wch, BYTE* pb);

// One byte to its code unit.
WCHAR Cp1252ToWideChar(BYTE b);
