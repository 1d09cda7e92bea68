// The reference for start-up measurements on Windows: the password dialog
// shown the way a plain Win32 program shows a dialog, with no framework.
// It links the program's own compiled resources, so the template (style,
// font, the five controls), the icon and the manifest are the very same
// bytes; one DialogBoxParam shows it, WM_INITDIALOG sets its icons and
// centres it as Velkast.exe does, and the close box or Escape ends it. No
// COM, no hook, no common-controls call: what the system gives a dialog by
// itself. It is built with the project's flags, so the start-up that every
// program here has (the C runtime, the stack protector's guard) is in both.
#include <windows.h>

#include "res/resource.h"

namespace {

void CentreInWorkArea(HWND hDlg) {
  RECT rcWindow{};
  RECT rcArea{};
  if (!::GetWindowRect(hDlg, &rcWindow) || !::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcArea, 0))
    return;
  const LONG x = (rcArea.left + rcArea.right - (rcWindow.right - rcWindow.left)) / 2;
  const LONG y = (rcArea.top + rcArea.bottom - (rcWindow.bottom - rcWindow.top)) / 2;
  ::SetWindowPos(hDlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK BareDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      HICON hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
      ::SendMessageW(hDlg, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
      ::SendMessageW(hDlg, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
      CentreInWorkArea(hDlg);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE: ::EndDialog(hDlg, IDOK); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  return static_cast<int>(
      ::DialogBoxParamW(hInstance, MAKEINTRESOURCEW(IDD_MAIN_DIALOG), nullptr, BareDialogProc, 0));
}
