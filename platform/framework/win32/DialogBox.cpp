// The executable as the program's module, and modal dialogs made by the
// system's dialog manager from the compiled template the framework read.
#include "platform/framework/DialogTemplate.h"
#include "platform/framework/Resource.h"
#include "platform/framework/WinUser.h"

namespace {

struct DialogStart {
  DLGPROC pfnDlgProc;
  LPARAM lParam;
};

// The system's edit controls take typed and pasted text up to a limit of
// their own (32,767 characters on Windows, 30,000 under Wine), cutting the
// rest without a word; the framework's fields have none, on every backend.
BOOL CALLBACK LiftEditLimit(HWND hWnd, LPARAM) {
  WCHAR szClass[16] = {};
  ::GetClassNameW(hWnd, szClass, 16);
  if (::lstrcmpiW(szClass, L"Edit") == 0)
    ::SendMessageW(hWnd, EM_SETLIMITTEXT, 0, 0);
  return TRUE;
}

// The dialog procedure until the dialog is initialised: with the controls
// made, it lifts their limits and hands the dialog to its own procedure.
INT_PTR CALLBACK StartDialog(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG)
    return FALSE;
  const auto* pStart = reinterpret_cast<const DialogStart*>(lParam);
  ::EnumChildWindows(hDlg, LiftEditLimit, 0);
  ::SetWindowLongPtrW(hDlg, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(pStart->pfnDlgProc));
  return pStart->pfnDlgProc(hDlg, message, wParam, pStart->lParam);
}

}  // namespace

HINSTANCE AfxGetInstanceHandle() { return ::GetModuleHandleW(nullptr); }

INT_PTR AfxDialogBoxIndirect(HINSTANCE hInstance, const DIALOG_TEMPLATE& tmpl, HWND hWndParent,
                             DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  const DialogStart start{lpDialogFunc, dwInitParam};
  return ::DialogBoxIndirectParamW(hInstance,
                                   reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.compiled.data()),
                                   hWndParent, StartDialog, reinterpret_cast<LPARAM>(&start));
}
