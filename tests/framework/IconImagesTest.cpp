// Decoding the icon group: every image as the independently tested reader
// in res/icon sees it; cut-off and damaged files rejected without reading
// past their end.
#include <gtest/gtest.h>

#include <span>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/framework/IconImages.h"
#include "res/icon/IconFile.h"
#include "res/icon/MainFrameIcon.h"

TEST(IconImages, AgreeWithTheIconFileReaderAndRejectDamagedFiles) {
  const std::span<const BYTE> file(g_abMainFrameIcon, g_abMainFrameIcon_size);
  const auto decoded = DecodeIconFile(file);
  const auto reference = velkast::icon::ParseIconFile(file);
  ASSERT_TRUE(decoded && reference && decoded->size() == reference->size());
  for (std::size_t i = 0; i < decoded->size(); ++i) {
    const ICON_IMAGE& image = (*decoded)[i];
    const velkast::icon::IconImage& expected = (*reference)[i];
    EXPECT_EQ(std::tie(image.nWidth, image.nHeight, image.nBitCount, image.pixels),
              std::tie(expected.width, expected.height, expected.bitCount, expected.pixels))
        << "image " << i;
  }
  for (std::size_t n = 0; n < file.size(); n += n < 200 ? 1 : 97)
    EXPECT_FALSE(DecodeIconFile(file.first(n))) << n;

  // A cursor file, 3 bits per pixel, a compressed bitmap, an image offset
  // far beyond the file.
  for (auto [at, value] : {std::pair{2, 2}, {22 + 14, 3}, {150 + 16, 1}, {6 + 15, 0x7F}}) {
    std::vector<BYTE> damaged(file.begin(), file.end());
    damaged[at] = static_cast<BYTE>(value);
    EXPECT_FALSE(DecodeIconFile(damaged)) << at;
  }
}
