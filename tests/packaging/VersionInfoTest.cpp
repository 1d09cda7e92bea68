// The version block: its values, typed in here as the program was released
// with them, and paths it does not hold.
#include "res/version/VersionInfo.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

namespace {

using WString = std::basic_string<WCHAR>;

const WString kTable = TEXT("\\StringFileInfo\\040904e4\\");  // English (US), code page 1252

// What a key of the string table holds, or "<missing>".
WString QueryString(LPCWSTR pszKey) {
  LPCVOID value = nullptr;
  UINT length = 0;
  if (!VerQueryValue(&g_versionBlock, (kTable + pszKey).c_str(), &value, &length))
    return TEXT("<missing>");
  const WString text = static_cast<LPCWSTR>(value);
  EXPECT_EQ(length, text.size() + 1) << "the length counts the terminator";
  return text;
}

}  // namespace

TEST(VersionInfo, FixedPartStringTableAndTranslation) {
  EXPECT_STREQ(GetVersionText(), "1.0.0.1");
  LPCVOID value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValue(&g_versionBlock, TEXT("\\"), &value, &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  // Signature, structure version, file and product versions 1.0.0.1 (most
  // and least significant words), flags mask, flags, OS (VOS__WINDOWS32),
  // type (VFT_APP), subtype and date, in the order of the fields.
  std::array<DWORD, 13> fields{};
  std::memcpy(fields.data(), value, sizeof fields);
  EXPECT_EQ(fields, (std::array<DWORD, 13>{0xFEEF04BD, 0x10000, 0x10000, 1, 0x10000, 1, 0x3F, 0,
                                           4, 1, 0, 0, 0}));

  EXPECT_EQ(QueryString(TEXT("FileVersion")), TEXT("1.0.0.1"));
  EXPECT_EQ(QueryString(TEXT("ProductVersion")), TEXT("1.0.0.1"));
  EXPECT_EQ(QueryString(TEXT("InternalName")), TEXT("Velkast.exe"));
  EXPECT_EQ(QueryString(TEXT("OriginalFilename")), TEXT("Velkast.exe"));
  EXPECT_EQ(QueryString(TEXT("ProductName")), TEXT("Velkast"));
  for (LPCWSTR key : {TEXT("CompanyName"), TEXT("FileDescription"), TEXT("LegalCopyright")})
    EXPECT_NE(QueryString(key), TEXT("<missing>"));

  ASSERT_TRUE(VerQueryValue(&g_versionBlock, TEXT("\\VarFileInfo\\Translation"), &value, &length));
  ASSERT_EQ(length, sizeof(VS_TRANSLATION));
  const auto* pTranslation = static_cast<const VS_TRANSLATION*>(value);
  EXPECT_TRUE(pTranslation->wLanguage == 0x0409 && pTranslation->wCodePage == 0x04E4);

  // Any other path, no path, or a block that is not the program's: FALSE,
  // and the outputs left alone.
  length = 77;
  for (const WString& path :
       {WString(), kTable, kTable + TEXT("Comments"), kTable + TEXT("FileVersion\\More"),
        WString(TEXT("\\StringFileInfo\\040904b0\\FileVersion")), WString(TEXT("\\VarFileInfo")),
        kTable.substr(1) + TEXT("FileVersion"), WString(TEXT("\\VarFileInfo\\Translation\\")),
        WString(TEXT("\\\\"))})
    EXPECT_FALSE(VerQueryValue(&g_versionBlock, path.c_str(), &value, &length));
  EXPECT_FALSE(VerQueryValue(&g_versionBlock, nullptr, &value, &length) ||
               VerQueryValue(&value, TEXT("\\"), &value, &length));
  EXPECT_TRUE(value == pTranslation && length == 77u);
}
