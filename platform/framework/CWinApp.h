// The application object. Constructing one makes it the current
// application; the framework's main routine finds it through AfxGetApp,
// connects it to the window system and runs its InitInstance.
#pragma once

#include <memory>

#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CString.h"

class CWnd;

class CWinApp : public CCmdTarget {
 public:
  // lpszAppName null: the framework names the application after the
  // running executable when it initialises it.
  explicit CWinApp(LPCWSTR lpszAppName = nullptr);
  ~CWinApp() override;

  // The application's own start-up. FALSE ends the program without
  // entering Run: the framework calls ExitInstance and returns its value.
  virtual BOOL InitInstance();
  // The message loop of an application whose InitInstance returned TRUE.
  // Every window of this framework is a modal dialog that runs its own
  // loop and is gone when DoModal returns, so no main window is left to
  // serve here: Run ends at once with ExitInstance's value.
  virtual int Run();
  // The last call of the application; its value is the process exit code.
  virtual int ExitInstance();

  // Stores copies of the registry key name and of the application name as
  // the profile name, releasing earlier ones. Nothing is opened, read or
  // written: the names are only kept.
  void SetRegistryKey(LPCWSTR lpszRegistryKey);
#if defined(_WIN32)
  // A name written as u"...", where WCHAR is the system's wchar_t.
  void SetRegistryKey(const char16_t* lpszRegistryKey) { SetRegistryKey(CString(lpszRegistryKey)); }
#endif

  LPCWSTR m_pszAppName = nullptr;
  LPCWSTR m_pszRegistryKey = nullptr;
  LPCWSTR m_pszProfileName = nullptr;
  // The main window; cleared by the framework when its window is destroyed.
  CWnd* m_pMainWnd = nullptr;

 private:
  friend BOOL AfxWinInit(int& argc, char** argv);
  void SetAppName(LPCWSTR lpszAppName);

  std::unique_ptr<WCHAR[]> m_appName;
  std::unique_ptr<WCHAR[]> m_registryKey;
  std::unique_ptr<WCHAR[]> m_profileName;

  DECLARE_MESSAGE_MAP()
};

// The current application object, or null when none exists.
CWinApp* AfxGetApp();

// Connects the process to the window system and names the current
// application. FALSE when there is no application object or no window
// system to show windows on.
BOOL AfxWinInit(int& argc, char** argv);
// Disconnects from the window system once the application has ended.
void AfxWinTerm();

// The framework's main routine: initialises the framework and the current
// application, runs InitInstance and then Run, or ExitInstance alone when
// InitInstance returns FALSE. Returns the process exit code; -1 when the
// framework could not initialise itself.
int AfxWinMain(int argc, char** argv);
