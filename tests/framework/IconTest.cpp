// Icons: decoding icon files against an independent reader and against
// images this test encodes itself, damaged files, shared handles, and the
// window icon made from different big and small icons.
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <span>

#include "platform/framework/IconImages.h"
#include "platform/framework/qt/QtHandles.h"
#include "res/icon/IconFile.h"
#include "res/icon/MainFrameIcon.h"
#include "tests/framework/GuiTestSupport.h"

namespace {

std::span<const BYTE> MainFrameIcon() { return {g_abMainFrameIcon, g_abMainFrameIcon_size}; }

TEST(IconImages, AgreeWithAnIndependentReader) {
  const auto decoded = DecodeIconFile(MainFrameIcon());
  const auto reference = velkast::icon::ParseIconFile(MainFrameIcon());
  ASSERT_TRUE(decoded && reference);
  ASSERT_EQ(decoded->size(), reference->size());
  for (std::size_t i = 0; i < decoded->size(); ++i) {
    const ICON_IMAGE& image = (*decoded)[i];
    EXPECT_EQ(image.nWidth, (*reference)[i].width);
    EXPECT_EQ(image.nHeight, (*reference)[i].height);
    EXPECT_EQ(image.nBitCount, (*reference)[i].bitCount);
    EXPECT_EQ(image.pixels, (*reference)[i].pixels) << "image " << i;
  }
}

// A one-image icon file of the given depth holding pixels (0xAARRGGBB,
// alpha 0 = masked). Colours of palette images come from their palette.
std::vector<BYTE> EncodeIcon(int nSide, int nBits, const std::vector<DWORD>& pixels,
                             const std::vector<DWORD>& palette) {
  auto put16 = [](std::vector<BYTE>& v, unsigned x) { v.push_back(BYTE(x)); v.push_back(BYTE(x >> 8)); };
  auto put32 = [&](std::vector<BYTE>& v, DWORD x) { put16(v, x & 0xFFFF); put16(v, x >> 16); };
  const std::size_t xorStride = (static_cast<std::size_t>(nSide) * nBits + 31) / 32 * 4;
  const std::size_t andStride = (static_cast<std::size_t>(nSide) + 31) / 32 * 4;
  std::vector<BYTE> dib;
  for (DWORD v : {40u, DWORD(nSide), DWORD(2 * nSide), 1u | (DWORD(nBits) << 16), 0u, 0u, 0u, 0u,
                  DWORD(palette.size()), 0u})
    put32(dib, v);
  for (DWORD colour : palette)
    put32(dib, colour & 0xFFFFFF);
  std::vector<BYTE> xorBits(xorStride * nSide), andBits(andStride * nSide);
  for (int y = 0; y < nSide; ++y) {
    const std::size_t row = static_cast<std::size_t>(nSide - 1 - y);
    for (int x = 0; x < nSide; ++x) {
      const DWORD pixel = pixels[static_cast<std::size_t>(y * nSide + x)];
      const auto ux = static_cast<std::size_t>(x);
      if ((pixel >> 24) == 0)
        andBits[row * andStride + ux / 8] |= BYTE(0x80 >> (ux % 8));
      BYTE* p = &xorBits[row * xorStride];
      if (nBits <= 8) {
        const auto found = std::find(palette.begin(), palette.end(), pixel | 0xFF000000);
        const auto index = found == palette.end() ? 0u : static_cast<DWORD>(found - palette.begin());
        const unsigned shift = 8 - nBits - (ux * nBits) % 8;
        p[ux * nBits / 8] |= BYTE(index << shift);
      } else {
        for (int b = 0; b < nBits / 8; ++b)
          p[ux * (nBits / 8) + b] = BYTE(pixel >> (8 * b));
      }
    }
  }
  dib.insert(dib.end(), xorBits.begin(), xorBits.end());
  dib.insert(dib.end(), andBits.begin(), andBits.end());

  std::vector<BYTE> file;
  for (unsigned v : {0u, 1u, 1u})
    put16(file, v);
  file.push_back(BYTE(nSide));
  file.push_back(BYTE(nSide));
  file.push_back(0);
  file.push_back(0);
  put16(file, 1);
  put16(file, unsigned(nBits));
  put32(file, DWORD(dib.size()));
  put32(file, 22);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

TEST(IconImages, RoundTripEveryDepth) {
  std::mt19937 random(7);
  for (int nBits : {1, 4, 8, 24}) {
    for (int nSide : {1, 7, 16, 33}) {
      std::vector<DWORD> palette;
      if (nBits <= 8)
        for (int i = 0; i < (1 << nBits); ++i)
          palette.push_back(0xFF000000 | (random() & 0xFFFFFF));
      std::vector<DWORD> pixels;
      for (int i = 0; i < nSide * nSide; ++i) {
        const DWORD colour = nBits <= 8 ? palette[random() % palette.size()]
                                        : 0xFF000000 | (random() & 0xFFFFFF);
        pixels.push_back(random() % 4 == 0 ? 0 : colour);
      }
      const auto decoded = DecodeIconFile(EncodeIcon(nSide, nBits, pixels, palette));
      ASSERT_TRUE(decoded) << nBits << " bits, " << nSide;
      EXPECT_EQ((*decoded)[0].pixels, pixels) << nBits << " bits, " << nSide;
    }
  }
}

TEST(IconImages, RejectsDamagedFilesWithoutReadingPastThem) {
  const std::vector<BYTE> file(MainFrameIcon().begin(), MainFrameIcon().end());
  for (std::size_t n = 0; n < file.size(); n += (n < 200 ? 1 : 97))
    EXPECT_FALSE(DecodeIconFile(std::span(file).first(n))) << n;

  auto damaged = [&file](std::size_t at, BYTE value) {
    std::vector<BYTE> copy = file;
    copy[at] = value;
    return DecodeIconFile(copy).has_value();
  };
  EXPECT_FALSE(damaged(2, 2));          // a cursor file, not an icon
  EXPECT_FALSE(damaged(22 + 14, 3));    // 3 bits per pixel in the first entry's...
  EXPECT_FALSE(damaged(150 + 14, 3));   // ...bitmap header
  EXPECT_FALSE(damaged(150 + 16, 1));   // compressed
  EXPECT_FALSE(damaged(6 + 15, 0x7F));  // image offset far beyond the file
}

const RESOURCE_ENTRY kIconEntries[] = {
    {RT_GROUP_ICON, 1, g_abMainFrameIcon, g_abMainFrameIcon_size},
    {RT_GROUP_ICON, 2, "not an icon", 11},
};
const RESOURCE_MODULE kIconModule = {kIconEntries, std::size(kIconEntries)};

TEST(LoadIcon, SharesOneHandlePerIconAndFindsOnlyIcons) {
  HICON hIcon = LoadIcon(&kIconModule, MAKEINTRESOURCE(1));
  ASSERT_NE(hIcon, nullptr);
  EXPECT_EQ(LoadIcon(&kIconModule, MAKEINTRESOURCE(1)), hIcon);
  EXPECT_EQ(hIcon->images.size(), 9u);
  EXPECT_EQ(LoadIcon(&kIconModule, MAKEINTRESOURCE(2)), nullptr);
  EXPECT_EQ(LoadIcon(&kIconModule, MAKEINTRESOURCE(3)), nullptr);
  EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(1)), nullptr);
  EXPECT_EQ(LoadIcon(&kIconModule, u"NAMED"), nullptr);
}

