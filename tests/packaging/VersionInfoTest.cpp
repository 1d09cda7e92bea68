// The version block: its values, and that they follow the project version
// written in the top-level CMakeLists.txt.

#include "res/version/VersionInfo.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace {

// The four numbers of `project(Velkast VERSION a.b.c.d ...)` in CMakeLists.txt.
std::array<DWORD, 4> ProjectVersion()
{
    std::ifstream in(VELKAST_TOP_CMAKELISTS);
    std::stringstream text;
    text << in.rdbuf();
    const std::string source = text.str();
    std::array<DWORD, 4> v{};
    const std::size_t project = source.find("project(Velkast VERSION ");
    EXPECT_NE(project, std::string::npos) << "no project version in " << VELKAST_TOP_CMAKELISTS;
    if (project == std::string::npos)
        return v;
    std::istringstream numbers(source.substr(project + std::string_view("project(Velkast VERSION ").size()));
    char dot[3] = {};
    numbers >> v[0] >> dot[0] >> v[1] >> dot[1] >> v[2] >> dot[2] >> v[3];
    EXPECT_TRUE(numbers && dot[0] == '.' && dot[1] == '.' && dot[2] == '.') << "not a four-part version";
    return v;
}

std::u16string Wide(const std::string& ascii)
{
    return {ascii.begin(), ascii.end()};
}

std::string VersionText(const std::array<DWORD, 4>& v)
{
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." +
           std::to_string(v[3]);
}

std::u16string QueryString(const char* path)
{
    LPCVOID value = nullptr;
    UINT length = 0;
    if (!VerQueryValue(Wide(path).c_str(), &value, &length))
        return u"<missing>";
    const auto* text = static_cast<LPCWSTR>(value);
    EXPECT_EQ(length, std::u16string(text).size() + 1) << path;
    return text;
}

}  // namespace

TEST(VersionInfo, FixedPartFollowsTheProjectVersion)
{
    const auto v = ProjectVersion();
    EXPECT_EQ(VersionText(v), "1.0.0.1");  // the released version of the program

    const VS_FIXEDFILEINFO& info = GetVersionFixedInfo();
    EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info.dwStrucVersion, 0x00010000u);
    EXPECT_EQ(info.dwFileVersionMS, v[0] << 16 | v[1]);
    EXPECT_EQ(info.dwFileVersionLS, v[2] << 16 | v[3]);
    EXPECT_EQ(info.dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(info.dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(info.dwProductVersionMS, info.dwFileVersionMS);
    EXPECT_EQ(info.dwProductVersionLS, info.dwFileVersionLS);
    EXPECT_EQ(info.dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(info.dwFileFlags, 0u);
    EXPECT_EQ(info.dwFileOS, 0x4u);
    EXPECT_EQ(info.dwFileType, 0x1u);
    EXPECT_EQ(info.dwFileSubtype, 0u);
    EXPECT_EQ(info.dwFileDateMS, 0u);
    EXPECT_EQ(info.dwFileDateLS, 0u);

    // The mask covers exactly the defined flags.
    EXPECT_EQ(VS_FF_DEBUG | VS_FF_PRERELEASE | VS_FF_PATCHED | VS_FF_PRIVATEBUILD | VS_FF_INFOINFERRED |
                  VS_FF_SPECIALBUILD,
              VS_FFI_FILEFLAGSMASK);
    EXPECT_EQ(sizeof(VS_FIXEDFILEINFO), 13 * sizeof(DWORD));
    EXPECT_STREQ(GetVersionText(), VersionText(v).c_str());
}

TEST(VersionInfo, StringTableAndTranslation)
{
    const std::u16string version = Wide(VersionText(ProjectVersion()));
    EXPECT_EQ(QueryString("\\StringFileInfo\\040904e4\\FileVersion"), version);
    EXPECT_EQ(QueryString("\\StringFileInfo\\040904e4\\ProductVersion"), version);
    EXPECT_EQ(QueryString("\\StringFileInfo\\040904e4\\InternalName"), u"Velkast.exe");
    EXPECT_EQ(QueryString("\\StringFileInfo\\040904e4\\OriginalFilename"), u"Velkast.exe");
    EXPECT_EQ(QueryString("\\StringFileInfo\\040904e4\\ProductName"), u"Velkast");
    for (const char* key : {"CompanyName", "FileDescription", "LegalCopyright"}) {
        const std::u16string value = QueryString((std::string("\\StringFileInfo\\040904e4\\") + key).c_str());
        EXPECT_NE(value, u"<missing>") << key;
        EXPECT_FALSE(value.empty()) << key;
        for (char16_t c : value)
            EXPECT_LT(c, 0x80) << key << ": the table's code page is 1252; keep its texts plain";
    }
    // Keys and names match without regard to case, as the platform's lookup does.
    EXPECT_EQ(QueryString("\\stringfileinfo\\040904E4\\fileversion"), version);
    EXPECT_EQ(GetVersionString(u"PRODUCTNAME"), std::u16string_view(u"Velkast"));
    EXPECT_EQ(GetVersionString(u"Comments"), nullptr);
    EXPECT_EQ(GetVersionString(nullptr), nullptr);

    LPCVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValue(u"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, sizeof(VS_TRANSLATION));
    const auto* translation = static_cast<const VS_TRANSLATION*>(value);
    EXPECT_EQ(translation->wLanguage, 0x0409);
    EXPECT_EQ(translation->wCodePage, 0x04E4);

    ASSERT_TRUE(VerQueryValue(u"\\", &value, &length));
    EXPECT_EQ(value, &GetVersionFixedInfo());
    EXPECT_EQ(length, sizeof(VS_FIXEDFILEINFO));
}

TEST(VersionInfo, UnknownPathsAreRefusedAndLeaveTheOutputsAlone)
{
    const char16_t* refused[] = {
        u"",
        u"StringFileInfo\\040904e4\\FileVersion",
        u"\\StringFileInfo\\040904b0\\FileVersion",  // a table the block does not have
        u"\\StringFileInfo\\040904e4",
        u"\\StringFileInfo\\040904e4\\",
        u"\\StringFileInfo\\040904e4\\FileVersion\\More",
        u"\\StringFileInfo\\040904e4\\Comments",
        u"\\VarFileInfo",
        u"\\VarFileInfo\\Translation\\",
        u"\\\\",
    };
    for (const char16_t* path : refused) {
        LPCVOID value = &refused;
        UINT length = 77;
        EXPECT_FALSE(VerQueryValue(path, &value, &length));
        EXPECT_EQ(value, &refused);
        EXPECT_EQ(length, 77u);
    }
    LPCVOID value = nullptr;
    UINT length = 0;
    EXPECT_FALSE(VerQueryValue(nullptr, &value, &length));
    EXPECT_FALSE(VerQueryValue(u"\\", nullptr, &length));
    EXPECT_FALSE(VerQueryValue(u"\\", &value, nullptr));
}
