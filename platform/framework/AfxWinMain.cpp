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
  // The backend knows what it needed and has told the user what is missing.
  return AfxInitWindowSystem(argc, argv);
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
