#include "app/CipherApp.h"

#include "ui/CipherDlg.h"

BEGIN_MESSAGE_MAP(CCipherApp, CWinApp)
END_MESSAGE_MAP()

// No name given: the framework names the application after its executable.
CCipherApp::CCipherApp() {}

// The one application object.
CCipherApp theApp;

BOOL CCipherApp::InitInstance() {
  SetRegistryKey(u"Local AppWizard-Generated Applications");

  CCipherDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();  // how the dialog ended makes no difference

  // The dialog is closed: end the program rather than start the
  // application's message loop.
  return FALSE;
}
