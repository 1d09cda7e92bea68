// The application icon: the bytes built into the program, the layout of its
// nine images, and their pixels as Qt's own icon reader sees them.

#include "res/icon/IconFile.h"
#include "res/icon/MainFrameIcon.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

using velkast::icon::DibStride;
using velkast::icon::IconImage;
using velkast::icon::ParseIconFile;

namespace {

std::vector<std::uint8_t> ReadFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> EmbeddedIcon()
{
    return {g_abMainFrameIcon, g_abMainFrameIcon + g_abMainFrameIcon_size};
}

std::vector<IconImage> ParsedIcon()
{
    std::string error;
    auto images = ParseIconFile(EmbeddedIcon(), &error);
    EXPECT_TRUE(images) << error;
    return images ? *images : std::vector<IconImage>{};
}

}  // namespace

TEST(IconFile, EmbeddedBytesAreTheFileAndEndInNul)
{
    const auto onDisk = ReadFile(VELKAST_ICON_FILE);
    ASSERT_FALSE(onDisk.empty());
    EXPECT_EQ(EmbeddedIcon(), onDisk);
    EXPECT_EQ(g_abMainFrameIcon[g_abMainFrameIcon_size], 0);
}

TEST(IconFile, NineUncompressedImagesInDirectoryOrder)
{
    struct Expected { int size; int bits; };
    const Expected order[] = {{48, 4}, {32, 4}, {16, 4}, {48, 8}, {32, 8}, {16, 8}, {48, 24}, {32, 24}, {16, 24}};
    const auto images = ParsedIcon();
    ASSERT_EQ(images.size(), std::size(order));

    std::uint32_t nextOffset = 6 + 16 * 9;  // images follow the directory back to back
    for (std::size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE("image " + std::to_string(i + 1));
        const auto& image = images[i];
        const auto& e = image.entry;
        EXPECT_EQ(e.width, order[i].size);
        EXPECT_EQ(e.height, order[i].size);
        EXPECT_EQ(e.colorCount, order[i].bits == 4 ? 16 : 0);
        EXPECT_EQ(e.reserved, 0);
        EXPECT_EQ(e.planes, 1);
        EXPECT_EQ(e.bitCount, order[i].bits);
        EXPECT_EQ(image.width, order[i].size);
        EXPECT_EQ(image.height, order[i].size);
        EXPECT_EQ(image.bitCount, order[i].bits);
        EXPECT_EQ(image.paletteSize, order[i].bits <= 8 ? 1 << order[i].bits : 0);

        const std::size_t rows = static_cast<std::size_t>(image.height);
        const std::size_t expectedBytes = 40 + 4 * static_cast<std::size_t>(image.paletteSize) +
                                          DibStride(image.width, image.bitCount) * rows +
                                          DibStride(image.width, 1) * rows;
        EXPECT_EQ(e.bytesInRes, expectedBytes);
        EXPECT_EQ(e.imageOffset, nextOffset);
        nextOffset = e.imageOffset + e.bytesInRes;
    }
    EXPECT_EQ(nextOffset, g_abMainFrameIcon_size);
}

TEST(IconFile, MasksShapeTheTileAlikeAtEveryDepth)
{
    const auto images = ParsedIcon();
    ASSERT_EQ(images.size(), 9u);
    for (std::size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE("image " + std::to_string(i + 1));
        const auto& image = images[i];
        const int n = image.width;
        auto clearAt = [&](int x, int y) { return image.transparent[static_cast<std::size_t>(y * n + x)]; };
        // Rounded corners are see-through, the middle is solid.
        EXPECT_TRUE(clearAt(0, 0) && clearAt(n - 1, 0) && clearAt(0, n - 1) && clearAt(n - 1, n - 1));
        EXPECT_FALSE(clearAt(n / 2, n / 2));
        EXPECT_FALSE(clearAt(n / 2, 1));
        // Under the mask the colour is black, so nothing shows through inverted.
        for (std::size_t p = 0; p < image.pixels.size(); ++p) {
            if (image.transparent[p]) {
                EXPECT_EQ(image.pixels[p], 0u) << "pixel " << p;
            }
        }
        // The same size has the same outline at every colour depth.
        const auto& deepest = images[6 + i % 3];
        EXPECT_EQ(image.transparent, deepest.transparent);
    }
}

TEST(IconFile, QtReadsTheSamePixels)
{
    QByteArray bytes(reinterpret_cast<const char*>(g_abMainFrameIcon), static_cast<qsizetype>(g_abMainFrameIcon_size));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ico");
    ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
    ASSERT_EQ(reader.imageCount(), 9);

    const auto images = ParsedIcon();
    ASSERT_EQ(images.size(), 9u);
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE("image " + std::to_string(i + 1));
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage qt = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(qt.isNull()) << reader.errorString().toStdString();
        const auto& ours = images[static_cast<std::size_t>(i)];
        ASSERT_EQ(qt.width(), ours.width);
        ASSERT_EQ(qt.height(), ours.height);
        int mismatches = 0;
        for (int y = 0; y < qt.height(); ++y) {
            for (int x = 0; x < qt.width(); ++x) {
                const QRgb theirs = qt.pixel(x, y);
                const std::uint32_t mine = ours.pixels[static_cast<std::size_t>(y * ours.width + x)];
                // Qt's reader takes a 24-bit image as one with its own alpha
                // and skips the AND mask; it reads the colours alone there.
                const bool clearForQt = qAlpha(theirs) == 0;
                const bool clear = mine >> 24 == 0;
                if (ours.bitCount <= 8 && clearForQt != clear)
                    ++mismatches;
                else if (!clearForQt && (theirs & 0xFFFFFFu) != (mine & 0xFFFFFFu))
                    ++mismatches;
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST(IconFile, RejectsDamagedFiles)
{
    const auto good = EmbeddedIcon();
    std::string error;

    EXPECT_FALSE(ParseIconFile(std::span(good).first(5), &error));
    EXPECT_FALSE(error.empty());

    auto wrongType = good;
    wrongType[2] = 2;  // a cursor file, not an icon
    EXPECT_FALSE(ParseIconFile(wrongType));

    // Every cut through the file is reported, never read past.
    for (std::size_t cut = 0; cut < good.size(); cut += 97) {
        EXPECT_FALSE(ParseIconFile(std::span(good).first(cut))) << "cut at " << cut;
    }

    auto compressed = good;
    const std::size_t firstImage = 6 + 16 * 9;
    compressed[firstImage + 16] = 1;  // biCompression = BI_RLE8
    EXPECT_FALSE(ParseIconFile(compressed, &error));
    EXPECT_NE(error.find("compressed"), std::string::npos) << error;

    auto badIndex = good;
    // The 4-bit image's colour table says it uses 2 colours while pixels use more.
    badIndex[firstImage + 32] = 2;
    EXPECT_FALSE(ParseIconFile(badIndex));
}
