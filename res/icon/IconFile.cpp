#include "res/icon/IconFile.h"

namespace velkast::icon {
namespace {

constexpr std::size_t kDirHeaderSize = 6;
constexpr std::size_t kDirEntrySize = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr std::uint32_t kBiRgb = 0;            // uncompressed

// Little-endian reads from a span that the caller has bounds-checked.
std::uint16_t Word(std::span<const std::uint8_t> d, std::size_t at)
{
    return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}

std::uint32_t Dword(std::span<const std::uint8_t> d, std::size_t at)
{
    return static_cast<std::uint32_t>(d[at]) | static_cast<std::uint32_t>(d[at + 1]) << 8 |
           static_cast<std::uint32_t>(d[at + 2]) << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}

std::int32_t Long(std::span<const std::uint8_t> d, std::size_t at)
{
    return static_cast<std::int32_t>(Dword(d, at));
}

class CParser {
public:
    explicit CParser(std::string* error) : m_pError(error) {}

    std::optional<std::vector<IconImage>> Parse(std::span<const std::uint8_t> data)
    {
        if (data.size() < kDirHeaderSize)
            return Fail("file shorter than the icon directory header");
        if (Word(data, 0) != 0 || Word(data, 2) != 1)
            return Fail("not an icon file (reserved 0, type 1 expected)");
        const std::size_t count = Word(data, 4);
        if (count == 0)
            return Fail("icon directory is empty");
        if (data.size() < kDirHeaderSize + count * kDirEntrySize)
            return Fail("icon directory runs past the end of the file");

        std::vector<IconImage> images;
        for (std::size_t i = 0; i < count; ++i) {
            IconImage image;
            image.entry = ReadEntry(data, kDirHeaderSize + i * kDirEntrySize);
            const auto& e = image.entry;
            if (e.imageOffset > data.size() || e.bytesInRes > data.size() - e.imageOffset)
                return Fail("image " + std::to_string(i + 1) + " runs past the end of the file");
            if (!Decode(data.subspan(e.imageOffset, e.bytesInRes), image))
                return Fail("image " + std::to_string(i + 1) + ": " + m_reason);
            images.push_back(std::move(image));
        }
        return images;
    }

private:
    static IconDirEntry ReadEntry(std::span<const std::uint8_t> d, std::size_t at)
    {
        IconDirEntry e;
        e.width = d[at] == 0 ? 256 : d[at];
        e.height = d[at + 1] == 0 ? 256 : d[at + 1];
        e.colorCount = d[at + 2];
        e.reserved = d[at + 3];
        e.planes = Word(d, at + 4);
        e.bitCount = Word(d, at + 6);
        e.bytesInRes = Dword(d, at + 8);
        e.imageOffset = Dword(d, at + 12);
        return e;
    }

    bool Decode(std::span<const std::uint8_t> dib, IconImage& image)
    {
        if (dib.size() < kInfoHeaderSize || Dword(dib, 0) < kInfoHeaderSize)
            return Reject("no BITMAPINFOHEADER");
        const std::uint32_t headerSize = Dword(dib, 0);
        const std::int32_t width = Long(dib, 4);
        const std::int32_t doubledHeight = Long(dib, 8);
        const int bitCount = Word(dib, 14);
        if (Word(dib, 12) != 1)
            return Reject("bitmap planes must be 1");
        if (Dword(dib, 16) != kBiRgb)
            return Reject("compressed bitmap");
        if (width <= 0 || width > 256 || doubledHeight <= 0 || doubledHeight % 2 != 0 ||
            doubledHeight / 2 > 256)
            return Reject("bad bitmap dimensions");
        if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
            return Reject("unsupported bit count " + std::to_string(bitCount));

        image.width = width;
        image.height = doubledHeight / 2;
        image.bitCount = bitCount;
        const std::uint32_t colorsUsed = Dword(dib, 32);
        image.paletteSize = bitCount <= 8 ? (colorsUsed ? static_cast<int>(colorsUsed) : 1 << bitCount) : 0;
        if (image.paletteSize > (1 << 8))
            return Reject("colour table too large");

        const std::size_t paletteAt = headerSize;
        const std::size_t xorAt = paletteAt + 4 * static_cast<std::size_t>(image.paletteSize);
        const std::size_t xorStride = DibStride(width, bitCount);
        const std::size_t andAt = xorAt + xorStride * static_cast<std::size_t>(image.height);
        const std::size_t andStride = DibStride(width, 1);
        if (headerSize > dib.size() || andAt + andStride * static_cast<std::size_t>(image.height) > dib.size())
            return Reject("bitmap data shorter than its header says");

        const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(image.height);
        image.pixels.assign(count, 0);
        image.transparent.assign(count, false);
        for (int y = 0; y < image.height; ++y) {
            // Bitmap rows run bottom-up.
            const std::size_t row = static_cast<std::size_t>(image.height - 1 - y);
            const auto xorRow = dib.subspan(xorAt + row * xorStride, xorStride);
            const auto andRow = dib.subspan(andAt + row * andStride, andStride);
            for (int x = 0; x < width; ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                       static_cast<std::size_t>(x);
                const bool clear = (andRow[static_cast<std::size_t>(x) / 8] >> (7 - x % 8)) & 1;
                std::uint32_t rgb = 0;
                if (!ColourAt(dib, paletteAt, image, xorRow, x, rgb))
                    return false;
                image.transparent[at] = clear;
                image.pixels[at] = (clear ? 0u : 0xFF000000u) | (rgb & 0x00FFFFFFu);
            }
        }
        return true;
    }

    bool ColourAt(std::span<const std::uint8_t> dib, std::size_t paletteAt, const IconImage& image,
                  std::span<const std::uint8_t> row, int x, std::uint32_t& rgb)
    {
        const auto ux = static_cast<std::size_t>(x);
        switch (image.bitCount) {
        case 24:
        case 32: {
            const std::size_t at = ux * static_cast<std::size_t>(image.bitCount / 8);
            rgb = static_cast<std::uint32_t>(row[at + 2]) << 16 | static_cast<std::uint32_t>(row[at + 1]) << 8 |
                  row[at];
            return true;
        }
        default: {
            const int perByte = 8 / image.bitCount;
            const int shift = 8 - image.bitCount * (1 + x % perByte);
            const int index = (row[ux / static_cast<std::size_t>(perByte)] >> shift) & ((1 << image.bitCount) - 1);
            if (index >= image.paletteSize)
                return Reject("pixel refers past the colour table");
            const std::size_t at = paletteAt + 4 * static_cast<std::size_t>(index);
            rgb = static_cast<std::uint32_t>(dib[at + 2]) << 16 | static_cast<std::uint32_t>(dib[at + 1]) << 8 |
                  dib[at];
            return true;
        }
        }
    }

    bool Reject(std::string reason)
    {
        m_reason = std::move(reason);
        return false;
    }

    std::nullopt_t Fail(const std::string& reason)
    {
        if (m_pError)
            *m_pError = reason;
        return std::nullopt;
    }

    std::string* m_pError;
    std::string m_reason;
};

}  // namespace

std::optional<std::vector<IconImage>> ParseIconFile(std::span<const std::uint8_t> data, std::string* error)
{
    return CParser(error).Parse(data);
}

}  // namespace velkast::icon
