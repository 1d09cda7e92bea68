// LoadIcon over a module's icon groups: for each size a group has, the
// image that best shows it, decoded and handed to the window system.
#include <map>
#include <memory>
#include <set>
#include <utility>

#include "platform/framework/IconImages.h"
#include "platform/framework/Resource.h"
#include "platform/framework/WinUser.h"

namespace {

struct IconDeleter {
  void operator()(HICON hIcon) const { DestroyIcon(hIcon); }
};

// Loaded icons live until the process ends, like the shared icons of a
// module that stays loaded.
std::map<std::pair<HINSTANCE, UINT>, std::unique_ptr<HICON__, IconDeleter>>& IconCache() {
  static std::map<std::pair<HINSTANCE, UINT>, std::unique_ptr<HICON__, IconDeleter>> cache;
  return cache;
}

HICON CreateIconFromGroup(HINSTANCE hInstance, UINT nID) {
  const auto entries =
      IconGroupEntries(AfxFindResourceData(hInstance, MAKEINTRESOURCE(nID), RT_GROUP_ICON),
                       [hInstance](WORD nImageID) {
                         return AfxFindResourceData(hInstance, MAKEINTRESOURCE(nImageID), RT_ICON);
                       });
  if (!entries)
    return nullptr;
  std::set<std::pair<int, int>> sizes;
  for (const ICON_ENTRY& entry : *entries)
    sizes.emplace(entry.nWidth, entry.nHeight);
  std::vector<ICON_IMAGE> images;
  for (const auto& [cx, cy] : sizes) {
    auto image = DecodeIconImage(ChooseIconEntry(*entries, cx, cy)->image);
    if (!image)
      return nullptr;
    images.push_back(std::move(*image));
  }
  return CreateIconFromImages(images.data(), images.size());
}

}  // namespace

HICON LoadIcon(HINSTANCE hInstance, LPCWSTR lpIconName) {
  if (!IS_INTRESOURCE(lpIconName))
    return nullptr;
  const UINT nID = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(lpIconName));
  auto& cache = IconCache();
  const auto key = std::make_pair(hInstance, nID);
  if (auto it = cache.find(key); it != cache.end())
    return it->second.get();
  HICON hIcon = CreateIconFromGroup(hInstance, nID);
  if (hIcon != nullptr)
    cache.emplace(key, std::unique_ptr<HICON__, IconDeleter>(hIcon));
  return hIcon;
}
