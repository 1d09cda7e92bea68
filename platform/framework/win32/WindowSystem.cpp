// The process's connection to the window system on Windows: always there,
// so this never fails. What the framework's dialogs need of it is made
// ready here; without the key filter (which the system has never refused)
// Enter would only do what the dialog manager makes of it by itself.
#include "platform/framework/WindowSystem.h"

#include <commctrl.h>
#include <objbase.h>

#include "platform/framework/win32/DialogKeys.h"

namespace {

bool g_bComInitialised = false;

}  // namespace

BOOL AfxInitWindowSystem(int&, char**) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
  // COM serves the accessible names of controls; a thread that already has
  // another apartment keeps it.
  g_bComInitialised = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  AfxInstallDialogKeys();
  return TRUE;
}

void AfxTermWindowSystem() {
  AfxRemoveDialogKeys();
  if (g_bComInitialised)
    ::CoUninitialize();
  g_bComInitialised = false;
}
