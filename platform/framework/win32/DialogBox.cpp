// The executable as the program's module, and modal dialogs made by the
// system's dialog manager from the compiled template the framework read.
#include "platform/framework/DialogTemplate.h"
#include "platform/framework/Resource.h"
#include "platform/framework/WinUser.h"

HINSTANCE AfxGetInstanceHandle() { return ::GetModuleHandleW(nullptr); }

INT_PTR AfxDialogBoxIndirect(HINSTANCE hInstance, const DIALOG_TEMPLATE& tmpl, HWND hWndParent,
                             DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  return ::DialogBoxIndirectParamW(hInstance,
                                   reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.compiled.data()),
                                   hWndParent, lpDialogFunc, dwInitParam);
}
