#include "platform/framework/AfxMessageBox.h"

#include <new>
#include <string_view>

#include "platform/framework/CWinApp.h"

namespace {

#if defined(_WIN32)
constexpr LPCWSTR kPathSeparators = TEXT("\\/");
#else
constexpr LPCWSTR kPathSeparators = TEXT("/");
#endif

CString ExecutableName() {
  CString strPath;
  const int nMax = 4096;
  const DWORD nLength = GetModuleFileName(nullptr, strPath.GetBuffer(nMax), nMax);
  strPath.ReleaseBuffer(static_cast<int>(nLength));

  std::basic_string_view<WCHAR> name = strPath.View();
  if (const auto slash = name.find_last_of(kPathSeparators); slash != name.npos)
    name.remove_prefix(slash + 1);
  if (const auto dot = name.find_last_of(WCHAR('.')); dot != name.npos && dot > 0)
    name = name.substr(0, dot);
  return CString(name);
}

}  // namespace

CString AfxGetAppName() {
  if (const CWinApp* pApp = AfxGetApp(); pApp != nullptr && pApp->m_pszAppName != nullptr)
    return CString(pApp->m_pszAppName);
  return ExecutableName();
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType) {
  const CString strTitle = AfxGetAppName();
  return MessageBox(nullptr, lpszText, strTitle, nType);
}

void AfxReportException(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) {
    AfxMessageBox(TEXT("Out of memory."), MB_ICONEXCLAMATION);
    return;
  }
  // Descriptions of standard exceptions are ASCII in practice; anything
  // else is shown as '?'.
  CString strText(TEXT("An unexpected error occurred: "));
  for (const char* p = e.what(); *p != '\0'; ++p) {
    const auto ch = static_cast<unsigned char>(*p);
    const WCHAR wch = ch < 0x80 ? static_cast<WCHAR>(ch) : WCHAR('?');
    strText += CString(&wch, 1);
  }
  AfxMessageBox(strText, MB_ICONERROR);
}
