// Icons as the system reads them. A directory lists an icon's images: an
// .ico file's directory, or an icon group in a module's resources whose
// images are icon resources of their own. One chooser picks the image that
// best shows a size, and one decoder turns an image (an uncompressed
// device-independent bitmap followed by its AND mask) into pixels.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "platform/core/WinTypes.h"

// One image as a directory lists it.
struct ICON_ENTRY {
  int nWidth;
  int nHeight;
  int nBitCount;                // colour depth the directory states
  std::span<const BYTE> image;  // the image's bytes
};

// One decoded image.
struct ICON_IMAGE {
  int nWidth;
  int nHeight;
  int nBitCount;              // colour depth of the bitmap
  std::vector<DWORD> pixels;  // 0xAARRGGBB, top row first
};

// The images of an icon file in directory order; nothing when the file is
// not an icon file, or its directory or an image runs past its end.
std::optional<std::vector<ICON_ENTRY>> IconFileEntries(std::span<const BYTE> file);

// The images of an icon group (the resource form of a directory, which
// names each image by id) in directory order, each image found with
// findImage (empty when there is none); nothing when the group is damaged or
// an image is missing.
using ICON_IMAGE_FINDER = std::function<std::span<const BYTE>(WORD nID)>;
std::optional<std::vector<ICON_ENTRY>> IconGroupEntries(std::span<const BYTE> group,
                                                        const ICON_IMAGE_FINDER& findImage);

// The image that best shows the icon at cx by cy pixels: of those of that
// size, the deepest in colour; null when there is none.
const ICON_ENTRY* ChooseIconEntry(std::span<const ICON_ENTRY> entries, int cx, int cy);

// Decodes one image with 1, 4, 8, 24 or 32 bits per pixel; nothing when it
// is damaged or of another kind. Pixels the AND mask marks are transparent
// (0), the others opaque; a 32-bit image that carries an alpha channel keeps
// its own alpha instead.
std::optional<ICON_IMAGE> DecodeIconImage(std::span<const BYTE> image);