TEST(WindowIcon, BigSizesFromTheBigIconSmallFromTheSmall) {
  auto solid = [](int nSide, DWORD colour) {
    const std::vector<DWORD> pixels(static_cast<std::size_t>(nSide * nSide), colour);
    return ICON_IMAGE{nSide, nSide, 24, pixels};
  };
  const ICON_IMAGE red[] = {solid(32, 0xFFFF0000), solid(16, 0xFFFF0000)};
  const ICON_IMAGE blue[] = {solid(32, 0xFF0000FF), solid(16, 0xFF0000FF)};
  HICON hRed = CreateIconFromImages(red, 2);
  HICON hBlue = CreateIconFromImages(blue, 2);
  auto colourAt = [](const QIcon& icon, int nSide) {
    return icon.pixmap(QSize(nSide, nSide)).toImage().pixel(nSide / 2, nSide / 2);
  };
  const QIcon mixed = AfxQtComposeWindowIcon(hRed, hBlue);
  EXPECT_EQ(colourAt(mixed, 32), 0xFFFF0000u);
  EXPECT_EQ(colourAt(mixed, 16), 0xFF0000FFu);
  const QIcon bigOnly = AfxQtComposeWindowIcon(hRed, nullptr);
  EXPECT_EQ(colourAt(bigOnly, 16), 0xFFFF0000u);
  EXPECT_TRUE(AfxQtComposeWindowIcon(nullptr, nullptr).isNull());
  DestroyIcon(hRed);
  DestroyIcon(hBlue);
}

}  // namespace
