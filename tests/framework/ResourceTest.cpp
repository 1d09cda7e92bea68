// The program's compiled resources as the framework reads them on Linux,
// the bytes Velkast.exe carries on Windows: the dialog and its accessible
// names as designed, the version block with the values the program was
// released with (typed in here), and the icon group whose nine images are
// the icon file's, byte for byte, decoding to what Qt's own reader sees.
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "platform/framework/IconImages.h"
#include "platform/framework/Resource.h"
#include "res/resource.h"
#include "tests/support/DesignedDialog.h"

namespace {

using WString = std::basic_string<WCHAR>;

TEST(ProgramResources, DialogAndItsAccessibleNamesAreTheDesign) {
  const HINSTANCE h = AfxGetInstanceHandle();
  ExpectDesignedDialogIn(h);
  // Named types compare without regard to case, as on Windows.
  EXPECT_FALSE(
      AfxFindResourceData(h, MAKEINTRESOURCE(IDD_MAIN_DIALOG), TEXT("DlgAccNames")).empty());
}

TEST(ProgramResources, VersionBlockHoldsTheReleasedValues) {
  const auto block = AfxFindResourceData(AfxGetInstanceHandle(), MAKEINTRESOURCE(1), RT_VERSION);
  ASSERT_FALSE(block.empty());
  LPVOID value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValue(block.data(), TEXT("\\"), &value, &length));
  // Signature, structure version, file and product versions 1.0.0.1 (most
  // and least significant words), flags mask, flags, OS (VOS__WINDOWS32),
  // type (VFT_APP), subtype and date, in the order of the fields.
  std::array<DWORD, 13> fields{};
  ASSERT_EQ(length, sizeof fields);
  std::memcpy(fields.data(), value, sizeof fields);
  EXPECT_EQ(fields, (std::array<DWORD, 13>{0xFEEF04BD, 0x10000, 0x10000, 1, 0x10000, 1, 0x3F, 0, 4,
                                           1, 0, 0, 0}));
  ASSERT_TRUE(VerQueryValue(block.data(), TEXT("\\VarFileInfo\\Translation"), &value, &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(std::memcmp(value, "\x09\x04\xE4\x04", 4), 0);  // 0x0409, 0x04E4

  // Null: any text. Names compare without regard to case.
  const std::pair<const char*, const char*> strings[] = {
      {"FileVersion", "1.0.0.1"},      {"ProductVersion", "1.0.0.1"},
      {"InternalName", "Velkast.exe"}, {"OriginalFilename", "Velkast.exe"},
      {"productNAME", "Velkast"},      {"CompanyName", nullptr},
      {"FileDescription", nullptr},    {"LegalCopyright", nullptr}};
  for (const auto& [pszKey, pszValue] : strings) {
    const WString path = Wide("\\stringFileInfo\\040904E4\\") + Wide(pszKey);
    ASSERT_TRUE(VerQueryValue(block.data(), path.c_str(), &value, &length)) << pszKey;
    const WString text = static_cast<LPCWSTR>(value);
    EXPECT_EQ(length, text.size() + 1) << pszKey << ": the length counts the terminator";
    EXPECT_TRUE(pszValue != nullptr ? text == Wide(pszValue) : !text.empty()) << pszKey;
  }
  // Paths the block does not hold: FALSE, and the outputs left alone.
  length = 77;
  for (LPCWSTR path : {TEXT("\\StringFileInfo\\040904e4\\Comments"),
                       TEXT("\\StringFileInfo\\040904b0\\FileVersion"),
                       TEXT("\\StringFileInfo\\040904e4\\FileVersion\\More"), TEXT("\\Other")})
    EXPECT_FALSE(VerQueryValue(block.data(), path, &value, &length));
  EXPECT_EQ(length, 77u);
}

TEST(ProgramResources, IconGroupImagesAreTheIconFilesAsQtReadsThem) {
  std::ifstream in(VELKAST_ICON_FILE, std::ios::binary);
  const std::vector<BYTE> file{std::istreambuf_iterator<char>(in), {}};
  const auto fileEntries = IconFileEntries(file);
  const HINSTANCE hModule = AfxGetInstanceHandle();
  const auto group = IconGroupEntries(
      AfxFindResourceData(hModule, MAKEINTRESOURCE(IDR_MAINFRAME), RT_GROUP_ICON),
      [hModule](WORD nID) { return AfxFindResourceData(hModule, MAKEINTRESOURCE(nID), RT_ICON); });
  ASSERT_TRUE(fileEntries && group && group->size() == 9 && fileEntries->size() == 9);
  QImageReader reader(QStringLiteral(VELKAST_ICON_FILE), "ico");
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE("image " + std::to_string(i + 1));
    const ICON_ENTRY& entry = (*group)[static_cast<std::size_t>(i)];
    const int n = std::array{48, 32, 16}[static_cast<std::size_t>(i % 3)];
    const int bits = std::array{4, 8, 24}[static_cast<std::size_t>(i / 3)];
    EXPECT_EQ(std::tuple(entry.nWidth, entry.nHeight, entry.nBitCount), std::tuple(n, n, bits));
    const auto& fromFile = (*fileEntries)[static_cast<std::size_t>(i)].image;
    EXPECT_TRUE(
        std::equal(entry.image.begin(), entry.image.end(), fromFile.begin(), fromFile.end()));

    auto decoded = DecodeIconImage(entry.image);
    ASSERT_TRUE(decoded && reader.jumpToImage(i));
    // Qt takes a 24-bit image as one with its own alpha and skips its mask:
    // there the colour under the mask is black, so nothing shows through.
    for (DWORD& pixel : decoded->pixels)
      pixel = bits == 24 && pixel == 0 ? 0xFF000000u : pixel;
    EXPECT_TRUE(reader.read().convertToFormat(QImage::Format_ARGB32) ==
                QImage(reinterpret_cast<const uchar*>(decoded->pixels.data()), n, n,
                       QImage::Format_ARGB32));
  }
}

}  // namespace
