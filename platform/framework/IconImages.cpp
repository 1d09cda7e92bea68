#include "platform/framework/IconImages.h"

namespace {

constexpr std::size_t kDirHeaderSize = 6;
constexpr std::size_t kDirEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr int kMaxIconSide = 256;

class CByteReader {
 public:
  explicit CByteReader(std::span<const BYTE> bytes) : m_bytes(bytes) {}
  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
  }
  WORD Word(std::size_t at) const { return static_cast<WORD>(m_bytes[at] | (m_bytes[at + 1] << 8)); }
  DWORD Dword(std::size_t at) const {
    return static_cast<DWORD>(Word(at)) | (static_cast<DWORD>(Word(at + 2)) << 16);
  }
  BYTE Byte(std::size_t at) const { return m_bytes[at]; }
  std::span<const BYTE> Sub(std::size_t offset, std::size_t count) const {
    return m_bytes.subspan(offset, count);
  }

 private:
  std::span<const BYTE> m_bytes;
};

std::size_t Stride(int nWidth, int nBitCount) {
  return (static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nBitCount) + 31) / 32 * 4;
}

// Colour index or RGB of pixel x in one bitmap row.
DWORD ReadPixel(const CByteReader& row, int x, int nBitCount, const std::vector<DWORD>& palette,
                bool* pbHasAlpha) {
  const auto ux = static_cast<std::size_t>(x);
  auto fromPalette = [&palette](std::size_t index) {
    return index < palette.size() ? palette[index] : 0u;
  };
  switch (nBitCount) {
    case 1: return fromPalette((row.Byte(ux / 8) >> (7 - ux % 8)) & 1);
    case 4: return fromPalette((row.Byte(ux / 2) >> (ux % 2 == 0 ? 4 : 0)) & 0xF);
    case 8: return fromPalette(row.Byte(ux));
    case 24:
      return static_cast<DWORD>(row.Byte(3 * ux)) | (static_cast<DWORD>(row.Byte(3 * ux + 1)) << 8) |
             (static_cast<DWORD>(row.Byte(3 * ux + 2)) << 16);
    default: {
      const DWORD bgra = row.Dword(4 * ux);
      if ((bgra >> 24) != 0)
        *pbHasAlpha = true;
      return bgra;
    }
  }
}

std::optional<ICON_IMAGE> DecodeImage(const CByteReader& file, std::size_t offset, std::size_t size) {
  if (!file.Has(offset, size) || size < kInfoHeaderSize || file.Dword(offset) != kInfoHeaderSize)
    return std::nullopt;
  const CByteReader image(file.Sub(offset, size));
  const auto nWidth = static_cast<std::int32_t>(image.Dword(4));
  const auto nDoubleHeight = static_cast<std::int32_t>(image.Dword(8));
  const int nBitCount = image.Word(14);
  const DWORD dwCompression = image.Dword(16);
  const DWORD dwClrUsed = image.Dword(32);
  const int nHeight = nDoubleHeight / 2;
  if (nWidth <= 0 || nWidth > kMaxIconSide || nHeight <= 0 || nHeight > kMaxIconSide ||
      dwCompression != 0 ||
      (nBitCount != 1 && nBitCount != 4 && nBitCount != 8 && nBitCount != 24 && nBitCount != 32))
    return std::nullopt;

  std::vector<DWORD> palette;
  std::size_t at = kInfoHeaderSize;
  if (nBitCount <= 8) {
    const std::size_t nColours = dwClrUsed != 0 ? dwClrUsed : (std::size_t{1} << nBitCount);
    if (nColours > 256 || !image.Has(at, 4 * nColours))
      return std::nullopt;
    for (std::size_t i = 0; i < nColours; ++i, at += 4)
      palette.push_back(image.Dword(at) & 0x00FFFFFF);
  }
  const std::size_t xorStride = Stride(nWidth, nBitCount);
  const std::size_t andStride = Stride(nWidth, 1);
  const auto rows = static_cast<std::size_t>(nHeight);
  if (!image.Has(at, (xorStride + andStride) * rows))
    return std::nullopt;
  const std::size_t andAt = at + xorStride * rows;

  ICON_IMAGE result{nWidth, nHeight, nBitCount, {}};
  result.pixels.resize(static_cast<std::size_t>(nWidth) * rows);
  std::vector<bool> masked(result.pixels.size());
  bool bHasAlpha = false;
  for (std::size_t y = 0; y < rows; ++y) {  // bitmaps run bottom row first
    const std::size_t top = rows - 1 - y;
    const CByteReader xorRow(image.Sub(at + y * xorStride, xorStride));
    const CByteReader andRow(image.Sub(andAt + y * andStride, andStride));
    for (int x = 0; x < nWidth; ++x) {
      const std::size_t i = top * static_cast<std::size_t>(nWidth) + static_cast<std::size_t>(x);
      result.pixels[i] = ReadPixel(xorRow, x, nBitCount, palette, &bHasAlpha);
      masked[i] = ((andRow.Byte(static_cast<std::size_t>(x) / 8) >> (7 - x % 8)) & 1) != 0;
    }
  }
  for (std::size_t i = 0; i < result.pixels.size(); ++i) {
    if (!bHasAlpha)
      result.pixels[i] = masked[i] ? 0u : (result.pixels[i] | 0xFF000000u);
  }
  return result;
}

}  // namespace

std::optional<std::vector<ICON_IMAGE>> DecodeIconFile(std::span<const BYTE> file) {
  const CByteReader reader(file);
  if (!reader.Has(0, kDirHeaderSize) || reader.Word(0) != 0 || reader.Word(2) != 1)
    return std::nullopt;
  const std::size_t nCount = reader.Word(4);
  if (nCount == 0 || !reader.Has(kDirHeaderSize, nCount * kDirEntrySize))
    return std::nullopt;

  std::vector<ICON_IMAGE> images;
  for (std::size_t i = 0; i < nCount; ++i) {
    const std::size_t entry = kDirHeaderSize + i * kDirEntrySize;
    auto image = DecodeImage(reader, reader.Dword(entry + 12), reader.Dword(entry + 8));
    if (!image)
      return std::nullopt;
    images.push_back(std::move(*image));
  }
  return images;
}
