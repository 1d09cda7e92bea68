// The version block: its values, and that they follow the project version
// given in the top-level CMakeLists.txt.

#include "res/version/VersionInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

static const std::u16string kVersion = u"" VELKAST_PROJECT_VERSION;

// What a key of the string table holds, or "<missing>".
static std::u16string QueryString(const std::u16string& key)
{
    LPCVOID value = nullptr;
    UINT length = 0;
    if (!VerQueryValue(&g_versionBlock, (u"\\StringFileInfo\\040904e4\\" + key).c_str(), &value, &length))
        return u"<missing>";
    const std::u16string text = static_cast<LPCWSTR>(value);
    EXPECT_EQ(length, text.size() + 1) << "the length counts the terminator";
    return text;
}

TEST(VersionInfo, FixedPartFollowsTheProjectVersion)
{
    DWORD v[4] = {};
    ASSERT_EQ(std::sscanf(VELKAST_PROJECT_VERSION, "%u.%u.%u.%u", &v[0], &v[1], &v[2], &v[3]), 4);
    EXPECT_STREQ(VELKAST_PROJECT_VERSION, "1.0.0.1");  // the released version of the program
    EXPECT_STREQ(GetVersionText(), VELKAST_PROJECT_VERSION);

    LPCVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValue(&g_versionBlock, u"\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    // Signature, structure version, file and product versions, flags mask,
    // flags, OS, type, subtype and date, in the order of the fields.
    const DWORD ms = v[0] << 16 | v[1], ls = v[2] << 16 | v[3];
    std::array<DWORD, 13> fields{};
    std::memcpy(fields.data(), value, sizeof fields);
    EXPECT_EQ(fields, (std::array<DWORD, 13>{0xFEEF04BD, 0x10000, ms, ls, ms, ls, 0x3F, 0, 4, 1, 0, 0, 0}));
}

TEST(VersionInfo, StringTableAndTranslation)
{
    EXPECT_EQ(QueryString(u"FileVersion"), kVersion);
    EXPECT_EQ(QueryString(u"ProductVersion"), kVersion);
    EXPECT_EQ(QueryString(u"InternalName"), u"Velkast.exe");
    EXPECT_EQ(QueryString(u"OriginalFilename"), u"Velkast.exe");
    EXPECT_EQ(QueryString(u"ProductName"), u"Velkast");
    // The table's code page is 1252: its other texts stay plain ASCII.
    for (const char16_t* key : {u"CompanyName", u"FileDescription", u"LegalCopyright"}) {
        const std::u16string value = QueryString(key);
        EXPECT_TRUE(value != u"<missing>" && !value.empty() &&
                    std::ranges::all_of(value, [](char16_t c) { return c < 0x80; }));
    }

    LPCVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValue(&g_versionBlock, u"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, sizeof(VS_TRANSLATION));
    EXPECT_EQ(static_cast<const VS_TRANSLATION*>(value)->wLanguage, 0x0409);
    EXPECT_EQ(static_cast<const VS_TRANSLATION*>(value)->wCodePage, 0x04E4);
}

TEST(VersionInfo, UnknownPathsAreRefusedAndLeaveTheOutputsAlone)
{
    LPCVOID value = &kVersion;
    UINT length = 77;
    for (const std::u16string path :
         {u"", u"StringFileInfo\\040904e4\\FileVersion", u"\\StringFileInfo\\040904b0\\FileVersion",
          u"\\StringFileInfo\\040904e4\\Comments", u"\\StringFileInfo\\040904e4\\FileVersion\\More",
          u"\\StringFileInfo\\040904e4\\", u"\\VarFileInfo", u"\\VarFileInfo\\Translation\\", u"\\\\"}) {
        EXPECT_FALSE(VerQueryValue(&g_versionBlock, path.c_str(), &value, &length));
        EXPECT_TRUE(value == &kVersion && length == 77u);
    }
    EXPECT_FALSE(VerQueryValue(&g_versionBlock, nullptr, &value, &length) ||
                 VerQueryValue(&g_versionBlock, u"\\", nullptr, &length) ||
                 VerQueryValue(&g_versionBlock, u"\\", &value, nullptr) ||
                 VerQueryValue(&value, u"\\", &value, &length));
}
