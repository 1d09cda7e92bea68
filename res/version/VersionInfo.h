// The program's version block: the fixed part, the string table "040904e4"
// (English (US), code page 1252) and the translation list, read the way
// VerQueryValue reads a version resource.
#pragma once

#include "platform/core/WinTypes.h"

// Every fixed part starts with this signature and structure version.
inline constexpr DWORD VS_FFI_SIGNATURE = 0xFEEF04BD;
inline constexpr DWORD VS_FFI_STRUCVERSION = 0x00010000;

// dwFileFlags bits, and the mask of all of them.
inline constexpr DWORD VS_FF_DEBUG = 0x01;
inline constexpr DWORD VS_FF_PRERELEASE = 0x02;
inline constexpr DWORD VS_FF_PATCHED = 0x04;
inline constexpr DWORD VS_FF_PRIVATEBUILD = 0x08;
inline constexpr DWORD VS_FF_INFOINFERRED = 0x10;
inline constexpr DWORD VS_FF_SPECIALBUILD = 0x20;
inline constexpr DWORD VS_FFI_FILEFLAGSMASK = 0x3F;

// dwFileOS, dwFileType and dwFileSubtype values.
inline constexpr DWORD VOS__WINDOWS32 = 0x4;
inline constexpr DWORD VFT_APP = 0x1;
inline constexpr DWORD VFT2_UNKNOWN = 0x0;

struct VS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;     // major << 16 | minor
    DWORD dwFileVersionLS;     // patch << 16 | build
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};

// One entry of "\VarFileInfo\Translation".
struct VS_TRANSLATION {
    WORD wLanguage;
    WORD wCodePage;
};

// Language 0x0409 and code page 1252 name the one string table.
inline constexpr VS_TRANSLATION VS_TRANSLATION_EN_US_1252 = {0x0409, 0x04E4};

// The program's version block: the data of its version resource (type
// RT_VERSION, id 1) in the program's resource table.
struct VERSION_BLOCK;
extern const VERSION_BLOCK g_versionBlock;

// Looks up a path in a version block:
//   "\"                                  the VS_FIXEDFILEINFO, its size in bytes
//   "\VarFileInfo\Translation"           the VS_TRANSLATION list, its size in bytes
//   "\StringFileInfo\040904e4\<key>"     the value, its length in characters
//                                        including the terminator
// Returns FALSE, and leaves the out-parameters alone, for any other path, or
// for a block that is not the program's.
BOOL VerQueryValue(LPCVOID pBlock, LPCWSTR pszSubBlock, LPCVOID* ppBuffer, UINT* puLen);

// The file version as 8-bit text, "1.0.0.1", for command-line output.
const char* GetVersionText();
