#include "platform/framework/CCmdTarget.h"

namespace {

const AFX_MSGMAP_ENTRY* FindCommandEntry(const AFX_MSGMAP_ENTRY* pEntry, UINT nID, UINT nCode) {
  for (; pEntry->nMessage != 0; ++pEntry) {
    if (pEntry->nMessage == WM_COMMAND && pEntry->nID == nID && pEntry->nCode == nCode)
      return pEntry;
  }
  return nullptr;
}

}  // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
  static const AFX_MSGMAP messageMap = {nullptr, entries};
  return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode) {
  for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
       pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
    if (const AFX_MSGMAP_ENTRY* pEntry =
            FindCommandEntry(pMap->lpEntries, nID, static_cast<UINT>(nCode))) {
      (this->*pEntry->pfn)();
      return TRUE;
    }
  }
  return FALSE;
}
