// The application icon: the bytes built into the program are the icon file,
// and its nine images, in order, are what Qt's own icon reader sees.
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <tuple>
#include <vector>

#include "res/icon/IconFile.h"
#include "res/icon/MainFrameIcon.h"

TEST(IconFile, EmbeddedBytesAreTheFileOfNineImagesAsQtReadsThem) {
  const std::vector<std::uint8_t> embedded(g_abMainFrameIcon,
                                          g_abMainFrameIcon + g_abMainFrameIcon_size);
  std::ifstream in(VELKAST_ICON_FILE, std::ios::binary);
  EXPECT_EQ(embedded, std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));

  const int sizes[] = {48, 32, 16}, depths[] = {4, 8, 24};  // sizes within each depth
  const auto images = velkast::icon::ParseIconFile(embedded);
  ASSERT_TRUE(images && images->size() == 9);
  QImageReader reader(QStringLiteral(VELKAST_ICON_FILE), "ico");  // the file is the embedded bytes
  ASSERT_EQ(reader.imageCount(), 9);
  std::uint32_t nextOffset = 6 + 16 * 9;  // images follow the directory back to back
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE("image " + std::to_string(i + 1));
    const auto& ours = (*images)[std::size_t(i)];
    const int n = sizes[i % 3], bits = depths[i / 3];
    ASSERT_TRUE(reader.jumpToImage(i));
    const QImage qt = reader.read().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qt.text("_q_icoOrigDepth").toInt(), bits);
    const auto& e = ours.entry;
    EXPECT_EQ(std::tuple(e.width, e.height, e.bitCount, e.colorCount, e.planes, e.imageOffset),
              std::tuple(n, n, bits, bits == 4 ? 16 : 0, 1, nextOffset));
    nextOffset = e.imageOffset + e.bytesInRes;
    ASSERT_EQ(std::tuple(ours.width, ours.height, ours.bitCount), std::tuple(n, n, bits));
    // Its mask and colours are ours; a 24-bit image Qt takes as one with its
    // own alpha, skipping the mask, so there the colour must be black and
    // nothing shows through.
    std::vector<std::uint32_t> pixels = ours.pixels;
    for (std::uint32_t& pixel : pixels)
      pixel = bits == 24 && pixel >> 24 == 0 ? 0xFF000000u : pixel;
    EXPECT_TRUE(qt ==
                QImage(reinterpret_cast<const uchar*>(pixels.data()), n, n, QImage::Format_ARGB32));
  }
  EXPECT_EQ(nextOffset, g_abMainFrameIcon_size);
}
