#include "platform/framework/IconImages.h"

#include <cstdint>

#include "platform/framework/ResourceReader.h"

namespace {

constexpr WORD kIconType = 1;  // a cursor directory is type 2
constexpr DWORD kInfoHeaderSize = 40;
constexpr int kMaxIconSide = 256;

// The part both directory forms share: ICONDIR, then for each image its
// size, colours, planes and depth. The entries' last field differs: a file
// gives the image's offset, a group the image's resource id.
template <typename ImageOf>
std::optional<std::vector<ICON_ENTRY>> ReadDirectory(std::span<const BYTE> dir, ImageOf imageOf) {
  CResourceReader in(dir);
  const WORD wReserved = in.Word();
  const WORD wType = in.Word();
  const WORD cEntries = in.Word();
  if (in.Failed() || wReserved != 0 || wType != kIconType || cEntries == 0)
    return std::nullopt;
  std::vector<ICON_ENTRY> entries;
  for (WORD i = 0; i < cEntries; ++i) {
    ICON_ENTRY entry{};
    // A side of 256 does not fit the byte: it is written as 0.
    const BYTE bWidth = in.Byte();
    const BYTE bHeight = in.Byte();
    entry.nWidth = bWidth != 0 ? bWidth : kMaxIconSide;
    entry.nHeight = bHeight != 0 ? bHeight : kMaxIconSide;
    in.Word();  // colour count and reserved byte: the depth says it
    in.Word();  // planes
    entry.nBitCount = in.Word();
    const DWORD cbImage = in.Dword();
    entry.image = imageOf(in, cbImage);
    if (in.Failed() || entry.image.size() != cbImage)
      return std::nullopt;
    entries.push_back(entry);
  }
  return entries;
}

std::size_t Stride(int nWidth, int nBitCount) {
  return (static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nBitCount) + 31) / 32 * 4;
}

bool Bit(std::span<const BYTE> row, std::size_t x) {
  return ((row[x / 8] >> (7 - x % 8)) & 1) != 0;
}

// Pixel x of one bitmap row as 0x00RRGGBB (32 bits: 0xAARRGGBB); nothing
// when it names a colour the table lacks.
std::optional<DWORD> ReadPixel(std::span<const BYTE> row, std::size_t x, int nBitCount,
                               const std::vector<DWORD>& palette) {
  std::size_t index = 0;
  switch (nBitCount) {
    case 1: index = Bit(row, x) ? 1 : 0; break;
    case 4: index = (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF; break;
    case 8: index = row[x]; break;
    case 24:
      return static_cast<DWORD>(row[3 * x]) | (static_cast<DWORD>(row[3 * x + 1]) << 8) |
             (static_cast<DWORD>(row[3 * x + 2]) << 16);
    default:
      return static_cast<DWORD>(row[4 * x]) | (static_cast<DWORD>(row[4 * x + 1]) << 8) |
             (static_cast<DWORD>(row[4 * x + 2]) << 16) |
             (static_cast<DWORD>(row[4 * x + 3]) << 24);
  }
  if (index >= palette.size())
    return std::nullopt;
  return palette[index];
}

}  // namespace

std::optional<std::vector<ICON_ENTRY>> IconFileEntries(std::span<const BYTE> file) {
  return ReadDirectory(file, [file](CResourceReader& in, DWORD cbImage) {
    const DWORD dwOffset = in.Dword();
    return dwOffset <= file.size() && cbImage <= file.size() - dwOffset
               ? file.subspan(dwOffset, cbImage)
               : std::span<const BYTE>();
  });
}

std::optional<std::vector<ICON_ENTRY>> IconGroupEntries(std::span<const BYTE> group,
                                                        const ICON_IMAGE_FINDER& findImage) {
  return ReadDirectory(group, [&findImage](CResourceReader& in, DWORD) {
    const WORD nID = in.Word();
    return in.Failed() ? std::span<const BYTE>() : findImage(nID);
  });
}

