#include "platform/framework/AfxMessageBox.h"

#include <new>
#include <string_view>

#include "platform/framework/CWinApp.h"

namespace {

CString ExecutableName() {
  CString strPath;
  const int nMax = 4096;
  const DWORD nLength = GetModuleFileName(nullptr, strPath.GetBuffer(nMax), nMax);
  strPath.ReleaseBuffer(static_cast<int>(nLength));

  std::u16string_view name = strPath.View();
  if (const auto slash = name.find_last_of(u'/'); slash != std::u16string_view::npos)
    name.remove_prefix(slash + 1);
  if (const auto dot = name.find_last_of(u'.'); dot != std::u16string_view::npos && dot > 0)
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
    AfxMessageBox(u"Out of memory.", MB_ICONEXCLAMATION);
    return;
  }
  // Descriptions of standard exceptions are ASCII in practice; anything
  // else is shown as '?'.
  CString strText(u"An unexpected error occurred: ");
  for (const char* p = e.what(); *p != '\0'; ++p) {
    const auto ch = static_cast<unsigned char>(*p);
    const WCHAR wch = ch < 0x80 ? static_cast<WCHAR>(ch) : u'?';
    strText += CString(&wch, 1);
  }
  AfxMessageBox(strText, MB_ICONERROR);
}
