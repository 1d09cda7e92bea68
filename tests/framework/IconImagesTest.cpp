// Icon images decoded at the depths the program's own icon lacks (its 4-,
// 8- and 24-bit images are held to Qt's reader in ResourceTest), and damaged
// icons refused, through an icon file's directory and through an icon group
// alike.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "platform/framework/IconImages.h"

namespace {

using Bytes = std::vector<BYTE>;

void Put(Bytes& bytes, std::size_t at, DWORD value, int cb) {
  for (int i = 0; i < cb; ++i)
    bytes[at + static_cast<std::size_t>(i)] = static_cast<BYTE>(value >> (8 * i));
}

// A 2 x 2 image: the header, a colour table of nColours (colour i is
// 0x102030 + i), then the rows of colours and of the mask as given, each
// padded to 4 bytes, the bottom row first.
Bytes MakeImage(int nBits, DWORD nColours, const Bytes& rows, DWORD cbHeader = 40) {
  Bytes image(cbHeader + 4 * nColours);
  Put(image, 0, cbHeader, 4);
  Put(image, 4, 2, 4);                                     // width
  Put(image, 8, 4, 4);                                     // height: colours and mask
  Put(image, 12, 1 | static_cast<DWORD>(nBits) << 16, 4);  // planes, bits per pixel
  Put(image, 32, nColours, 4);
  for (DWORD i = 0; i < nColours; ++i)
    Put(image, cbHeader + 4 * i, 0x102030 + i, 4);
  image.insert(image.end(), rows.begin(), rows.end());
  return image;
}

// The image in an icon file, and in an icon group as its image 1: one
// 2 x 2, 4-bit entry each.
Bytes IconDirectory(const Bytes& image, bool bFile) {
  Bytes dir(bFile ? 22 : 20);
  Put(dir, 2, 1 | 1 << 16, 4);  // an icon, one entry
  Put(dir, 6, 0x0202, 2);       // 2 x 2
  Put(dir, 12, 4, 2);           // 4 bits
  Put(dir, 14, static_cast<DWORD>(image.size()), 4);
  Put(dir, 18, bFile ? 22 : 1, bFile ? 4 : 2);  // the image's offset, or its id
  if (bFile)
    dir.insert(dir.end(), image.begin(), image.end());
  return dir;
}

// The entries of an icon file, or of an icon group whose image 1 is image.
std::optional<std::vector<ICON_ENTRY>> Entries(const Bytes& dir, bool bFile, const Bytes& image) {
  if (bFile)
    return IconFileEntries(dir);
  return IconGroupEntries(dir, [&image](WORD nID) {
    return nID == 1 ? std::span<const BYTE>(image) : std::span<const BYTE>();
  });
}

// 4 bits, four colours: bottom row 0 2, top row 1 3.
const Bytes kRows4 = {0x02, 0, 0, 0, 0x13, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// Pixels top-left, top-right, bottom-left, bottom-right: the mask makes a
// pixel transparent, unless a 32-bit image carries alpha of its own.
TEST(IconImages, DecodeEachDepth) {
  const std::pair<Bytes, std::vector<DWORD>> cases[] = {
      // 4 bits, as the damaged ones below before their damage, and with a
      // longer header (BITMAPV5HEADER) before the colour table.
      {MakeImage(4, 4, kRows4), {0xFF102031, 0xFF102033, 0xFF102030, 0xFF102032}},
      {MakeImage(4, 4, kRows4, 124), {0xFF102031, 0xFF102033, 0xFF102030, 0xFF102032}},
      // 1 bit: bottom row 1 0, top row 0 1; the mask takes bottom-left.
      {MakeImage(1, 2, {0x80, 0, 0, 0, 0x40, 0, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0}),
       {0xFF102030, 0xFF102031, 0, 0xFF102030}},
      // 32 bits with alpha: the mask, over the top row, is ignored.
      {MakeImage(32, 0, {0xEF, 0xCD, 0xAB, 0xFF, 4, 3, 2, 1, 0x56, 0x34, 0x12, 0x80,
                         0,    0,    0,    0,    0, 0, 0, 0, 0xC0, 0,    0,    0}),
       {0x80123456, 0, 0xFFABCDEF, 0x01020304}},
      // 32 bits, all alpha 0: the mask applies, to top-right.
      {MakeImage(32, 0, {0,    0,    0,    0, 3, 2, 1, 0, 0x56, 0x34, 0x12, 0,
                         0xEF, 0xCD, 0xAB, 0, 0, 0, 0, 0, 0x40, 0,    0,    0}),
       {0xFF123456, 0, 0xFF000000, 0xFF010203}},
  };
  for (const auto& [image, expected] : cases) {
    const auto decoded = DecodeIconImage(image);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixels, expected);
  }
}

// Each damage changes the file, the group or the image: a value of cb bytes
// put at an offset, or (cb 0) the bytes cut to that length.
TEST(IconImages, DamagedIconsAreRefused) {
  enum Part { kFile, kGroup, kImage };
  const std::tuple<const char*, Part, std::size_t, DWORD, int> damages[] = {
      {"directory cut short", kFile, 20, 0, 0},
      {"directory cut short", kGroup, 19, 0, 0},
      {"more entries than the directory holds", kGroup, 4, 2, 2},
      {"no entries", kFile, 4, 0, 2},
      {"a cursor", kGroup, 2, 2, 2},
      {"image size past the end", kFile, 14, 0x7FFFFFFF, 4},
      {"image offset past the end", kFile, 18, 0x7FFFFFF0, 4},
      {"image size not the image's", kGroup, 14, 7, 4},
      {"image id with no image", kGroup, 18, 2, 2},
      {"header shorter than BITMAPINFOHEADER", kImage, 0, 36, 4},
      {"header longer than the image", kImage, 0, 4000, 4},
      {"width 257", kImage, 4, 257, 4},
      {"height not doubled for the mask", kImage, 8, 3, 4},
      {"two planes", kImage, 12, 2, 2},
      {"3 bits per pixel", kImage, 14, 3, 2},
      {"compressed", kImage, 16, 2, 4},
      {"a colour table of four billion colours", kImage, 32, 0xFFFFFFFF, 4},
      {"a pixel past the colour table", kImage, 40 + 16, 0x41, 1},  // colour 4 of 4
      {"mask cut short", kImage, 40 + 16 + 8 + 3, 0, 0},
  };
  const Bytes image = MakeImage(4, 4, kRows4);  // decoded above; and listed, undamaged:
  ASSERT_TRUE(Entries(IconDirectory(image, true), true, image) &&
              Entries(IconDirectory(image, false), false, image));
  for (const auto& [pszWhat, part, at, value, cb] : damages) {
    Bytes bytes = part == kImage ? image : IconDirectory(image, part == kFile);
    if (cb == 0)
      bytes.resize(at);
    else
      Put(bytes, at, value, cb);
    EXPECT_FALSE(part == kImage ? DecodeIconImage(bytes).has_value()
                                : Entries(bytes, part == kFile, image).has_value())
        << pszWhat;
  }
}

}  // namespace