const ICON_ENTRY* ChooseIconEntry(std::span<const ICON_ENTRY> entries, int cx, int cy) {
  const ICON_ENTRY* pBest = nullptr;
  for (const ICON_ENTRY& entry : entries) {
    if (entry.nWidth == cx && entry.nHeight == cy &&
        (pBest == nullptr || entry.nBitCount > pBest->nBitCount))
      pBest = &entry;
  }
  return pBest;
}

std::optional<ICON_IMAGE> DecodeIconImage(std::span<const BYTE> image) {
  CResourceReader in(image);
  // BITMAPINFOHEADER, or one of its longer later forms: the colour table
  // follows the header, whatever its size.
  const DWORD cbHeader = in.Dword();
  const auto nWidth = static_cast<std::int32_t>(in.Dword());
  // The height counts the colour bitmap and the mask stacked on it.
  const auto nDoubleHeight = static_cast<std::int32_t>(in.Dword());
  const WORD wPlanes = in.Word();
  const int nBitCount = in.Word();
  const DWORD dwCompression = in.Dword();
  in.Dword();  // image size: the rows' sizes say it
  in.Dword();  // resolution
  in.Dword();
  const DWORD dwClrUsed = in.Dword();
  const int nHeight = nDoubleHeight / 2;
  if (in.Failed() || cbHeader < kInfoHeaderSize || cbHeader > image.size() || wPlanes != 1 ||
      dwCompression != 0 || nWidth <= 0 || nWidth > kMaxIconSide || nDoubleHeight % 2 != 0 ||
      nHeight <= 0 || nHeight > kMaxIconSide ||
      (nBitCount != 1 && nBitCount != 4 && nBitCount != 8 && nBitCount != 24 && nBitCount != 32))
    return std::nullopt;

  CResourceReader rest(image, cbHeader);
  std::vector<DWORD> palette;
  if (nBitCount <= 8) {
    // The table holds as many colours as the header says, up to 256.
    const DWORD nColours = dwClrUsed != 0 ? dwClrUsed : DWORD{1} << nBitCount;
    if (nColours > 256)
      return std::nullopt;
    for (DWORD i = 0; i < nColours; ++i)
      palette.push_back(rest.Dword() & 0x00FFFFFF);
  }
  const auto rows = static_cast<std::size_t>(nHeight);
  const std::span<const BYTE> colour = rest.Bytes(Stride(nWidth, nBitCount) * rows);
  const std::span<const BYTE> mask = rest.Bytes(Stride(nWidth, 1) * rows);
  if (rest.Failed())
    return std::nullopt;

  ICON_IMAGE result{nWidth, nHeight, nBitCount, {}};
  const auto width = static_cast<std::size_t>(nWidth);
  result.pixels.resize(width * rows);
  std::vector<bool> masked(result.pixels.size());
  bool bHasAlpha = false;
  for (std::size_t y = 0; y < rows; ++y) {
    // Bitmaps run bottom row first.
    const std::size_t top = (rows - 1 - y) * width;
    const auto colourRow = colour.subspan(y * Stride(nWidth, nBitCount), Stride(nWidth, nBitCount));
    const auto maskRow = mask.subspan(y * Stride(nWidth, 1), Stride(nWidth, 1));
    for (std::size_t x = 0; x < width; ++x) {
      const auto pixel = ReadPixel(colourRow, x, nBitCount, palette);
      if (!pixel)
        return std::nullopt;
      result.pixels[top + x] = *pixel;
      masked[top + x] = Bit(maskRow, x);
      bHasAlpha = bHasAlpha || (*pixel >> 24) != 0;
    }
  }
  // A 32-bit image whose alpha is all zero has none: its mask applies.
  if (!bHasAlpha) {
    for (std::size_t i = 0; i < result.pixels.size(); ++i)
      result.pixels[i] = masked[i] ? 0u : (result.pixels[i] | 0xFF000000u);
  }
  return result;
}
