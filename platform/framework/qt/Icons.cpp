// Icons: decoded images held as QImages, and the window icon made from a
// dialog's big and small icons.
#include <QPixmap>

#include <map>

#include "platform/framework/IconImages.h"
#include "platform/framework/qt/QtHandles.h"

HICON CreateIconFromImages(const ICON_IMAGE* pImages, std::size_t cImages) {
  if (pImages == nullptr || cImages == 0)
    return nullptr;
  auto pIcon = std::make_unique<HICON__>();
  for (std::size_t i = 0; i < cImages; ++i) {
    const ICON_IMAGE& source = pImages[i];
    QImage image(source.nWidth, source.nHeight, QImage::Format_ARGB32);
    for (int y = 0; y < source.nHeight; ++y) {
      auto* pLine = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < source.nWidth; ++x)
        pLine[x] = source.pixels[static_cast<std::size_t>(y * source.nWidth + x)];
    }
    pIcon->images.push_back(std::move(image));
    pIcon->bitCounts.push_back(source.nBitCount);
  }
  return pIcon.release();
}

BOOL DestroyIcon(HICON hIcon) {
  delete hIcon;
  return TRUE;
}

QIcon AfxQtComposeWindowIcon(HICON hIconBig, HICON hIconSmall) {
  // For each size, the deepest image: big sizes from the big icon, the
  // small size from the small icon, either standing in for a missing one.
  constexpr int kSmallSize = 16;
  std::map<int, std::pair<int, const QImage*>> best;  // size -> (bits, image)
  auto consider = [&best](HICON hIcon, auto wanted) {
    if (hIcon == nullptr)
      return;
    for (std::size_t i = 0; i < hIcon->images.size(); ++i) {
      const QImage& image = hIcon->images[i];
      if (!wanted(image.width()))
        continue;
      auto& slot = best[image.width()];
      if (slot.second == nullptr || hIcon->bitCounts[i] > slot.first)
        slot = {hIcon->bitCounts[i], &image};
    }
  };
  const bool bSame = hIconBig == hIconSmall;
  consider(hIconBig, [&](int size) { return bSame || hIconSmall == nullptr || size > kSmallSize; });
  if (!bSame)
    consider(hIconSmall, [&](int size) { return hIconBig == nullptr || size <= kSmallSize; });

  QIcon icon;
  for (const auto& [size, entry] : best)
    icon.addPixmap(QPixmap::fromImage(*entry.second));
  return icon;
}
