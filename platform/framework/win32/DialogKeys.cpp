#include "platform/framework/win32/DialogKeys.h"

namespace {

HHOOK g_hFilter = nullptr;

bool IsEnter(const MSG& msg) {
  return (msg.message == WM_KEYDOWN || msg.message == WM_CHAR) && msg.wParam == VK_RETURN;
}

// The dialog a message is for: the window itself or the top-level window
// of the control it went to.
HWND DialogOf(HWND hWnd) {
  HWND hRoot = ::GetAncestor(hWnd, GA_ROOT);
  return hRoot != nullptr && ::GetWindowLongPtrW(hRoot, DWLP_DLGPROC) != 0 ? hRoot : nullptr;
}

// A push button that has the focus is the default one while it has it.
HWND FocusedPushButton(HWND hDlg, HWND hFocus) {
  if (!::IsChild(hDlg, hFocus))
    return nullptr;
  const LRESULT nCode = ::SendMessageW(hFocus, WM_GETDLGCODE, 0, 0);
  return (nCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0 ? hFocus : nullptr;
}

void PressButtonForEnter(HWND hDlg, HWND hFocus) {
  HWND hButton = FocusedPushButton(hDlg, hFocus);
  if (hButton == nullptr) {
    const LRESULT nDefId = ::SendMessageW(hDlg, DM_GETDEFID, 0, 0);
    if (HIWORD(nDefId) != DC_HASDEFID)
      return;
    hButton = ::GetDlgItem(hDlg, LOWORD(nDefId));
  }
  if (hButton != nullptr && ::IsWindowEnabled(hButton))
    ::SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hButton), BN_CLICKED),
                   reinterpret_cast<LPARAM>(hButton));
}

// Called by the dialog manager's loop for every message before the dialog
// manager itself looks at it; nonzero keeps the message from it.
LRESULT CALLBACK FilterDialogMessage(int nCode, WPARAM wParam, LPARAM lParam) {
  const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
  if (nCode == MSGF_DIALOGBOX && pMsg != nullptr && IsEnter(*pMsg)) {
    if (HWND hDlg = DialogOf(pMsg->hwnd)) {
      if (pMsg->message == WM_KEYDOWN)
        PressButtonForEnter(hDlg, pMsg->hwnd);
      return TRUE;
    }
  }
  return ::CallNextHookEx(g_hFilter, nCode, wParam, lParam);
}

}  // namespace

BOOL AfxInstallDialogKeys() {
  if (g_hFilter == nullptr)
    g_hFilter =
        ::SetWindowsHookExW(WH_MSGFILTER, FilterDialogMessage, nullptr, ::GetCurrentThreadId());
  return g_hFilter != nullptr;
}

void AfxRemoveDialogKeys() {
  if (g_hFilter != nullptr)
    ::UnhookWindowsHookEx(g_hFilter);
  g_hFilter = nullptr;
}
