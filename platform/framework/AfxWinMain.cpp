// The framework's start-up and end of an application.
#include <exception>

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/WindowSystem.h"

BOOL AfxWinInit(int& argc, char** argv) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr)
    return FALSE;
  if (pApp->m_pszAppName == nullptr)
    pApp->SetAppName(AfxGetAppName());  // the executable's name
  if (!AfxInitWindowSystem(argc, argv)) {
    AfxMessageBox(TEXT("There is no display to show windows on: neither DISPLAY nor ")
                  TEXT("WAYLAND_DISPLAY is set."),
                  MB_ICONERROR);
    return FALSE;
  }
  return TRUE;
}

void AfxWinTerm() { AfxTermWindowSystem(); }

int AfxWinMain(int argc, char** argv) {
  int nReturnCode = -1;
  if (AfxWinInit(argc, argv)) {
    CWinApp* pApp = AfxGetApp();
    try {
      nReturnCode = pApp->InitInstance() ? pApp->Run() : pApp->ExitInstance();
    } catch (const std::exception& e) {
      // Outside any window's dispatch: report it here, and end as a failed
      // start-up does.
      AfxReportException(e);
      nReturnCode = -1;
    }
  }
  AfxWinTerm();
  return nReturnCode;
}
