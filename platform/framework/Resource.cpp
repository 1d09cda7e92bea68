#include "platform/framework/Resource.h"

namespace {

constinit HINSTANCE g_hResourceOverride = nullptr;

}  // namespace

HINSTANCE AfxGetResourceHandle() {
  return g_hResourceOverride != nullptr ? g_hResourceOverride : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hResource) { g_hResourceOverride = hResource; }

std::span<const BYTE> AfxFindResourceData(HINSTANCE hInstance, LPCWSTR lpName, LPCWSTR lpType) {
  HRSRC hInfo = ::FindResource(hInstance, lpName, lpType);
  HGLOBAL hData = hInfo != nullptr ? ::LoadResource(hInstance, hInfo) : nullptr;
  const void* pData = hData != nullptr ? ::LockResource(hData) : nullptr;
  if (pData == nullptr)
    return {};
  return {static_cast<const BYTE*>(pData), ::SizeofResource(hInstance, hInfo)};
}

std::optional<DIALOG_TEMPLATE> AfxLoadDialogTemplate(HINSTANCE hInstance, UINT nID) {
  const auto compiled = AfxFindResourceData(hInstance, MAKEINTRESOURCE(nID), RT_DIALOG);
  if (compiled.empty())
    return std::nullopt;
  return AfxParseDialogTemplate(compiled);
}

std::vector<DIALOG_ACCESSIBLE_NAME> AfxLoadAccessibleNames(HINSTANCE hInstance, UINT nID) {
  const auto compiled = AfxFindResourceData(hInstance, MAKEINTRESOURCE(nID), TEXT("DLGACCNAMES"));
  return AfxParseAccessibleNames(compiled).value_or(std::vector<DIALOG_ACCESSIBLE_NAME>());
}
