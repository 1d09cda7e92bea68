// The images of an icon file (directory, then uncompressed device-
// independent bitmaps each followed by its AND mask), decoded to pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/framework/WinDef.h"

struct ICON_IMAGE {
  int nWidth;
  int nHeight;
  int nBitCount;                  // colour depth of the bitmap
  std::vector<DWORD> pixels;      // 0xAARRGGBB, top row first
};

// The images in directory order, or nothing when the bytes are not a well-
// formed icon file of uncompressed images with 1, 4, 8, 24 or 32 bits per
// pixel. Pixels the AND mask marks are fully transparent, the others
// opaque (32-bit images with an alpha channel keep their own alpha).
std::optional<std::vector<ICON_IMAGE>> DecodeIconFile(std::span<const BYTE> file);
