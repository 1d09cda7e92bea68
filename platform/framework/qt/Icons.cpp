// Icons: decoded images held as QImages, and the window icon made from a
// dialog's big and small icons.
#include <QPixmap>

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
  }
  return pIcon.release();
}

BOOL DestroyIcon(HICON hIcon) {
  delete hIcon;
  return TRUE;
}

QIcon AfxQtComposeWindowIcon(HICON hIconBig, HICON hIconSmall) {
  // Big sizes from the big icon, the small size from the small icon, either
  // standing in for a missing one.
  constexpr int kSmallSize = 16;
  QIcon icon;
  auto add = [&icon](HICON hIcon, auto wanted) {
    for (const QImage& image : hIcon != nullptr ? hIcon->images : std::vector<QImage>()) {
      if (wanted(image.width()))
        icon.addPixmap(QPixmap::fromImage(image));
    }
  };
  const bool bSame = hIconBig == hIconSmall;
  add(hIconBig, [&](int size) { return bSame || hIconSmall == nullptr || size > kSmallSize; });
  if (!bSame)
    add(hIconSmall, [&](int size) { return hIconBig == nullptr || size <= kSmallSize; });
  return icon;
}
