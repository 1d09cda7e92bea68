#include "platform/framework/Resource.h"

#include <map>
#include <memory>
#include <utility>

#include "platform/framework/DialogTemplate.h"
#include "platform/framework/IconImages.h"
#include "platform/framework/WinUser.h"

namespace {

constinit HINSTANCE g_hProgramModule = nullptr;
constinit HINSTANCE g_hResourceOverride = nullptr;

struct IconDeleter {
  void operator()(HICON hIcon) const { DestroyIcon(hIcon); }
};

// Loaded icons live until the process ends, like the shared icons of a
// module that stays loaded.
std::map<std::pair<HINSTANCE, UINT>, std::unique_ptr<HICON__, IconDeleter>>& IconCache() {
  static std::map<std::pair<HINSTANCE, UINT>, std::unique_ptr<HICON__, IconDeleter>> cache;
  return cache;
}

}  // namespace

const RESOURCE_ENTRY* FindResource(HINSTANCE hModule, UINT nID, UINT nType) {
  if (hModule == nullptr)
    return nullptr;
  for (std::size_t i = 0; i < hModule->cEntries; ++i) {
    const RESOURCE_ENTRY& entry = hModule->pEntries[i];
    if (entry.nType == nType && entry.nID == nID)
      return &entry;
  }
  return nullptr;
}

HINSTANCE AfxGetInstanceHandle() { return g_hProgramModule; }

bool AfxRegisterProgramResources(HINSTANCE hInstance) {
  g_hProgramModule = hInstance;
  return true;
}

HINSTANCE AfxGetResourceHandle() {
  return g_hResourceOverride != nullptr ? g_hResourceOverride : g_hProgramModule;
}

void AfxSetResourceHandle(HINSTANCE hResource) { g_hResourceOverride = hResource; }

HICON LoadIcon(HINSTANCE hInstance, LPCWSTR lpIconName) {
  if (!IS_INTRESOURCE(lpIconName))
    return nullptr;
  const UINT nID = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(lpIconName));
  auto& cache = IconCache();
  const auto key = std::make_pair(hInstance, nID);
  if (auto it = cache.find(key); it != cache.end())
    return it->second.get();

  const RESOURCE_ENTRY* pEntry = FindResource(hInstance, nID, RT_GROUP_ICON);
  if (pEntry == nullptr)
    return nullptr;
  const auto images = DecodeIconFile({static_cast<const BYTE*>(pEntry->pData), pEntry->cbData});
  HICON hIcon = images ? CreateIconFromImages(images->data(), images->size()) : nullptr;
  if (hIcon == nullptr)
    return nullptr;
  cache.emplace(key, std::unique_ptr<HICON__, IconDeleter>(hIcon));
  return hIcon;
}

const DIALOG_TEMPLATE* AfxLoadDialogTemplate(HINSTANCE hInstance, UINT nID) {
  const RESOURCE_ENTRY* pEntry = FindResource(hInstance, nID, RT_DIALOG);
  return pEntry != nullptr ? static_cast<const DIALOG_TEMPLATE*>(pEntry->pData) : nullptr;
}

std::span<const DIALOG_ACCESSIBLE_NAME> AfxLoadAccessibleNames(HINSTANCE hInstance, UINT nID) {
  const RESOURCE_ENTRY* pEntry = FindResource(hInstance, nID, RT_DLGACCNAMES);
  if (pEntry == nullptr)
    return {};
  return {static_cast<const DIALOG_ACCESSIBLE_NAME*>(pEntry->pData), pEntry->cbData};
}
