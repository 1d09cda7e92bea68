#include "platform/framework/CDataExchange.h"

#include "platform/framework/CWnd.h"
#include "platform/framework/WinUser.h"

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  if (hWndCtrl == nullptr)
    Fail();
  return hWndCtrl;
}

void CDataExchange::Fail() { throw CUserException(); }

namespace {

CString GetControlText(HWND hWndCtrl) {
  CString str;
  const int nLength = ::GetWindowTextLength(hWndCtrl);
  const int nCopied = ::GetWindowText(hWndCtrl, str.GetBuffer(nLength), nLength + 1);
  str.ReleaseBuffer(nCopied);
  return str;
}

// Sets the text only when it differs, so an unchanged field keeps its
// caret and selection.
void SetControlText(HWND hWndCtrl, const CString& str) {
  if (!(GetControlText(hWndCtrl) == str))
    ::SetWindowText(hWndCtrl, str);
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = GetControlText(hWndCtrl);
  else
    SetControlText(hWndCtrl, value);
}
