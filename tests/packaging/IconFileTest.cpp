// The application icon: the bytes built into the program, and its nine
// images in order, checked against Qt's own icon reader.

#include "res/icon/IconFile.h"
#include "res/icon/MainFrameIcon.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <tuple>
#include <vector>

static const std::vector<std::uint8_t> kEmbedded(g_abMainFrameIcon,
                                                 g_abMainFrameIcon + g_abMainFrameIcon_size);

TEST(IconFile, EmbeddedBytesAreTheFile)
{
    std::ifstream in(VELKAST_ICON_FILE, std::ios::binary);
    EXPECT_EQ(kEmbedded, std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
}

TEST(IconFile, NineImagesInOrderAsQtReadsThem)
{
    const int sizes[] = {48, 32, 16}, depths[] = {4, 8, 24};  // sizes within each depth
    const auto images = velkast::icon::ParseIconFile(kEmbedded);
    ASSERT_TRUE(images && images->size() == 9);
    QByteArray bytes(reinterpret_cast<const char*>(kEmbedded.data()), qsizetype(kEmbedded.size()));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ico");
    ASSERT_EQ(reader.imageCount(), 9);

    std::uint32_t nextOffset = 6 + 16 * 9;  // images follow the directory back to back
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE("image " + std::to_string(i + 1));
        const auto& ours = (*images)[std::size_t(i)];
        const int n = sizes[i % 3], bits = depths[i / 3];
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage qt = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(qt.size(), QSize(n, n)) << reader.errorString().toStdString();
        EXPECT_EQ(qt.text("_q_icoOrigDepth").toInt(), bits);
        const auto& e = ours.entry;
        EXPECT_EQ(std::tuple(e.width, e.height, e.bitCount, e.colorCount, e.planes, e.imageOffset),
                  std::tuple(n, n, bits, bits == 4 ? 16 : 0, 1, nextOffset));
        nextOffset = e.imageOffset + e.bytesInRes;
        ASSERT_EQ(std::tuple(ours.width, ours.height, ours.bitCount), std::tuple(n, n, bits));

        // One outline per size: rounded corners see-through, the middle solid.
        const auto& clear = ours.transparent;
        EXPECT_EQ(clear, (*images)[std::size_t(i % 3)].transparent);
        EXPECT_TRUE(clear.front() && clear.back() && !clear[std::size_t(n * n / 2 + n / 2)]);
        // Qt takes a 24-bit image as one with its own alpha and skips its
        // mask; everywhere else its mask and colours are ours. Under the mask
        // the colour is black, so nothing shows through.
        int mismatches = 0;
        for (std::size_t p = 0; p < clear.size(); ++p) {
            const QRgb theirs = qt.pixel(int(p) % n, int(p) / n);
            mismatches += (bits < 24 && (qAlpha(theirs) == 0) != clear[p]) ||
                          (qAlpha(theirs) != 0 && ((theirs ^ ours.pixels[p]) & 0xFFFFFFu) != 0) ||
                          (clear[p] && ours.pixels[p] != 0);
        }
        EXPECT_EQ(mismatches, 0);
    }
    EXPECT_EQ(nextOffset, g_abMainFrameIcon_size);
}
