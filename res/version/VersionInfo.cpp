#include "res/version/VersionInfo.h"

#include "res/version/VersionNumbers.h"

#include <array>
#include <string_view>

namespace {

constexpr DWORD HighLow(DWORD high, DWORD low)
{
    return high << 16 | low;
}

constexpr VS_FIXEDFILEINFO kFixedInfo = {
    VS_FFI_SIGNATURE,
    VS_FFI_STRUCVERSION,
    HighLow(VELKAST_VERSION_MAJOR, VELKAST_VERSION_MINOR),
    HighLow(VELKAST_VERSION_PATCH, VELKAST_VERSION_BUILD),
    HighLow(VELKAST_VERSION_MAJOR, VELKAST_VERSION_MINOR),
    HighLow(VELKAST_VERSION_PATCH, VELKAST_VERSION_BUILD),
    VS_FFI_FILEFLAGSMASK,
    0,                 // a release build: no flag set
    VOS__WINDOWS32,
    VFT_APP,
    VFT2_UNKNOWN,
    0,                 // no file date
    0,
};

constexpr std::array<VS_TRANSLATION, 1> kTranslations = {VS_TRANSLATION_EN_US_1252};

constexpr std::u16string_view kStringTable = u"040904e4";

struct VersionString {
    std::u16string_view key;
    LPCWSTR value;
};

constexpr std::array<VersionString, 8> kStrings = {{
    {u"CompanyName", u"The Velkast developers"},
    {u"FileDescription", u"Velkast password encryption utility"},
    {u"FileVersion", VELKAST_VERSION_WTEXT},
    {u"InternalName", u"Velkast.exe"},
    {u"LegalCopyright", u"Copyright (C) 2026 The Velkast developers. MIT License."},
    {u"OriginalFilename", u"Velkast.exe"},
    {u"ProductName", u"Velkast"},
    {u"ProductVersion", VELKAST_VERSION_WTEXT},
}};

constexpr char16_t FoldAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameKey(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

// Splits off the leading "\name" of a path; false when it does not start so.
bool TakeSegment(std::u16string_view& path, std::u16string_view& segment)
{
    if (path.empty() || path.front() != u'\\')
        return false;
    path.remove_prefix(1);
    const std::size_t end = path.find(u'\\');
    segment = path.substr(0, end);
    path.remove_prefix(end == std::u16string_view::npos ? path.size() : end);
    return !segment.empty();
}

std::size_t Length(LPCWSTR psz)
{
    return std::u16string_view(psz).size();
}

}  // namespace

// The program's one block. Its fixed part leads, as in a compiled version
// resource; the string table and the translations are the tables above.
struct VERSION_BLOCK {
    VS_FIXEDFILEINFO fixed;
};

constinit const VERSION_BLOCK g_versionBlock = {kFixedInfo};

BOOL VerQueryValue(LPCVOID pBlock, LPCWSTR pszSubBlock, LPCVOID* ppBuffer, UINT* puLen)
{
    if (pBlock != &g_versionBlock || !pszSubBlock || !ppBuffer || !puLen)
        return FALSE;
    std::u16string_view path(pszSubBlock);
    if (path == u"\\") {
        *ppBuffer = &g_versionBlock.fixed;
        *puLen = sizeof kFixedInfo;
        return TRUE;
    }

    std::u16string_view block, name, key;
    if (!TakeSegment(path, block) || !TakeSegment(path, name))
        return FALSE;
    if (SameKey(block, u"VarFileInfo") && SameKey(name, u"Translation") && path.empty()) {
        *ppBuffer = kTranslations.data();
        *puLen = static_cast<UINT>(sizeof kTranslations);
        return TRUE;
    }
    if (SameKey(block, u"StringFileInfo") && SameKey(name, kStringTable) && TakeSegment(path, key) &&
        path.empty()) {
        for (const auto& entry : kStrings) {
            if (SameKey(entry.key, key)) {
                *ppBuffer = entry.value;
                *puLen = static_cast<UINT>(Length(entry.value) + 1);
                return TRUE;
            }
        }
    }
    return FALSE;
}

const char* GetVersionText()
{
    return VELKAST_VERSION_TEXT;
}
