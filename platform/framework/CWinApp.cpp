#include "platform/framework/CWinApp.h"

#include <algorithm>
#include <string_view>

namespace {

constinit CWinApp* g_pCurrentApp = nullptr;

std::unique_ptr<WCHAR[]> DuplicateString(LPCWSTR psz) {
  if (psz == nullptr)
    return nullptr;
  const std::basic_string_view<WCHAR> text(psz);
  auto pCopy = std::make_unique<WCHAR[]>(text.size() + 1);  // zero-filled: terminated
  std::copy(text.begin(), text.end(), pCopy.get());
  return pCopy;
}

}  // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCWSTR lpszAppName) {
  SetAppName(lpszAppName);
  g_pCurrentApp = this;
}

CWinApp::~CWinApp() {
  if (g_pCurrentApp == this)
    g_pCurrentApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() { return ExitInstance(); }

int CWinApp::ExitInstance() { return 0; }

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey) {
  m_registryKey = DuplicateString(lpszRegistryKey);
  m_profileName = DuplicateString(m_pszAppName);
  m_pszRegistryKey = m_registryKey.get();
  m_pszProfileName = m_profileName.get();
}

void CWinApp::SetAppName(LPCWSTR lpszAppName) {
  m_appName = DuplicateString(lpszAppName);
  m_pszAppName = m_appName.get();
}

CWinApp* AfxGetApp() { return g_pCurrentApp; }
