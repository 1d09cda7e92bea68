// Reading a Windows icon file (.ico): the directory and every image in it,
// decoded to 32-bit pixels with the AND mask as transparency.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velkast::icon {

// One directory entry as the file states it.
struct IconDirEntry {
    int width = 0;            // 0 in the file means 256
    int height = 0;
    int colorCount = 0;       // bColorCount: 16 for 4-bit images, else 0
    int reserved = 0;
    int planes = 0;
    int bitCount = 0;
    std::uint32_t bytesInRes = 0;
    std::uint32_t imageOffset = 0;
};

// One decoded image. Pixels run top row first as 0xAARRGGBB; alpha is 0
// where the AND mask marks the pixel transparent, else 0xFF.
struct IconImage {
    IconDirEntry entry;
    int width = 0;            // from the bitmap header
    int height = 0;           // the image's own height (half of biHeight)
    int bitCount = 0;
    int paletteSize = 0;      // colour table entries (0 for 24 and 32 bits)
    std::vector<std::uint32_t> pixels;
    std::vector<bool> transparent;  // the AND mask, top row first
};

// Parses a whole icon file. On malformed data returns nothing and, when
// `error` is given, a one-line reason.
std::optional<std::vector<IconImage>> ParseIconFile(std::span<const std::uint8_t> data,
                                                    std::string* error = nullptr);

// Bytes of one bitmap row of `width` pixels at `bitCount`, padded to 4 bytes.
constexpr std::size_t DibStride(int width, int bitCount)
{
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) / 32 * 4;
}

}  // namespace velkast::icon
